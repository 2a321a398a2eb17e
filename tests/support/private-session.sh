# Sourced by the display test wrappers. Gives the script a private work directory, removed on
# exit together with every process listed in `session_pids`, and `start_private_xvfb`, which
# starts an X server on a display nobody else uses and exports DISPLAY.
work=$(mktemp -d)
session_pids=()
cleanup() {
    kill "${session_pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# start_private_xvfb [WIDTHxHEIGHTxDEPTH]
start_private_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${1:-800x600x24}" -nolisten tcp 3>"$work/display" 2>/dev/null &
    session_pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$work/display")"
}
