#!/usr/bin/env python3
"""Writes a deterministic CSV benchmark file of about SIZE megabytes.

Ten columns per row: integers, decimals, plain words, non-ASCII text
(accents, Greek, CJK, emoji), and quoted fields holding commas, doubled
quotation marks and line breaks. No empty lines and no malformed quoting,
so every parser compared counts the same records.

    generate.py OUTPUT [--megabytes 100] [--seed 20261206]
"""
import argparse
import random

WORDS = ["radio", "jazz", "stream", "night", "Café", "Müller", "naïve", "smørrebrød", "Ελληνικά", "日本語",
         "한국어", "Привет", "😀🎶", "łódź", "façade", "über", "ñandú", "tea", "blue", "note"]


def quoted(text):
    return '"' + text.replace('"', '""') + '"'


def field(rng, column):
    kind = column % 5
    if kind == 0:
        return str(rng.randrange(-10**9, 10**9))
    if kind == 1:
        return f"{rng.uniform(-1e6, 1e6):.4f}"
    words = " ".join(rng.choice(WORDS) for _ in range(rng.randrange(1, 6)))
    if kind == 2:
        return words.replace(" ", "_")
    if kind == 3:   # commas and doubled quotes inside quotes
        return quoted(f'{words}, "{rng.choice(WORDS)}", {rng.randrange(1000)}')
    # line breaks inside quotes, LF or CRLF
    return quoted(words + rng.choice(["\n", "\r\n"]) + rng.choice(WORDS))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--megabytes", type=float, default=100)
    parser.add_argument("--seed", type=int, default=20261206)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    target = int(args.megabytes * 1_000_000)
    written = 0
    with open(args.output, "w", encoding="utf-8", newline="") as out:
        header = ",".join(f"column{i}" for i in range(10)) + "\n"
        out.write(header)
        written += len(header.encode())
        while written < target:
            lines = []
            for _ in range(1000):
                lines.append(",".join(field(rng, c) for c in range(10)) + rng.choice(["\n", "\n", "\n", "\r\n"]))
            chunk = "".join(lines)
            out.write(chunk)
            written += len(chunk.encode())


if __name__ == "__main__":
    main()
