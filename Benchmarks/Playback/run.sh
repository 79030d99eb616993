#!/bin/sh
# Playback against mpv (and goodvibes when it runs): CPU time, peak memory
# and resume latency of `quillora --headless` on a local Icecast stream.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
"$here/../../Tools/install-deps.sh" "$here/../peers.txt"
exec python3 "$here/compare_playback.py" "$build/quillora"
