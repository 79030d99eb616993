#!/usr/bin/env python3
"""End to end: the window on the desktop, against real peers.

Xvfb, a local Icecast with an MP3 mount whose song is set through Icecast's
admin interface, a private session bus, and stand-ins for the desktop's
services on it (Tests/Support/desktopstandins.py: a panel's
StatusNotifierWatcher, a notification server, the portal's Inhibit).

- The tray icon registers with the panel.
- Playing inhibits suspend.
- Closing the window while a station plays keeps the stream and MPRIS
  Playing; with the window gone, a song change notifies.
- A second start shows the first window and exits; one process is left.
- MPRIS Quit quits; closing the window while nothing plays quits; with
  background=false closing quits even while playing.

Usage: desktop_end_to_end.py path/to/quillora
"""

import json
import os
import subprocess
import threading
import time

import e2e
from e2e import SUPPORT, fail, listeners, playerctl, wait_for
from livepeers import start, start_bus, start_icecast, start_tone, start_xvfb, stop


class StandIns:
    """The stand-in desktop services and the calls they saw."""

    def __init__(self, env):
        self.process = start(["/usr/bin/python3", os.path.join(SUPPORT, "desktopstandins.py"), "170"],
                             env=env, stdout=subprocess.PIPE, text=True)
        self.lines = []
        self.lock = threading.Lock()
        threading.Thread(target=self._pump, daemon=True).start()
        wait_for("stand-ins ready", lambda: any(line.get("ready") for line in self.snapshot()))

    def _pump(self):
        for line in self.process.stdout:
            with self.lock:
                self.lines.append(json.loads(line))

    def snapshot(self):
        with self.lock:
            return list(self.lines)

    def calls(self, method):
        return [line for line in self.snapshot() if line.get("call") == method]


