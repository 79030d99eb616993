#!/bin/sh
# Runs every benchmark of the repository: each Benchmarks/<Module>/run.sh,
# given the build directory (default build-release). Fails when one fails,
# after running the others.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build-release}" && pwd) || exit 1
status=0
for script in "$here"/*/run.sh; do
    [ -x "$script" ] || continue
    echo "== $(basename "$(dirname "$script")")"
    "$script" "$build" || status=1
done
exit $status
