#!/usr/bin/env bash
# Runs a Windows program under 32-bit Wine in a Wine prefix of its own.
# The prefix is a copy of a template made with wineboot; programs and
# libraries are shared by hard links, the registry and the INI files that
# a test may change are real copies. A passing run's prefix is removed,
# a failing one is kept for a look.
#
# Each run has a virtual screen of its own, QEL_SCREEN (default
# 1024x768x24): windows of tests that run at the same time never cover
# each other, so what a test reads off its screen is its own.
#
# QEL_WINE_TIMEOUT (seconds, default 600) limits the run: a program that
# is still running then is stopped with every other process of its prefix,
# and the run fails. CTest's own limit is set longer, so that this one
# fires first and nothing is left behind.
set -u
root=${QEL_WINE_ROOT:?QEL_WINE_ROOT names the folder of the Wine prefixes}
name=${QEL_TEST_NAME:-$(basename "$1" .exe)}
limit=${QEL_WINE_TIMEOUT:-600}
template=$root/template

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
# No .NET or HTML engine, and no menu builder: Wine would mirror every
# Start-menu shortcut a test makes into the desktop menus of this machine.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# The template's recipe. A crash must end its test at once: the debugger
# that Wine starts for an unhandled exception prints the backtrace to the
# test's output and exits, instead of waiting for a click on its dialog.
# The user's folders (Desktop, Documents...) are real folders of the
# prefix, not links to this machine's home, so that no test writes there.
make_template() {
    WINEPREFIX=$template wineboot -i
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\WineDbg' \
        /v ShowCrashDialog /t REG_DWORD /d 0 /f
    WINEPREFIX=$template wineserver -w
    local link
    for link in "$template"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm "$link" && mkdir "$link"
        fi
    done
}

# The template is made again whenever its recipe or Wine changes.
recipe=$( { declare -f make_template; wine --version; } | sha1sum | cut -d' ' -f1)

mkdir -p "$root/run"
prefix=$root/run/$name
(
    flock 9
    if [ "$(cat "$template/.ready" 2>/dev/null)" != "$recipe" ]; then
        rm -rf "$template"
        make_template >/dev/null 2>&1
        echo "$recipe" >"$template/.ready"
    fi
    rm -rf "$prefix"
    cp -al "$template" "$prefix"
) 9>"$root/template.lock"

for f in "$prefix"/*.reg "$prefix"/drive_c/windows/*.ini; do
    cp --remove-destination "$template/${f#"$prefix"/}" "$f"
done
rm -rf "$prefix/drive_c/users" && cp -a "$template/drive_c/users" "$prefix/drive_c/users"

# QEL_WINDOWS (win95, win98, nt40, win2k, winxp, win7, win10) is the
# Windows version that Wine reports to each program named in
# QEL_WINDOWS_PROGRAMS: Wine's per-program setting, written into the
# prefix's registry before anything of the prefix starts.
if [ -n "${QEL_WINDOWS:-}" ]; then
    for program in ${QEL_WINDOWS_PROGRAMS:?QEL_WINDOWS_PROGRAMS names the programs run as $QEL_WINDOWS}; do
        printf '\n[Software\\\\Wine\\\\AppDefaults\\\\%s]\n"Version"="%s"\n' \
            "$program" "$QEL_WINDOWS" >>"$prefix/user.reg"
    done
fi

# The error output passes through, and Wine's word of an unhandled
# exception is kept aside: a process that died of one can still report the
# exit code 0 once the debugger has let it go.
run_program() {
    local crashes=$prefix/crashes.log reader rc
    mkfifo "$prefix/stderr.fifo"
    awk -v crashes="$crashes" '{ print } /^wine: Unhandled/ { print >crashes }' \
        <"$prefix/stderr.fifo" >&2 &
    reader=$!
    timeout -k 10 "$limit" wine "$@" 2>"$prefix/stderr.fifo"
    rc=$?
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
        echo "wine-run: $name still ran after $limit s; stopped with its prefix's processes" >&2
    fi
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wait "$reader"
    if [ "$rc" -eq 0 ] && [ -s "$crashes" ]; then
        echo "wine-run: $name crashed" >&2
        rc=1
    fi
    return "$rc"
}

export WINEPREFIX=$prefix
source "$(dirname "$0")/../scripts/display.sh"
on_virtual_display run_program "$@"
rc=$?
[ "$rc" -eq 0 ] && rm -rf "$prefix"
exit "$rc"
