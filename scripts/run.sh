#!/usr/bin/env bash
# Builds everything and runs the problem report wizard QELPR.EXE under Wine.
#
#   scripts/run.sh                 the wizard on your display, to use by hand
#   scripts/run.sh --headless      the wizard on a virtual display, answered
#                                  from tests/tools/sample-answers.txt; prints
#                                  the report it writes
#   scripts/run.sh --headless --pictures DIR
#                                  also saves each page as DIR/wizard-page-N.png
#
# Without a DISPLAY the run is headless. The wizard runs in a Wine prefix
# of its own, <build>/wine/wizard, whose registry keeps the answers from
# one run to the next; the report's default file is C:\QELPR.TXT there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QEL_BUILD_DIR:-$top/build}

headless=no
pictures=
while [ $# -gt 0 ]; do
    case $1 in
        --headless) headless=yes ;;
        --pictures) pictures=$(mkdir -p "$2" && cd "$2" && pwd); shift ;;
        *) echo "usage: scripts/run.sh [--headless [--pictures DIR]]" >&2; exit 2 ;;
    esac
    shift
done
[ -n "${DISPLAY:-}" ] || headless=yes

bash "$top/scripts/setup.sh" >/dev/null
if ! log=$(QEL_BUILD_DIR=$build bash "$top/scripts/build.sh" 2>&1); then
    echo "$log" >&2
    exit 1
fi

source "$top/scripts/display.sh"
export WINEPREFIX=$build/wine/wizard WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# Made again only when the recipe of the prefix changes: it keeps the answers.
recipe=$(declare -f make_display_prefix | sha1sum | cut -d' ' -f1)
if [ "$(cat "$WINEPREFIX/.ready" 2>/dev/null)" != "$recipe" ]; then
    echo "run: preparing the Wine prefix $WINEPREFIX (once)"
    make_display_prefix
    echo "$recipe" >"$WINEPREFIX/.ready"
fi

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
bin=$build/bin

if [ "$headless" = no ]; then
    wine "$bin/QELPR.EXE"
    wineserver -w
    exit 0
fi

report=$WINEPREFIX/drive_c/QELPR.TXT
rm -f "$report"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
# The wizard opens Notepad at Finish; it is closed with the display.
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; rc=$?; wineserver -k; exit $rc' \
    run "$bin/qeldrive.exe" "$(winpath "$bin/QELPR.EXE")" \
    "$(winpath "$top/tests/tools/sample-answers.txt")" \
    "$([ -n "$pictures" ] && winpath "$shots")"
if [ -n "$pictures" ]; then
    for bmp in "$shots"/*.bmp; do
        convert "$bmp" "$pictures/$(basename "$bmp" .bmp).png"
    done
    echo "run: pages saved in $pictures"
fi
echo "run: the report, $report:"
cat "$report"
