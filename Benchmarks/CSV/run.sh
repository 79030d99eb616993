#!/bin/sh
# CSV benchmarks: the reader comparison (compare.py) and, when built, the
# Google Benchmark micro benchmarks. Usage: run.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
"$here/../../Tools/install-deps.sh" "$here/../peers.txt"
if [ -x "$build/Benchmarks/CSV/CSVBenchmarks" ]; then
    "$build/Benchmarks/CSV/CSVBenchmarks"
fi
python3 "$here/compare.py" "$build"
