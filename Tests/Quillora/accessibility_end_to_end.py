#!/usr/bin/env python3
"""End to end: the wide window as a screen reader reads it.

Starts a private X server and a private session bus with the desktop's
accessibility bus (at-spi-bus-launcher) on it, then the `quillora` window,
wide, on a 12-station catalogue in a local file. Reads the window through
AT-SPI with pyatspi, as a screen reader does, and checks that the station
list is a list whose items name at least 8 stations, that the selected
station's title and genre are there as text, and that every button shown
has a name, the play button among them. With --language de the window starts
with LANGUAGE=de, as on a German desktop, and the list and the play button
read in German. With QUILLORA_TEST_GRABS=<folder>, keeps a grab of the window
there. Every peer is started here, bounded in time and killed on the way out.

Usage: accessibility_end_to_end.py [--language de] path/to/quillora
       accessibility_end_to_end.py --read   (prints the tree as JSON: the reader)
"""

import json
import os
import subprocess
import sys

import e2e
from e2e import fail, wait_for
from livepeers import start, start_bus, start_xvfb

WIDTH, HEIGHT = 1100, 800
# pyatspi is a Debian package: the reader runs on the system's Python, which
# may not be the python3 first on the PATH.
READER = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable
STATIONS = [("Aurora FM", "Ambient"), ("Brass Band Radio", "Brass"), ("Cello Hour", "Classical"),
            ("Delta Blues Live", "Blues"), ("Echo Dub", "Reggae"), ("Fado Nights", "Fado"),
            ("Gamelan Waves", "World"), ("Harbour Jazz", "Jazz"), ("Indie Attic", "Indie"),
            ("Jungle Pressure", "Drum and bass"), ("Kora Sessions", "Mande"), ("Lo-Fi Lantern", "Lo-fi")]
# What the station list and the play button are called in each language.
NAMES = {"en": {"list": "Stations", "play": "Play"}, "de": {"list": "Sender", "play": "Abspielen"}}


def read_tree():
    """Prints every accessible object of the quillora application as a JSON
    list of {role, name, selected, showing}."""
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    nodes = []

    def walk(node, depth):
        if node is None or depth > 40 or len(nodes) > 3000:
            return
        states = node.getState()
        nodes.append({"role": node.getRoleName(), "name": node.name or "",
                      "selected": states.contains(pyatspi.STATE_SELECTED),
                      "showing": states.contains(pyatspi.STATE_SHOWING)})
        for child in node:
            walk(child, depth + 1)

    for app in desktop:
        if app is not None and (app.name or "").lower() == "quillora":
            walk(app, 0)
    print(json.dumps(nodes))


def tree(env):
    """The window's accessible objects as the reader sees them now."""
    result = subprocess.run(["timeout", "20", READER, os.path.abspath(__file__), "--read"],
                            capture_output=True, text=True, env=env)
    try:
        return json.loads(result.stdout or "[]")
    except json.JSONDecodeError:
        return []


def run(quillora, work, language):
    display = start_xvfb("1280x1024x24")
    bus = start_bus(work)
    env = dict(os.environ, DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=bus, NO_AT_BRIDGE="0")
    launcher = start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env)
    wait_for("the accessibility bus", lambda: launcher.poll() is None and subprocess.run(
        ["timeout", "5", "dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], env=env, capture_output=True).returncode == 0, timeout=20)

    catalogue = os.path.join(work, "stations.csv")
    with open(catalogue, "w") as f:
        f.write("id,url,image,genre,title\n")
        for i, (title, genre) in enumerate(STATIONS, start=1):
            f.write(f"{i},http://127.0.0.1:9/{i},,{genre},{title}\n")
    window_env = e2e.player_env(os.path.join(work, "home"), display, bus, NO_AT_BRIDGE="0",
                                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANGUAGE=language,
                                QUILLORA_COLOR_SCHEME=os.environ.get("QUILLORA_COLOR_SCHEME", "light"))
    e2e.start_player(quillora, ["--catalogue", catalogue], window_env, (WIDTH, HEIGHT))

    titles = {title for title, _ in STATIONS}
    seen = {}

    def listed():
        nodes = tree(env)
        seen["nodes"] = nodes
        items = {node["name"].split(", ")[0] for node in nodes
                 if node["role"] == "list item" and node["showing"]}
        return len(items & titles) >= 8

    wait_for("eight stations in the list", listed, timeout=60, interval=0.5)
    nodes = seen["nodes"]
    if os.environ.get("QUILLORA_TEST_GRABS"):
        e2e.grab(display, work, WIDTH, HEIGHT, keep=f"wide-{language}-" + window_env["QUILLORA_COLOR_SCHEME"])

    names = NAMES[language]
    if not any(node["role"] == "list" and node["name"] == names["list"] for node in nodes):
        fail(f"no list named {names['list']}: " + json.dumps([n for n in nodes if n["role"] == "list"]))
    selected = [node["name"] for node in nodes if node["role"] == "list item" and node["selected"]]
    if selected != [f"{STATIONS[0][0]}, {STATIONS[0][1]}"]:
        fail(f"the first station is not the one selected item: {selected}")
    texts = {node["name"] for node in nodes if node["role"] == "label" and node["showing"]}
    for expected in STATIONS[0]:
        if expected not in texts:
            fail(f"no text reads {expected!r}; texts: {sorted(texts)}")
    unnamed = [node for node in nodes if node["role"] == "push button" and node["showing"] and not node["name"]]
    if unnamed:
        fail(f"buttons without a name: {unnamed}")
    buttons = sorted(node["name"] for node in nodes if node["role"] == "push button" and node["showing"])
    if names["play"] not in buttons:
        fail(f"no button named {names['play']!r}; buttons: {buttons}")
    print(f"PASS ({language}): the list, the selected station's title and genre and every button read through AT-SPI")


def main():
    if sys.argv[1:] == ["--read"]:
        read_tree()
        return
    language = "en"
    if sys.argv[1:2] == ["--language"]:
        language = sys.argv[2]
        del sys.argv[1:3]
    if language not in NAMES:
        fail(f"no names known for the language {language!r}")
    if subprocess.run([READER, "-c", "import pyatspi"], capture_output=True).returncode != 0:
        fail("python3-pyatspi is not installed")
    e2e.main(lambda quillora, work: run(quillora, work, language), "qa11y",
             ("Xvfb", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher"))


if __name__ == "__main__":
    main()
