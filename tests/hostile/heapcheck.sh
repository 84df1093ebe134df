#!/usr/bin/env bash
# Runs a test program under Wine's own heap checking and fails when Wine
# reports a damaged heap, whatever the program's own result.
#   heapcheck.sh [--expect-damage] PROGRAM [ARGS...]
# QEL_WINE_ROOT and QEL_TEST_NAME as for wine-run.sh. With --expect-damage
# the run passes only when damage is reported: the checker's own test.
#
# The program runs through heaprun.exe (beside it in the build's bin
# folder), which turns WINEDEBUG=+heap on for the program's process alone:
# every heap call then validates the whole heap, the guard bytes behind
# each block and the fill of freed blocks, and reports a bad pointer passed
# to a heap call (a double free, say). It also traces every heap call;
# those lines are dropped unread. A crash counts as a finding too.
set -u
expect_damage=0
if [ "${1:-}" = --expect-damage ]; then
    expect_damage=1
    shift
fi
here=$(cd "$(dirname "$0")" && pwd)
# The log outlives a failing run, beside the kept prefixes.
log=$QEL_WINE_ROOT/run/$QEL_TEST_NAME.heap.log
mkdir -p "$(dirname "$log")"

# Line by line, so that the log holds everything up to a hang or a crash.
launcher=$(dirname "$1")/heaprun.exe
{ bash "$here/../wine-run.sh" "$launcher" "$@" 2>&1 1>&3 \
      | grep --line-buffered -v ':trace:heap:' >"$log"; } 3>&1
rc=${PIPESTATUS[0]}

findings=$(grep -E ':(err|warn):heap:|Assertion failed|Unhandled exception|^wine: Unhandled' "$log")
if [ "$expect_damage" = 1 ]; then
    if [ -n "$findings" ]; then
        echo "heap checker reported, as expected:"
        echo "$findings" | head -5
        rm -f "$log"
        exit 0
    fi
    echo "heap checker reported nothing for a program that damages its heap"
    exit 1
fi
if [ -n "$findings" ] || [ "$rc" -ne 0 ]; then
    echo "heap-checked run failed (exit code $rc); its log, $log, ends:"
    tail -n 60 "$log"
    exit 1
fi
rm -f "$log"
exit 0
