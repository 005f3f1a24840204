# Typing as a user does it, in a file whose name has blanks: hex digits over
# bytes clicked or dragged in the hexadecimal area and characters in the
# character area, overwriting until the caret leaves the selection; INSERT,
# then the same in insert mode; bit edit from the right-click menu, where
# ENTER stores the eight bits typed and ESC stores nothing. File > Save
# answered No writes nothing; answered Yes, exactly the bytes built here
# alongside.
check_typing() {
    local file="$E2E_TMP/typed file.bin" expected="$E2E_TMP/expected.bin"
    local bytes
    mapfile -t bytes < <(seq 0 255)
    e2e_write_bytes "$file" "${bytes[@]}"
    cp "$file" "$E2E_TMP/before.bin"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - typed file.bin" || return 1
    e2e_focus

    # Overwrite mode. Two digits make a byte, either case; once four
    # selected bytes are typed over, further digits and characters have no
    # byte left to go to.
    e2e_click_byte hex 0x10
    e2e_key a B
    bytes[0x10]=0xAB
    e2e_drag_bytes hex 0x20 0x23
    e2e_key d e a d b e e f 9 9
    bytes[0x20]=0xDE bytes[0x21]=0xAD bytes[0x22]=0xBE bytes[0x23]=0xEF
    e2e_drag_bytes char 0x30 0x32
    xdotool type 'Hi!?'
    bytes[0x30]=0x48 bytes[0x31]=0x69 bytes[0x32]=0x21

    # Insert mode: the typed bytes go in before the byte clicked.
    e2e_key Insert
    e2e_click_byte hex 0x40
    e2e_key 1 2 3 4
    bytes=("${bytes[@]:0:0x40}" 0x12 0x34 "${bytes[@]:0x40}")
    e2e_click_byte char 0x50
    xdotool type 'xy'
    bytes=("${bytes[@]:0:0x50}" 0x78 0x79 "${bytes[@]:0x50}")
    e2e_key Insert

    # Bit edit: eight bits (one taken back with BACKSPACE) and ENTER store
    # 11110000; on the next byte ESC drops the eight bits typed.
    e2e_click_byte hex 0x60
    e2e_context_menu "Edit Bits of First Selected Byte" || return 1
    e2e_wait_screen panel || return 1
    e2e_key 1 1 1 1 0 0 0 1 BackSpace 0 Return
    bytes[0x60]=0xF0
    e2e_wait_screen dump || return 1
    e2e_click_byte hex 0x61
    e2e_context_menu "Edit Bits of First Selected Byte" || return 1
    e2e_wait_screen panel || return 1
    e2e_key 0 1 0 1 0 1 0 1 Escape
    e2e_wait_screen dump || return 1
    e2e_shot typed

    # Save answered No writes nothing: once the program has handled the
    # answer, the file still holds its old bytes.
    e2e_save no || return 1
    e2e_poll e2e_windows_shown 1 || { e2e_fail "the question stayed open"; return 1; }
    e2e_focus
    e2e_settle || return 1
    cmp -s "$file" "$E2E_TMP/before.bin" || { e2e_fail "Save answered No wrote the file"; return 1; }

    e2e_write_bytes "$expected" "${bytes[@]}"
    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1
    e2e_close
}
