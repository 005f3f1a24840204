# The File menu from the keyboard. Reload of a file that has gone is
# refused and keeps the edit. Save As, its dialog answered with a new name,
# writes the edited image there and leaves the open file and the caption
# alone; Reload drops the edit and shows the file's bytes again; Save then
# writes the file the image came from, not the Save As copy; after DELETE
# has removed every byte, Reload still knows that file. New shows
# "Untitled" and three rows of zeros, which Save, having no file to write,
# asks a name for.
check_files() {
    local file="$E2E_TMP/orig.bin" copy="$E2E_TMP/copy.bin" new="$E2E_TMP/new.bin"
    head -c 300 /dev/urandom >"$file"
    cp "$file" "$E2E_TMP/orig.before"
    { printf '\x5a'; tail -c +2 "$file"; } >"$E2E_TMP/copy.expected"
    { printf '\x6b'; tail -c +2 "$file"; } >"$E2E_TMP/orig.expected"
    head -c 48 /dev/zero >"$E2E_TMP/new.expected"

    e2e_start_app "$file"
    e2e_wait_window || return 1
    e2e_focus
    # The print is taken once the pointer's highlight is painted, as it
    # will be after Reload.
    e2e_settle || return 1
    local loaded
    loaded=$(e2e_steady_dump_print)
    # Byte 0 is selected after the load.
    e2e_key 5 a
    # Reload of a file that has gone is refused, and leaves the edited image
    # and its caption as they were: Save As below writes the edit.
    mv "$file" "$E2E_TMP/gone.bin"
    e2e_key alt+f r
    e2e_wait_named '^bytewren$' || { e2e_fail "Reload of a missing file said nothing"; return 1; }
    e2e_key Return
    e2e_poll e2e_windows_shown 1 || return 1
    mv "$E2E_TMP/gone.bin" "$file"
    e2e_caption_is "Bytewren - orig.bin" || { e2e_fail "a refused Reload changed the caption"; return 1; }
    e2e_focus
    e2e_key alt+f a
    e2e_answer_file_dialog "Save As" "$copy" || return 1
    e2e_wait_same "$copy" "$E2E_TMP/copy.expected" || return 1
    cmp -s "$file" "$E2E_TMP/orig.before" || { e2e_fail "Save As changed the open file"; return 1; }
    e2e_caption_is "Bytewren - orig.bin" || { e2e_fail "Save As changed the caption"; return 1; }

    e2e_focus
    e2e_key alt+f r
    e2e_poll e2e_dump_print_is "$loaded" || { e2e_fail "Reload did not show the file again"; return 1; }
    e2e_key 6 b
    e2e_save || return 1
    e2e_wait_same "$file" "$E2E_TMP/orig.expected" || return 1
    cmp -s "$copy" "$E2E_TMP/copy.expected" || { e2e_fail "Save wrote the Save As copy"; return 1; }

    # DELETE over every byte leaves no image, but the file's name is kept
    # for Reload.
    e2e_focus
    e2e_drag_bytes hex 0 299
    e2e_key Delete
    e2e_wait_screen welcome || return 1
    e2e_wait_caption Bytewren || return 1
    e2e_key alt+f r
    e2e_wait_caption "Bytewren - orig.bin" || return 1
    e2e_wait_screen dump || return 1

    e2e_focus
    e2e_key alt+f n
    e2e_wait_caption "Bytewren - Untitled" || return 1
    e2e_shot new
    e2e_key alt+f s
    e2e_answer_file_dialog "Save As" "$new" || return 1
    e2e_wait_same "$new" "$E2E_TMP/new.expected" || return 1
    e2e_caption_is "Bytewren - Untitled" || { e2e_fail "saving the new image named it"; return 1; }
    e2e_close
}
