# A paste of 30 MB of hex text while the program's address space is limited
# to a little more than it already uses: the program goes on running, says
# nothing, and the image is unchanged (saved and compared). With the limit
# lifted the same paste does change the image, so the text was really read.
check_paste_without_memory() {
    local file="$E2E_TMP/f.bin" before="$E2E_TMP/before.bin"
    head -c 4096 /dev/urandom >"$file"
    cp "$file" "$before"
    # 10 million bytes as 30 million characters of hex pairs and spaces.
    head -c 10000000 /dev/urandom >"$E2E_TMP/pasted.bin"
    od -An -v -tx1 "$E2E_TMP/pasted.bin" | tr -d '\n' >"$E2E_TMP/hex.txt"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus  # the pointer over the hex column: pastes read hex pairs
    e2e_own_clipboard "$E2E_TMP/hex.txt" STRING || return 1

    local used
    used=$(awk '/^VmSize:/ {print $2}' "/proc/$E2E_APP/status")
    # The soft limit only, so that it can be lifted again without privileges.
    prlimit --pid "$E2E_APP" --as=$(((used + 20 * 1024) * 1024)): ||
        { e2e_fail "prlimit could not limit the program"; return 1; }
    e2e_key ctrl+v

    local inode
    inode=$(e2e_inode "$file")
    e2e_save || return 1
    e2e_poll e2e_inode_is_not "$file" "$inode" || { e2e_fail "the save did not happen"; return 1; }
    kill -0 "$E2E_APP" 2>/dev/null || { e2e_fail "the program died"; return 1; }
    cmp -s "$file" "$before" || { e2e_fail "the failed paste changed the image"; return 1; }
    e2e_no_dropped_messages || return 1

    prlimit --pid "$E2E_APP" --as=unlimited: || { e2e_fail "the limit stayed"; return 1; }
    # A fresh owner: xclip may not serve again after a transfer broken off.
    e2e_own_clipboard "$E2E_TMP/hex.txt" STRING || return 1
    e2e_key ctrl+v
    e2e_save || return 1
    e2e_poll e2e_differs "$file" "$before" || { e2e_fail "the paste did nothing"; return 1; }
    # Overwriting never grows the image: its 4096 bytes are the text's first.
    head -c 4096 "$E2E_TMP/pasted.bin" | cmp -s - "$file" ||
        { e2e_fail "the paste wrote other bytes than the text's"; return 1; }
    e2e_close
}
