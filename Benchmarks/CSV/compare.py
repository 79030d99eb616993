#!/usr/bin/env python3
"""Times csvtool's readers against Python's csv module and the Rust csv crate.

On one generated file of about 100 MB (see generate.py), in one run:
  csvtool --count            the stream reader
  csvtool --count --string   the string reader
  python csv                 csv.reader counting rows
  rust csv                   the csv crate counting records (rust-count/)
prints each throughput in MB/s, our ratios against the targets, and checks
that the four counts agree. Then streams a file of about 1 GB through
`csvtool --count` and prints its peak resident memory against 20 MB.

    compare.py BUILD_DIR [--work DIR] [--repeat 3] [--megabytes 100] [--skip-gigabyte]

Exit status 1 when the counts disagree or a program fails; the targets are
reported, not enforced (timings depend on the machine).
"""
import argparse
import os
import shutil
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


def best_of(repeat, command):
    results = [run(command) for _ in range(repeat)]
    return min(results, key=lambda result: result[1])


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--work", help="folder for generated files (default BUILD/csv-bench)")
    parser.add_argument("--repeat", type=int, default=3, help="runs of each reader; the best counts")
    parser.add_argument("--megabytes", type=float, default=100)
    parser.add_argument("--skip-gigabyte", action="store_true", help="skip the 1 GB memory check")
    args = parser.parse_args()

    csvtool = os.path.join(args.build, "csvtool")
    if not os.access(csvtool, os.X_OK):
        sys.exit(f"{csvtool} not found: build it first (make bench does)")
    work = os.path.abspath(args.work or os.path.join(args.build, "csv-bench"))
    os.makedirs(work, exist_ok=True)

    data = os.path.join(work, f"bench-{args.megabytes:g}mb.csv")
    if not os.path.exists(data):
        print(f"generating {data}", flush=True)
        subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), data + ".part",
                        "--megabytes", str(args.megabytes)], check=True)
        os.replace(data + ".part", data)
    megabytes = os.path.getsize(data) / 1e6
    rust_count = build_rust_counter(work)

    readers = [
        ("csvtool --count (stream)", [csvtool, "--count", data], args.repeat),
        ("csvtool --count --string", [csvtool, "--count", "--string", data], args.repeat),
        ("python csv", [sys.executable, "-c", PYTHON_COUNT, data], args.repeat),
        ("rust csv crate", [rust_count, data], args.repeat),
    ]
    print(f"file: {data} ({megabytes:.1f} MB)")
    speed, counts = {}, {}
    for name, command, repeat in readers:
        output, seconds, rss = best_of(repeat, command)
        speed[name] = megabytes / seconds
        counts[name] = output
        print(f"  {name:26} {seconds:7.3f} s  {speed[name]:8.1f} MB/s  peak RSS {rss:7.1f} MB  count {output}",
              flush=True)

    stream, string = speed["csvtool --count (stream)"], speed["csvtool --count --string"]
    print("ratios:")
    print(f"  string reader / rust csv   {string / speed['rust csv crate']:6.2f}  (target >= 1)")
    print(f"  string reader / python csv {string / speed['python csv']:6.2f}  (target >= 10)")
    print(f"  stream reader / string     {stream / string:6.2f}  (target >= 0.5)")

    ok = len(set(counts.values())) == 1
    print("counts agree" if ok else f"COUNTS DIFFER: {counts}")

    if not args.skip_gigabyte:
        big = os.path.join(work, "bench-1gb.csv")
        copies = max(1, round(1000 / megabytes))
        with open(big, "wb") as out:
            for _ in range(copies):
                with open(data, "rb") as source:
                    shutil.copyfileobj(source, out, 1 << 20)
        try:
            size = os.path.getsize(big) / 1e6
            output, seconds, rss = run([csvtool, "--count", big])
            expected = " ".join(str(int(n) * copies) for n in counts["csvtool --count (stream)"].split())
            print(f"1 GB stream read: {size:.0f} MB in {seconds:.2f} s ({size / seconds:.1f} MB/s), "
                  f"peak RSS {rss:.1f} MB (target < 20 MB), count {output}")
            if output != expected:
                print(f"COUNT DIFFERS: expected {expected}")
                ok = False
        finally:
            os.remove(big)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
