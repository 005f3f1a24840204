# Moving through the view and editing where that leads, checked by the bytes
# saved: a notch of the wheel scrolls a third of the rows the view holds and
# the scroll bar's arrow one row; the arrow keys move the selection; a drag
# towards lower offsets leaves the caret on the byte it started from;
# BACKSPACE steps the caret back; DELETE removes the selection; F6 and View >
# Decrease Column change the bytes per row that clicks are read against.
# Before all that, the View menu's character fading, seen in one cell.
check_view() {
    local file="$E2E_TMP/f.bin" expected="$E2E_TMP/expected.bin"
    local bytes i
    mapfile -t bytes < <(for ((i = 0; i < 4096; i++)); do echo $((i & 255)); done)
    e2e_write_bytes "$file" "${bytes[@]}"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus

    # The View menu's fading tints the character A by its value (0x41):
    # none, less, then normal again.
    local fade
    for fade in "o FEF94B" "l 9E994B" "n 78734B"; do
        e2e_key alt+v "${fade% *}"
        e2e_poll e2e_cell_shows char 0x41 "${fade#* }" ||
            { e2e_fail "View > ${fade% *}: A is not drawn in ${fade#* }"; return 1; }
    done

    # The view holds its height in rows of 17 pixels, a part row counted,
    # the menu bar left out.
    local rows
    rows=$((($(e2e_window_height) - 19 + 16) / 17))
    xdotool click 5
    e2e_click $(($(e2e_window_width) - 9)) $(($(e2e_window_height) - 9))
    E2E_TOP_ROW=$((rows / 3 + 1))

    local o=$((E2E_TOP_ROW * 16))
    e2e_click_byte hex $o
    e2e_key a 1 Right Down a 2
    e2e_put bytes $o 0xA1
    e2e_put bytes $((o + 17)) 0xA2
    e2e_drag_bytes hex $((o + 53)) $((o + 34))
    e2e_key b 1 b 2
    e2e_put bytes $((o + 53)) 0xB1
    e2e_drag_bytes char $((o + 64)) $((o + 66))
    xdotool type xy
    e2e_key BackSpace
    xdotool type z
    e2e_put_text bytes $((o + 64)) xz

    e2e_click_byte hex $((o + 80))
    e2e_key Delete
    bytes=("${bytes[@]:0:o+80}" "${bytes[@]:o+81}")
    e2e_drag_bytes hex $((o + 96)) $((o + 99))
    e2e_key Delete
    bytes=("${bytes[@]:0:o+96}" "${bytes[@]:o+100}")

    e2e_key F6
    E2E_PER_ROW=17
    e2e_click_byte hex $(((E2E_TOP_ROW + 1) * 17 + 16))
    e2e_key c 1
    e2e_put bytes $(((E2E_TOP_ROW + 1) * 17 + 16)) 0xC1
    e2e_key alt+v d alt+v d
    # shellcheck disable=SC2034  # read by e2e_byte_xy
    E2E_PER_ROW=15
    e2e_click_byte char $(((E2E_TOP_ROW + 1) * 15 + 14))
    xdotool type Q
    e2e_put_text bytes $(((E2E_TOP_ROW + 1) * 15 + 14)) Q
    e2e_shot view

    e2e_write_bytes "$expected" "${bytes[@]}"
    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1
    e2e_close
}
