#!/usr/bin/env python3
"""End to end: `quillora --headless` against real peers, driven by playerctl.

Starts a local Icecast with two mounts fed by ffmpeg tones (440 Hz and
880 Hz), serves a catalogue naming them (the second through an .m3u
playlist) with Tests/Support/httpserver.py, runs a private session bus, and
captures what the player decodes with mpv's pcm output. Every peer is started
here, bounded in time and killed on the way out.

Usage: headless_end_to_end.py path/to/quillora
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "Support"))
import livepeers  # noqa: E402
from livepeers import (RATE, icecast_stats, png, start, start_bus, start_http,  # noqa: E402
                       start_icecast, start_tone, stop_all)

PNG = png(16, 16, (0x20, 0x90, 0xd0))

player_output = []  # the Output of the player under test, for failure reports


def fail(message):
    if player_output:
        print("quillora said:\n" + player_output[0].text(), flush=True)
    print("FAIL:", message, flush=True)
    raise SystemExit(1)


def wait_for(what, predicate, timeout=15.0, interval=0.1):
    try:
        return livepeers.wait_for(what, predicate, timeout, interval)
    except TimeoutError as error:
        fail(str(error))


class Output:
    """Collects a process's standard output lines on a thread."""

    def __init__(self, stream):
        self.lines = []
        self.lock = threading.Lock()
        threading.Thread(target=self._pump, args=(stream,), daemon=True).start()

    def _pump(self, stream):
        for line in stream:
            with self.lock:
                self.lines.append(line.rstrip("\n"))

    def text(self):
        with self.lock:
            return "\n".join(self.lines)


def playerctl(*args, check=True):
    result = subprocess.run(["timeout", "5", "playerctl", "-p", "quillora", *args],
                            capture_output=True, text=True)
    if check and result.returncode != 0:
        fail(f"playerctl {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout.strip()


def pitch(pcm_path, start, seconds):
    """Frequency of the s16 mono audio written after byte offset start,
    estimated from zero crossings over the given duration."""
    wanted = int(seconds * RATE) * 2
    wait_for("decoded audio", lambda: os.path.getsize(pcm_path) >= start + wanted, timeout=10)
    with open(pcm_path, "rb") as f:
        f.seek(start)
        data = f.read(wanted)
    samples = [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data) - 1, 2)]
    crossings = sum(1 for a, b in zip(samples, samples[1:]) if (a < 0) != (b < 0))
    loud = max(abs(s) for s in samples) if samples else 0
    if loud < 1000:
        return 0.0
    return crossings / 2 / (len(samples) / RATE)


def expect_pitch(pcm_path, frequency, what):
    """Waits for a second of decoded audio at about `frequency`: what the
    player decoded before a switch or a reconnect may come out first."""
    measured = [0.0]

    def heard():
        measured[0] = pitch(pcm_path, os.path.getsize(pcm_path), 1.0)
        return abs(measured[0] - frequency) <= frequency * 0.1

    try:
        livepeers.wait_for(what, heard, 30, 0)
    except TimeoutError:
        fail(f"{what}: expected about {frequency} Hz, measured {measured[0]:.0f} Hz")
    print(f"{what}: {measured[0]:.0f} Hz", flush=True)


def listeners(ice_port, mount):
    body = icecast_stats(ice_port) or b""
    match = re.search(rb'<source mount="' + re.escape(mount.encode()) + rb'">.*?<listeners>(\d+)</listeners>',
                      body, re.S)
    return int(match.group(1)) if match else None


def main():
    quillora = os.path.abspath(sys.argv[1])
    for tool in ("icecast2", "ffmpeg", "dbus-daemon", "playerctl"):
        if not shutil.which(tool):
            fail(tool + " is not installed")

    work = tempfile.mkdtemp(prefix="qe2e", dir="/tmp")  # short: bus socket paths are limited
    os.chmod(work, 0o755)  # icecast drops root and must reach its log folder
    try:
        run(quillora, work)
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


