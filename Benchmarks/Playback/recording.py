#!/usr/bin/env python3
"""Recording's cost: two `quillora --headless` players on the same 128 kbit/s
MP3 stream (a local Icecast fed by ffmpeg, whose song changes every minute
through Icecast's admin interface), one with [recording] mode=off and one
with mode=all. Prints the CPU time each used over the first five minutes and
the ratio (target: recording adds at most 10 %), then, over the whole run,
the recording player's resident memory every 30 s and its growth after the
first minute (target: at most 5 MB), and the songs it kept with their
ffprobe durations.

Usage: recording.py path/to/quillora [--minutes 10] [--cpu-minutes 5]

Exits 1 when a target is missed. Everything runs on 127.0.0.1 with null
audio output; each player has its own home, settings, cache and session bus.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Tests", "Support"))
from livepeers import (mount_is_live, set_song, start, start_bus, start_icecast,  # noqa: E402
                       start_tone, stop_all, wait_for)
from soak import cpu_seconds, listeners, playerctl, rss_mb  # noqa: E402

CPU_TARGET = 0.10
MEMORY_TARGET_MB = 5.0


def player(binary, work, name, catalogue, mode):
    home = os.path.join(work, name)
    os.makedirs(os.path.join(home, ".config", "quillora"))
    music = os.path.join(home, "Music", "Quillora")
    with open(os.path.join(home, ".config", "quillora", "quillora.conf"), "w") as f:
        f.write(f"[recording]\nmode={mode}\nfolder={music}\n")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_DATA_HOME=os.path.join(home, ".local", "share"),
               DBUS_SESSION_BUS_ADDRESS=start_bus(home), QUILLORA_MPV_OPTIONS="ao=null")
    process = start([binary, "--headless", "--catalogue", "file://" + catalogue], env=env)
    wait_for(name + " on MPRIS", lambda: playerctl(env, "status") == "Paused", timeout=30)
    playerctl(env, "play")
    return process, env, music


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration:format_tags", "-of", "json", path],
                         capture_output=True, text=True, timeout=30).stdout
    fmt = json.loads(out or "{}").get("format", {})
    return float(fmt.get("duration", "nan")), fmt.get("tags", {})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("quillora")
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--cpu-minutes", type=float, default=5)
    parser.add_argument("--song-seconds", type=float, default=60)
    args = parser.parse_args()
    for tool in ("icecast2", "ffmpeg", "ffprobe", "playerctl", "dbus-daemon"):
        if not shutil.which(tool):
            raise SystemExit(tool + " is needed")
    work = tempfile.mkdtemp(prefix="qrec", dir="/tmp")  # short: bus socket paths are limited
    os.chmod(work, 0o755)  # icecast drops root and must reach its log folder
    try:
        return run(os.path.abspath(args.quillora), work, args)
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


def run(binary, work, args):
    ice = start_icecast(work)
    mount = "/rec.mp3"
    start_tone(ice, mount, 440, codec="mp3", bitrate="128k")
    wait_for("mount", lambda: mount_is_live(ice, mount))
    song = 1
    set_song(ice, mount, f"Benchmark - Song {song}")
    catalogue = os.path.join(work, "stations.csv")
    with open(catalogue, "w") as f:
        f.write(f"id,url,image,genre,title\n1,http://127.0.0.1:{ice}{mount},http://127.0.0.1:1/logo.png,Tone,Tone FM\n")
    off, _, _ = player(binary, work, "off", catalogue, "off")
    rec, rec_env, music = player(binary, work, "all", catalogue, "all")
    wait_for("both listening", lambda: listeners(ice, mount) == 2, timeout=30)

    print(f"Recording benchmark: 128 kbit/s MP3, a song every {args.song_seconds:g} s, "
          f"{args.minutes:g} min, null audio output", flush=True)
    print("  time    recording RSS   not recording RSS", flush=True)
    players = {"off": off.pid, "all": rec.pid}
    cpu0 = {name: cpu_seconds(pid) for name, pid in players.items()}
    cpu_at = None
    t0 = time.monotonic()
    next_song = args.song_seconds
    next_sample = 0.0
    samples = []
    while True:
        elapsed = time.monotonic() - t0
        if elapsed >= next_song:
            song += 1
            set_song(ice, mount, f"Benchmark - Song {song}")
            next_song += args.song_seconds
        if cpu_at is None and elapsed >= args.cpu_minutes * 60:
            cpu_at = {name: cpu_seconds(pid) - cpu0[name] for name, pid in players.items()}
        if elapsed >= next_sample:
            rss = {name: rss_mb(pid) for name, pid in players.items()}
            samples.append((elapsed, rss))
            print(f"  {int(elapsed) // 60:2d}:{int(elapsed) % 60:02d}   {rss['all']:10.1f} MB   {rss['off']:10.1f} MB",
                  flush=True)
            next_sample += 30
            if elapsed >= args.minutes * 60:
                break
        for name, process in (("off", off), ("all", rec)):
            if process.poll() is not None:
                raise SystemExit(f"the {name} player exited with {process.returncode}")
        time.sleep(min(1.0, max(0.05, min(next_sample, next_song) - (time.monotonic() - t0))))
    if cpu_at is None:
        cpu_at = {name: cpu_seconds(pid) - cpu0[name] for name, pid in players.items()}
    ratio = cpu_at["all"] / cpu_at["off"] if cpu_at["off"] > 0 else float("inf")
    cpu_met = ratio - 1 <= CPU_TARGET
    first_minute = next((rss for t, rss in samples if t >= 60), samples[0][1])
    growth = samples[-1][1]["all"] - first_minute["all"]
    memory_met = growth <= MEMORY_TARGET_MB
    minutes = min(args.cpu_minutes, args.minutes)
    print(f"CPU time over {minutes:g} min: recording {cpu_at['all']:.2f} s, not recording {cpu_at['off']:.2f} s: "
          f"{ratio:.3f}x ({(ratio - 1) * 100:+.1f} %, target at most +{CPU_TARGET * 100:g} %: "
          f"{'met' if cpu_met else 'NOT met'})")
    print(f"Resident memory growth of the recording player after the first minute: {growth:+.1f} MB "
          f"(target at most {MEMORY_TARGET_MB:g} MB: {'met' if memory_met else 'NOT met'})")
    kept = sorted(os.listdir(music)) if os.path.isdir(music) else []
    print(f"Songs kept: {len(kept)}")
    for name in kept:
        seconds, tags = probe(os.path.join(music, name))
        print(f"  {name}: {seconds:.2f} s, " + ", ".join(f"{k}={v}" for k, v in sorted(tags.items())))
    if listeners(ice, mount) != 2 or playerctl(rec_env, "status") != "Playing":
        print("A player lost the stream")
        return 1
    return 0 if cpu_met and memory_met else 1


if __name__ == "__main__":
    sys.exit(main())
