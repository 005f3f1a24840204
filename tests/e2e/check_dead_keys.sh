# Typing with a German layout's dead keys in the character area: a dead key
# and the space type the accent itself (^ is 0x5E, ` is 0x60), a composed
# letter (ê) has no byte of its own below 0x7F and types nothing, and the
# keys after a composition type as usual. Checked by the bytes saved.
check_dead_keys() {
    local file="$E2E_TMP/f.bin" expected="$E2E_TMP/expected.bin"
    local bytes
    mapfile -t bytes < <(seq 0 63)
    e2e_write_bytes "$file" "${bytes[@]}"
    setxkbmap de || { e2e_fail "setxkbmap de failed"; return 1; }

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus
    e2e_drag_bytes char 0x10 0x1F
    e2e_key dead_circumflex space dead_circumflex e dead_grave space a
    e2e_put_text bytes 0x10 '^`a'

    e2e_write_bytes "$expected" "${bytes[@]}"
    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1
    e2e_close
}
