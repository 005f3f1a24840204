# Ctrl+V reads another program's clipboard exactly (bytes 0x01 to 0xFF as
# Latin-1 text), reads the program's own clipboard after Ctrl+C, and gives
# up on an owner that never answers after about a second, changing nothing
# and leaving the window responsive.
check_clipboard() {
    local file="$E2E_TMP/f.bin" expected="$E2E_TMP/expected.bin"
    head -c 512 /dev/zero >"$file"
    for b in $(seq 1 255); do printf "\\$(printf %03o "$b")"; done >"$E2E_TMP/all.bin"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus
    # Over the character column: pastes take the text's characters as bytes.
    xdotool mousemove --window "$E2E_WID" 530 120

    # Another program's text, written over bytes 0 to 254.
    e2e_own_clipboard "$E2E_TMP/all.bin" STRING || return 1
    e2e_key ctrl+v
    # The program's own text: Ctrl+C copies the 255 bytes just pasted (now
    # selected), Right moves the selection one byte on, Ctrl+V writes them
    # from byte 1.
    e2e_key ctrl+c Right ctrl+v
    { printf '\001'; cat "$E2E_TMP/all.bin"; head -c 256 /dev/zero; } >"$expected"
    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1

    # An owner that never answers: Ctrl+V, then INSERT, whose status line
    # shows once the paste has given up.
    printf '4142' >"$E2E_TMP/small.txt"
    e2e_own_clipboard "$E2E_TMP/small.txt" STRING || return 1
    kill -STOP "$E2E_OWNER"
    local before started waited
    before=$(e2e_window_print)
    started=$(date +%s%N)
    e2e_key ctrl+v Insert
    e2e_poll e2e_window_changed_from "$before" || { e2e_fail "the window froze"; return 1; }
    waited=$((($(date +%s%N) - started) / 1000000))
    echo "e2e [$E2E_NAME]: a stopped clipboard owner held the window for $waited ms"
    # Qt's own wait is ten seconds; ours about one, with slack for a loaded
    # machine.
    [ "$waited" -lt 5000 ] || { e2e_fail "the window waited $waited ms for the owner"; return 1; }
    e2e_disown_clipboard

    local inode
    inode=$(e2e_inode "$file")
    e2e_save || return 1
    e2e_poll e2e_inode_is_not "$file" "$inode" || { e2e_fail "the second save did not happen"; return 1; }
    cmp -s "$file" "$expected" || { e2e_fail "the unanswered paste changed the image"; return 1; }
    e2e_no_dropped_messages || return 1
    e2e_close
}
