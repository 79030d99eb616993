#!/bin/sh
# Directory search: search() to the first row in the model, next to the
# server's own answer time for the same request. Usage: run.sh BUILD_DIR [ROUNDS]
set -eu
build=${1:-build-release}
exec "$build/Benchmarks/Directory/DirectoryBenchmark" "${2:-50}"
