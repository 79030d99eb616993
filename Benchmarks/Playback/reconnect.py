#!/usr/bin/env python3
"""How fast `quillora --headless` gets a live stream back by itself, on a
local Icecast whose source goes away and comes back.

Usage: reconnect.py path/to/quillora [--outage 5] [--rounds 3]

Each round, with a player of its own: play, stop the mount's source, wait
`--outage` seconds, start it again. Prints, per round and as medians, the time from the source's end
to the player's first "Reconnecting" line, the attempts it made while the
source was away (with the delays between them: 1 s, 2 s, 4 s, ... at most
30 s), and the time from the source's return to the player listening on
the mount again. mpv has no reconnecting of its own to compare with: the
floor is the next attempt's delay, which this prints beside it.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Tests", "Support"))
from livepeers import fetch, icecast_stats, start, start_bus, start_icecast, start_tone, stop_all, wait_for  # noqa: E402


def listeners(port, mount):
    body = icecast_stats(port) or b""
    match = re.search(rb'<source mount="' + re.escape(mount.encode()) + rb'">.*?<listeners>(\d+)</listeners>',
                      body, re.S)
    return int(match.group(1)) if match else 0


class Lines:
    """What the player prints, stamped when read."""

    def __init__(self, stream):
        self.lines = []
        self.lock = threading.Lock()
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for line in stream:
            with self.lock:
                self.lines.append((time.perf_counter(), line.strip()))

    def since(self, t0, text):
        with self.lock:
            return [stamp for stamp, line in self.lines if stamp >= t0 and text in line]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("quillora")
    parser.add_argument("--outage", type=float, default=5)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    for tool in ("icecast2", "ffmpeg", "dbus-daemon", "playerctl"):
        if not shutil.which(tool):
            raise SystemExit(tool + " is not installed")

    work = tempfile.mkdtemp(prefix="qreconnect", dir="/tmp")
    os.chmod(work, 0o755)
    try:
        port = start_icecast(work)
        mount = "/tone.ogg"
        source = start_tone(port, mount, 440, channels=2, bitrate="128k")
        url = f"http://127.0.0.1:{port}{mount}"
        wait_for("mount", lambda: fetch(url, limit=1))
        bus = start_bus(work)
        with open(os.path.join(work, "stations.csv"), "w") as f:
            f.write(f"id,url,image,genre,title\n1,{url},,Test,Tone\n")
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus, QUILLORA_MPV_OPTIONS="ao=null",
                   XDG_CONFIG_HOME=f"{work}/config", XDG_DATA_HOME=f"{work}/data", XDG_CACHE_HOME=f"{work}/cache")
        first, back = [], []
        for round_number in range(args.rounds):
            # A player of its own each round: the delays grow across
            # outages until a minute of good playback.
            player = start([os.path.abspath(args.quillora), "--headless", "--catalogue", f"{work}/stations.csv"],
                           env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            out = Lines(player.stdout)
            wait_for("MPRIS", lambda: subprocess.run(["timeout", "2", "playerctl", "-p", "quillora", "status"], env=env,
                                                      capture_output=True).returncode == 0)
            subprocess.run(["playerctl", "-p", "quillora", "play"], env=env, check=True)
            wait_for("listening", lambda: listeners(port, mount) == 1, timeout=20)
            time.sleep(2)
            gone = time.perf_counter()
            source.kill()
            source.wait()
            try:
                wait_for("first attempt", lambda: out.since(gone, "Reconnecting (attempt"), timeout=30, interval=0.01)
            except TimeoutError:
                raise SystemExit("no reconnect attempt; the player said: " + " | ".join(l for _, l in out.lines))
            attempt = out.since(gone, "Reconnecting (attempt")[0]
            time.sleep(max(0.0, args.outage - (time.perf_counter() - gone)))
            attempts = out.since(gone, "Reconnecting (attempt")
            source = start_tone(port, mount, 440, channels=2, bitrate="128k")
            returned = time.perf_counter()
            wait_for("listening again", lambda: listeners(port, mount) == 1, timeout=60, interval=0.02)
            listening = time.perf_counter()
            delays = [b - a for a, b in zip(attempts, attempts[1:])]
            first.append((attempt - gone) * 1000)
            back.append((listening - returned) * 1000)
            print(f"round {round_number + 1}: first attempt {first[-1]:6.0f} ms after the source ended; "
                  f"{len(attempts)} attempts in the {args.outage:.0f} s outage, delays "
                  f"{', '.join(f'{d:.1f} s' for d in delays) or '-'}; listening again {back[-1]:6.0f} ms after "
                  "the source returned", flush=True)
            player.terminate()
            player.wait(10)
        print(f"median of {args.rounds}: first attempt {statistics.median(first):.0f} ms after the source ended, "
              f"listening again {statistics.median(back):.0f} ms after it returned "
              "(the source itself needs a few hundred ms to be listed)")
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
