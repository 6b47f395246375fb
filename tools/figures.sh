#!/bin/sh
# The figures of the reliability tests, from a test build (./quilan figures runs this after a
# long fuzz run): the fault matrix's cells passed, and the kill points the crash-safety tests
# tried.
#   tools/figures.sh BUILD_DIR
set -eu

bin=$1/bin
export QUILAN_TIME_SCALE=0.05
status=0

cells=$("$bin/test_fault_matrix" --gtest_list_tests | grep -c '^  ')
rows=$("$bin/test_fault_matrix" --gtest_list_tests | sed -n 's/^  Cell\/\([A-Za-z]*\)_.*/\1/p' | sort -u | wc -l)
passed=$("$bin/test_fault_matrix" 2>&1 | grep -c '^\[       OK \]') || status=1
echo "fault matrix: $passed of $cells cells passed ($rows faults x $((cells / rows)) operations)"
[ "$passed" -eq "$cells" ] || status=1

killed() {
    out=$("$@" 2>&1) || status=1
    echo "$out" | sed -n 's/^kill points tried: /  /p'
}
echo "registry writer killed at every system call (kill points tried):"
killed "$bin/test_registry" --gtest_filter='KilledWriter.*'
echo "card-list users killed at random moments (kill points tried):"
killed "$bin/test_card_list_processes" --gtest_filter='Keeper/CardListKills.*'
exit $status
