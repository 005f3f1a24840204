# Helpers for end-to-end checks of the real program on a bare X server (no
# window manager), driven with xdotool as a user would. Sourced by run; every
# wait polls with a generous limit, since CI machines are often loaded.

E2E_LIMIT=${E2E_LIMIT:-60}  # seconds any single wait may take
E2E_LOAD=()
E2E_APP=
E2E_XVFB=
E2E_OWNER=
E2E_THROTTLE=
E2E_BUS=

e2e_fail() {
    echo "e2e [$E2E_NAME]: $*" >&2
    return 1
}

# Polls "$@" every 0.1 s until it succeeds; fails after E2E_LIMIT seconds.
e2e_poll() {
    local deadline=$((SECONDS + E2E_LIMIT))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Starts Xvfb on a free display with a screen of $1 (1280x1024x24 unless
# given); sets DISPLAY and E2E_XVFB. -noreset keeps the server's settings (a
# keyboard layout set with setxkbmap) when the client that made them leaves.
e2e_start_x() {
    local fifo="$E2E_TMP/display"
    rm -f "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -noreset 3>"$fifo" 2>"$E2E_TMP/xvfb.log" &
    E2E_XVFB=$!
    e2e_poll test -s "$fifo" || { e2e_fail "Xvfb did not start"; return 1; }
    export DISPLAY=":$(cat "$fifo")"
}

e2e_stop_x() {
    [ -n "${E2E_XVFB:-}" ] || return 0
    kill "$E2E_XVFB" 2>/dev/null
    wait "$E2E_XVFB" 2>/dev/null
    E2E_XVFB=
}

# Starts a D-Bus session bus of the check's own, on which the accessibility
# bus of at-spi2-core starts when the program or a screen reader asks for it;
# sets DBUS_SESSION_BUS_ADDRESS and E2E_BUS (the bus's pid).
e2e_start_session_bus() {
    local info
    info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
        { e2e_fail "no session bus"; return 1; }
    export DBUS_SESSION_BUS_ADDRESS=${info%%$'\n'*}
    E2E_BUS=${info##*$'\n'}
}

# Ends the session bus and the accessibility bus started on it.
e2e_stop_session_bus() {
    [ -n "${E2E_BUS:-}" ] || return 0
    local launcher
    launcher=$(pgrep -P "$E2E_BUS" -x at-spi-bus-laun)
    # shellcheck disable=SC2086  # none, one or more pids
    [ -z "$launcher" ] || kill $launcher 2>/dev/null
    kill "$E2E_BUS" 2>/dev/null
    E2E_BUS=
}

# Starts the program with the given arguments; sets E2E_APP (its pid).
e2e_start_app() {
    "$E2E_EXE" "$@" >>"$E2E_TMP/app.log" 2>&1 &
    E2E_APP=$!
}

# The same under resource limits: prlimit options, e.g. --fsize=65536, then
# the program's arguments after --.
e2e_start_app_limited() {
    local limits=()
    while [ "$1" != "--" ]; do limits+=("$1"); shift; done
    shift
    prlimit "${limits[@]}" "$E2E_EXE" "$@" >>"$E2E_TMP/app.log" 2>&1 &
    E2E_APP=$!
}

# Waits for the main window to be shown and painted; sets E2E_WID. The view
# counts as painted once it shows the colour given (RRGGBB), by default the
# fill of the dump's status line; the welcome screen shows 808080 text.
e2e_wait_window() {
    local colour=${1:-141414}
    E2E_WID=$(timeout "$E2E_LIMIT" xdotool search --sync --onlyvisible --name '^Bytewren' | head -1)
    [ -n "$E2E_WID" ] || { e2e_fail "no Bytewren window appeared"; return 1; }
    e2e_poll e2e_window_shows "$colour" || { e2e_fail "the window was never painted"; return 1; }
}

# True when the window currently shows a pixel of the given colour (RRGGBB).
# grep reads the whole histogram: with -q it would stop at the first match
# and, under pipefail, the writer's broken pipe would count as a failure.
e2e_window_shows() {
    import -window "$E2E_WID" png:- 2>/dev/null |
        convert - -format %c histogram:info:- 2>/dev/null | grep -i "#$1" >/dev/null
}

# Waits for a visible window whose name matches the pattern: a dialog or a
# message box of the program.
e2e_wait_named() {
    e2e_poll e2e_window_named "$1" || { e2e_fail "no window named '$1' appeared"; return 1; }
}

e2e_window_named() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

# The window's caption.
e2e_caption() { xdotool getwindowname "$E2E_WID"; }

e2e_caption_is() { [ "$(e2e_caption)" = "$1" ]; }

e2e_wait_caption() {
    e2e_poll e2e_caption_is "$1" || { e2e_fail "caption is '$(e2e_caption)', expected '$1'"; return 1; }
}

# Without a window manager the keyboard focus follows the pointer: put the
# pointer on the window and give it the focus.
e2e_focus() {
    xdotool mousemove --window "$E2E_WID" 200 200
    xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || xdotool windowfocus "$E2E_WID"
}

e2e_key() { xdotool key --clearmodifiers "$@"; }

# Clicks the left button at X Y of the main window.
e2e_click() { xdotool mousemove --window "$E2E_WID" "$1" "$2" click 1; }

# Holds key $1 down for $2 seconds, long enough for the X server to repeat it.
e2e_hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# Waits for the program to end; fails unless its status is 0.
e2e_wait_exit() {
    e2e_poll e2e_app_gone || { e2e_fail "the program did not exit"; kill "$E2E_APP"; return 1; }
    wait "$E2E_APP" 2>/dev/null
    local status=$?
    E2E_APP=
    [ $status -eq 0 ] || { e2e_fail "exit status $status"; return 1; }
}

e2e_app_gone() { ! kill -0 "$E2E_APP" 2>/dev/null; }

# Closes the window with Alt+F4 and waits for a clean exit.
e2e_close() {
    e2e_focus
    e2e_key alt+F4
    e2e_wait_exit
}

# Saves a screenshot of the whole screen as $E2E_OUT/<name>.png.
e2e_shot() { import -window root "$E2E_OUT/$1.png"; }

# Waits until file $1 holds exactly the bytes of file $2.
e2e_wait_same() {
    e2e_poll cmp -s "$1" "$2" || {
        e2e_fail "$1 differs from the expected bytes:"
        cmp "$1" "$2" | head -3 >&2
        return 1
    }
}

# Keeps every core busy until e2e_unload (races show only on a loaded machine).
e2e_load() {
    E2E_LOAD=()
    local i
    for i in $(seq "$(nproc)"); do
        (while :; do :; done) &
        E2E_LOAD+=($!)
    done
}

e2e_unload() {
    [ ${#E2E_LOAD[@]} -gt 0 ] || return 0
    kill "${E2E_LOAD[@]}" 2>/dev/null
    wait "${E2E_LOAD[@]}" 2>/dev/null
    E2E_LOAD=()
}

# Lets the program run only about a tenth of the time until e2e_unthrottle,
# stopping and continuing it, as a far busier machine would; the tools that
# watch and drive it keep their speed. A long operation then lasts long
# enough to be interrupted however fast this machine is.
e2e_throttle() {
    (while kill -STOP "$E2E_APP" 2>/dev/null; do
        sleep 0.09
        kill -CONT "$E2E_APP" 2>/dev/null
        sleep 0.01
    done) &
    E2E_THROTTLE=$!
}

e2e_unthrottle() {
    [ -n "${E2E_THROTTLE:-}" ] || return 0
    kill "$E2E_THROTTLE" 2>/dev/null
    wait "$E2E_THROTTLE" 2>/dev/null
    E2E_THROTTLE=
    kill -CONT "$E2E_APP" 2>/dev/null
    return 0
}

# Presses key $1 (ESC, Alt+F4) in the program slowed down by e2e_throttle,
# and lets it run at full speed again.
e2e_interrupt() {
    e2e_focus
    e2e_key "$1"
    e2e_unthrottle
}

# Runs program $1 (a pid) in short steps, stopped between them, until "$@"
# (after $1) holds while it is stopped; it is left stopped. A file the
# program is writing can then be looked at without a race.
e2e_step_until() {
    local pid=$1 deadline=$((SECONDS + E2E_LIMIT))
    shift
    kill -STOP "$pid" || return 1
    until "$@"; do
        [ $SECONDS -lt $deadline ] || { kill -CONT "$pid"; return 1; }
        kill -CONT "$pid"
        sleep 0.01
        kill -STOP "$pid"
    done
}

# The processor time the program has used so far, in clock ticks.
e2e_cpu_ticks() { awk '{print $14 + $15}' "/proc/$E2E_APP/stat"; }

# True when the program, left alone, uses less than a tenth of the
# processor over the next second (measured, not waited for): it is not
# still working on something the window shows as ended.
e2e_stays_idle() {
    local before
    before=$(e2e_cpu_ticks)
    sleep 1
    [ $(($(e2e_cpu_ticks) - before)) -lt $(($(getconf CLK_TCK) / 10)) ]
}

# Fails when a save left a temporary file of its own in E2E_TMP.
e2e_no_temporary_files() {
    [ -z "$(find "$E2E_TMP" -maxdepth 1 -name '*bytewren-*')" ] || { e2e_fail "a temporary file was left"; return 1; }
}

# True when files $1 and $2 differ.
e2e_differs() { ! cmp -s "$1" "$2"; }

# File > Save from the keyboard, answering Yes when asked to overwrite, or
# No when $1 is no. The pointer is left over the hex column (e2e_focus).
e2e_save() {
    e2e_focus
    e2e_key alt+f s
    e2e_focus_named '^Overwrite Warning$' || return 1
    if [ "${1:-yes}" = no ]; then e2e_key Escape; else e2e_key Return; fi
}

# Makes xclip the owner of the clipboard, serving file $1 as target $2
# (STRING: the bytes as they are); sets E2E_OWNER (its pid).
e2e_own_clipboard() {
    e2e_disown_clipboard
    xclip -quiet -selection clipboard -i -t "$2" <"$1" >/dev/null 2>&1 &
    E2E_OWNER=$!
    e2e_poll e2e_clipboard_offers "$2" || { e2e_fail "xclip did not take the clipboard"; return 1; }
}

# True when the clipboard's owner offers exactly target $1 (as xclip does,
# unlike the program, whose own clipboard offers several).
e2e_clipboard_offers() {
    [ "$(xclip -o -selection clipboard -t TARGETS 2>/dev/null | sort | tr '\n' ' ')" = \
        "$(printf '%s\n' "$1" TARGETS | sort | tr '\n' ' ')" ]
}

e2e_disown_clipboard() {
    [ -n "${E2E_OWNER:-}" ] || return 0
    kill -CONT "$E2E_OWNER" 2>/dev/null
    kill "$E2E_OWNER" 2>/dev/null
    wait "$E2E_OWNER" 2>/dev/null
    E2E_OWNER=
}

# Waits until the clipboard, read as target $2 by another program, holds
# exactly the bytes of file $1.
e2e_wait_clipboard() {
    e2e_poll e2e_clipboard_holds "$1" "$2" || {
        e2e_fail "the clipboard holds other bytes than $(basename "$1"):"
        xclip -o -selection clipboard -t "$2" 2>&1 | od -An -c | head -3 >&2
        return 1
    }
}

e2e_clipboard_holds() { xclip -o -selection clipboard -t "$2" 2>/dev/null | cmp -s - "$1"; }

# A fingerprint of what the window shows now.
e2e_window_print() { import -window "$E2E_WID" rgb:- 2>/dev/null | md5sum; }

# The same without the dump's status line, which follows the pointer.
e2e_dump_print() { import -window "$E2E_WID" png:- 2>/dev/null | convert - -gravity South -chop 0x18 rgb:- | md5sum; }

e2e_window_changed_from() { [ "$(e2e_window_print)" != "$1" ]; }

e2e_dump_print_is() { [ "$(e2e_dump_print)" = "$1" ]; }

# The dump's fingerprint once two in a row agree, so that no paint still
# on its way (a loaded machine delays them) is missed.
e2e_steady_dump_print() {
    local before now
    before=$(e2e_dump_print)
    for _ in $(seq 100); do
        now=$(e2e_dump_print)
        [ "$now" = "$before" ] && break
        before=$now
    done
    echo "$now"
}

# The file's inode: a save replaces the file, so it changes even when the
# bytes do not.
e2e_inode() { stat -c %i "$1"; }

e2e_inode_is_not() { [ "$(e2e_inode "$1")" != "$2" ]; }

# Fails when the program reported a message dropped at its last guard.
e2e_no_dropped_messages() {
    ! grep -q '^bytewren: message' "$E2E_TMP/app.log" ||
        { e2e_fail "a message was dropped: $(grep -m1 '^bytewren: message' "$E2E_TMP/app.log")"; return 1; }
}

# ---- The dump's geometry ---------------------------------------------------
# In pixels of the main window at the default font: cells 8 wide, rows 17
# high from y = 27 (below the menu bar of 19 and a margin of one cell), the
# hexadecimal area from x = 88 (three cells a byte), the character area one
# cell after it (one cell a byte). A check that changes the bytes per row or
# scrolls sets these two to match.
E2E_PER_ROW=16  # bytes per row
E2E_TOP_ROW=0   # the image row shown at the top

# The point in the middle of byte $2's first cell in area $1 (hex or char).
e2e_byte_xy() {
    local row=$(($2 / E2E_PER_ROW - E2E_TOP_ROW)) col=$(($2 % E2E_PER_ROW)) x
    case $1 in
        hex) x=$((88 + 24 * col + 4)) ;;
        char) x=$((8 * (3 * E2E_PER_ROW + 12) + 8 * col + 4)) ;;
        *) e2e_fail "no area '$1'"; return 1 ;;
    esac
    echo "$x $((27 + 17 * row + 8))"
}

# True when the cell of byte $2 in area $1 shows colour $3 (RRGGBB).
e2e_cell_shows() {
    local xy width=8
    xy=$(e2e_byte_xy "$1" "$2") || return 1
    [ "$1" = hex ] && width=16
    import -window "$E2E_WID" -crop "${width}x17+$((${xy% *} - 4))+$((${xy#* } - 8))" png:- 2>/dev/null |
        convert - -format %c histogram:info:- 2>/dev/null | grep -i "#$3" >/dev/null
}

# Selects byte $2 of area $1 with a click; the pointer stays over it, so
# typing goes to that area.
e2e_click_byte() {
    local xy
    xy=$(e2e_byte_xy "$1" "$2") || return 1
    # shellcheck disable=SC2086  # x and y
    e2e_click $xy
}

# Selects bytes $2 to $3 of area $1 by dragging over them.
e2e_drag_bytes() {
    local from to
    from=$(e2e_byte_xy "$1" "$2") && to=$(e2e_byte_xy "$1" "$3") || return 1
    # shellcheck disable=SC2086
    xdotool mousemove --window "$E2E_WID" $from mousedown 1 mousemove --window "$E2E_WID" $to mouseup 1
}

# ---- What the view shows --------------------------------------------------
# Told apart by pixels that only one screen paints in its colour: the fill
# of the dump's status line at its left end, the frame of the progress
# panel's bar, the top of the bit edit or search panel's box.

# The colours (RRGGBB) of the window's pixels at the given X Y pairs.
e2e_pixels() {
    local format=""
    while [ $# -ge 2 ]; do
        format+="%[hex:u.p{$1,$2}] "
        shift 2
    done
    import -window "$E2E_WID" png:- 2>/dev/null | convert - -format "$format" info:- 2>/dev/null
}

e2e_window_width() { xdotool getwindowgeometry "$E2E_WID" | awk -F'[ x]+' '/Geometry/ {print $3}'; }
e2e_window_height() { xdotool getwindowgeometry "$E2E_WID" | awk -F'[ x]+' '/Geometry/ {print $4}'; }

e2e_shows_dump() { [ "$(e2e_pixels 5 $(($(e2e_window_height) - 10)))" = "141414 " ]; }
e2e_shows_progress() { [ "$(e2e_pixels 8 66 100 59 100 73)" = "282828 282828 282828 " ]; }
e2e_shows_panel() { [ "$(e2e_pixels 300 27 300 28)" = "282828 141414 " ]; }
# The welcome screen: none of the others, with "No file loaded..." in green.
e2e_shows_welcome() {
    ! e2e_shows_dump && ! e2e_shows_progress && ! e2e_shows_panel && e2e_window_shows 00ff00
}

# Waits until the view shows screen $1: dump, progress, panel or welcome.
e2e_wait_screen() {
    e2e_poll "e2e_shows_$1" || { e2e_fail "the view never showed the $1"; e2e_shot "no-$1-$E2E_NAME"; return 1; }
}

# True when the search panel's message line reports a hit: only "Found ...
# at Offset: 0x..." reaches that far right.
e2e_panel_found() {
    import -window "$E2E_WID" -crop 300x16+200+165 png:- 2>/dev/null |
        convert - -format %c histogram:info:- 2>/dev/null | grep -i '#00af00' >/dev/null
}

e2e_wait_found() {
    e2e_poll e2e_panel_found || { e2e_fail "the search found nothing"; e2e_shot "not-found-$E2E_NAME"; return 1; }
}

# Types text $1 into the search panel once it is shown, runs the search
# with ENTER and waits for it to report a hit.
e2e_search() {
    e2e_wait_screen panel || return 1
    xdotool type "$1"
    e2e_key Return
    e2e_wait_found
}

# Closes the panel with ESC; the dump shows again.
e2e_close_panel() {
    e2e_key Escape
    e2e_wait_screen dump
}

# Jumps to hex offset $1 with the right-click menu's "Jump to a Line".
e2e_jump_to() {
    e2e_context_menu "Jump to a Line" || return 1
    e2e_wait_screen panel || return 1
    xdotool type "$1"
    e2e_key Return
    e2e_wait_screen dump
}

# ---- Menus and dialogs ------------------------------------------------------

# The right-click menu's items in their order, separators left out; two
# read ASCII for HEX while the pointer was last over the character area.
E2E_CONTEXT_MENU=(
    "Copy Selection as HEX Block" "Copy Selection as HEX String" "Copy Selection as ASCII Text"
    "Delete Selection" "Insert HEX Data From Clipboard" "Overwrite HEX with Clipboard Data"
    "Edit Bits of First Selected Byte"
    "Search for HEX starting at Selection" "Search for TEXT starting at Selection"
    "Search for TEXT starting at Selection (ignore case)"
    "Search for UNICODE TEXT starting at Selection"
    "Search for UNICODE TEXT starting at Selection (ignore case)" "Find Next"
    "Scroll Selection Into View" "Jump to a Line"
)

# The number of the program's windows shown (the main window, a menu, a
# dialog).
e2e_windows_shown() { [ "$(xdotool search --onlyvisible --classname '^bytewren$' 2>/dev/null | wc -l)" -eq "$1" ]; }

# Right-clicks where the pointer is and presses the keys given in the menu
# that opens; returns once the menu has gone, so that the next keys reach
# the view. The menu opens with its corner under the pointer, on no item.
e2e_menu_keys() {
    xdotool click 3
    e2e_poll e2e_windows_shown 2 || { e2e_fail "no menu appeared"; return 1; }
    e2e_key "$@"
    e2e_poll e2e_windows_shown 1 || { e2e_fail "the menu stayed open"; return 1; }
}

# Chooses item $1 (its text as in E2E_CONTEXT_MENU) of the right-click menu
# with the arrow keys and ENTER.
e2e_context_menu() {
    local item downs=()
    for item in "${E2E_CONTEXT_MENU[@]}" ""; do
        [ -n "$item" ] || { e2e_fail "no menu item '$1'"; return 1; }
        downs+=(Down)
        [ "$item" = "$1" ] || [ "${item/HEX/ASCII}" = "$1" ] && break
    done
    e2e_menu_keys "${downs[@]}" Return
}

# Returns once the program has handled every key and click sent before:
# the right-click menu, closed again with ESC, can only open after them.
# Needs an image shown and the pointer over the view.
e2e_settle() { e2e_menu_keys Escape; }

# Gives the keyboard to the dialog or message box named $1 (a pattern) once
# it is shown; the pointer stays where it is.
e2e_focus_named() {
    local wid
    wid=$(timeout "$E2E_LIMIT" xdotool search --sync --onlyvisible --name "$1" | head -1)
    [ -n "$wid" ] || { e2e_fail "no window named '$1' appeared"; return 1; }
    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
}

# Answers the file dialog named $1 (Save As, Open) with path $2, typed into
# its file name field over the name proposed there.
e2e_answer_file_dialog() {
    e2e_focus_named "^$1\$" || return 1
    e2e_key ctrl+a
    xdotool type --delay 5 "$2"
    e2e_key Return
    e2e_poll e2e_windows_shown 1 || { e2e_fail "the $1 dialog stayed open"; return 1; }
}

# Writes the bytes given as numbers (0 to 255) to file $1.
e2e_write_bytes() {
    local file=$1
    shift
    printf '%b' "$(printf '\\x%02x' "$@")" >"$file"
}

# Sets the elements of array $1 from index $2 on to the numbers that follow.
e2e_put() {
    local -n e2e_array=$1
    local at=$(($2))
    shift 2
    local value
    # shellcheck disable=SC2034  # the caller's array, by name
    for value; do e2e_array[at++]=$value; done
}

# Sets the elements of array $1 from index $2 on to the bytes of text $3.
e2e_put_text() {
    local codes
    read -ra codes <<<"$(printf %s "$3" | od -An -v -tu1 | tr '\n' ' ')"
    e2e_put "$1" "$2" "${codes[@]}"
}

# Ends whatever a check left running.
e2e_cleanup() {
    e2e_unthrottle
    e2e_disown_clipboard
    e2e_unload
    if [ -n "${E2E_APP:-}" ]; then
        kill "$E2E_APP" 2>/dev/null
        wait "$E2E_APP" 2>/dev/null
    fi
    e2e_stop_session_bus
    e2e_stop_x
}
