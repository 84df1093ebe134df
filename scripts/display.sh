# Sourced, not run: for our programs on a display of their own, their Wine
# prefix and pictures of the screen (scripts/run.sh, scripts/pictures.sh,
# tests/tray/screenshot.sh), and the virtual screen of every test run
# (tests/wine-run.sh).

# Makes $WINEPREFIX anew. Without a window manager on the display, Wine
# draws the title bars itself. Wine's own fonts (the symbol font of the
# title bar buttons, the dialog fonts) are installed in a folder that
# this Wine build does not search, so the prefix is told where they are.
make_display_prefix() {
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f \
        >/dev/null 2>&1
    wineserver -w
}

# screen_picture OUT.png COMMAND...: the part of the screen that the
# command prints as WxH+X+Y, once the screen has stopped changing (a
# blinking caret aside).
screen_picture() {
    local out=$1 before after changed try geometry
    shift
    before=$(mktemp --suffix=.png)
    after=$(mktemp --suffix=.png)
    import -window root "$before"
    for try in $(seq 20); do
        sleep 0.5
        import -window root "$after"
        changed=$(compare -metric AE "$before" "$after" null: 2>&1 || true)
        awk -v n="$changed" 'BEGIN { exit !(n + 0 < 50) }' && break
        cp "$after" "$before"
    done
    geometry=$("$@" | tr -d '\r')
    convert "$after" -crop "$geometry" +repage "$out"
    rm -f "$before" "$after"
}

# on_virtual_display COMMAND...: runs the command (a shell function too)
# with DISPLAY set to a virtual screen of its own, QEL_SCREEN (default
# 1024x768x24). Xvfb picks a free display number itself and tells it.
on_virtual_display() {
    local number pid rc=0 tries
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${QEL_SCREEN:-1024x768x24}" -nolisten tcp \
        3>"$number" 2>/dev/null &
    pid=$!
    for tries in $(seq 100); do
        [ -s "$number" ] && break
        sleep 0.1
    done
    if [ ! -s "$number" ]; then
        echo "no virtual screen for: $*" >&2
        kill "$pid" 2>/dev/null
        rm -f "$number"
        return 1
    fi
    # In the background, so that a failing step still ends the command
    # under "set -e", which a command in an || list would not.
    DISPLAY=:$(cat "$number") "$@" &
    wait $! || rc=$?
    kill "$pid"
    wait "$pid" || true
    rm -f "$number"
    return $rc
}
