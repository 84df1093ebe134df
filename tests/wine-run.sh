#!/usr/bin/env bash
# Runs a Windows program under 32-bit Wine in a Wine prefix of its own.
# The prefix is a copy of a template made once with wineboot; programs and
# libraries are shared by hard links, the registry and the INI files that
# a test may change are real copies. A passing run's prefix is removed,
# a failing one is kept for a look.
set -u
root=${QEL_WINE_ROOT:?QEL_WINE_ROOT names the folder of the Wine prefixes}
name=${QEL_TEST_NAME:-$(basename "$1" .exe)}
template=$root/template

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$root/run"
(
    flock 9
    if [ ! -f "$template/.ready" ]; then
        rm -rf "$template"
        WINEPREFIX=$template wineboot -i >/dev/null 2>&1
        WINEPREFIX=$template wineserver -w
        touch "$template/.ready"
    fi
) 9>"$root/template.lock"

prefix=$root/run/$name
rm -rf "$prefix"
cp -al "$template" "$prefix"
for f in "$prefix"/*.reg "$prefix"/drive_c/windows/*.ini; do
    cp --remove-destination "$template/${f#"$prefix"/}" "$f"
done
rm -rf "$prefix/drive_c/users" && cp -a "$template/drive_c/users" "$prefix/drive_c/users"

export WINEPREFIX=$prefix
wine "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
[ "$rc" -eq 0 ] && rm -rf "$prefix"
exit "$rc"
