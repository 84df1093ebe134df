#!/usr/bin/env bash
# Takes every picture in docs/ again, each program in a Wine prefix made
# anew on a virtual screen of its own:
#   wizard-page-N.png      the wizard's ten pages (N = 0..9) with the sample
#                          answers; wizard-page-N-deu.png for a German user;
#                          wizard-pages.png, the English ones together
#   tray-tooltip.png       the tray utility's icon with its tooltip
#   tray-menu.png          its menu, the colour schemes unfolded
#   setup-welcome.png, setup-folder.png, setup-finish.png,
#   uninstall-confirm.png  the setup program's pages and the uninstaller's
#                          confirmation; *-deu.png for a German user;
#                          setup-pages.png, the English ones together
#
#   scripts/pictures.sh
#
# Builds the test build (QEL_BUILD_DIR, default build/) and the release
# with the setup program (QEL_RELEASE_DIR, default build-release/). The
# wizard's prefix of the test build starts afresh, without the answers
# that it remembered. A German user is one whose locale is German.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QEL_BUILD_DIR:-$top/build}
release=${QEL_RELEASE_DIR:-$top/build-release}
docs=$top/docs
german=de_DE.UTF-8
source "$top/scripts/display.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a step with its output in a log, shown only when the step fails.
quietly() {
    if ! "$@" >"$work/log" 2>&1; then
        cat "$work/log" >&2
        echo "pictures: failed: $*" >&2
        exit 1
    fi
}

echo "pictures: building"
quietly bash "$top/scripts/setup.sh"
quietly env QEL_BUILD_DIR="$build" bash "$top/scripts/build.sh"
quietly bash "$top/scripts/package.sh" "$release"

wizard_pictures() {  # folder, then the locale if not the machine's own
    local folder=$1
    rm -rf "$build/wine/wizard"
    quietly env ${2:+LC_ALL=$2} QEL_BUILD_DIR="$build" \
        bash "$top/scripts/run.sh" --headless --pictures "$folder"
}

echo "pictures: the wizard in English"
wizard_pictures "$work/enu"
cp "$work"/enu/wizard-page-?.png "$docs/"
echo "pictures: the wizard in German"
wizard_pictures "$work/deu" "$german"
for page in "$work"/deu/wizard-page-?.png; do
    cp "$page" "$docs/$(basename "$page" .png)-deu.png"
done
montage "$docs"/wizard-page-?.png -tile 2x -geometry +6+6 -background white \
    "$docs/wizard-pages.png"

echo "pictures: the tray utility"
quietly bash "$top/tests/tray/screenshot.sh" "$build" "$docs"

# The setup program's pages are told apart by a control that only that
# page shows: the welcome text, the folder field, the finish page's box to
# start the tray utility, and the uninstaller's folder field.
setup_pages() {  # suffix of the pictures' names
    local drive="wine $build/bin/setupdrive.exe"
    wine "$release/QELSETUP.EXE" &
    $drive page 1201 >/dev/null
    screen_picture "$docs/setup-welcome$1.png" $drive page 1201
    $drive press 1
    $drive page 1019 >/dev/null
    screen_picture "$docs/setup-folder$1.png" $drive page 1019
    $drive press 1
    $drive page 1203 >/dev/null
    screen_picture "$docs/setup-finish$1.png" $drive page 1203
    $drive press 1
    wait
    # The uninstaller starts a copy of itself and ends.
    wine 'C:\Program Files\QEL Display Tools\QELUNINS.EXE'
    $drive page 1000 >/dev/null
    screen_picture "$docs/uninstall-confirm$1.png" $drive page 1000
    $drive press 2
    wineserver -k
}

setup_pictures() {  # suffix, then the locale if not the machine's own
    (
        export WINEPREFIX=$build/wine/setup WINEARCH=win32 WINEDEBUG=-all
        # No .NET or HTML engine; no menu builder, which would copy the
        # setup program's shortcuts into this machine's desktop menus.
        export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
        [ -z "${2:-}" ] || export LC_ALL=$2 2>/dev/null
        make_display_prefix
        on_virtual_display setup_pages "$1"
    )
}

echo "pictures: the setup program in English"
setup_pictures ""
echo "pictures: the setup program in German"
setup_pictures -deu "$german"
montage "$docs"/setup-{welcome,folder,finish}.png "$docs/uninstall-confirm.png" \
    -tile 2x -geometry +6+6 -background white "$docs/setup-pages.png"

echo "pictures: done, in $docs"
