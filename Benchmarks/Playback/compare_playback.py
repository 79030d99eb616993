#!/usr/bin/env python3
"""Plays a local Icecast stream for 30 s with `quillora --headless` and with
the mpv command-line player (and goodvibes under xvfb-run, when it runs), in
the same run, and prints CPU time, peak resident memory and ratios to mpv.
Then the window playing the same stream on Xvfb, with each Qt Quick
renderer, next to the headless player: a window whose screen does not
change should cost no more than 1.2x. Also measures
resume-to-first-decoded-audio latency against mpv.

Usage: compare_playback.py path/to/quillora [--seconds 30] [--rounds 5] [--window-seconds 60]
                           [--geometry WxH]

Installs the Debian peers it needs (mpv; xvfb and goodvibes for the optional
third player) with apt-get when run as root. Everything runs on 127.0.0.1.
"""

import argparse
import json
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Tests", "Support"))
from livepeers import (fetch, start, start_bus, start_icecast, start_tone, start_xvfb, stop, stop_all,  # noqa: E402
                       wait_for)

TICKS = os.sysconf("SC_CLK_TCK")


def ensure_packages(*names):
    missing = [n for n in names if subprocess.run(["dpkg", "-s", n], capture_output=True).returncode != 0]
    if not missing:
        return True
    if os.geteuid() != 0:
        print(f"missing {' '.join(missing)} (install them as root)")
        return False
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    result = subprocess.run(["apt-get", "install", "-y", "-q", *missing], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return result.returncode == 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def peak_rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def start_stream(work):
    """A local Icecast playing a 440 Hz stereo tone; returns the stream URL."""
    port = start_icecast(work)
    start_tone(port, "/tone.ogg", 440, channels=2, bitrate="128k")
    url = f"http://127.0.0.1:{port}/tone.ogg"
    wait_for("mount", lambda: fetch(url, limit=1))
    return url


def mpris_call(env, method):
    subprocess.run(["timeout", "5", "dbus-send", "--session", "--type=method_call", "--print-reply",
                    "--dest=org.mpris.MediaPlayer2.quillora", "/org/mpris/MediaPlayer2",
                    "org.mpris.MediaPlayer2.Player." + method],
                   env=env, check=True, stdout=subprocess.DEVNULL)


# Arguments the window gets (--geometry).
WINDOW_ARGS = []


class Quillora:
    """quillora on its own data folders below `work`: headless, or the
    window when `window` holds the display environment."""

    def __init__(self, binary, work, stream, bus, mpv_options, window=None):
        with open(os.path.join(work, "www", "stations.csv"), "w") as f:
            f.write(f"id,url,image,genre,title\n1,{stream},http://127.0.0.1:1/logo.png,Test,Tone\n")
        home = os.path.join(work, "home")
        self.env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus, QUILLORA_MPV_OPTIONS=mpv_options,
                        XDG_CONFIG_HOME=f"{home}/config", XDG_DATA_HOME=f"{home}/data",
                        XDG_CACHE_HOME=f"{home}/cache")
        self.env |= window or {}
        mode = WINDOW_ARGS if window else ["--headless"]
        self.process = start([binary, *mode, "--catalogue", f"file://{work}/www/stations.csv"],
                             env=self.env, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if not line.startswith("Loaded 1 stations"):
            raise SystemExit("quillora: " + line)
        wait_for("MPRIS", lambda: subprocess.run(
            ["timeout", "2", "dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.quillora",
             "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Peer.Ping"],
            env=self.env, capture_output=True).returncode == 0)

    def play(self):
        mpris_call(self.env, "Play")

    def pause(self):
        mpris_call(self.env, "Pause")


class Mpv:
    def __init__(self, work, stream, extra, start_paused):
        self.socket = os.path.join(work, "mpv.sock")
        args = ["mpv", "--no-video", "--no-config", "--really-quiet", "--idle=yes",
                "--input-ipc-server=" + self.socket, *extra]
        if start_paused:
            args.append("--pause")
        args.append(stream)
        self.process = start(args)
        wait_for("mpv socket", lambda: os.path.exists(self.socket))

    def command(self, *words):
        with socket.socket(socket.AF_UNIX) as s:
            s.connect(self.socket)
            s.sendall(json.dumps({"command": list(words)}).encode() + b"\n")
            s.recv(4096)


def play_for(pid, seconds):
    start_cpu = cpu_seconds(pid)
    time.sleep(seconds)
    return cpu_seconds(pid) - start_cpu, peak_rss_mb(pid)


def first_audio_after(action, pcm):
    before = os.path.getsize(pcm)
    t0 = time.perf_counter()
    action()
    while os.path.getsize(pcm) <= before:
        if time.perf_counter() - t0 > 10:
            return float("nan")
        time.sleep(0.0005)
    return (time.perf_counter() - t0) * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("quillora")
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--geometry", metavar="WxH",
                        help="the window's size (e.g. 1280x800: the wide layout with its station list)")
    parser.add_argument("--window-seconds", type=float, default=60,
                        help="how long the window and the headless player play for the CPU comparison")
    args = parser.parse_args()
    if args.geometry:
        WINDOW_ARGS.extend(["-qwindowgeometry", args.geometry + "+0+0"])
    binary = os.path.abspath(args.quillora)
    if not ensure_packages("mpv"):
        raise SystemExit("mpv is needed")

    work = tempfile.mkdtemp(prefix="qbench", dir="/tmp")
    os.chmod(work, 0o755)
    os.mkdir(os.path.join(work, "www"))
    try:
        stream = start_stream(work)
        bus = start_bus(work)
        results = {}

        # Steady playback, null audio output for every player.
        q = Quillora(binary, work, stream, bus, "ao=null")
        q.play()
        results["quillora"] = play_for(q.process.pid, args.seconds)
        stop(q.process)
        m = Mpv(work, stream, ["--ao=null"], start_paused=False)
        results["mpv"] = play_for(m.process.pid, args.seconds)
        stop(m.process)
        goodvibes = run_goodvibes(work, stream, args.seconds)
        if goodvibes:
            results["goodvibes"] = goodvibes

        print(f"Playing a local Icecast Ogg/Vorbis stream for {args.seconds:.0f} s (null audio output):")
        base_cpu, base_rss = results["mpv"]
        for name, (cpu, rss) in results.items():
            print(f"  {name:10s} CPU {cpu:6.2f} s ({cpu / base_cpu:4.2f}x mpv)   "
                  f"peak RSS {rss:6.1f} MB ({rss / base_rss:4.2f}x mpv)")

        # The window on the same stream: the headless player is the floor.
        window_cpu = {}
        display = start_xvfb()
        for renderer in ("software", "opengl"):
            env = {"DISPLAY": display, "QT_QPA_PLATFORM": "xcb", "QUILLORA_RENDERER": renderer,
                   "NO_AT_BRIDGE": "1"}
            q = Quillora(binary, work, stream, bus, "ao=null", window=env)
            time.sleep(2)  # the first frames and the catalogue's card
            q.play()
            window_cpu[renderer] = play_for(q.process.pid, args.window_seconds)
            stop(q.process)
        q = Quillora(binary, work, stream, bus, "ao=null")
        q.play()
        headless_cpu = play_for(q.process.pid, args.window_seconds)[0]
        stop(q.process)
        print(f"The window playing the same stream for {args.window_seconds:.0f} s on Xvfb, "
              "next to the headless player:")
        for renderer, (cpu, rss) in window_cpu.items():
            ratio = cpu / headless_cpu
            print(f"  window, {renderer:8s} renderer  CPU {cpu:6.2f} s ({ratio:4.2f}x headless, target <= 1.20x: "
                  f"{'met' if ratio <= 1.2 else 'NOT MET'})   peak RSS {rss:6.1f} MB")

        # Resume to first decoded audio: pcm output appended to a file.
        pcm = os.path.join(work, "out.pcm")
        pcm_options = f"ao=pcm,ao-pcm-file={pcm},ao-pcm-append=yes,ao-pcm-waveheader=no"
        open(pcm, "wb").close()
        q = Quillora(binary, work, stream, bus, pcm_options)
        quillora_ms = []
        for _ in range(args.rounds):
            quillora_ms.append(first_audio_after(q.play, pcm))
            time.sleep(1)
            q.pause()
            time.sleep(1)
        stop(q.process)
        # The same D-Bus round trip without playing: what the client call costs.
        call_ms = []
        q = Quillora(binary, work, stream, bus, "ao=null")
        for _ in range(args.rounds):
            t0 = time.perf_counter()
            mpris_call(q.env, "Pause")
            call_ms.append((time.perf_counter() - t0) * 1000)
        stop(q.process)

        open(pcm, "wb").close()
        m = Mpv(work, stream, [f"--{o}" for o in pcm_options.split(",")], start_paused=True)
        time.sleep(2)
        unpause_ms, reload_ms = [], []
        for _ in range(args.rounds):
            unpause_ms.append(first_audio_after(lambda: m.command("set_property", "pause", False), pcm))
            time.sleep(1)
            m.command("set_property", "pause", True)
            time.sleep(1)
        m.command("stop")
        m.command("set_property", "pause", False)
        for _ in range(args.rounds):
            reload_ms.append(first_audio_after(lambda: m.command("loadfile", stream, "replace"), pcm))
            time.sleep(1)
            m.command("stop")
            time.sleep(1)
        stop(m.process)

        med = statistics.median
        print(f"Resume to first decoded audio, median of {args.rounds}:")
        print(f"  quillora (MPRIS Play, reopens the live stream) {med(quillora_ms):7.1f} ms"
              f"  (of which the dbus-send call itself {med(call_ms):.1f} ms)")
        print(f"  mpv unpause (stream kept open, plays behind live) {med(unpause_ms):7.1f} ms")
        print(f"  mpv loadfile (reopens the live stream)         {med(reload_ms):7.1f} ms")
        print(f"  quillora - mpv loadfile: {med(quillora_ms) - med(reload_ms):+.1f} ms; "
              f"quillora - mpv unpause: {med(quillora_ms) - med(unpause_ms):+.1f} ms")
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


