#!/usr/bin/env python3
"""Runs csvtool as a user would: output, exit codes, encodings, --write."""

import csv
import io
import json
import os
import random
import subprocess
import sys
import tempfile
import unittest

CSVTOOL = sys.argv.pop(1) if len(sys.argv) > 1 else "build/csvtool"


def run(args, data=b"", timeout=30):
    return subprocess.run([CSVTOOL, *args], input=data, capture_output=True, timeout=timeout)


class Reading(unittest.TestCase):
    def test_rows_as_json_lines(self):
        r = run(["--header"], b'id,title\n1,"Caf\xc3\xa9 ""FM"", live"\n2,"two\nlines"\n')
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stdout.decode(), '["id","title"]\n["1","Café \\"FM\\", live"]\n["2","two\\nlines"]\n')

    def test_control_characters_are_escaped_and_text_kept(self):
        r = run([], b'"\x01\t\\\x7f",\xe6\x9d\xb1\xf0\x9f\x98\x80\n')
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stdout, b'["\\u0001\\t\\\\\x7f","\xe6\x9d\xb1\xf0\x9f\x98\x80"]\n')
        self.assertEqual(json.loads(r.stdout), ["\x01\t\\\x7f", "東😀"])

    def test_construction_errors_exit_1(self):
        r = run(["--header"], b"")
        self.assertEqual((r.returncode, r.stderr, r.stdout), (1, b"cannotReadHeaderRow\n", b""))
        r = run(["/nonexistent/file.csv"])
        self.assertEqual((r.returncode, r.stderr), (1, b"cannotOpenFile\n"))
        with tempfile.TemporaryDirectory() as directory:  # opens, but cannot be read
            r = run([directory])
            self.assertEqual((r.returncode, r.stderr), (1, b"cannotReadFile\n"))
        r = run(["--encoding", "utf16le"], b"\xfe\xffa")
        self.assertEqual((r.returncode, r.stderr), (1, b"stringEndianMismatch\n"))

    def test_reading_error_exits_2_after_the_rows(self):
        r = run([], b"a,b\xffc\n\xfed\n")
        self.assertEqual(r.returncode, 2)
        self.assertEqual(r.stdout, b'["a","b"]\n["c"]\n["d"]\n')
        self.assertEqual(r.stderr, b"error: unicodeDecoding\n")
        r = run(["--encoding", "utf16be"], b"\x00a\x00")
        self.assertEqual((r.returncode, r.stdout, r.stderr), (2, b'["a"]\n', b"error: stringEncodingMismatch\n"))

    def test_encodings_and_options(self):
        text = "a;\u00e9 ; \"x\"\n\U0001F600"
        expected = '["a","é","x"]\n["😀"]\n'
        for name, data in [("utf16", b"\xff\xfe" + text.encode("utf-16-le")),
                           ("utf16", text.encode("utf-16-be")),
                           ("utf16le", text.encode("utf-16-le")),
                           ("utf32", b"\xff\xfe\x00\x00" + text.encode("utf-32-le")),
                           ("utf32be", text.encode("utf-32-be")),
                           ("utf8", b"\xef\xbb\xbf" + text.encode())]:
            r = run(["--encoding", name, "--delimiter", ";", "--trim"], data)
            self.assertEqual((r.returncode, r.stdout.decode()), (0, expected), (name, data))
        for name, data in [("utf16", b"\x00a"), ("utf16", b"\xff\xfea\x00"), ("utf32", b"\x00\x00\x00a")]:
            r = run(["--encoding", name], data)  # shorter than any mark
            self.assertEqual((r.returncode, r.stdout), (0, b'["a"]\n'), (name, data, r.stderr))
        r = run(["--delimiter", "\\t"], b"a\tb")
        self.assertEqual(r.stdout, b'["a","b"]\n')

    def test_count_and_string_agree(self):
        with tempfile.NamedTemporaryFile(suffix=".csv") as f:
            f.write(b'a,"b\n,c"\n\n"x""y",\xff\n1,2,3')
            f.flush()
            stream = run(["--count", f.name])
            string = run(["--count", "--string", f.name])
            # The bad byte ends a row early; the line break after it then
            # makes a row of its own.
            self.assertEqual((stream.stdout, stream.returncode), (b"5 9\n", 2))
            self.assertEqual(string.stdout, b"4 8\n")  # read as U+FFFD: one row fewer
            self.assertEqual(run(["--count", "--string", "--header"], b"h\n1\n2").stdout, b"3 3\n")

    def test_string_reads_maps_pipes_and_empty_files_alike(self):
        data = b'id,t\n1,"a,\r\nb"\r\n2,"say ""hi"""\n\xc3\xa9,\n' * 3000 + b"last"
        expected = run([], data)
        self.assertEqual(expected.returncode, 0, expected.stderr)
        with tempfile.TemporaryDirectory() as directory:
            path = os.path.join(directory, "in.csv")
            with open(path, "wb") as f:
                f.write(data)
            for args in (["--string", path], ["--string"], ["--string", "--strings", path], ["--strings", path]):
                r = run(args, b"" if path in args else data)
                self.assertEqual((r.returncode, r.stdout), (0, expected.stdout), args)
            empty = os.path.join(directory, "empty.csv")
            open(empty, "wb").close()
            self.assertEqual(run(["--string", empty]).returncode, 0)
            self.assertEqual(run(["--string", empty]).stdout, b"")
            r = run(["--string", "--header", empty])
            self.assertEqual((r.returncode, r.stderr), (1, b"cannotReadHeaderRow\n"))
            r = run(["--string", os.path.join(directory, "missing.csv")])
            self.assertEqual((r.returncode, r.stderr), (1, b"cannotOpenFile\n"))
        # A file that says it is empty but is not (as /proc files do) is read, not mapped.
        r = run(["--string", "--count", "/proc/self/status"])
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertNotEqual(r.stdout, b"0 0\n")

    def test_agrees_with_pythons_csv_module(self):
        rnd = random.Random(5)
        pieces = ["a", "é", "東", " ", ",", '"', "\n", "\r\n", "x y", ""]
        rows = [[
            "".join(rnd.choice(pieces) for _ in range(rnd.randrange(4))) for _ in range(rnd.randrange(1, 5))
        ] for _ in range(300)]
        rows = [r for r in rows if r != [""]]  # Python writes those as an empty line
        buffer = io.StringIO()
        csv.writer(buffer, lineterminator="\r\n").writerows(rows)
        data = buffer.getvalue().encode()
        python = [r for r in csv.reader(io.StringIO(buffer.getvalue(), newline=""))]
        for args in ([], ["--string"]):
            r = run(args, data)
            self.assertEqual(r.returncode, 0, r.stderr)
            ours = [json.loads(line) for line in r.stdout.decode().splitlines()]
            self.assertEqual(ours, python)

    def test_usage(self):
        self.assertEqual(run(["--help"]).returncode, 0)
        self.assertIn(b"usage", run(["--help"]).stdout)
        for args in (["--bogus"], ["--encoding", "latin1"], ["--delimiter", "ab"], ["--string", "--encoding", "utf16"],
                     ["--write", "--header"], ["a", "b"]):
            r = run(args)
            self.assertEqual(r.returncode, 1, args)
            self.assertTrue(r.stderr.startswith(b"csvtool: "), args)


