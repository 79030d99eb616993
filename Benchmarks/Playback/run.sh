#!/bin/sh
# Playback against mpv (and goodvibes when it runs): CPU time, peak memory
# and resume latency of `quillora --headless` on a local Icecast stream; how
# fast it reconnects by itself to a source that went away; what recording
# songs costs (CPU next to not recording, memory over RECORDING_MINUTES); then
# the ten-minute soak on a 1.4 Mbit/s stream (memory growth, CPU next to mpv;
# SOAK_MINUTES shortens it).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
"$here/../../Tools/install-deps.sh" "$here/../peers.txt"
python3 "$here/compare_playback.py" "$build/quillora"
python3 "$here/reconnect.py" "$build/quillora"
python3 "$here/recording.py" "$build/quillora" --minutes "${RECORDING_MINUTES:-10}"
exec python3 "$here/soak.py" "$build/quillora" --minutes "${SOAK_MINUTES:-10}"
