#!/bin/sh
# Start-up time and resident memory of the window, next to a bare Qt Quick
# window and goodvibes, all on one Xvfb screen: once with Qt Quick on OpenGL
# (Mesa's llvmpipe on Xvfb) and once with its software renderer, the one
# quillora picks there by itself. Extra arguments go to the script (e.g.
# --rounds 1 --quick).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-release}
[ $# -gt 0 ] && shift
"$here/../../Tools/install-deps.sh" "$here/../peers.txt"
# Debian's own interpreter: python3-xlib is installed for that one.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" "$here/compare_startup.py" "$build" "$@"
exec "$python" "$here/compare_startup.py" "$build" --software "$@"
