#!/usr/bin/env bash
# Takes a picture of QelIcon's open tray menu under Xvfb, with a few stored
# display settings and colour schemes, the display settings list unfolded.
#   tests/tray/screenshot.sh [build dir] [output.png]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=$(realpath -m "${2:-$top/docs/tray-menu.png}")
bin=$build/bin

export WINEPREFIX=$build/wine/screenshot WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w

key='HKLM\System\CurrentControlSet\Services\Class\DISPLAY\QEL'
setting() {  # name width height bits
    local hex
    hex=$(printf '%08x%08x%08x' "$2" "$3" "$4" | sed -E 's/(..)(..)(..)(..)/\4\3\2\1/g')
    wine reg add "$key\Settings" /v "$1" /t REG_BINARY /d "${hex}000000000000000000000000" /f
}
scheme() {  # name
    wine reg add "$key\ColorCorrection" /v "$1" /t REG_BINARY /d "$(printf '%01640d' 0)" /f
}
{
    setting "640 x 480, 256 colours" 640 480 8
    setting "800 x 600, 16 bits" 800 600 16
    setting "1024 x 768, 32 bits" 1024 768 32
    scheme "Warm"
    scheme "Cool"
    scheme "~~dEF_qel_cOL_sCHEME~~"
    wine reg add 'HKCU\Software\QelTests\DisplayConfig' /v GammaEnabled /t REG_DWORD /d 1 /f
    wine reg add 'HKCU\Software\QelTests\DisplayConfig' /v DisplayModeEnabled /t REG_DWORD /d 1 /f
} >/dev/null 2>&1

xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    cd '$bin'
    wine QelIcon.exe &
    for i in \$(seq 60); do wine traypost.exe 0 && break; sleep 1; done
    sleep 2
    wine traypost.exe 32868 1 516   # the right button on the icon
    sleep 2
    wine traypost.exe 256 40        # down to the display settings
    wine traypost.exe 256 39        # and open them
    sleep 2
    import -window root '$out'
    wine traypost.exe 16
    wait
"
wineserver -k || true
echo "$out"