def run_goodvibes(work, stream, seconds):
    """goodvibes (GTK) under xvfb-run with its own session bus; None when it
    cannot run here."""
    if not ensure_packages("goodvibes", "xvfb", "xauth"):
        print("goodvibes: not installed, skipped")
        return None
    # Its own settings (keyfile backend): output to a clocked fakesink, the
    # counterpart of ao=null.
    home = os.path.join(work, "goodvibes")
    os.makedirs(os.path.join(home, "config", "glib-2.0", "settings"))
    with open(os.path.join(home, "config", "glib-2.0", "settings", "keyfile"), "w") as f:
        f.write("[io/gitlab/Goodvibes/Core]\npipeline-enabled=true\npipeline-string='fakesink sync=true'\n")
    script = os.path.join(work, "goodvibes.sh")
    with open(script, "w") as f:
        f.write(f"""#!/bin/sh
export XDG_CONFIG_HOME={home}/config XDG_DATA_HOME={home}/data XDG_CACHE_HOME={home}/cache
export GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1
goodvibes {stream} >/dev/null 2>&1 &
echo $! > {work}/goodvibes.pid
sleep 3
goodvibes-client playing > {work}/goodvibes.status 2>&1
wait
""")
    os.chmod(script, 0o755)
    runner = start(["timeout", str(int(seconds) + 40), "dbus-run-session", "--", "xvfb-run", "-a", script],
                   start_new_session=True)
    pid_file = os.path.join(work, "goodvibes.pid")
    try:
        wait_for("goodvibes", lambda: os.path.exists(pid_file) and open(pid_file).read().strip(), timeout=20)
        pid = int(open(pid_file).read())
        status_file = os.path.join(work, "goodvibes.status")
        wait_for("goodvibes status", lambda: os.path.exists(status_file) and open(status_file).read(), timeout=20)
        status = open(status_file).read()
        if status.strip() != "true":
            print("goodvibes: did not start playing here, skipped: " + " ".join(status.split())[:200])
            return None
        return play_for(pid, seconds)
    except (SystemExit, OSError, ValueError) as error:
        print(f"goodvibes: could not run ({error}), skipped")
        return None
    finally:
        try:
            os.killpg(runner.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        stop(runner)


if __name__ == "__main__":
    main()
