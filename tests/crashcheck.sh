#!/usr/bin/env bash
# The harness's own test: a program that crashes must end its run at once,
# failed, with the exception and the backtrace in the run's output.
#   crashcheck.sh PROGRAM [ARGS...]
# QEL_WINE_ROOT and QEL_TEST_NAME as for wine-run.sh.
set -u
output=$(bash "$(dirname "$0")/wine-run.sh" "$@" 2>&1)
rc=$?
echo "$output" | grep -E -A3 '^Unhandled exception|^Backtrace:'
if [ "$rc" -eq 0 ]; then
    echo "crashcheck: the run of a crashing program reported success"
    exit 1
fi
for seen in '^Unhandled exception' '^Backtrace:'; do
    if ! grep -q "$seen" <<<"$output"; then
        echo "crashcheck: no '$seen' in the run's output:"
        echo "$output" | tail -n 20
        exit 1
    fi
done
# The failed run kept its prefix for a look; this failure was wanted.
rm -rf "$QEL_WINE_ROOT/run/$QEL_TEST_NAME"
exit 0
