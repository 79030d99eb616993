#!/bin/sh
# Catalogue benchmarks. Usage: run.sh BUILD_DIR
set -eu
build=${1:-build-release}
exec "$build/Benchmarks/Catalogue/CatalogueBenchmark"
