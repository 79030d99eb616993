#!/usr/bin/env python3
"""Times csvtool's readers against Python's csv module and the Rust csv crate.

On two generated files (see generate.py), in one run:
  long-field   about 100 MB, fields up to ~80 bytes
  short-field  about 60 MB, ten fields of 5-25 bytes per row
each read by
  csvtool --count            the stream reader
  csvtool --count --string   the string reader (over a memory map of the file)
  python csv                 csv.reader counting rows and fields
  rust csv                   the csv crate's StringRecord reader (rust-count/)
  csvtool ... --strings      (for information) the string reader through
                             next(), a std::string per field, not views
  floor: map / floor: read   ReadFloor: mapping the file and touching every
                             line, or reading it through a 64 KB buffer: what
                             the string / stream reader pays before parsing
  floor: copy                ReadFloor: reading the file whole into memory
                             backed by huge pages, the way csvtool --string
                             did before it mapped files
The readers take turns, REPEAT rounds; each line shows the median time and
the range. Prints the throughputs in MB/s, our ratios against the targets
(string reader >= 10x Python and >= 2.5x Rust, stream reader >= string
reader) and against the floors, and checks that all counts agree. Then
streams about 1 GB of each shape through `csvtool --count` and prints its
peak resident memory against 20 MB.

    compare.py BUILD_DIR [--work DIR] [--repeat 5] [--long-megabytes 100]
               [--short-megabytes 60] [--skip-gigabyte] [--no-extras]

Exit status 1 when the counts disagree or a program fails; the targets are
reported, not enforced (timings depend on the machine and its load).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON_COUNT = """
import csv, sys
rows = fields = 0
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    for row in csv.reader(f):
        rows += 1
        fields += len(row)
