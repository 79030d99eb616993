#!/usr/bin/env python3
"""Soak: plays a 1.4 Mbit/s Ogg/FLAC stream (white noise, which does not
compress, from a local Icecast fed by ffmpeg) with `quillora --headless` for
ten minutes, and the mpv command-line player on the same stream at the same
time. Prints both players' resident memory every 30 s, quillora's growth
after the first minute against the 5 MB target, and CPU time next to mpv's.

Usage: soak.py path/to/quillora [--minutes 10] [--interval 30]
                                [--mpv-options name=value,...]

--mpv-options adds QUILLORA_MPV_OPTIONS for quillora (e.g. mpv's own cache
defaults, to see what the live-radio cache settings save). Exits 1 when the
growth target is missed. Everything runs on 127.0.0.1 with null audio output.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Tests", "Support"))
from livepeers import (icecast_stats, mount_is_live, start, start_bus, start_icecast,  # noqa: E402
                       start_noise, stop_all, wait_for)

TICKS = os.sysconf("SC_CLK_TCK")
TARGET_MB = 5.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def listeners(port, mount):
    body = icecast_stats(port) or b""
    match = re.search(rb'<source mount="' + re.escape(mount.encode()) + rb'">.*?<listeners>(\d+)</listeners>',
                      body, re.S)
    return int(match.group(1)) if match else 0


def source_bytes(port, mount):
    body = icecast_stats(port) or b""
    match = re.search(rb'<source mount="' + re.escape(mount.encode()) + rb'">.*?<total_bytes_read>(\d+)<',
                      body, re.S)
    return int(match.group(1)) if match else 0


def playerctl(env, *args):
    return subprocess.run(["timeout", "5", "playerctl", "-p", "quillora", *args], env=env,
                          capture_output=True, text=True).stdout.strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("quillora")
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--interval", type=float, default=30)
    parser.add_argument("--mpv-options", default="")
    args = parser.parse_args()
    binary = os.path.abspath(args.quillora)
    for tool in ("icecast2", "ffmpeg", "mpv", "playerctl", "dbus-daemon"):
        if not shutil.which(tool):
            raise SystemExit(tool + " is needed")

    work = tempfile.mkdtemp(prefix="qsoak", dir="/tmp")  # short: bus socket paths are limited
    os.chmod(work, 0o755)  # icecast drops root and must reach its log folder
    try:
        return soak(binary, work, args)
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


def soak(binary, work, args):
    ice = start_icecast(work)
    mount = "/noise.ogg"
    start_noise(ice, mount)
    stream = f"http://127.0.0.1:{ice}{mount}"
    wait_for("mount", lambda: mount_is_live(ice, mount))

    catalogue = os.path.join(work, "stations.csv")
    with open(catalogue, "w") as f:
        f.write(f"id,url,image,genre,title\n1,{stream},http://127.0.0.1:1/logo.png,Noise,Noise FM\n")
    options = ",".join(o for o in ("ao=null", args.mpv_options) if o)
    env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=start_bus(work), QUILLORA_MPV_OPTIONS=options)
    quillora = start([binary, "--headless", "--catalogue", "file://" + catalogue], env=env)
    wait_for("MPRIS", lambda: playerctl(env, "status") == "Paused")
    playerctl(env, "play")
    wait_for("quillora listening", lambda: listeners(ice, mount) == 1, timeout=15)
    mpv = start(["mpv", "--no-video", "--ao=null", "--no-config", "--really-quiet", stream])
    wait_for("mpv listening", lambda: listeners(ice, mount) == 2, timeout=15)

    players = {"quillora": quillora.pid, "mpv": mpv.pid}
    cpu0 = {name: cpu_seconds(pid) for name, pid in players.items()}
    bytes0 = source_bytes(ice, mount)
    t0 = time.monotonic()
    samples = []  # (seconds, {name: rss})
    print(f"Soak: {stream} for {args.minutes:g} min, null audio output"
          + (f", QUILLORA_MPV_OPTIONS={options}" if args.mpv_options else ""), flush=True)
    print("  time    quillora RSS    mpv RSS   listeners", flush=True)
    duration = args.minutes * 60
    next_sample = 0.0
    while True:
        elapsed = time.monotonic() - t0
        if elapsed >= next_sample:
            rss = {name: rss_mb(pid) for name, pid in players.items()}
            samples.append((elapsed, rss))
            print(f"  {int(elapsed) // 60:2d}:{int(elapsed) % 60:02d}   {rss['quillora']:8.1f} MB  "
                  f"{rss['mpv']:8.1f} MB   {listeners(ice, mount)}", flush=True)
            next_sample += args.interval
            if elapsed >= duration:
                break
        for name, process in (("quillora", quillora), ("mpv", mpv)):
            if process.poll() is not None:
                raise SystemExit(f"{name} exited with {process.returncode}")
        time.sleep(min(1.0, max(0.05, next_sample - (time.monotonic() - t0))))
    seconds = time.monotonic() - t0
    cpu = {name: cpu_seconds(pid) - cpu0[name] for name, pid in players.items()}
    rate = (source_bytes(ice, mount) - bytes0) * 8 / seconds / 1e6

    first_minute = next((rss for t, rss in samples if t >= 60), samples[0][1])
    last = samples[-1][1]
    growth = last["quillora"] - first_minute["quillora"]
    mpv_growth = last["mpv"] - first_minute["mpv"]
    met = growth <= TARGET_MB
    print(f"Stream: {rate:.2f} Mbit/s Ogg/FLAC")
    print(f"Resident memory growth after the first minute: quillora {growth:+.1f} MB "
          f"(target at most {TARGET_MB:g} MB: {'met' if met else 'NOT met'}), mpv {mpv_growth:+.1f} MB")
    print(f"CPU time over {seconds:.0f} s: quillora {cpu['quillora']:.2f} s, mpv {cpu['mpv']:.2f} s "
          f"({cpu['quillora'] / cpu['mpv']:.2f}x mpv)")
    print(f"Resident memory at the end: quillora {last['quillora']:.1f} MB, mpv {last['mpv']:.1f} MB "
          f"({last['quillora'] / last['mpv']:.2f}x mpv)")
    if listeners(ice, mount) != 2 or playerctl(env, "status") != "Playing":
        print("A player lost the stream during the soak")
        return 1
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
