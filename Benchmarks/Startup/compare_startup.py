#!/usr/bin/env python3
"""Start-up time and resident memory of the Quillora window, next to a bare
Qt Quick window (the floor) and the Debian goodvibes player, in one run on
one X server.

Usage: compare_startup.py BUILD_DIR [--rounds 5] [--quick] [--stations 10000] [--few 5]
                          [--geometry WxH] [--software]

Every program runs on the same Xvfb screen, with a private HOME and XDG
folders, a private session bus, and its catalogue, logos and stream served
on 127.0.0.1 (the test HTTP server, a local Icecast with a tone). Each round
starts, in turn: the bare window; the bare window with quillora's libmpv
preloaded (what linking the media player costs before main()); quillora with
a few stations and with the big catalogue; goodvibes. Each starts first with an empty home (cold: no
image cache, no shader cache, no settings) and then again on the home that
start left (warm). Medians over the rounds are printed with the ratios and
the targets:

  - quillora's first frame within 1.3x the bare window's, cold against cold
    and warm against warm (spawn to frame, so the loading of shared
    libraries counts);
  - idle resident memory at most the bare window's + 15 MB, and playing at
    most idle + 40 MB;
  - with a catalogue at hand when it starts (a local file, or the one the
    store kept from the cold start), the first card in the first frame:
    first card minus first frame at most one frame (16.7 ms);
  - the big catalogue shown within 300 ms of its download (first card minus
    catalogue downloaded, both on quillora's own clock);
  - a wrap round the big catalogue and back (MPRIS Previous from the first
    station, then Next) at most 3 logo requests.

quillora and bare-window print `startup: <event> <ms>` lines (milliseconds
since main() began) when QUILLORA_TRACE_STARTUP=1; the script also stamps
each line on its own clock when it reads it, and the moment each program's
window is mapped (X MapNotify on the root window), the one event goodvibes
can be timed by too. Memory is VmRSS and VmHWM from /proc: idle a few
seconds after the cards are shown, and playing a few seconds after
`playerctl play-pause` (goodvibes: `goodvibes-client play`). The "logos"
column counts the logo requests quillora made by then: a pager that builds
only the cards near the visible one asks for a few, not for every station.
"""

import argparse
import json
import os
import queue
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "Tests", "Support"))
from livepeers import (fetch, start, start_bus, start_http, start_icecast, start_tone, start_xvfb, stop,  # noqa: E402
                       stop_all, wait_for)

SCREEN = "1280x1024x24"
EVENTS = ("first-frame", "catalogue-downloaded", "first-card")
# Arguments every Qt window gets (--geometry).
WINDOW_ARGS = []
LOGO_FILES = 16  # distinct logo files; every station still has its own URL


class Skipped(Exception):
    """A program that cannot run here; its reason is printed, the rest goes on."""


# --- fixtures -----------------------------------------------------------

def png(width, height, colour):
    """A small RGB PNG: a diagonal gradient over `colour`."""
    red, green, blue = colour
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            shade = (x + y) * 96 // (width + height)
            rows += bytes((min(255, red + shade), min(255, green + shade), min(255, blue + shade)))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows)))
            + chunk(b"IEND", b""))


def write_catalogues(www, http_port, stream, stations, few=5):
    """Logos and two catalogues below `www`; returns {label: catalogue URL}."""
    os.mkdir(os.path.join(www, "logos"))
    for n in range(LOGO_FILES):
        colour = (40 + n * 11 % 120, 30 + n * 37 % 140, 90 + n * 23 % 120)
        with open(os.path.join(www, "logos", f"{n}.png"), "wb") as f:
            f.write(png(300, 300, colour))
    base = f"http://127.0.0.1:{http_port}"
    genres = ("Jazz", "Rock", "Classical", "News", "Electronic", "Folk")

    def write(name, count):
        with open(os.path.join(www, name), "w") as f:
            f.write("id,url,image,genre,title\n")
            for i in range(count):
                logo = f"{base}/logos/{i % LOGO_FILES}.png?station={i}"
                f.write(f"{i + 1},{stream},{logo},{genres[i % len(genres)]},Station {i + 1}\n")
        return f"{base}/{name}"

    return {"few": write("few.csv", few), "big": write("big.csv", stations)}


