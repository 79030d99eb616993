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
import signal

import e2e
from e2e import expect_pitch, fail, listeners, playerctl, wait_for
from livepeers import start_bus, start_http, start_icecast, start_tone


def run(quillora, work):
    # The player's own folders, fresh for this run: nothing remembered from
    # an earlier one. Without a bus: one line, then a clean exit on SIGTERM.
    env_nobus = e2e.player_env(os.path.join(work, "nobus"), DBUS_SESSION_BUS_ADDRESS=f"unix:path={work}/nobus")
    lonely, lonely_out = e2e.start_player(quillora, ["--headless", "--catalogue", "http://127.0.0.1:1/none.csv"],
                                          env_nobus, first_card=False)
    wait_for("no-bus line", lambda: "No D-Bus session bus" in lonely_out.text(), timeout=10)
    wait_for("failed load line", lambda: "Could not load the stations from 127.0.0.1" in lonely_out.text(),
             timeout=10)
    lonely.send_signal(signal.SIGTERM)
    if lonely.wait(10) != 0:
        fail(f"quillora exited with {lonely.returncode} on SIGTERM")

    ice = start_icecast(work)
    start_tone(ice, "/low.ogg", 440)
    start_tone(ice, "/high.ogg", 880)

    www = os.path.join(work, "www")
    os.mkdir(www)
    http = start_http(www)
    with open(os.path.join(www, "high.m3u"), "w") as f:
        f.write(f"#EXTM3U\nhttp://127.0.0.1:{ice}/high.ogg\n")
    with open(os.path.join(www, "stations.csv"), "w") as f:
        f.write("title,genre,image,url,id\n"
                f"Low Tone,Test,,http://127.0.0.1:{ice}/low.ogg,1\n"
                f"Broken,Test,,http://127.0.0.1:{ice}/low.ogg,one\n"
                f"High Tone,Test,,http://127.0.0.1:{http}/high.m3u,2\n")

    wait_for("icecast mounts", lambda: all(listeners(ice, mount) is not None
                                           for mount in ("/low.ogg", "/high.ogg")))

    pcm = os.path.join(work, "out.pcm")
    env = e2e.player_env(os.path.join(work, "home"), bus=start_bus(work), QUILLORA_MPV_OPTIONS=e2e.pcm_output(pcm))
    player, out = e2e.start_player(quillora, ["--headless", "--catalogue", f"http://127.0.0.1:{http}/stations.csv"],
                                   env, first_card=False)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = env["DBUS_SESSION_BUS_ADDRESS"]

    wait_for("Loaded 2 stations", lambda: "Loaded 2 stations" in out.text())
    wait_for("first station published", lambda: playerctl("metadata", "xesam:title", check=False) == "Low Tone")
    if playerctl("status") != "Paused":
        fail("expected Paused before playing")
    # (The artwork published with it: NowPlayingTests.)
    if listeners(ice, "/low.ogg") != 0:
        fail("a paused player must not hold the stream open")

    playerctl("play-pause")
    wait_for("Playing", lambda: playerctl("status") == "Playing")
    wait_for("audio", lambda: os.path.getsize(pcm) > e2e.livepeers.RATE, timeout=10)
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

    playerctl("play-pause")
    wait_for("Paused", lambda: playerctl("status") == "Paused")
    wait_for("stream released", lambda: listeners(ice, "/low.ogg") == 0, timeout=5)
    # (Each command's status and the signals announcing it, also while a
    # stream reconnects: MprisTests; a source that dies and comes back:
    # LiveStreamTests.)
    e2e.mpris_quit(player, 10)
    print(out.text())
    print("PASS", flush=True)


if __name__ == "__main__":
    e2e.main(run, "qe2e", ("icecast2", "ffmpeg", "dbus-daemon", "playerctl"), readable=True)
