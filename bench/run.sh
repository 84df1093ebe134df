#!/usr/bin/env bash
# Builds qelbench and runs the benchmark under Wine in a prefix of its own.
#   bench/run.sh [groups [repeats]]     (default: 2 groups, 5 repeats)
# Build folder: $QEL_BUILD_DIR, or build-bench beside this script's folder.
# The machine's load average is shown before and after: figures from a
# busy machine are only good as ratios within the same run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QEL_BUILD_DIR:-$top/build-bench}
# A fresh folder is configured (and built) by the project's build script;
# after that only the benchmark itself needs to be up to date.
[ -f "$build/CMakeCache.txt" ] || QEL_BUILD_DIR=$build bash "$top/scripts/build.sh" >/dev/null || true
cmake --build "$build" --target qelbench >/dev/null
echo "load average before: $(cat /proc/loadavg)"
# A full run takes several minutes: longer than a test may.
status=0
QEL_WINE_ROOT=$build/wine QEL_TEST_NAME=bench QEL_WINE_TIMEOUT=${QEL_WINE_TIMEOUT:-14400} \
    bash "$top/tests/wine-run.sh" "$build/bin/qelbench.exe" run "${1:-2}" "${2:-5}" || status=$?
echo "load average after: $(cat /proc/loadavg)"
exit $status
