# Keys that act on release act once per press however long they are held
# while the X server repeats them: holding DELETE for two seconds on one
# selected byte of 00..FF deletes that byte alone; holding Right moves the
# selection by one byte, so two hex digits then overwrite the next byte. Run
# with every core busy, where a repeat's release reaches the program before
# the press that follows it.
check_held_keys() {
    local all="$E2E_TMP/all.bin" expected="$E2E_TMP/expected.bin" file key
    local i
    for i in $(seq 0 255); do printf "\\$(printf %03o "$i")"; done >"$all"
    e2e_load
    for key in Delete Right; do
        file="$E2E_TMP/$key.bin"
        cp "$all" "$file"
        e2e_start_app "$file"
        e2e_wait_window || return 1
        e2e_focus
        # Byte 0x42: row 4, column 2 of the hexadecimal area (cells 8 pixels
        # wide from x = 88, rows 17 high from y = 27 below the menu bar).
        e2e_click 144 103
        e2e_hold "$key" 2
        if [ "$key" = Delete ]; then
            { head -c 66 "$all"; tail -c +68 "$all"; } >"$expected"
        else
            e2e_key a 5
            { head -c 67 "$all"; printf '\245'; tail -c +69 "$all"; } >"$expected"
        fi
        e2e_shot "held_$key"
        e2e_save || return 1
        e2e_wait_same "$file" "$expected" || return 1
        e2e_close || return 1
    done
    e2e_unload
}
