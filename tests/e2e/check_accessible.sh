# The view as a screen reader meets it, over AT-SPI on a session bus of the
# check's own: named after the file, describing the selected byte's offset
# and value, and announcing the next byte after an arrow key and the search
# panel's prompt after Ctrl+F (accessible_view.py). The tree it saw is kept
# in the output folder.
check_accessible() {
    local file="$E2E_TMP/some data.bin"
    printf '\x41\xB3\x00' >"$file"
    e2e_start_session_bus || return 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus
    /usr/bin/python3 "${BASH_SOURCE[0]%/*}/accessible_view.py" "$E2E_OUT/accessible-tree.txt" \
        "some data.bin" 41 B3 || return 1
    e2e_close
}
