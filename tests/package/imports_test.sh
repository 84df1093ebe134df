#!/usr/bin/env bash
# The release's programs and libraries load on the oldest Windows the
# package supports: every function they import is on the list of those
# that Windows 95 and Windows NT 4.0 both have, or is one of the package's
# own libraries. A missing import stops the platform's loader from
# starting a program at all.
#   imports_test.sh LIST RELEASE-BIN-FOLDER
set -euo pipefail
list=$1
bin=$2
allowed=$(grep -v '^#' "$list")
own=$(cd "$bin" && ls -- *.dll *.DLL 2>/dev/null | tr '[:lower:]' '[:upper:]')

status=0
for file in "$bin"/*.exe "$bin"/*.EXE "$bin"/*.dll "$bin"/*.DLL; do
    [ -e "$file" ] || continue
    while read -r dll function; do
        grep -qxF "$dll" <<<"$own" && continue
        if ! grep -qxF "$dll $function" <<<"$allowed"; then
            echo "$(basename "$file") imports $dll $function, which is not on $(basename "$list")"
            status=1
        fi
    done < <(i686-w64-mingw32-objdump -p "$file" | awk '
        /DLL Name/ { dll = toupper($3) }
        /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }')
done
[ "$status" -eq 0 ] && echo "every import is on $(basename "$list")"
exit "$status"
