#!/bin/sh
# Start-up time and resident memory of the window, next to a bare Qt Quick
# window and goodvibes, all on one Xvfb screen. Extra arguments go to the
# script (e.g. --rounds 1 --quick).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
[ $# -gt 0 ] && shift
"$here/../../Tools/install-deps.sh" "$here/../peers.txt"
# Debian's own interpreter: python3-xlib is installed for that one.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
exec "$python" "$here/compare_startup.py" "$build" "$@"