class MapWatcher:
    """Stamps every top-level window mapped on the display with the pid of
    its owner (_NET_WM_PID), on a thread of its own, so that a map is timed
    when the X server reports it rather than when someone polls."""

    def __init__(self, display):
        from Xlib import X, display as xdisplay  # python3-xlib
        self.X = X
        self.display = xdisplay.Display(display)
        self.root = self.display.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.pid_atom = self.display.intern_atom("_NET_WM_PID")
        self.maps = []  # (perf_counter, pid)
        self.lock = threading.Lock()
        threading.Thread(target=self._run, daemon=True).start()

    def _run(self):
        while True:
            try:
                event = self.display.next_event()
            except Exception:
                return
            if event.type != self.X.MapNotify or event.override:
                continue
            stamp = time.perf_counter()
            try:
                prop = event.window.get_full_property(self.pid_atom, self.X.AnyPropertyType)
                geometry = event.window.get_geometry()
            except Exception:
                continue
            if prop and prop.value and geometry.width > 10 and geometry.height > 10:
                with self.lock:
                    self.maps.append((stamp, int(prop.value[0])))

    def mapped(self, pid):
        with self.lock:
            return next((stamp for stamp, owner in self.maps if owner == pid), None)


def private_env(work, name, display, bus):
    """Environment with HOME, XDG folders and runtime dir of the run `name`."""
    home = os.path.join(work, "home", name)
    env = {key: value for key, value in os.environ.items() if not key.startswith(("XDG_", "QT_", "WAYLAND"))}
    env.update(HOME=home, DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=bus, QT_QPA_PLATFORM="xcb",
               XDG_CONFIG_HOME=os.path.join(home, ".config"), XDG_DATA_HOME=os.path.join(home, ".local/share"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=os.path.join(home, "run"),
               NO_AT_BRIDGE="1")
    for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"):
        os.makedirs(env[key], exist_ok=True)
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
    return env


# --- one program run ----------------------------------------------------

def memory_mb(pid):
    """(VmRSS, VmHWM) in MB."""
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0]) / 1024
    return values.get("VmRSS", float("nan")), values.get("VmHWM", float("nan"))


class Run:
    """One start of a program: its trace lines, as printed (ms since its
    main() began) and as read here (ms since spawn), and its window map."""

    def __init__(self, args, env, watcher, trace=True):
        self.watcher = watcher
        self.lines = queue.Queue()
        self.output = []  # what it printed, for error messages
        self.spawned = time.perf_counter()
        output = subprocess.PIPE if trace else subprocess.DEVNULL
        self.process = start(args, env=env, stdout=output, stderr=subprocess.STDOUT,
                             text=True, start_new_session=True)
        self.own = {}   # event -> ms on the program's clock
        self.wall = {}  # event -> ms since spawn, read here
        if trace:
            threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            stamp = time.perf_counter()
            self.lines.put((stamp, line))
        self.lines.put((time.perf_counter(), None))

    def wait_event(self, event, timeout):
        deadline = time.monotonic() + timeout
        while event not in self.own:
            try:
                stamp, line = self.lines.get(timeout=max(0.01, deadline - time.monotonic()))
            except queue.Empty:
                raise Skipped(f"no '{event}' within {timeout:.0f} s") from None
            if line is None:
                self.process.wait()
                tail = " | ".join(self.output[-3:])
                raise Skipped(f"exited with status {self.process.returncode} before '{event}': {tail}")
            words = line.split()
            try:
                if len(words) != 3 or words[0] != "startup:" or words[1] not in EVENTS:
                    raise ValueError
                self.own[words[1]] = float(words[2])
                self.wall[words[1]] = (stamp - self.spawned) * 1000
            except ValueError:
                self.output.append(line.strip())
        return self.own[event]

    def wait_mapped(self, timeout=10):
        if not self.watcher:
            return None
        try:
            stamp = wait_for("window map", lambda: self.watcher.mapped(self.process.pid),
                             timeout=timeout, interval=0.01)
        except TimeoutError:
            return None
        return (stamp - self.spawned) * 1000

    def stop(self):
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        stop(self.process)


