# In-place saves (the file has a second name) killed at two moments. Killed
# while the old contents are still being copied aside: the file is intact,
# the next start names no copy, and the unfinished copy is removed by the
# next save. Killed while the file itself is being written: the copy is
# whole and named as the old contents by the next start, in a message box;
# a completed save then removes it.
check_killed_save() {
    local file="$E2E_TMP/f.bin" old="$E2E_TMP/old.bin"
    local backup="$E2E_TMP/.f.bin.bytewren-backup"
    head -c $((128 << 20)) /dev/urandom >"$file"
    ln "$file" "$E2E_TMP/g.bin"
    cp "$file" "$old"

    killed_save_start "$file" || return 1
    e2e_step_until "$E2E_APP" killed_save_copying "$file" "$backup" ||
        { e2e_fail "the save never copied the old contents"; return 1; }
    killed_save_kill
    [ ! -e "$backup" ] || { e2e_fail "a part copy was named as the old contents"; return 1; }
    cmp -s "$file" "$old" || { e2e_fail "the file changed before its copy was whole"; return 1; }
    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - f.bin" || return 1
    e2e_stays_idle && e2e_windows_shown 1 || { e2e_fail "an unfinished copy was named"; return 1; }
    e2e_close || return 1

    killed_save_start "$file" || return 1
    e2e_step_until "$E2E_APP" killed_save_writing "$file" "$old" "$backup" ||
        { e2e_fail "the save never wrote the file"; return 1; }
    killed_save_kill
    cmp -s "$backup" "$old" || { e2e_fail "the named copy is not the old contents"; return 1; }
    [ -z "$(killed_save_part "$file")" ] ||
        { e2e_fail "the save left its unfinished copy"; return 1; }
    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_wait_named '^bytewren$' || { e2e_fail "the start did not name the copy"; return 1; }
    e2e_shot killed-save-named
    e2e_key Return
    e2e_poll e2e_windows_shown 1 || return 1
    # A completed save, which also names the copy when it starts, removes it.
    e2e_save || return 1
    e2e_wait_named '^bytewren$' || { e2e_fail "the save did not name the copy"; return 1; }
    e2e_key Return
    e2e_poll test ! -e "$backup" || { e2e_fail "a completed save kept the copy"; return 1; }
    e2e_poll e2e_stays_idle || return 1
    cmp -s "$file" "$E2E_TMP/g.bin" && e2e_no_temporary_files || return 1
    e2e_close
}

# Starts the program on file $1, types a byte and starts saving.
killed_save_start() {
    e2e_start_app "$1"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - $(basename "$1")" || return 1
    e2e_focus
    e2e_key 5 a
    e2e_save
}

killed_save_kill() {
    kill -KILL "$E2E_APP"
    wait "$E2E_APP" 2>/dev/null
    E2E_APP=
}

# True while the old contents of $1 are being copied, and the copy is not
# yet named $2.
killed_save_copying() {
    local part
    part=$(killed_save_part "$1")
    [ -n "$part" ] && [ ! -e "$2" ] && [ "$(stat -c %s "$part")" -gt 0 ] &&
        [ "$(stat -c %s "$part")" -lt "$(stat -c %s "$1")" ]
}

# The temporary file beside file $1 that a save of it writes, if any.
killed_save_part() {
    local hex='[0-9a-f]'
    find "$(dirname "$1")" -maxdepth 1 -name ".$(basename "$1").bytewren-$hex$hex$hex$hex$hex$hex"
}

# True once file $1 no longer holds the old bytes $2 and the copy $3 exists.
killed_save_writing() { [ -e "$3" ] && ! cmp -s "$1" "$2"; }
