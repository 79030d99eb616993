#!/usr/bin/env python3
"""Checks of the start-up benchmark's own parts: reading trace lines from a
real child process, the bare window's trace, and the verdicts of the report.

Usage: compare_startup_test.py path/to/bare-window
"""

import contextlib
import io
import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import compare_startup as bench  # noqa: E402

BARE_WINDOW = None


def child(script):
    """A Run of a Python child printing what `script` prints."""
    return bench.Run([sys.executable, "-u", "-c", script], dict(os.environ), watcher=None)


class TraceReading(unittest.TestCase):
    def tearDown(self):
        bench.stop_all()

    def test_events_in_any_order_among_other_output(self):
        run = child("import time\n"
                    "print('Loaded 3 stations')\n"
                    "print('startup: first-frame soon')\n"
                    "print('startup: catalogue-downloaded 40.5')\n"
                    "print('startup: first-frame 12.25')\n"
                    "print('startup: first-card 80')\n"
                    "time.sleep(30)\n")
        self.assertEqual(run.wait_event("first-frame", 10), 12.25)
        self.assertEqual(run.wait_event("first-card", 10), 80.0)
        self.assertEqual(run.own["catalogue-downloaded"], 40.5)
        # Read here after the spawn, in the order printed.
        self.assertGreater(run.wall["catalogue-downloaded"], 0)
        self.assertLessEqual(run.wall["catalogue-downloaded"], run.wall["first-card"])
        self.assertEqual(run.output, ["Loaded 3 stations", "startup: first-frame soon"])
        run.stop()
        self.assertIsNotNone(run.process.poll())

    def test_exit_before_the_event_is_a_skip_with_the_reason(self):
        run = child("import sys\nprint('startup: first-frame 5')\nprint('no window here')\nsys.exit(2)\n")
        with self.assertRaisesRegex(bench.Skipped, "status 2 before 'first-card': no window here"):
            run.wait_event("first-card", 10)

    def test_silence_is_a_skip_after_the_limit(self):
        run = child("import time\ntime.sleep(30)\n")
        with self.assertRaisesRegex(bench.Skipped, "no 'first-frame' within"):
            run.wait_event("first-frame", 0.3)
        run.stop()

    def test_bare_window_traces_its_first_frame_once(self):
        with tempfile.TemporaryDirectory() as runtime:
            os.chmod(runtime, 0o700)
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
            run = bench.Run([BARE_WINDOW], env, watcher=None)
            frame = run.wait_event("first-frame", 30)
            self.assertGreater(frame, 0)
            self.assertGreaterEqual(run.wall["first-frame"], frame)  # the spawn came before main()
            with self.assertRaises(bench.Skipped):  # later frames print nothing more
                run.wait_event("first-card", 1.0)
            self.assertEqual(run.output, [])
            self.assertIsNone(run.process.poll())
            run.stop()


class Verdicts(unittest.TestCase):
    @staticmethod
    def result(frame, mapped=None, shown=None, idle=100.0, playing=None, card=None):
        result = {"first-frame.wall": frame, "first-frame.own": frame - 20, "mapped": mapped or frame,
                  "idle": (idle, idle + 10)}
        if shown is not None:
            result["shown-after-download"] = shown
        if playing is not None:
            result["playing"] = (playing, playing + 10)
        if card is not None:
            result["card-after-frame"] = card
        return result

    def report(self, programs):
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            bench.report(programs, 3, 10000, "on OpenGL")
        return out.getvalue()

    def test_each_start_is_judged_against_the_bare_window_of_its_cache_state(self):
        programs = {
            "bare-window cold": [self.result(200), self.result(210), self.result(900)],
            "bare-window warm": [self.result(100)],
            # 250/210 = 1.19x the cold floor: met; 160/100 = 1.6x the warm one: not.
            "quillora 10000 stations cold": [self.result(250, shown=250, idle=114.0, card=30)],
            "quillora 10000 stations warm": [self.result(160, shown=320, idle=116.0, playing=150.0, card=16)],
            "goodvibes warm": [self.result(0, mapped=400)],
        }
        text = self.report(programs)
        lines = {line.split(":")[0].strip() + ":" + line.split(":")[1][:8]: line for line in text.splitlines()
                 if "<=" in line}
        self.assertRegex(lines["quillora 10000 stations cold: first f"], r"1\.19x\s+met$")
        self.assertRegex(lines["quillora 10000 stations warm: first f"], r"1\.60x\s+NOT MET$")
        self.assertRegex(lines["quillora 10000 stations cold: shown <"], r"250 ms\s+met$")
        self.assertRegex(lines["quillora 10000 stations warm: shown <"], r"320 ms\s+NOT MET$")
        # Memory against the bare window of the same cache state (100 MB).
        self.assertRegex(lines["quillora 10000 stations cold: idle <="], r"\+14\.0 MB\s+met$")
        self.assertRegex(lines["quillora 10000 stations warm: idle <="], r"\+16\.0 MB\s+NOT MET$")
        self.assertRegex(lines["quillora 10000 stations warm: playing"], r"\+34\.0 MB\s+met$")
        # The first card is judged where a catalogue was at hand: the warm start.
        self.assertRegex(lines["quillora 10000 stations warm: first c"], r"16\.0 ms\s+met$")
        self.assertNotIn("quillora 10000 stations cold: first c", lines)
        self.assertRegex(text, r"goodvibes warm\s+window map\s+4\.00x")

    def test_nothing_measured_says_so(self):
        text = self.report({"bare-window cold": [self.result(200)], "quillora 5 stations cold": []})
        self.assertIn("none measured", text)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    BARE_WINDOW = os.path.abspath(sys.argv.pop(1))
    unittest.main()