print(rows, fields)
"""
STREAM, STRING, PYTHON, RUST = "csvtool --count (stream)", "csvtool --count --string", "python csv", "rust csv crate"
STRINGS, MAP, READ, COPY = "csvtool ... --string --strings", "floor: map", "floor: read", "floor: copy"


def run(command):
    """Runs a command; returns (stdout, seconds, peak RSS in MB).

    The peak comes from GNU time: a child forked from this Python process
    would report at least Python's own resident size.
    """
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, capture_output=True)
    seconds = time.perf_counter() - start
    stderr = result.stderr.decode(errors="replace").strip().splitlines()
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({result.returncode}): {' '.join(stderr[-3:])}")
    return result.stdout.decode().strip(), seconds, int(stderr[-1]) / 1024.0


def build_rust_counter(work):
    cargo = "/usr/bin/cargo" if os.path.exists("/usr/bin/cargo") else shutil.which("cargo")
    if not cargo:
        sys.exit("cargo not found: install the packages of Benchmarks/peers.txt")
    env = dict(os.environ, CARGO_TARGET_DIR=os.path.join(work, "rust-target"))
    if os.path.exists("/usr/bin/rustc"):
        env["RUSTC"] = "/usr/bin/rustc"   # the toolchain Debian's crates are packaged for
    subprocess.run([cargo, "build", "--release", "--quiet", "--offline"], cwd=os.path.join(HERE, "rust-count"),
                   env=env, check=True)
    return os.path.join(work, "rust-target", "release", "rust-count")


def generated(work, shape, megabytes):
    data = os.path.join(work, f"bench-{shape}-{megabytes:g}mb.csv")
    if not os.path.exists(data):
        print(f"generating {data}", flush=True)
        subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), data + ".part", "--shape", shape,
                        "--megabytes", str(megabytes)], check=True)
        os.replace(data + ".part", data)
    return data


def verdict(value, target):
    return "met" if value >= target else "NOT MET"


def compare_file(label, data, readers, repeat):
    """Times every reader on data; returns (MB/s by reader, counts by reader)."""
    megabytes = os.path.getsize(data) / 1e6
    times = {name: [] for name, _ in readers}
    outputs, peaks = {}, {}
    for _ in range(repeat):   # taking turns spreads the machine's changing load over all readers
        for name, command in readers:
            output, seconds, rss = run(command + [data])
            times[name].append(seconds)
            outputs[name] = output
            peaks[name] = max(peaks.get(name, 0), rss)
    print(f"{label} file: {data} ({megabytes:.1f} MB), median of {repeat} runs [range]")
    speed = {}
    for name, _ in readers:
        median = statistics.median(times[name])
        speed[name] = megabytes / median
        print(f"  {name:26} {median:7.3f} s  {speed[name]:8.1f} MB/s  [{megabytes / max(times[name]):7.1f} "
              f"- {megabytes / min(times[name]):7.1f}]  peak RSS {peaks[name]:7.1f} MB  count {outputs[name]}",
              flush=True)
    stream, string = speed[STREAM], speed[STRING]
    print(f"  ratios ({label}):")
    for text, value, target in [("string reader / python csv", string / speed[PYTHON], 10),
                                ("string reader / rust csv", string / speed[RUST], 2.5),
                                ("stream reader / string reader", stream / string, 1)]:
        print(f"    {text:30} {value:6.2f}  (target >= {target:g}: {verdict(value, target)})")
    if MAP in speed:
        print(f"    {'string reader / floor: map':30} {string / speed[MAP]:6.2f}  (parsing adds what is left)")
        print(f"    {'stream reader / floor: read':30} {stream / speed[READ]:6.2f}")
    counts = {name: output for name, output in outputs.items() if name not in (MAP, READ, COPY)}
    floors_ok = all(outputs[name] == str(os.path.getsize(data)) for name in (MAP, READ, COPY) if name in outputs)
    if len(set(counts.values())) == 1 and floors_ok:
        print("  counts agree")
    else:
        print(f"  COUNTS DIFFER: {outputs}")
    return speed, counts


def gigabyte_check(csvtool, work, label, data, count):
    """Streams about 1 GB made of copies of data; True when the count is right."""
    big = os.path.join(work, f"bench-{label}-1gb.csv")
    copies = max(1, round(1000 / (os.path.getsize(data) / 1e6)))
    with open(big, "wb") as out:
        for _ in range(copies):
            with open(data, "rb") as source:
                shutil.copyfileobj(source, out, 1 << 20)
    try:
        size = os.path.getsize(big) / 1e6
        output, seconds, rss = run([csvtool, "--count", big])
        expected = " ".join(str(int(n) * copies) for n in count.split())
        print(f"1 GB stream read ({label}): {size:.0f} MB in {seconds:.2f} s ({size / seconds:.1f} MB/s), "
              f"peak RSS {rss:.1f} MB (target < 20 MB: {'met' if rss < 20 else 'NOT MET'}), count {output}")
        if output != expected:
            print(f"COUNT DIFFERS: expected {expected}")
            return False
        return True
    finally:
        os.remove(big)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--work", help="folder for generated files (default BUILD/csv-bench)")
    parser.add_argument("--repeat", type=int, default=5, help="runs of each reader; the median counts")
    parser.add_argument("--long-megabytes", type=float, default=100)
    parser.add_argument("--short-megabytes", type=float, default=60)
    parser.add_argument("--skip-gigabyte", action="store_true", help="skip the 1 GB memory checks")
    parser.add_argument("--no-extras", action="store_true", help="only the four readers: no --strings, no floors")
    args = parser.parse_args()

    csvtool = os.path.join(args.build, "csvtool")
    if not os.access(csvtool, os.X_OK):
        sys.exit(f"{csvtool} not found: build it first (make bench does)")
    work = os.path.abspath(args.work or os.path.join(args.build, "csv-bench"))
    os.makedirs(work, exist_ok=True)
    files = [("long-field", generated(work, "long", args.long_megabytes)),
             ("short-field", generated(work, "short", args.short_megabytes))]
    readers = [
        (STREAM, [csvtool, "--count"]),
        (STRING, [csvtool, "--count", "--string"]),
        (PYTHON, [sys.executable, "-c", PYTHON_COUNT]),
        (RUST, [build_rust_counter(work)]),
    ]
    if not args.no_extras:
        readers.append((STRINGS, [csvtool, "--count", "--string", "--strings"]))
        floor = os.path.join(args.build, "Benchmarks", "CSV", "ReadFloor")
        if os.access(floor, os.X_OK):
            readers += [(MAP, [floor, "map"]), (READ, [floor, "read"]), (COPY, [floor, "copy"])]
    print(f"python: {sys.executable} {sys.version.split()[0]}")

    ok = True
    counts = {}
    for label, data in files:
        _, outputs = compare_file(label, data, readers, args.repeat)
        ok = ok and len(set(outputs.values())) == 1
        counts[label] = outputs[STREAM]
    if not args.skip_gigabyte:
        for label, data in files:
            ok = gigabyte_check(csvtool, work, label, data, counts[label]) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
