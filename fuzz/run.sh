#!/bin/sh
# Runs every fuzz target of a libFuzzer build for SECONDS each and prints, for each, the inputs
# it executed and the coverage it reached (edges, and libFuzzer's finer features).
#   fuzz/run.sh BUILD_DIR SECONDS
# A target starts from its seed corpus fuzz/corpus/<name>/, which it only reads, and keeps the
# inputs it finds in BUILD_DIR/fuzz-corpus/<name>/, where a later run goes on from them. A crash
# or a broken property leaves its input in BUILD_DIR/fuzz-crashes/ and fails the run: the input
# then joins the seed corpus (the replay tests keep it) and a case for it the parser's tests.
set -eu

build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/corpus
failed=0
printf '%-16s %12s %8s %9s %9s\n' target executions exec/s coverage features
for source in "$here"/*.cpp; do
    name=$(basename "$source" .cpp)
    [ "$name" = ReplayMain ] && continue
    program=$build/bin/fuzz_$name
    found="$build/fuzz-corpus/$name"
    crashes="$build/fuzz-crashes"
    log="$build/fuzz-$name.log"
    mkdir -p "$found" "$crashes"
    set -- "$found"
    [ -d "$seeds/$name" ] && set -- "$found" "$seeds/$name"
    status=0
    "$program" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -artifact_prefix="$crashes/$name-" "$@" >"$log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d ' ' -f 2)
    features=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d ' ' -f 2)
    printf '%-16s %12s %8s %9s %9s\n' "$name" "${executions:-?}" "${speed:-?}" \
        "${coverage:-?}" "${features:-?}"
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "fuzz: $name failed with status $status, see $log" >&2
        grep -E 'property broken|ERROR:|SUMMARY|Test unit written' "$log" >&2 || true
    fi
done
exit $failed