class Writing(unittest.TestCase):
    def test_json_lines_to_csv(self):
        r = run(["--write"], b'["id","title"]\n["1","a,b"]\n[ "say \\"hi\\"" , "\\u00e9\\ud83d\\ude00" ]\n[""]\n')
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stdout.decode(), 'id,title\n1,"a,b"\n"say ""hi""",é😀\n""')
        r = run(["--write", "--delimiter", ";", "--newline", "crlf", "--encoding", "utf16le"], b'["a;b","c"]\n["d"]\n')
        self.assertEqual(r.stdout, '"a;b";c\r\nd'.encode("utf-16-le"))

    def test_round_trip_through_csvtool(self):
        rows = [["a", "b,c", 'q"q', "line\nbreak", "", "\t", "é東😀"], [""], ["x"], ["", ""]]
        lines = "".join(json.dumps(row) + "\n" for row in rows).encode()
        for encoding in ("utf8", "utf16be", "utf16le", "utf32be", "utf32le"):
            for delimiter in (",", ";", "\\t", "§"):
                written = run(["--write", "--encoding", encoding, "--delimiter", delimiter], lines)
                self.assertEqual(written.returncode, 0, written.stderr)
                read = run(["--encoding", encoding, "--delimiter", delimiter], written.stdout)
                self.assertEqual(read.returncode, 0, read.stderr)
                self.assertEqual([json.loads(line) for line in read.stdout.decode().splitlines()], rows,
                                 (encoding, delimiter))

    def test_bad_json_exits_1(self):
        for line in (b'["a",]', b"[1]", b'["a"', b'{"a":1}', b"", b'["\\ud800"]', b'["\\x"]', b'["a\tb"]',
                     b'["\xff"]', b'["a"] x'):
            r = run(["--write"], b'["ok"]\n' + line + b"\n")
            self.assertEqual(r.returncode, 1, line)
            self.assertTrue(r.stderr.startswith(b"csvtool: line 2: bad JSON"), (line, r.stderr))


if __name__ == "__main__":
    unittest.main(verbosity=1)
