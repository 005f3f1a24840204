# The view on screens scaled by 2 and by 1.5 (QT_SCALE_FACTOR): at 2 the
# dump's text has edges one device pixel wide, like the menu's, where a dump
# drawn at logical size and scaled up would be made of 2 x 2 blocks. The
# screenshots show byte 0 selected and the pointer over offset 0x2E.
check_scale() {
    local file="$E2E_TMP/random.bin"
    /usr/bin/python3 -c 'import random, sys; random.seed(7); sys.stdout.buffer.write(random.randbytes(32768))' >"$file"

    # A screen with room for the whole window at twice its size.
    e2e_stop_x
    e2e_start_x 2560x1600x24 || return 1
    QT_SCALE_FACTOR=2 e2e_start_app "$file"
    e2e_wait_window || return 1
    # The hex digits of four rows of eight bytes, in device pixels.
    local region=384x136+176+54 dump="$E2E_TMP/dump.png" blocks="$E2E_TMP/blocks.png"
    import -window "$E2E_WID" -crop "$region" +repage "$dump"
    [ "$(convert "$dump" -format %k info:)" -gt 10 ] || { e2e_fail "no text in the dump"; return 1; }
    convert "$dump" -sample 50% -sample 200% "$blocks"
    [ "$(convert "$dump" rgb:- | md5sum)" != "$(convert "$blocks" rgb:- | md5sum)" ] ||
        { e2e_fail "the dump is drawn in 2 x 2 blocks"; return 1; }
    scale_shot 2 scale2 || return 1
    e2e_close || return 1

    QT_SCALE_FACTOR=1.5 e2e_start_app "$file"
    e2e_wait_window || return 1
    scale_shot 1.5 scale1.5 || return 1
    e2e_close
}

# Puts the pointer over the hex digits of offset 0x2E at scale $1 and saves
# a screenshot of the window as $2 once its status line has followed.
scale_shot() {
    local xy before
    xy=$(e2e_byte_xy hex 0x2E) || return 1
    before=$(e2e_window_print)
    xdotool mousemove --window "$E2E_WID" "$(awk "BEGIN { print int(${xy% *} * $1) }")" \
        "$(awk "BEGIN { print int(${xy#* } * $1) }")"
    e2e_poll e2e_window_changed_from "$before" || { e2e_fail "the status line did not follow"; return 1; }
    import -window "$E2E_WID" "$E2E_OUT/$2.png"
}
