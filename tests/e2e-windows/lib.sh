# Helpers of the Windows program's end-to-end checks, beside those of
# tests/e2e/lib.sh; sourced by run.

# Where the view's cells lie in the window: wine draws the frame (4 pixels),
# the caption and the menu bar (42 pixels to the client area); the view's
# font is 8 x 15 pixels, a row 17 pixels high below an 8-pixel margin.
w32_hex_x() { echo $((4 + 88 + 24 * ($1 % 16) + 6)); }
w32_char_x() { echo $((4 + 480 + 8 * ($1 % 16) + 4)); }
w32_row_y() { echo $((42 + 8 + 17 * ($1 / 16) + 8)); }

w32_click_hex() { e2e_click "$(w32_hex_x "$1")" "$(w32_row_y "$1")"; }

# Drags over the character cells from offset $1 to offset $2.
w32_drag_chars() {
    xdotool mousemove --window "$E2E_WID" "$(w32_char_x "$1")" "$(w32_row_y "$1")" mousedown 1
    xdotool mousemove --window "$E2E_WID" "$(w32_char_x "$2")" "$(w32_row_y "$2")" mouseup 1
}

# The clipboard as another program reads it, decoded from the code page
# wine uses for the program's 8-bit text.
w32_clipboard_bytes() { xclip -o -selection clipboard 2>/dev/null | iconv -f UTF-8 -t CP1252; }

w32_clipboard_is() { [ "$(w32_clipboard_bytes | od -An -tx1)" = "$(od -An -tx1 <"$1")" ]; }

w32_window_changed_from() { [ "$(e2e_window_print)" != "$1" ]; }

w32_unnamed_window_count() { xdotool search --onlyvisible --name '^$' 2>/dev/null | wc -l; }

w32_more_unnamed_windows_than() { [ "$(w32_unnamed_window_count)" -gt "$1" ]; }

w32_no_about_box() { ! e2e_window_named '^About\.\.\.$'; }

# Bytes as octal escapes for printf.
w32_bytes() { local b; for b in "$@"; do printf "\\$(printf %03o "$b")"; done; }

w32_click_char() { e2e_click "$(w32_char_x "$1")" "$(w32_row_y "$1")"; }

w32_no_more_unnamed_windows_than() { [ "$(w32_unnamed_window_count)" -le "$1" ]; }

# Opens the right button's menu over hex byte $1 and chooses its item $2
# (1 for the first) with the arrow keys and ENTER; returns once it is gone.
w32_context_menu() {
    local before downs=()
    before=$(w32_unnamed_window_count)
    xdotool mousemove --window "$E2E_WID" "$(w32_hex_x "$1")" "$(w32_row_y "$1")" click 3
    e2e_poll w32_more_unnamed_windows_than "$before" || { e2e_fail "no popup menu appeared"; return 1; }
    for _ in $(seq "$2"); do downs+=(Down); done
    e2e_key "${downs[@]}" Return
    e2e_poll w32_no_more_unnamed_windows_than "$before" || { e2e_fail "the popup menu stayed"; return 1; }
}
