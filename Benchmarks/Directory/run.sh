#!/bin/sh
# Directory search: search() to the first row in the model, then the
# Discover sheet's Enter to the first result row on screen, each next to the
# server's own answer time for the same request; then a thousand results
# scrolled through, with the rows and logo downloads they keep alive.
# Usage: run.sh BUILD_DIR [ROUNDS]
set -eu
build=${1:-build-release}
status=0
"$build/Benchmarks/Directory/DirectoryBenchmark" "${2:-50}" || status=1
"$build/Benchmarks/Directory/DiscoverBenchmark" "${2:-30}" || status=1
exit $status
