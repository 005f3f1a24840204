# Every search mode from the selection on, each with decoys it must pass
# over, Find Next (F3) and the jump to an offset. After each hit the panel is
# closed with ESC and two hex digits are typed: they land on the byte the
# selection starts at, so the saved file shows where every search ended.
# After the HEX search a third digit pair goes nowhere: the selection held
# exactly the two bytes found.
check_search() {
    local file="$E2E_TMP/f.bin" expected="$E2E_TMP/expected.bin"
    local bytes
    mapfile -t bytes < <(yes 0 | head -n 1024)
    e2e_put_text bytes 0x100 needle
    e2e_put_text bytes 0x140 Needle
    e2e_put_text bytes 0x180 NEEDLE
    e2e_put_text bytes 0x1C0 Wide
    e2e_put bytes 0x200 0xDE 0xAD 0xBE 0xEF
    e2e_put bytes 0x280 0xDE 0xAD
    e2e_put bytes 0x300 87 0 105 0 100 0 101 0  # Wide in UTF-16
    e2e_put bytes 0x340 87 0 73 0 68 0 69 0     # WIDE
    e2e_write_bytes "$file" "${bytes[@]}"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus  # the pointer stays over the hex area: typed digits make bytes

    # Ctrl+F over the hex area opens the HEX search; the digits are taken in
    # either case, with blanks between them.
    e2e_key ctrl+f
    e2e_search "de ad" && e2e_close_panel || return 1
    e2e_key d 1 d 2 d 3
    e2e_put bytes 0x200 0xD1 0xD2
    e2e_key F3
    e2e_wait_found && e2e_close_panel || return 1
    e2e_key d 4
    e2e_put bytes 0x280 0xD4

    e2e_jump_to 3f0 || return 1
    e2e_key 7 7
    e2e_put bytes 0x3F0 0x77

    e2e_jump_to 0 || return 1
    e2e_context_menu "Search for TEXT starting at Selection" || return 1
    e2e_search Needle && e2e_close_panel || return 1
    e2e_key a 1
    e2e_put bytes 0x140 0xA1

    e2e_jump_to 0 || return 1
    e2e_context_menu "Search for TEXT starting at Selection (ignore case)" || return 1
    e2e_search NEEDLE && e2e_close_panel || return 1
    e2e_key b 1
    e2e_put bytes 0x100 0xB1
    # From the byte after the hit on: 0x140 no longer matches.
    e2e_key F3
    e2e_wait_found && e2e_close_panel || return 1
    e2e_key b 2
    e2e_put bytes 0x180 0xB2

    e2e_jump_to 0 || return 1
    e2e_context_menu "Search for UNICODE TEXT starting at Selection" || return 1
    e2e_search Wide && e2e_close_panel || return 1
    e2e_key c 1
    e2e_put bytes 0x300 0xC1
    # From that hit, whose first letter is gone now.
    e2e_context_menu "Search for UNICODE TEXT starting at Selection (ignore case)" || return 1
    e2e_search wide && e2e_close_panel || return 1
    e2e_key c 2
    e2e_put bytes 0x340 0xC2
    e2e_shot searched

    e2e_write_bytes "$expected" "${bytes[@]}"
    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1
    e2e_close
}
