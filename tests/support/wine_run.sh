#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest and ends when the program ends. The Wine helper
# processes a program starts (the desktop's explorer.exe first of all) inherit its standard
# error and outlive it for as long as other programs use the desktop, which under ctest -j can be
# the whole run; ctest, reading a test's output to its end, would wait on them after the test
# printed PASSED. So the program writes to a file, copied out once the program has ended.
set -u
output=$(mktemp "${TMPDIR:-/tmp}/tarnwick-wine-run.XXXXXX")
wine "$@" < /dev/null > "$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit "$status"
