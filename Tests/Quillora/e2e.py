"""What the end-to-end scripts share: starting the player with private
folders, reading its output, waiting for conditions, failing with what it
said, the media controls, screen grabs, and one run in a scratch folder with
every peer stopped on the way out."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
SUPPORT = os.path.join(HERE, "..", "Support")
sys.path.insert(0, SUPPORT)
import livepeers  # noqa: E402

WIDTH, HEIGHT = 440, 800

player_output = []  # the Output of the player under test, for failure reports


def fail(message):
    if player_output:
        print("quillora said:\n" + player_output[-1].text(), flush=True)
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


def mpris_quit(process, timeout=15):
    """Quits through the media controls, as the desktop would; the store is
    written on the way out."""
    subprocess.run(["timeout", "5", "dbus-send", "--session", "--type=method_call", "--print-reply",
                    "--dest=org.mpris.MediaPlayer2.quillora", "/org/mpris/MediaPlayer2",
                    "org.mpris.MediaPlayer2.Quit"], check=True, stdout=subprocess.DEVNULL)
    try:
        if process.wait(timeout) != 0:
            fail(f"quillora exited with {process.returncode}")
    except subprocess.TimeoutExpired:
        fail("quillora did not quit on the media controls' Quit")


def player_env(home, display=None, bus=None, **extra):
    """The player's own folders under `home` (fresh unless they exist),
    nothing naming a catalogue, no sound card."""
    os.makedirs(home, exist_ok=True)
    env = {k: v for k, v in os.environ.items() if k != "QUILLORA_CATALOGUE_URL"}
    env.update(QUILLORA_TRACE_STARTUP="1", HOME=home, XDG_CACHE_HOME=os.path.join(home, "cache"),
               XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"),
               QUILLORA_MPV_OPTIONS="ao=null")
    if display:
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", QUILLORA_COLOR_SCHEME="light")
    if bus:
        env["DBUS_SESSION_BUS_ADDRESS"] = bus
    env.update(extra)
    return env


def start_player(quillora, args, env, size=None, first_card=True):
    """Starts the player (a window at the top left when `size` is given);
    returns the process and its output, once the first card is shown."""
    geometry = ["-qwindowgeometry", f"{size[0]}x{size[1]}+0+0"] if size else []
    process = livepeers.start([quillora, *args, *geometry], env=env, stdout=subprocess.PIPE, stderr=None,
                              text=True)
    out = Output(process.stdout)
    player_output.append(out)
    if first_card:
        wait_for("first card", lambda: "startup: first-card" in out.text(), timeout=30)
    return process, out


def grab(display, work, width=WIDTH, height=HEIGHT, keep=None):
    """The top-left width x height of the screen as a function (x, y) ->
    (r, g, b). With QUILLORA_TEST_GRABS=<folder>, a `keep` name keeps the
    grab there to look at."""
    path = os.path.join(work, "grab.ppm")
    subprocess.run(["timeout", "20", "ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "x11grab",
                    "-video_size", f"{width}x{height}", "-i", display + "+0,0", "-frames:v", "1",
                    "-pix_fmt", "rgb24", path], check=True)
    if keep and os.environ.get("QUILLORA_TEST_GRABS"):
        shutil.copy(path, os.path.join(os.environ["QUILLORA_TEST_GRABS"], keep + ".ppm"))
    with open(path, "rb") as f:
        data = f.read()
    # P6 header: magic, width, height, maxval, each followed by whitespace.
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        start_at = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start_at:position])
    pixels = data[position + 1:]
    row = int(fields[1])
    return lambda x, y: tuple(pixels[(y * row + x) * 3:(y * row + x) * 3 + 3])


def close(a, b, tolerance=24):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def pcm_output(pcm):
    """mpv options that append what the player decodes to `pcm` as s16 mono."""
    open(pcm, "wb").close()
    return (f"ao=pcm,ao-pcm-file={pcm},ao-pcm-waveheader=no,ao-pcm-append=yes,"
            f"audio-format=s16,audio-channels=mono,audio-samplerate={livepeers.RATE}")


def pitch(pcm_path, start, seconds):
    """Frequency of the s16 mono audio written after byte offset start,
    estimated from zero crossings over the given duration."""
    wanted = int(seconds * livepeers.RATE) * 2
    wait_for("decoded audio", lambda: os.path.getsize(pcm_path) >= start + wanted, timeout=10)
    with open(pcm_path, "rb") as f:
        f.seek(start)
        data = f.read(wanted)
    samples = [int.from_bytes(data[i:i + 2], "little", signed=True) for i in range(0, len(data) - 1, 2)]
    crossings = sum(1 for a, b in zip(samples, samples[1:]) if (a < 0) != (b < 0))
    loud = max(abs(s) for s in samples) if samples else 0
    if loud < 1000:
        return 0.0
    return crossings / 2 / (len(samples) / livepeers.RATE)


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
    body = livepeers.icecast_stats(ice_port) or b""
    match = re.search(rb'<source mount="' + re.escape(mount.encode()) + rb'">.*?<listeners>(\d+)</listeners>',
                      body, re.S)
    return int(match.group(1)) if match else None


def main(run, prefix, tools, readable=False):
    """Checks the tools, then run(quillora, work) in a fresh scratch folder
    (short: bus socket paths are limited); stops every peer on the way out."""
    quillora = os.path.abspath(sys.argv[1])
    for tool in tools:
        if not shutil.which(tool):
            fail(tool + " is not installed")
    work = tempfile.mkdtemp(prefix=prefix, dir="/tmp")
    if readable:
        os.chmod(work, 0o755)  # icecast drops root and must reach its log folder
    try:
        run(quillora, work)
    finally:
        livepeers.stop_all()
        shutil.rmtree(work, ignore_errors=True)
