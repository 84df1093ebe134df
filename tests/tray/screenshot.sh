#!/usr/bin/env bash
# Takes the pictures of QelIcon in the taskbar of a virtual screen, with a
# few stored display settings and colour schemes:
#   tray-tooltip.png  the icon with its tooltip, the pointer resting on it
#   tray-menu.png     the icon's open menu, the colour schemes unfolded
#   tests/tray/screenshot.sh [test build dir] [output folder]
# The test build's switches of the display-configuration stand-in make it
# report a display mode and offer colour schemes on the virtual screen.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=$(mkdir -p "${2:-$top/docs}" && cd "${2:-$top/docs}" && pwd)
bin=$build/bin
source "$top/scripts/display.sh"

export WINEPREFIX=$build/wine/screenshot WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
make_display_prefix

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
    # Wine's desktop with the shell: a taskbar with a notification area.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f
    wineserver -w
} >/dev/null 2>&1

take_pictures() {
    cd "$bin"
    wine QelIcon.exe &
    for i in $(seq 60); do wine traypost.exe 0 && break; sleep 1; done
    wine traypost.exe point
    screen_picture "$out/tray-tooltip.png" wine traypost.exe frame
    wine traypost.exe click
    wine traypost.exe 256 40        # down to the display settings,
    wine traypost.exe 256 40        # to the colour schemes
    wine traypost.exe 256 39        # and open them
    screen_picture "$out/tray-menu.png" wine traypost.exe frame
    wineserver -k
    wait
}
on_virtual_display take_pictures
echo "$out/tray-tooltip.png"
echo "$out/tray-menu.png"
