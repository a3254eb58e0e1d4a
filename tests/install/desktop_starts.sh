# Sourced by the install and package checks. desktop_starts PROGRAM HOME: starts the desktop
# program on the offscreen platform with HOME's data and config folders, waits until it has made
# the user's state folder (it does so once it has read its texts and its Pluto table, just before
# it computes its first chart), and fails unless it is still running then; it is ended after.
desktop_starts() {
    local program=$1 home=$2
    XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen \
        "$program" >"$home/desktop.log" 2>&1 &
    local desktop=$!
    local tries
    for ((tries = 0; tries < 600; ++tries)); do
        if [[ -d $home/data/Quillmark ]] || ! kill -0 "$desktop" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    if [[ ! -d $home/data/Quillmark ]] || ! kill -0 "$desktop" 2>/dev/null; then
        echo "the desktop program $program did not start:" >&2
        cat "$home/desktop.log" >&2
        kill "$desktop" 2>/dev/null || true
        return 1
    fi
    kill "$desktop"
    wait "$desktop" || true
}
