# The program opens a file named on the command line (a name with a blank),
# shows its window with the file's name in the caption, and exits with
# status 0 when the window is closed with Alt+F4.
check_window() {
    head -c 5000 /dev/urandom >"$E2E_TMP/sample file.bin"
    e2e_start_app "$E2E_TMP/sample file.bin"
    e2e_wait_window || return 1
    e2e_wait_caption "Bytewren - sample file.bin" || return 1
    e2e_shot window
    e2e_close
}
