#!/usr/bin/env python3
"""End to end: the `quillora` window on a private X server, against real peers.

Starts Xvfb, a local Icecast fed by a 440 Hz tone, the test HTTP server with
a catalogue and a logo, and a private session bus. Runs the player's window,
finds the round play button on a screen grab, clicks it with xdotool, and
checks that the tone is decoded and that MPRIS (playerctl) reports Playing.
(The song of a real stream: desktop_end_to_end.py for the player, and
ListeningScreenTests for the song line, the window title and the list.) Then
starts again on a stored 10,000-station catalogue and checks that only a
handful of logos are requested, and that an unusable data folder stops the
player with the fatal message. Every peer is started here, bounded in time
and killed on the way out.

Usage: window_end_to_end.py path/to/quillora
"""

import json
import os
import signal
import subprocess

import e2e
from e2e import WIDTH, close, expect_pitch, fail, grab, listeners, playerctl, wait_for
from livepeers import png, start_bus, start_http, start_icecast, start_tone, start_xvfb

PRIMARY = (0x5b, 0x3c, 0xc4)  # the light scheme's primary colour
LOGO = (0xf0, 0x80, 0x10)     # the logo served: solid orange
# Xvfb picks a free display itself (-displayfd): two tests starting at once
# cannot end up on one display.
SCREEN = "1024x900x24"


def find_play_button(pixel):
    """Centre of the primary-coloured disc below the band and above the slider."""
    xs, ys = [], []
    for y in range(440, 690):
        for x in range(0, WIDTH, 2):
            if close(pixel(x, y), PRIMARY):
                xs.append(x)
                ys.append(y)
    if len(xs) < 500:
        return None
    return sum(xs) // len(xs), sum(ys) // len(ys)


def http_stats(port):
    return json.loads(e2e.livepeers.fetch(f"http://127.0.0.1:{port}/__stats") or b"{}")


def player_env(work, name, display, bus):
    return e2e.player_env(os.path.join(work, name), display, bus)


def start_window(quillora, catalogue, env):
    return e2e.start_player(quillora, ["--catalogue", catalogue], env, (WIDTH, e2e.HEIGHT))


