# Shared by the scripted tests that run the editor in a real window; sourced,
# not run (ctest runs only tests/scripts/*.sh). Sets WORK, XVFB_PID and
# EDITOR_PID, and cleans up on exit.

# A scratch workspace holding the built media; removed, with the editor and
# Xvfb, when the script ends.
make_workspace() {
    WORK=$(mktemp -d)
    XVFB_PID=
    EDITOR_PID=
    trap cleanup_window EXIT
    mkdir -p "$WORK/Media"
    cp "$BUILD"/Media/* "$WORK/Media/" 2>/dev/null
}

cleanup_window() {
    [ -n "$EDITOR_PID" ] && kill -KILL "$EDITOR_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}

# Starts Xvfb on the first free display from FIRST to LAST (with a screen of
# SIZE, default 1024x768) and exports DISPLAY; exits 77 (skipped) when none comes up. Another run may take the
# same free number at the same moment: only the Xvfb that stays up owns it.
start_xvfb() {
    local n
    command -v Xvfb >/dev/null || { echo "skipped: no Xvfb"; exit 77; }
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${3:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            [ -e "/tmp/.X11-unix/X$n" ] && sleep 0.2 && break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; XVFB_PID=
    done
    echo "skipped: Xvfb did not start"; exit 77
}
