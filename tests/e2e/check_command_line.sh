# A file name with a double quote in it opens that very file, although a
# file named without the quote exists too: the caption names it, and after
# an edit File > Save changes that file and no other.
check_command_line() {
    local named="$E2E_TMP/my\"file.bin" other="$E2E_TMP/myfile.bin"
    { printf '\0'; head -c 2999 /dev/urandom; } >"$named"
    { printf '\0'; head -c 2999 /dev/urandom; } >"$other"
    cp "$named" "$E2E_TMP/named.before"
    cp "$other" "$E2E_TMP/other.before"

    e2e_start_app "$named"
    e2e_wait_window || return 1
    e2e_wait_caption 'Bytewren - my"file.bin' || return 1
    # Byte 0 is selected after the load; two digits typed over the hex
    # column overwrite it.
    e2e_focus
    e2e_key 4 1
    e2e_save || return 1
    e2e_poll e2e_differs "$named" "$E2E_TMP/named.before" ||
        { e2e_fail "the named file was not saved"; return 1; }
    # cmp -l lists each differing byte: position from 1, new and old in octal.
    [ "$(cmp -l "$named" "$E2E_TMP/named.before" | awk '{print $1, $2, $3}')" = "1 101 0" ] ||
        { e2e_fail "the save changed more than the typed byte"; return 1; }
    cmp -s "$other" "$E2E_TMP/other.before" || { e2e_fail "myfile.bin was written"; return 1; }
    e2e_close
}