def run(quillora, work):
    display = start_xvfb(SCREEN)
    ice = start_icecast(work)
    start_tone(ice, "/low.ogg", 440)
    www = os.path.join(work, "www")
    os.mkdir(www)
    http = start_http(www)
    with open(os.path.join(www, "logo.png"), "wb") as f:
        f.write(png(64, 64, LOGO))
    with open(os.path.join(www, "stations.csv"), "w") as f:
        f.write("id,url,image,genre,title\n"
                f"1,http://127.0.0.1:{ice}/low.ogg,http://127.0.0.1:{http}/logo.png,Test,Low Tone\n")
    with open(os.path.join(www, "many.csv"), "w") as f:
        f.write("id,url,image,genre,title\n")
        for i in range(10000):
            f.write(f"{i},http://127.0.0.1:{ice}/low.ogg,http://127.0.0.1:{http}/many.png?n={i},Test,S{i}\n")
    with open(os.path.join(www, "many.png"), "wb") as f:
        f.write(png(8, 8, LOGO))
    wait_for("icecast mount", lambda: listeners(ice, "/low.ogg") is not None)

    bus = start_bus(work)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus
    pcm = os.path.join(work, "out.pcm")
    env = player_env(work, "first", display, bus)
    env["QUILLORA_MPV_OPTIONS"] = e2e.pcm_output(pcm)
    player, out = start_window(quillora, f"http://127.0.0.1:{http}/stations.csv", env)
    # Xvfb has no direct rendering: OpenGL would run in software, so the
    # window draws with Qt Quick's software renderer.
    if "renderer: software (no direct rendering on this X server)" not in out.text():
        fail("the software renderer was not chosen on Xvfb")
    if playerctl("status") != "Paused":
        fail("expected Paused before playing")

    # The logo on the card: solid orange around the pager's centre.
    def logo_shown():
        pixel = grab(display, work)
        return any(close(pixel(x, y), LOGO) for y in range(150, 330, 6) for x in range(150, 290, 6))
    wait_for("logo on the card", logo_shown, timeout=15, interval=0.3)

    pixel = grab(display, work)
    button = find_play_button(pixel)
    if not button:
        fail("no play button on the screen")
    print(f"play button at {button}", flush=True)
    subprocess.run(["timeout", "10", "xdotool", "mousemove", str(button[0]), str(button[1]), "click", "1"],
                   env=dict(os.environ, DISPLAY=display), check=True)
    wait_for("Playing", lambda: playerctl("status") == "Playing", timeout=10)
    wait_for("audio", lambda: os.path.getsize(pcm) > e2e.livepeers.RATE, timeout=15)
    expect_pitch(pcm, 440, "clicked station")
    if playerctl("metadata", "xesam:title") != "Low Tone":
        fail("MPRIS shows another station")
    playerctl("stop")
    wait_for("Stopped", lambda: playerctl("status") == "Stopped")

    # A session that ends sends SIGTERM: the window closes cleanly and its
    # store is on disk.
    player.send_signal(signal.SIGTERM)
    try:
        if player.wait(10) != 0:
            fail(f"quillora exited with {player.returncode}")
    except subprocess.TimeoutExpired:
        fail("quillora did not quit")
    store = os.path.join(env["XDG_DATA_HOME"], "quillora", "Quillora.sqlite")
    if not os.path.isfile(store):
        fail("no persistent store at " + store)

    def logos_settled():
        """The first card shows its logo and no logo request is on its way."""
        stats = http_stats(http)
        return logo_shown() and stats.get("/many.png", 0) == stats.get("!done /many.png", 0) + stats.get(
            "!aborted /many.png", 0)
    # 10,000 stations stored by a first run come from the store at the next
    # start, before the screen has its size: still only the cards near the
    # visible one ask for their logos. (A catalogue that arrives later:
    # ScreenTests.)
    env = player_env(work, "many", display, bus)
    first, _ = start_window(quillora, f"http://127.0.0.1:{http}/many.csv", env)
    e2e.livepeers.stop(first)
    e2e.livepeers.fetch(f"http://127.0.0.1:{http}/__reset")
    again, again_out = start_window(quillora, f"http://127.0.0.1:{http}/many.csv", env)
    if "startup: first-card" not in again_out.text() or "Loaded 10000 stations" not in again_out.text():
        fail("the stored 10,000 stations were not shown")
    wait_for("the first card's logo", logos_settled, timeout=15, interval=0.3)
    logos = http_stats(http).get("/many.png", 0)
    print(f"logo requests for 10,000 stored stations: {logos}", flush=True)
    if logos > 4:
        fail(f"expected the logos of the few cards near the visible one, got {logos} requests")
    e2e.livepeers.stop(again)

    # The same in a wide window: the rows in view and the cards near the
    # selected one, not a card for every station while the pages have no
    # width yet.
    e2e.livepeers.fetch(f"http://127.0.0.1:{http}/__reset")
    wide, _ = e2e.start_player(quillora, ["--catalogue", f"http://127.0.0.1:{http}/many.csv"], env, (1280, 800))
    counts = []

    def requests_settled():
        stats = http_stats(http)
        asked = stats.get("/many.png", 0)
        counts.append(asked)
        return asked > 0 and asked == stats.get("!done /many.png", 0) + stats.get("!aborted /many.png", 0) \
            and counts[-3:] == [asked] * 3
    wait_for("the wide window's logos", requests_settled, timeout=30, interval=0.5)
    print(f"logo requests for 10,000 stored stations, wide: {counts[-1]}", flush=True)
    if counts[-1] > 20:
        fail(f"expected the logos of the rows in view and the cards near the selected one, got {counts[-1]}")
    e2e.livepeers.stop(wide)

    # An unusable data folder: the fatal message, and a failure exit.
    blocked = os.path.join(work, "not-a-folder")
    open(blocked, "w").close()
    env = player_env(work, "broken", display, bus)
    env["XDG_DATA_HOME"] = blocked
    result = subprocess.run(["timeout", "30", quillora, "--catalogue", "http://127.0.0.1:1/none.csv"],
                            env=env, capture_output=True, text=True)
    if result.returncode in (0, 124) or "Unresolved error " not in result.stdout:
        fail(f"broken data folder: exit {result.returncode}, said {result.stdout!r}")
    # Options that only print need no display.
    bare = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    for option in ("--version", "--help"):
        result = subprocess.run(["timeout", "10", quillora, option], env=bare, capture_output=True, text=True)
        if result.returncode != 0 or "quillora" not in result.stdout.lower():
            fail(f"{option} without a display: exit {result.returncode}, said {result.stdout!r}")
    print("PASS", flush=True)


if __name__ == "__main__":
    e2e.main(run, "qwin", ("Xvfb", "xdotool", "icecast2", "ffmpeg", "dbus-daemon", "playerctl"), readable=True)
