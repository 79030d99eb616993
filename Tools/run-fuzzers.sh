#!/bin/sh
# Runs every libFuzzer target of a fuzz build (make fuzz):
#
#     Tools/run-fuzzers.sh BUILD_DIR [SECONDS]
#
# Each target runs for SECONDS (default 600, make fuzz's FUZZ_SECONDS), one
# after the other. A target named fuzz_x built from
# Tests/<Module>/Fuzz/ starts from the seed corpus
# Tests/<Module>/Fuzz/corpus/fuzz_x/ (and the dictionary fuzz_x.dict beside
# it, if there is one), which it only reads: new inputs and
# crashes go to a temporary folder, printed at the end, never into the
# repository. Exits 1 when a target failed.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS]}
seconds=${2:-600}

targets=$(find "$build/Tests" -path '*/Fuzz/fuzz_*' -type f -perm -u+x 2>/dev/null | sort)
if [ -z "$targets" ]; then
    echo "no fuzz targets in $build (configure with -DQUILLORA_FUZZ=ON and clang)" >&2
    exit 1
fi
count=$(echo "$targets" | wc -l)
each=$seconds
out=$(mktemp -d "${TMPDIR:-/tmp}/quillora-fuzz.XXXXXX")
echo "fuzzing $count targets for $each s each; findings in $out"

status=0
for target in $targets; do
    name=$(basename "$target")
    module=$(basename "$(dirname "$(dirname "$target")")")
    seeds="$root/Tests/$module/Fuzz/corpus/$name"
    dict="$root/Tests/$module/Fuzz/$name.dict"
    [ -f "$dict" ] && set -- -dict="$dict" || set --
    mkdir -p "$out/$name/corpus" "$out/$name/crashes"
    echo "== $name ($each s)"
    "$target" "$@" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$out/$name/crashes/" "$out/$name/corpus" "$seeds" \
        >"$out/$name/log" 2>&1
    rc=$?
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$out/$name/log"
    if [ "$rc" -ne 0 ]; then
        status=1
        echo "$name FAILED (exit $rc): see $out/$name/log"
        grep -E 'fuzz check failed|ERROR: |SUMMARY: |runtime error' "$out/$name/log" | head -5
        ls "$out/$name/crashes"
    fi
    echo "   new inputs: $(ls "$out/$name/corpus" | wc -l)"
done
exit $status
