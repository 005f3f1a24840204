# Undo and redo as a user does them: hex digits and characters typed over
# and in front of bytes, a bit edit, DELETE and both pastes, then File >
# Save: the file holds the edits. Every edit taken back with Ctrl+Z, after
# that save, and saved again: the file is the original, byte for byte.
# Every edit taken again with Ctrl+Y and Ctrl+Shift+Z and saved: the edited
# file once more.
check_undo() {
    local file="$E2E_TMP/u.bin" edited="$E2E_TMP/edited.bin"
    local bytes
    mapfile -t bytes < <(seq 0 255)
    e2e_write_bytes "$file" "${bytes[@]}"
    cp "$file" "$E2E_TMP/original.bin"
    printf 'cafe' >"$E2E_TMP/clip.txt"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - u.bin" || return 1
    e2e_focus

    # Eight edits, one step each.
    e2e_click_byte hex 0x10
    e2e_key a b
    bytes[0x10]=0xAB
    e2e_drag_bytes char 0x20 0x21
    xdotool type 'Hi'
    bytes[0x20]=0x48 bytes[0x21]=0x69
    e2e_key Insert
    e2e_click_byte hex 0x30
    e2e_key 1 2 3 4
    bytes=("${bytes[@]:0:0x30}" 0x12 0x34 "${bytes[@]:0x30}")
    e2e_click_byte char 0x40
    xdotool type 'xy'
    bytes=("${bytes[@]:0:0x40}" 0x78 0x79 "${bytes[@]:0x40}")
    e2e_key Insert
    e2e_click_byte hex 0x50
    e2e_context_menu "Edit Bits of First Selected Byte" || return 1
    e2e_wait_screen panel || return 1
    e2e_key 1 1 1 1 0 0 0 0 Return
    bytes[0x50]=0xF0
    e2e_wait_screen dump || return 1
    e2e_drag_bytes hex 0x60 0x63
    e2e_key Delete
    bytes=("${bytes[@]:0:0x60}" "${bytes[@]:0x64}")
    e2e_own_clipboard "$E2E_TMP/clip.txt" STRING || return 1
    e2e_click_byte hex 0x70
    e2e_key ctrl+v
    bytes[0x70]=0xCA bytes[0x71]=0xFE
    e2e_click_byte hex 0x80
    e2e_context_menu "Insert HEX Data From Clipboard" || return 1
    bytes=("${bytes[@]:0:0x80}" 0xCA 0xFE "${bytes[@]:0x80}")
    e2e_write_bytes "$edited" "${bytes[@]}"
    e2e_save || return 1
    e2e_wait_same "$file" "$edited" || return 1
    e2e_shot undo-edited

    # All taken back after the save (one more Ctrl+Z finds nothing).
    e2e_focus
    local i
    for i in $(seq 9); do e2e_key ctrl+z; done
    e2e_save || return 1
    e2e_wait_same "$file" "$E2E_TMP/original.bin" || return 1
    e2e_shot undo-original

    # All taken again, by both keys of redo.
    e2e_focus
    for i in $(seq 4); do e2e_key ctrl+y ctrl+shift+z; done
    e2e_key ctrl+y
    e2e_save || return 1
    e2e_wait_same "$file" "$edited" || return 1
    e2e_close
}
