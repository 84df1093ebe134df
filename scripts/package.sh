#!/usr/bin/env bash
# Builds the release into build-release/ (or the folder given): the
# programs, libraries and resource modules stripped and without the test
# switches, the help files, and the setup program QELSETUP.EXE that
# installs them all.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
release=${1:-$top/build-release}
bash "$top/scripts/setup.sh" >/dev/null
if [ ! -f "$release/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$release" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DQEL_RELEASE=ON >/dev/null
fi
cmake --build "$release" -j "$(nproc)"
echo "package: $release/QELSETUP.EXE"
(cd "$release" && ls -l QELSETUP.EXE bin)
