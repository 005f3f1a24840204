# Two programs with the same file open (it has a second name, so saves
# write into it). The first is stopped in the middle of its save, its copy
# of the old contents made; the second's save is refused with its message
# box and writes nothing; the first, continued, completes its save, and the
# file holds exactly its image.
check_two_saves() {
    local file="$E2E_TMP/f.bin" old="$E2E_TMP/old.bin" expected="$E2E_TMP/expected.bin"
    head -c $((64 << 20)) /dev/urandom >"$file"
    ln "$file" "$E2E_TMP/g.bin"
    cp "$file" "$old"
    { printf '\xaa'; tail -c +2 "$old"; } >"$expected"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - f.bin" || return 1
    local first=$E2E_APP first_window=$E2E_WID
    # Side by side, so that the pointer over one is not over the other.
    xdotool windowmove "$first_window" 0 0
    e2e_start_app "$file"
    local second=$E2E_APP
    E2E_WID=$(timeout "$E2E_LIMIT" xdotool search --all --sync --onlyvisible --pid "$second" --name '^Bytewren - f.bin$' | head -1)
    [ -n "$E2E_WID" ] || { two_saves_end "$first"; e2e_fail "the second window did not appear"; return 1; }
    local second_window=$E2E_WID
    xdotool windowmove "$second_window" 570 480
    e2e_focus
    e2e_key b b

    E2E_APP=$first E2E_WID=$first_window
    e2e_focus
    e2e_key a a
    e2e_save || { two_saves_end "$second"; return 1; }
    e2e_step_until "$first" two_saves_written "$file" "$old" ||
        { two_saves_end "$second"; e2e_fail "the first save never wrote"; return 1; }
    cp "$file" "$E2E_TMP/halfway.bin"

    E2E_APP=$second E2E_WID=$second_window
    e2e_save || { two_saves_end "$first"; return 1; }
    e2e_wait_named '^bytewren$' || { two_saves_end "$first"; e2e_fail "the second save was not refused"; return 1; }
    e2e_shot second-save-refused
    e2e_key Return
    cmp -s "$file" "$E2E_TMP/halfway.bin" ||
        { two_saves_end "$first"; e2e_fail "the second save wrote into the file"; return 1; }
    e2e_close || { two_saves_end "$first"; return 1; }

    E2E_APP=$first E2E_WID=$first_window
    kill -CONT "$first"
    e2e_wait_same "$file" "$expected" || return 1
    e2e_poll e2e_stays_idle || return 1
    cmp -s "$E2E_TMP/g.bin" "$expected" && e2e_no_temporary_files || return 1
    e2e_close
}

# True once the first save has begun to write file $1 (old bytes $2).
two_saves_written() { ! cmp -s "$1" "$2"; }

# Ends the other program $1, stopped or not, when the check fails.
two_saves_end() {
    kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