def run_bare(binary, env, watcher, idle):
    run = Run([binary, *WINDOW_ARGS], env, watcher)
    try:
        run.wait_event("first-frame", 20)
        result = {"mapped": run.wait_mapped()}
        time.sleep(idle)
        result["idle"] = memory_mb(run.process.pid)
        return result | {f"{e}.wall": v for e, v in run.wall.items()} | {f"{e}.own": v for e, v in run.own.items()}
    finally:
        run.stop()


def playerctl(env, *words):
    result = subprocess.run(["timeout", "5", "playerctl", "-p", "quillora", *words], env=env,
                            capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else None


def goodvibes_client(env, *words):
    result = subprocess.run(["timeout", "5", "goodvibes-client", *words], env=env, capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else None


def measure_playing(pid, play, is_playing, seconds):
    """Starts playback, waits until the player says it plays (GStreamer
    buffers a few seconds of a live stream first), then `seconds` more."""
    if not play():
        return {"playing-error": "the play command failed"}
    try:
        wait_for("playing", is_playing, timeout=30, interval=0.25)
    except TimeoutError:
        return {"playing-error": "not playing 30 s after the play command"}
    time.sleep(seconds)
    return {"playing": memory_mb(pid)}


def logo_requests(http_port):
    """How many logo requests the HTTP server has answered so far."""
    stats = fetch(f"http://127.0.0.1:{http_port}/__stats", limit=1 << 20)
    counts = json.loads(stats) if stats else {}
    return sum(n for path, n in counts.items() if path.startswith("/logos/"))


def run_quillora(binary, env, watcher, catalogue, http_port, idle, play_seconds, slide=False):
    logos_before = logo_requests(http_port)
    run = Run([binary, "--catalogue", catalogue, *WINDOW_ARGS], env, watcher)
    # A local file is never downloaded.
    events = [e for e in EVENTS if e != "catalogue-downloaded" or catalogue.startswith("http")]
    try:
        for event in events:
            run.wait_event(event, 60)
        result = {"mapped": run.wait_mapped()}
        result |= {f"{e}.wall": v for e, v in run.wall.items()} | {f"{e}.own": v for e, v in run.own.items()}
        result["card-after-frame"] = run.own["first-card"] - run.own["first-frame"]
        if "catalogue-downloaded" in run.own:
            result["shown-after-download"] = run.own["first-card"] - run.own["catalogue-downloaded"]
        time.sleep(idle)
        result["idle"] = memory_mb(run.process.pid)
        # A pager that builds every card at once fetches every logo.
        result["logos"] = logo_requests(http_port) - logos_before
        if slide:
            # Round the whole catalogue and back (previous from the first
            # station wraps to the last): the cards flying past must not
            # fetch their logos.
            before = logo_requests(http_port)
            for command in ("previous", "next"):
                playerctl(env, command)
                time.sleep(1.5)
            result["slide-logos"] = logo_requests(http_port) - before
        if play_seconds:
            result |= measure_playing(run.process.pid, lambda: playerctl(env, "play-pause") is not None,
                                      lambda: playerctl(env, "status") == "Playing", play_seconds)
        return result
    finally:
        run.stop()


def goodvibes_env(env):
    """goodvibes' own settings (keyfile backend): output to a clocked
    fakesink, the counterpart of quillora's ao=null."""
    settings = os.path.join(env["XDG_CONFIG_HOME"], "glib-2.0", "settings")
    os.makedirs(settings, exist_ok=True)
    with open(os.path.join(settings, "keyfile"), "w") as f:
        f.write("[io/gitlab/Goodvibes/Core]\npipeline-enabled=true\npipeline-string='fakesink sync=true'\n")
    return env | {"GSETTINGS_BACKEND": "keyfile"}


def run_goodvibes(env, watcher, stream, idle, play_seconds):
    if not shutil.which("goodvibes"):
        raise Skipped("not installed (Debian package goodvibes)")
    run = Run(["goodvibes"], env, watcher, trace=False)
    try:
        mapped = run.wait_mapped(timeout=20)
        if mapped is None:
            status = run.process.poll()
            raise Skipped("its window was not mapped within 20 s" + (f" (exit {status})" if status is not None else ""))
        result = {"mapped": mapped}
        time.sleep(idle)
        result["idle"] = memory_mb(run.process.pid)
        if play_seconds:
            result |= measure_playing(run.process.pid, lambda: goodvibes_client(env, "play", stream) is not None,
                                      lambda: goodvibes_client(env, "playing") == "true", play_seconds)
        return result
    finally:
        run.stop()


# --- report -------------------------------------------------------------

def median(results, key, index=None):
    values = []
    for result in results:
        value = result.get(key)
        if value is None:
            continue
        values.append(value[index] if index is not None else value)
    return statistics.median(values) if values else None


def cell(value, width, digits=0):
    return f"{'-':>{width}}" if value is None else f"{value:{width}.{digits}f}"


def ratio(a, b):
    return None if a is None or not b else a / b


def report(programs, rounds, stations, renderer):
    print()
    print(f"Start-up on Xvfb {SCREEN}, Qt Quick {renderer}, median of {rounds} round(s); ms from spawn (read here), "
          "[ms on the program's own clock since main()]")
    print(f"{'program':30s} {'first frame':>17s} {'mapped':>7s} {'catalogue':>17s} {'first card':>17s} "
          f"{'card-frame':>10s} {'card-download':>13s} {'logos':>6s}")
    for name, results in programs.items():
        if not results:
            continue
        times = []
        for event in EVENTS:
            wall, own = median(results, f"{event}.wall"), median(results, f"{event}.own")
            times.append(f"{cell(wall, 7)} [{cell(own, 7)}]" if wall is not None else f"{'-':>17s}")
        print(f"{name:30s} {times[0]} {cell(median(results, 'mapped'), 7)} {times[1]} {times[2]} "
              f"{cell(median(results, 'card-after-frame'), 10, 1)} "
              f"{cell(median(results, 'shown-after-download'), 13)} {cell(median(results, 'logos'), 6)}")

    print()
    print("Resident memory in MB (VmRSS / VmHWM), median")
    print(f"{'program':30s} {'idle':>15s} {'playing':>15s}")
    for name, results in programs.items():
        if not results:
            continue
        columns = []
        for state in ("idle", "playing"):
            rss, hwm = median(results, state, 0), median(results, state, 1)
            columns.append(f"{cell(rss, 6, 1)} / {cell(hwm, 6, 1)}")
        print(f"{name:30s} {columns[0]} {columns[1]}")
        errors = sorted({r["playing-error"] for r in results if "playing-error" in r})
        for error in errors:
            print(f"  {'':28s} playing not measured: {error}")

    print()
    print("Ratios to the bare window with the same cache state (first frame from spawn, own clock in "
          "brackets; idle peak memory)")
    verdicts = []
    for name, results in programs.items():
        if name.rsplit(" ", 1)[0] == "bare-window" or not results:
            continue
        bare = programs.get("bare-window " + name.split()[-1]) or []
        if name.startswith("goodvibes"):
            # goodvibes prints nothing: compare window maps.
            frame = ratio(median(results, "mapped"), median(bare, "mapped"))
            own = None
        else:
            frame = ratio(median(results, "first-frame.wall"), median(bare, "first-frame.wall"))
            own = ratio(median(results, "first-frame.own"), median(bare, "first-frame.own"))
        memory = ratio(median(results, "idle", 1), median(bare, "idle", 1))
        what = "window map " if name.startswith("goodvibes") else "first frame"
        print(f"  {name:30s} {what} {cell(frame, 5, 2)}x" + (f" [{own:4.2f}x]" if own is not None else " " * 8)
              + f"   idle peak memory {cell(memory, 5, 2)}x")
        if name.startswith("quillora") and frame is not None:
            verdicts.append((f"{name}: first frame <= 1.3x bare window", f"{frame:.2f}x", frame <= 1.3))
        if name.startswith("quillora"):
            idle, floor = median(results, "idle", 0), median(bare, "idle", 0)
            if idle is not None and floor is not None:
                verdicts.append((f"{name}: idle <= bare window + 15 MB", f"+{idle - floor:.1f} MB",
                                 idle - floor <= 15))
            playing = median(results, "playing", 0)
            if idle is not None and playing is not None:
                verdicts.append((f"{name}: playing <= idle + 40 MB", f"+{playing - idle:.1f} MB",
                                 playing - idle <= 40))
            slide = median(results, "slide-logos")
            if slide is not None:
                verdicts.append((f"{name}: a wrap round the catalogue <= 3 logo requests", f"{slide:.0f}",
                                 slide <= 3))
            card = median(results, "card-after-frame")
            if card is not None and ("local" in name or name.endswith("warm")):
                verdicts.append((f"{name}: first card - first frame <= 1 frame", f"{card:.1f} ms",
                                 card <= 16.7))
        shown = median(results, "shown-after-download")
        if f"{stations} stations" in name and shown is not None:
            verdicts.append((f"{name}: shown <= 300 ms after download", f"{shown:.0f} ms", shown <= 300))

    print()
    print("Targets")
    if not verdicts:
        print("  none measured (quillora did not run)")
    for what, figure, met in verdicts:
        print(f"  {what:66s} {figure:>9s}  {'met' if met else 'NOT MET'}")


def linked_library(binary, name):
    """The path of the shared library `name` that `binary` loads, or None."""
    result = subprocess.run(["ldd", binary], capture_output=True, text=True)
    for line in result.stdout.splitlines():
        words = line.split()
        if len(words) >= 3 and words[0].startswith(name) and words[1] == "=>":
            return words[2]
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", help="build directory holding quillora and Benchmarks/Startup/bare-window")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="short idle and playing waits (a smoke run)")
    parser.add_argument("--stations", type=int, default=10000, help="size of the big catalogue")
    parser.add_argument("--few", type=int, default=5, help="size of the small catalogues")
    parser.add_argument("--geometry", metavar="WxH",
                        help="the Qt windows' size (e.g. 1280x800: quillora's wide layout with its station list)")
    parser.add_argument("--software", action="store_true",
                        help="Qt Quick's software renderer for both Qt programs (default: OpenGL, llvmpipe on Xvfb)")
    args = parser.parse_args()
    if args.geometry:
        WINDOW_ARGS.extend(["-qwindowgeometry", args.geometry + "+0+0"])
    build = os.path.abspath(args.build)
    quillora = os.path.join(build, "quillora")
    bare = os.path.join(build, "Benchmarks", "Startup", "bare-window")
    for binary in (quillora, bare):
        if not os.access(binary, os.X_OK):
            raise SystemExit(f"{binary} is missing: build it first")
    idle, play = (1.0, 2.0) if args.quick else (3.0, 5.0)

    # Bounded: every wait below has its own limit; this one ends the run.
    def overtime(*_):
        raise SystemExit("compare_startup.py: over its time limit")
    signal.signal(signal.SIGALRM, overtime)
    signal.alarm(120 + args.rounds * 240)

    work = tempfile.mkdtemp(prefix="qstart", dir="/tmp")
    os.chmod(work, 0o755)  # Icecast writes its logs below it as another user
    www = os.path.join(work, "www")
    os.mkdir(www)
    try:
        icecast = start_icecast(work)
        start_tone(icecast, "/tone.ogg", 440, channels=2, bitrate="128k")
        stream = f"http://127.0.0.1:{icecast}/tone.ogg"
        wait_for("Icecast mount", lambda: fetch(stream, limit=1))
        http_port = start_http(www, lifetime=180 + args.rounds * 240)
        catalogues = write_catalogues(www, http_port, stream, args.stations, args.few)
        bus = start_bus(work)
        display = start_xvfb(SCREEN)
        try:
            watcher = MapWatcher(display)
        except Exception as error:  # python3-xlib missing or no display
            print(f"window maps not timed: {error}")
            watcher = None

        # Each program starts once with an empty home (cold: no image cache,
        # no shader cache, no settings) and once more on what that left (warm).
        names = {"few": f"{args.few} stations", "big": f"{args.stations} stations", "local": f"local {args.few} stations"}
        local = os.path.join(www, "few.csv")
        # The bare window with libmpv and its dependencies loaded as well:
        # what linking the media player alone costs before main().
        preload = linked_library(quillora, "libmpv.so")
        programs = {f"{program} {cache}": [] for program in
                    ("bare-window", "bare-window+libmpv", f"quillora {names['few']}", f"quillora {names['big']}",
                     f"quillora {names['local']}", "goodvibes")
                    for cache in ("cold", "warm")}
        skipped = {}
        if not preload:
            skipped |= {f"bare-window+libmpv {cache}": "quillora does not link libmpv" for cache in ("cold", "warm")}
        for round_number in range(args.rounds):
            print(f"round {round_number + 1}/{args.rounds}", flush=True)
            for name in programs:
                if name in skipped:
                    continue
                warm = name.endswith("warm")
                home = f"{name.rsplit(' ', 1)[0].replace(' ', '-')}-{round_number}"
                env = private_env(work, home, display, bus)
                # Quillora picks the software renderer by itself on a server
                # without direct rendering (Xvfb): the OpenGL figures ask
                # for OpenGL explicitly.
                env["QUILLORA_RENDERER"] = "software" if args.software else "opengl"
                if args.software:
                    env["QT_QUICK_BACKEND"] = "software"
                try:
                    if name.startswith("bare-window+libmpv"):
                        result = run_bare(bare, env | {"LD_PRELOAD": preload}, watcher, idle)
                    elif name.startswith("bare-window"):
                        result = run_bare(bare, env, watcher, idle)
                    elif name.startswith("goodvibes"):
                        result = run_goodvibes(goodvibes_env(env), watcher, stream, idle, play if warm else 0)
                    else:
                        env |= {"QUILLORA_TRACE_STARTUP": "1", "QUILLORA_MPV_OPTIONS": "ao=null"}
                        if names["local"] in name:
                            result = run_quillora(quillora, env, watcher, local, http_port, idle, 0)
                        else:
                            size = "few" if names["few"] in name else "big"
                            result = run_quillora(quillora, env, watcher, catalogues[size], http_port, idle,
                                                   play if (size == "few" and warm) else 0, slide=size == "big")
                except Skipped as reason:
                    print(f"  {name}: skipped, {reason}")
                    skipped[name] = str(reason)
                    continue
                programs[name].append(result)
        report(programs, args.rounds, args.stations, "software renderer" if args.software else "on OpenGL")
        if skipped:
            print()
            for name, reason in skipped.items():
                print(f"not measured: {name}: {reason}")
        return 0
    finally:
        signal.alarm(0)
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
