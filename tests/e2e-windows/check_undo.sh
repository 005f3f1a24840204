# Undo and redo in bytewren.exe: hex digits and characters typed over and in
# front of bytes, a bit edit, DELETE and both pastes, then File > Save: the
# file holds the edits. Every edit taken back with Ctrl+Z after that save,
# and saved again: the original, byte for byte. Every edit taken again with
# Ctrl+Y and Ctrl+Shift+Z and saved: the edited file once more.
check_undo() {
    local file="$E2E_TMP/undo.bin" edited="$E2E_TMP/undo-edited.bin"
    local bytes
    mapfile -t bytes < <(seq 0 63)
    e2e_write_bytes "$file" "${bytes[@]}"
    cp "$file" "$E2E_TMP/undo-original.bin"

    e2e_start_app "$(winepath -w "$file")"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - undo.bin" || return 1
    e2e_focus

    # Eight edits, one step each.
    w32_click_hex 2
    e2e_key a b
    bytes[2]=0xAB
    w32_drag_chars 8 9
    xdotool type 'Hi'
    bytes[8]=0x48 bytes[9]=0x69
    e2e_key Insert
    w32_click_hex 16
    e2e_key 1 2
    bytes=("${bytes[@]:0:16}" 0x12 "${bytes[@]:16}")
    w32_click_char 24
    xdotool type 'x'
    bytes=("${bytes[@]:0:24}" 0x78 "${bytes[@]:24}")
    e2e_key Insert
    w32_click_hex 32
    w32_context_menu 32 7 || return 1  # Edit Bits of First Selected Byte
    e2e_key 1 1 1 1 0 0 0 0 Return
    bytes[32]=0xF0
    w32_click_hex 40
    e2e_key Delete
    bytes=("${bytes[@]:0:40}" "${bytes[@]:41}")
    w32_click_hex 2
    e2e_key ctrl+c  # AB, as a hex block
    w32_click_hex 48
    e2e_key ctrl+v
    bytes[48]=0xAB
    w32_click_hex 56
    w32_context_menu 56 5 || return 1  # Insert HEX Data From Clipboard
    bytes=("${bytes[@]:0:56}" 0xAB "${bytes[@]:56}")
    e2e_write_bytes "$edited" "${bytes[@]}"
    e2e_save || return 1
    e2e_wait_same "$file" "$edited" || return 1
    e2e_shot windows-undo-edited

    # All taken back after the save (one more Ctrl+Z finds nothing).
    e2e_focus
    local i
    for i in $(seq 9); do e2e_key ctrl+z; done
    e2e_save || return 1
    e2e_wait_same "$file" "$E2E_TMP/undo-original.bin" || return 1

    # All taken again, by both keys of redo.
    e2e_focus
    for i in $(seq 4); do e2e_key ctrl+y ctrl+shift+z; done
    e2e_key ctrl+y
    e2e_save || return 1
    e2e_wait_same "$file" "$edited" || return 1
    e2e_close
}
