# ESC while a long operation works on a 256 MiB file, pressed once its
# progress shows; loads and saves are slowed down as on a busy machine, the
# search is long enough as it is. During the load named on the command line
# ESC leaves the welcome screen and the bare caption (no image). During a
# save, digits and DELETE change nothing and ESC leaves the file with its old
# bytes and no temporary file. During a search that would find its pattern
# near the end, the right-click menu's Delete Selection changes nothing and
# ESC stops it: the program goes idle, the dump shows again as it was. A save then writes the
# image, edited before all this, whole; closing the window during the next
# one, which writes into the file itself, keeps those bytes.
check_escape() {
    local file="$E2E_TMP/big.bin" old="$E2E_TMP/old.bin" expected="$E2E_TMP/expected.bin"
    local size=$((256 << 20))
    # Zeros, and the pattern searched for, 1024 zeros, 01 and 15 zeros,
    # 4096 bytes before the end.
    local at=$((size - 4096))
    truncate -s "$size" "$file"
    printf '\x01' | dd of="$file" bs=1 seek=$((at + 1024)) conv=notrunc status=none
    cp --sparse=always "$file" "$old"
    cp --sparse=always "$file" "$expected"
    printf '\xab' | dd of="$expected" bs=1 conv=notrunc status=none
    { head -c 1024 /dev/zero; printf '\x01'; head -c 15 /dev/zero; } |
        od -An -v -tx1 | tr -d ' \n' >"$E2E_TMP/pattern.txt"

    e2e_start_app "$file"
    e2e_throttle
    e2e_wait_window || return 1
    e2e_wait_screen progress || return 1
    e2e_interrupt Escape
    e2e_wait_screen welcome || return 1
    e2e_wait_caption Bytewren || return 1

    e2e_key alt+f o
    e2e_answer_file_dialog Open "$file" || return 1
    e2e_wait_caption "Bytewren - big.bin" || return 1
    e2e_focus
    e2e_wait_screen dump || return 1
    e2e_key a b

    e2e_save || return 1
    e2e_throttle
    e2e_wait_screen progress || return 1
    # Typing and DELETE while the image is written change nothing.
    e2e_focus
    e2e_key 1 2 Delete
    e2e_interrupt Escape
    e2e_wait_screen dump || return 1
    cmp -s "$file" "$old" || { e2e_fail "the cancelled save changed the file"; return 1; }
    e2e_no_temporary_files || return 1

    local before
    before=$(e2e_dump_print)
    e2e_key ctrl+f
    e2e_wait_screen panel || return 1
    e2e_own_clipboard "$E2E_TMP/pattern.txt" STRING || return 1
    local panel
    panel=$(e2e_window_print)
    e2e_key ctrl+v
    e2e_poll e2e_window_changed_from "$panel" || { e2e_fail "the pattern was not pasted"; return 1; }
    e2e_disown_clipboard
    # Running: its percentage changes on the panel.
    panel=$(e2e_window_print)
    e2e_key Return
    e2e_poll e2e_window_changed_from "$panel" || { e2e_fail "the search did not start"; return 1; }
    panel=$(e2e_window_print)
    e2e_poll e2e_window_changed_from "$panel" || { e2e_fail "the search made no progress"; return 1; }
    # The right-click menu still opens, but deletes nothing while the image
    # is searched.
    e2e_context_menu "Delete Selection" || return 1
    e2e_key Escape
    e2e_wait_screen dump || return 1
    e2e_stays_idle || { e2e_fail "the search went on after ESC"; return 1; }
    e2e_dump_print_is "$before" || { e2e_fail "the search moved the selection or changed the image"; return 1; }

    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1

    # Closing the window in the middle of a save ends the program cleanly
    # and leaves the file as the last whole save wrote it. With a second
    # name the file is written in place, its old bytes copied aside first.
    ln "$file" "$E2E_TMP/link.bin"
    e2e_focus
    e2e_key Right c d
    e2e_save || return 1
    e2e_throttle
    e2e_wait_screen progress || return 1
    e2e_interrupt alt+F4
    e2e_wait_exit || return 1
    cmp -s "$file" "$expected" || { e2e_fail "closing during the save changed the file"; return 1; }
    [ "$(stat -c %i "$file")" = "$(stat -c %i "$E2E_TMP/link.bin")" ] ||
        { e2e_fail "the file lost its second name"; return 1; }
    e2e_no_temporary_files || return 1
}
