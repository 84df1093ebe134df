#!/usr/bin/env bash
# The release loads on the oldest Windows the package supports: every
# function that its programs, libraries, resource modules (which import
# nothing now) and setup program import is on the list of those that
# Windows 95 and Windows NT 4.0 both have (a section per DLL), or comes
# from one of the package's own libraries. A missing import stops the
# platform's loader from starting a program at all. An entry that nothing
# imports fails as well, so that the list keeps to what the release needs.
#   imports_test.sh LIST FILE-OR-FOLDER...
set -euo pipefail
list=$1
shift

files=()
for path in "$@"; do
    [ -e "$path" ] || { echo "$path is missing"; exit 1; }
    while IFS= read -r file; do
        files+=("$file")
    done < <(find "$path" -maxdepth 1 -type f \
                  \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.rsc' \) | sort)
done
own=$(for file in "${files[@]}"; do basename "$file"; done | grep -i '\.dll$' | tr '[:lower:]' '[:upper:]' || true)

allowed=$(awk '/^\[.*\]$/ { dll = toupper(substr($0, 2, length($0) - 2)); next }
               /^[^#]/ && NF { print dll, $1 }' "$list" | sort -u)
# "DLL function file" for every import of every file.
imports=$(for file in "${files[@]}"; do
    i686-w64-mingw32-objdump -p "$file" | awk -v file="$(basename "$file")" '
        /DLL Name/ { dll = toupper($3) }
        /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3, file }'
done | awk -v own="$own" '
    BEGIN { n = split(own, names, "\n"); for (i = 1; i <= n; i++) skip[names[i]] = 1 }
    !($1 in skip)' | sort)

status=0
while read -r dll function file; do
    echo "$file imports $dll $function, which is not on $(basename "$list")"
    status=1
done < <(join -v 1 <(awk '{ print $1 "|" $2, $3 }' <<<"$imports" | sort) \
                   <(tr ' ' '|' <<<"$allowed" | sort) | tr '|' ' ')
while read -r dll function; do
    echo "$(basename "$list") allows $dll $function, which nothing imports any more"
    status=1
done < <(comm -23 <(tr ' ' '|' <<<"$allowed" | sort) \
                  <(awk '{ print $1 "|" $2 }' <<<"$imports" | sort -u) | tr '|' ' ')
[ "$status" -eq 0 ] && echo "${#files[@]} files: every import is on $(basename "$list"), every entry imported"
exit "$status"
