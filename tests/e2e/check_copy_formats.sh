# Another program reads what the program copies and the program reads what
# another program offers, byte for byte: the HEX String and HEX Block forms
# chosen from the right-click menu, Ctrl+C over the character area as the
# bytes themselves (0x01 to 0xFF, the zero dropped, as Latin-1 STRING); in
# insert mode Ctrl+V puts another program's Latin-1 text, or its UTF-8 text
# as Latin-1, before the byte clicked in the character area, and its hex
# text (either case, a line break inside) before the byte clicked in the
# hexadecimal area.
check_copy_formats() {
    local file="$E2E_TMP/f.bin" expected="$E2E_TMP/expected.bin" text="$E2E_TMP/text"
    local all
    mapfile -t all < <(seq 0 255)
    e2e_write_bytes "$file" "${all[@]}"
    e2e_write_bytes "$E2E_TMP/nonzero.bin" "${all[@]:1}"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus

    # Eighteen bytes from 0x0E, across a row's end: at sixteen bytes a line,
    # the block breaks after 0x1D; the string ends with a space.
    e2e_drag_bytes hex 0x0E 0x1F
    e2e_context_menu "Copy Selection as HEX String" || return 1
    printf '%02X ' $(seq 14 31) >"$text"
    e2e_wait_clipboard "$text" UTF8_STRING || return 1
    e2e_context_menu "Copy Selection as HEX Block" || return 1
    { printf '%02X ' $(seq 14 28); printf '1D\r\n1E 1F '; } >"$text"
    e2e_wait_clipboard "$text" UTF8_STRING || return 1

    e2e_drag_bytes char 0 255
    e2e_key ctrl+c
    e2e_wait_clipboard "$E2E_TMP/nonzero.bin" STRING || return 1

    e2e_key Insert
    e2e_own_clipboard "$E2E_TMP/nonzero.bin" STRING || return 1
    e2e_click_byte char 0x10
    e2e_key ctrl+v
    # Each owner must stay until its text has been read.
    e2e_settle || return 1
    # An owner that offers UTF-8 only: its text arrives as Latin-1, with a
    # question mark for what Latin-1 cannot hold.
    printf 'Grüße ÿ€' >"$text"
    e2e_own_clipboard "$text" UTF8_STRING || return 1
    e2e_click_byte char 5
    e2e_key ctrl+v
    e2e_settle || return 1
    printf 'de ad\r\nBE EF' >"$text"
    e2e_own_clipboard "$text" STRING || return 1
    e2e_click_byte hex 0
    e2e_key ctrl+v
    e2e_settle || return 1
    e2e_disown_clipboard
    e2e_write_bytes "$expected" 0xDE 0xAD 0xBE 0xEF "${all[@]:0:5}" 0x47 0x72 0xFC 0xDF 0x65 0x20 0xFF 0x3F \
        "${all[@]:5:11}" "${all[@]:1}" "${all[@]:16}"

    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1
    e2e_close
}
