# bytewren.exe as a user meets it under wine: a file named on the command
# line (a name with a blank) opens with its name in the caption; ESC and
# ENTER leave the window open; a click and two hex digits overwrite a byte,
# INSERT and two more insert one; the right button's menu copies the
# selection; Ctrl+C copies the characters of a drag for other programs;
# Ctrl+F finds a hex pattern; the About box opens and closes; Save, answered
# Yes, writes exactly the image;
# Alt+F4 ends the program with status 0.

check_windows_program() {
    local file="$E2E_TMP/my file.bin" expected="$E2E_TMP/expected.bin" text="$E2E_TMP/text.bin"
    # 0x000: every byte that CP1252 defines, from the blank on (the
    # clipboard's text for other programs); 0x100: 0x00 to 0xFF; 0x1F0: a
    # pattern to search for.
    w32_bytes $(seq 32 126) 128 $(seq 130 140) 142 $(seq 145 156) $(seq 158 255) >"$text"
    local clip=$(stat -c %s "$text")
    { cat "$text"; head -c $((256 - clip)) /dev/zero; w32_bytes $(seq 0 255); } >"$file"
    printf '\xde\xad\xbe\xef' | dd of="$file" bs=1 seek=$((0x1F0)) conv=notrunc status=none

    e2e_start_app "$(winepath -w "$file")"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - my file.bin" || return 1
    e2e_focus

    # ESC and ENTER belong to the view: the dialog stays open.
    e2e_key Escape Return
    e2e_key Escape
    e2e_app_gone && { e2e_fail "ESC or ENTER closed the window"; return 1; }

    # Overwrite byte 0x121 with AB, then insert CD before byte 0x140.
    w32_click_hex $((0x121))
    e2e_key a b Insert
    w32_click_hex $((0x140))
    e2e_key c d
    cp "$file" "$expected"
    printf '\xab' | dd of="$expected" bs=1 seek=$((0x121)) conv=notrunc status=none
    { head -c $((0x140)) "$expected"; printf '\xcd'; tail -c +$((0x141)) "$expected"; } >"$E2E_TMP/x"
    mv "$E2E_TMP/x" "$expected"

    # The right button's menu: its first item copies the selection (CD and
    # the byte after it) as a hex block.
    w32_context_menu $((0x140)) 1 || return 1
    printf 'CD 40 ' >"$E2E_TMP/block.txt"
    e2e_poll w32_clipboard_is "$E2E_TMP/block.txt" ||
        { e2e_fail "the menu's copy gave '$(w32_clipboard_bytes)'"; return 1; }

    # Ctrl+C over the characters of a drag: the bytes as another program
    # reads them.
    w32_drag_chars 0 $((clip - 1))
    e2e_key ctrl+c
    e2e_poll w32_clipboard_is "$text" || { e2e_fail "Ctrl+C gave other bytes"; return 1; }

    # Ctrl+F over the hex area, from byte 0x100 on: DE AD BE EF is found and
    # selected; after ESC two digits (still in insert mode) go in before it.
    w32_click_hex $((0x100))
    e2e_key ctrl+f
    e2e_key d e a d b e e f
    local before
    before=$(e2e_window_print)
    e2e_key Return
    e2e_poll w32_window_changed_from "$before" || { e2e_fail "the search showed nothing"; return 1; }
    e2e_key Escape
    e2e_key 1 1
    { head -c $((0x1F1)) "$expected"; printf '\x11'; tail -c +$((0x1F2)) "$expected"; } >"$E2E_TMP/x"
    mv "$E2E_TMP/x" "$expected"
    e2e_shot windows-program

    # Help > About: the box from its template, ended by its default button.
    e2e_key alt+h a
    local about
    about=$(timeout "$E2E_LIMIT" xdotool search --sync --onlyvisible --name '^About\.\.\.$' | head -1)
    [ -n "$about" ] || { e2e_fail "no About box appeared"; return 1; }
    e2e_shot windows-about
    xdotool windowfocus --sync "$about" 2>/dev/null || xdotool windowfocus "$about"
    e2e_key Return
    e2e_poll w32_no_about_box || { e2e_fail "the About box stayed open"; return 1; }

    e2e_save || return 1
    e2e_wait_same "$file" "$expected" || return 1
    e2e_no_dropped_messages || return 1
    e2e_close
}
