# Saving a file larger than the process may write (RLIMIT_FSIZE): the
# program reports the write failure in its message box instead of being
# killed, keeps running, and the file keeps its old bytes.
check_save_over_size_limit() {
    head -c 300000 /dev/urandom >"$E2E_TMP/big.bin"
    cp "$E2E_TMP/big.bin" "$E2E_TMP/expected.bin"
    e2e_start_app_limited --fsize=65536 -- "$E2E_TMP/big.bin"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - big.bin" || return 1

    e2e_focus
    e2e_key alt+f s
    e2e_wait_named "^Overwrite Warning$" || return 1
    e2e_key Return
    e2e_wait_named "^bytewren$" || return 1
    e2e_shot write-failure
    e2e_key Return

    kill -0 "$E2E_APP" 2>/dev/null || { e2e_fail "the program ended during the save"; return 1; }
    e2e_wait_same "$E2E_TMP/big.bin" "$E2E_TMP/expected.bin" || return 1
    e2e_no_temporary_files || return 1
    e2e_close
}