def visible_windows(display, pid):
    env = dict(os.environ, DISPLAY=display)
    found = subprocess.run(["timeout", "5", "xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           capture_output=True, text=True, env=env).stdout.split()
    return found


def key(display, pid, keys):
    """Gives the process's window the keyboard and types `keys`."""
    env = dict(os.environ, DISPLAY=display)
    windows = visible_windows(display, pid)
    if not windows:
        fail("no visible window to type into")
    subprocess.run(["timeout", "10", "xdotool", "windowfocus", "--sync", windows[-1]], env=env, check=True)
    subprocess.run(["timeout", "10", "xdotool", "key", keys], env=env, check=True)


def quillora_processes(quillora, work):
    """This test's players: other tests may run the same program at the same time."""
    found = subprocess.run(["pgrep", "-f", "-x", f"{quillora} .*"], capture_output=True, text=True).stdout.split()
    ours = []
    for pid in found:
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                if work.encode() in f.read():
                    ours.append(int(pid))
        except OSError:
            pass  # gone meanwhile
    return ours


def player_env(work, name, display, bus, conf):
    home = os.path.join(work, name)
    os.makedirs(os.path.join(home, "config", "quillora"))
    with open(os.path.join(home, "config", "quillora", "quillora.conf"), "w") as f:
        f.write(conf)
    env = e2e.player_env(home, display, bus)
    return env


def start_window(quillora, catalogue, env):
    return e2e.start_player(quillora, ["--catalogue", catalogue], env, (e2e.WIDTH, e2e.HEIGHT))


def run(quillora, work):
    display = start_xvfb("1024x900x24")
    ice = start_icecast(work)
    start_tone(ice, "/song.mp3", 440, codec="mp3")
    wait_for("mp3 mount", lambda: e2e.livepeers.mount_is_live(ice, "/song.mp3"), timeout=20)
    catalogue = os.path.join(work, "stations.csv")
    with open(catalogue, "w") as f:
        f.write("id,url,image,genre,title\n"
                f"1,http://127.0.0.1:{ice}/song.mp3,,Test,Song FM\n"
                f"2,http://127.0.0.1:{ice}/song.mp3,,Test,Other FM\n")
    bus = start_bus(work)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus
    desktop = StandIns(dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus))

    conf = "# written by the test\nnotifications=true\n\n[recording]\nfolder=/nowhere\n"
    env = player_env(work, "first", display, bus, conf)
    first, out = start_window(quillora, catalogue, env)
    wait_for("tray icon registered", lambda: desktop.calls("RegisterStatusNotifierItem"), timeout=20)

    playerctl("play")
    wait_for("Playing", lambda: playerctl("status") == "Playing", timeout=15)
    wait_for("listening", lambda: listeners(ice, "/song.mp3") == 1, timeout=20)
    # (Which flags, and the release: DesktopBusTests.)
    wait_for("suspend inhibited", lambda: desktop.calls("Inhibit"), timeout=20)

    # The close button (Ctrl+W does the same): the window goes, the music stays.
    key(display, first.pid, "ctrl+w")
    wait_for("window gone", lambda: not visible_windows(display, first.pid), timeout=15)
    time.sleep(1.0)  # time for a wrongly quitting process to go
    if first.poll() is not None:
        fail(f"closing the window while playing quit (exit {first.returncode})")
    if playerctl("status") != "Playing" or listeners(ice, "/song.mp3") != 1:
        fail("closing the window stopped the stream")

    # A song change with the window gone is notified, naming the station.
    # The player shows "Artist \u2013 Title" for "Artist - Title". (Later
    # songs replacing the first: DesktopBusTests.)
    def notified(song):
        def check():
            if any(call["summary"] == song.replace(" - ", " \u2013 ") for call in desktop.calls("Notify")):
                return True
            e2e.livepeers.set_song(ice, "/song.mp3", song)
            return False
        return check
    wait_for("first song notified", notified("Nina Simone - Feeling Good"), timeout=30, interval=1)
    notes = desktop.calls("Notify")
    print("notifications:", json.dumps(notes), flush=True)
    if notes[-1]["body"] != "Song FM":
        fail("the notification does not name the station")

    # A second start: it shows the first window and exits.
    began = time.monotonic()
    second = subprocess.run(["timeout", "30", quillora, "--catalogue", catalogue], env=env,
                            capture_output=True, text=True)
    took = time.monotonic() - began
    print(f"second start exited with {second.returncode} after {took:.2f} s", flush=True)
    if second.returncode != 0:
        fail(f"the second start failed: {second.stdout} {second.stderr}")
    wait_for("first window shown again", lambda: visible_windows(display, first.pid), timeout=15)
    try:
        wait_for("one player process", lambda: quillora_processes(quillora, work) == [first.pid], timeout=15)
    except TimeoutError:
        fail(f"expected one player process, found {quillora_processes(quillora, work)}")

    # MPRIS Quit quits; the store is written.
    e2e.mpris_quit(first)
    # The catalogue passed on is remembered; the person's lines stay.
    with open(os.path.join(env["XDG_CONFIG_HOME"], "quillora", "quillora.conf")) as f:
        written = f.read()
    expected = conf.replace("notifications=true\n", f"notifications=true\ncatalogue=file://{catalogue}\n")
    if written != expected:
        fail(f"quillora.conf is {written!r}, expected {expected!r}")

    # Nothing playing, or background=false: closing the window quits.
    for name, conf, play in (("stopped", "", False), ("foreground", "background=false\n", True)):
        env = player_env(work, name, display, bus, conf)
        process, out = start_window(quillora, catalogue, env)
        if play:
            playerctl("play")
            wait_for("Playing", lambda: playerctl("status") == "Playing", timeout=15)
        key(display, process.pid, "ctrl+w")
        try:
            if process.wait(15) != 0:
                fail(f"{name}: quit with {process.returncode}")
        except subprocess.TimeoutExpired:
            fail(f"{name}: closing the window did not quit")
        stop(process)
    print("ok", flush=True)


if __name__ == "__main__":
    e2e.main(run, "qdesk", ("Xvfb", "xdotool", "icecast2", "ffmpeg", "dbus-daemon", "playerctl"), readable=True)