def run(quillora, work):
    env = dict(os.environ)

    # The player's own folders, fresh for this run: nothing remembered from
    # an earlier one.
    env.update(XDG_DATA_HOME=os.path.join(work, "data"), XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_CACHE_HOME=os.path.join(work, "cache"))

    # Without a bus: one line, then a clean exit on SIGTERM.
    env_nobus = dict(env, DBUS_SESSION_BUS_ADDRESS=f"unix:path={work}/nobus",
                     QUILLORA_MPV_OPTIONS="ao=null")
    lonely = start([quillora, "--headless", "--catalogue", "http://127.0.0.1:1/none.csv"],
                   env=env_nobus, stdout=subprocess.PIPE, stderr=None, text=True)
    lonely_out = Output(lonely.stdout)
    wait_for("no-bus line", lambda: "No D-Bus session bus" in lonely_out.text(), timeout=10)
    wait_for("failed load line", lambda: "Could not load the stations from 127.0.0.1" in lonely_out.text(),
             timeout=10)
    lonely.send_signal(signal.SIGTERM)
    if lonely.wait(10) != 0:
        fail(f"quillora exited with {lonely.returncode} on SIGTERM")

    ice = start_icecast(work)
    start_tone(ice, "/low.ogg", 440)
    start_tone(ice, "/high.ogg", 880)
    third = start_tone(ice, "/third.ogg", 550)

    www = os.path.join(work, "www")
    os.mkdir(www)
    http = start_http(www)
    with open(os.path.join(www, "logo.png"), "wb") as f:
        f.write(PNG)
    with open(os.path.join(www, "high.m3u"), "w") as f:
        f.write(f"#EXTM3U\nhttp://127.0.0.1:{ice}/high.ogg\n")
    with open(os.path.join(www, "stations.csv"), "w") as f:
        f.write("title,genre,image,url,id\n"
                f"Low Tone,Test,http://127.0.0.1:{http}/logo.png,http://127.0.0.1:{ice}/low.ogg,1\n"
                f"Broken,Test,http://127.0.0.1:{http}/logo.png,http://127.0.0.1:{ice}/low.ogg,one\n"
                f"High Tone,Test,http://127.0.0.1:{http}/logo.png,http://127.0.0.1:{http}/high.m3u,2\n"
                f"Third,,,http://127.0.0.1:{ice}/third.ogg,3\n")

    wait_for("icecast mounts", lambda: all(listeners(ice, mount) is not None
                                           for mount in ("/low.ogg", "/high.ogg", "/third.ogg")))

    env["DBUS_SESSION_BUS_ADDRESS"] = start_bus(work)
    pcm = os.path.join(work, "out.pcm")
    open(pcm, "wb").close()
    env["QUILLORA_MPV_OPTIONS"] = (f"ao=pcm,ao-pcm-file={pcm},ao-pcm-waveheader=no,ao-pcm-append=yes,"
                                   f"audio-format=s16,audio-channels=mono,audio-samplerate={RATE}")
    player = start([quillora, "--headless", "--catalogue", f"http://127.0.0.1:{http}/stations.csv"],
                   env=env, stdout=subprocess.PIPE, stderr=None, text=True)
    out = Output(player.stdout)
    player_output.append(out)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = env["DBUS_SESSION_BUS_ADDRESS"]

    wait_for("Loaded 3 stations", lambda: "Loaded 3 stations" in out.text())
    wait_for("first station published", lambda: playerctl("metadata", "xesam:title", check=False) == "Low Tone")
    if playerctl("status") != "Paused":
        fail("expected Paused before playing")
    # The artwork follows the title as soon as the logo is in the image cache.
    art = wait_for("artwork", lambda: playerctl("metadata", "mpris:artUrl", check=False))
    if not art.startswith("file://") or not os.path.isfile(art[len("file://"):]):
        fail("artwork is not a stored file: " + art)
    with open(art[len("file://"):], "rb") as f:
        if f.read() != PNG:
            fail("the artwork file is not the station's logo")
    if listeners(ice, "/low.ogg") != 0:
        fail("a paused player must not hold the stream open")

    follow = start(["timeout", "60", "playerctl", "-p", "quillora", "--follow", "status"],
                   env=env, stdout=subprocess.PIPE, text=True)
    followed = Output(follow.stdout)
    # Its first line is the status as it stands; the changes follow it.
    wait_for("playerctl --follow", lambda: followed.lines)

    playerctl("play-pause")
    wait_for("Playing", lambda: playerctl("status") == "Playing")
    wait_for("audio", lambda: os.path.getsize(pcm) > RATE, timeout=10)
    expect_pitch(pcm, 440, "first station")

    playerctl("next")
    wait_for("next title", lambda: playerctl("metadata", "xesam:title") == "High Tone")
    if playerctl("metadata", "xesam:url") != f"http://127.0.0.1:{http}/high.m3u":
        fail("xesam:url is not the station's address")
    expect_pitch(pcm, 880, "next station")

    playerctl("previous")
    wait_for("previous title", lambda: playerctl("metadata", "xesam:title") == "Low Tone")
    expect_pitch(pcm, 440, "previous station")

    playerctl("volume", "0.5")
    if abs(float(playerctl("volume")) - 0.5) > 0.01:
        fail("volume did not take")
    playerctl("volume", "1")  # loud enough to measure the pitch again

    playerctl("play-pause")
    wait_for("Paused", lambda: playerctl("status") == "Paused")
    wait_for("stream released", lambda: listeners(ice, "/low.ogg") == 0, timeout=5)
    playerctl("stop")
    wait_for("Stopped", lambda: playerctl("status") == "Stopped")
    playerctl("play")
    wait_for("Playing after Stop", lambda: playerctl("status") == "Playing")
    playerctl("pause")
    wait_for("Paused after Pause", lambda: playerctl("status") == "Paused")
    wait_for("status signals", lambda: "Paused" in followed.lines[followed.lines.index("Playing"):]
             if "Playing" in followed.lines else False, timeout=5)

    # The last station, which has no logo and no genre: play it.
    playerctl("previous")  # from the first station round to the last
    wait_for("Third", lambda: playerctl("metadata", "xesam:title") == "Third")
    playerctl("play")
    wait_for("Playing Third", lambda: playerctl("status") == "Playing")
    wait_for("listening", lambda: listeners(ice, "/third.ogg") == 1, timeout=5)
    expect_pitch(pcm, 550, "third station")

    # Its source dies mid-play: the player reconnects by itself, and the
    # music is back (live: the new source's pitch) when the source is.
    third.kill()
    wait_for("reconnect line", lambda: "Reconnecting (attempt" in out.text(), timeout=20)
    if playerctl("status") != "Playing":
        fail("a reconnecting player is still Playing for the desktop")
    wait_for("source gone", lambda: listeners(ice, "/third.ogg") is None, timeout=10)
    start_tone(ice, "/third.ogg", 660)
    wait_for("listening again", lambda: listeners(ice, "/third.ogg") == 1, timeout=40)
    expect_pitch(pcm, 660, "after the reconnect")
    if playerctl("status") != "Playing":
        fail("not Playing after the reconnect")

    subprocess.run(["timeout", "5", "dbus-send", "--session", "--type=method_call", "--print-reply",
                    "--dest=org.mpris.MediaPlayer2.quillora",
                    "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"],
                   env=env, check=True, stdout=subprocess.DEVNULL)
    try:
        code = player.wait(10)
    except subprocess.TimeoutExpired:
        if os.environ.get("QUILLORA_E2E_DEBUG"):
            subprocess.run(["gdb", "-p", str(player.pid), "-batch", "-ex", "thread apply all bt"])
        fail("quillora did not quit on the media controls' Quit")
    if code != 0:
        fail(f"quillora exited with {code}")
    print(out.text())
    print("PASS", flush=True)


if __name__ == "__main__":
    main()
