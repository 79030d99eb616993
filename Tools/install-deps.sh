#!/bin/sh
# Installs the Debian packages listed in the given files (default:
# Tools/debian-packages.txt) that are not installed yet. A machine that has
# everything installs nothing and needs no network.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- "$here/debian-packages.txt"

missing=""
for pkg in $(sed -e 's/#.*//' "$@"); do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $pkg"
    fi
done
[ -n "$missing" ] || exit 0

echo "Installing Debian packages:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
