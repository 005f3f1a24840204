# Helpers for end-to-end checks of the real program on a bare X server (no
# window manager), driven with xdotool as a user would. Sourced by run; every
# wait polls with a generous limit, since CI machines are often loaded.

E2E_LIMIT=${E2E_LIMIT:-60}  # seconds any single wait may take
E2E_LOAD=()
E2E_APP=
E2E_XVFB=
E2E_OWNER=

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

# Starts Xvfb on a free display; sets DISPLAY and E2E_XVFB.
e2e_start_x() {
    local fifo="$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>"$E2E_TMP/xvfb.log" &
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

# True when files $1 and $2 differ.
e2e_differs() { ! cmp -s "$1" "$2"; }

# File > Save from the keyboard, answering Yes when asked to overwrite. The
# pointer is left over the hex column (e2e_focus).
e2e_save() {
    e2e_focus
    e2e_key alt+f s
    local box
    box=$(timeout "$E2E_LIMIT" xdotool search --sync --onlyvisible --name '^Overwrite Warning$' | head -1)
    [ -n "$box" ] || { e2e_fail "no overwrite question appeared"; return 1; }
    xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
    e2e_key Return
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

# A fingerprint of what the window shows now.
e2e_window_print() { import -window "$E2E_WID" rgb:- 2>/dev/null | md5sum; }

# The file's inode: a save replaces the file, so it changes even when the
# bytes do not.
e2e_inode() { stat -c %i "$1"; }

e2e_inode_is_not() { [ "$(e2e_inode "$1")" != "$2" ]; }

# Fails when the program reported a message dropped at its last guard.
e2e_no_dropped_messages() {
    ! grep -q '^bytewren: message' "$E2E_TMP/app.log" ||
        { e2e_fail "a message was dropped: $(grep -m1 '^bytewren: message' "$E2E_TMP/app.log")"; return 1; }
}

# Ends whatever a check left running.
e2e_cleanup() {
    e2e_disown_clipboard
    e2e_unload
    if [ -n "${E2E_APP:-}" ]; then
        kill "$E2E_APP" 2>/dev/null
        wait "$E2E_APP" 2>/dev/null
    fi
    e2e_stop_x
}
