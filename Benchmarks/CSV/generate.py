#!/usr/bin/env python3
"""Writes a deterministic CSV benchmark file of about SIZE megabytes.

Two shapes, ten columns per row either way, no empty lines and no malformed
quoting, so every parser compared counts the same records:

  long   (default) integers, decimals, runs of words, non-ASCII text
         (accents, Greek, CJK, emoji), and quoted fields holding commas,
         doubled quotation marks and line breaks; fields of up to ~80 bytes.
  short  every field 5 to 25 bytes: mostly plain ASCII (numbers, codes,
         words, dates), some non-ASCII words, and about one field in five
         quoted, holding a comma, doubled quotation marks or a line break.
         Here the cost per field, not per byte, decides the speed.

    generate.py OUTPUT [--shape long|short] [--megabytes 100] [--seed 20261206]
"""
import argparse
import random

WORDS = ["radio", "jazz", "stream", "night", "Café", "Müller", "naïve", "smørrebrød", "Ελληνικά", "日本語",
         "한국어", "Привет", "😀🎶", "łódź", "façade", "über", "ñandú", "tea", "blue", "note"]
ASCII_WORDS = ["radio", "jazz", "rock", "news", "talk", "live", "night", "blue", "note", "city", "folk",
               "pop", "metal", "classic", "soul", "ambient", "FM", "AM", "stream", "station", "london", "paris"]
NON_ASCII = ["Café", "Müller", "naïve", "Ελληνικά", "日本語", "한국어", "Привет", "łódź", "façade", "über",
             "ñandú", "Zürich", "São Paulo", "Kraków", "😀🎶"]


def quoted(text):
    return '"' + text.replace('"', '""') + '"'


def long_field(rng, column):
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


def fit(text, size):
    """text cut or padded (with ASCII letters) to exactly size UTF-8 bytes, never inside a scalar."""
    out, used = [], 0
    for c in text:
        n = len(c.encode())
        if used + n > size:
            break
        out.append(c)
        used += n
    return "".join(out) + "x" * (size - used)


def words_of(rng, pool, size):
    text = rng.choice(pool)
    while len(text.encode()) < size:
        text += rng.choice([" ", "_", "-"]) + rng.choice(pool)
    return fit(text, size)


def short_field(rng):
    size = rng.randint(5, 25)   # bytes of the field as written, quotes included
    kind = rng.random()
    if kind < 0.22:             # numbers, plain and decimal
        digits = "".join(rng.choice("0123456789") for _ in range(size))
        if size > 6 and rng.random() < 0.5:
            point = rng.randrange(1, size - 2)
            digits = digits[:point] + "." + digits[point + 1:]
        return digits
    if kind < 0.30:             # dates and times
        return fit(f"2026-{rng.randint(1, 12):02}-{rng.randint(1, 28):02}T{rng.randint(0, 23):02}:"
                   f"{rng.randint(0, 59):02}:{rng.randint(0, 59):02}Z", size)
    if kind < 0.42:             # codes and identifiers
        alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"
        return "".join(rng.choice(alphabet) for _ in range(size))
    if kind < 0.70:             # words
        return words_of(rng, ASCII_WORDS, size)
    if kind < 0.80:             # non-ASCII words
        return words_of(rng, NON_ASCII + ASCII_WORDS, size)
    # Quoted: the body is size - 2 bytes as written, doubled quotes included.
    body = size - 2
    if kind < 0.90:             # a comma inside
        left = rng.randint(1, max(1, body - 3))
        text = words_of(rng, ASCII_WORDS, left) + ", " + words_of(rng, ASCII_WORDS, max(1, body - left - 2))
        return quoted(fit(text, body))
    if kind < 0.96:             # doubled quotation marks inside: two marks, each written twice
        text = words_of(rng, ASCII_WORDS + NON_ASCII, max(1, body - 4))
        first = rng.randint(0, len(text))
        second = rng.randint(first, len(text))
        return quoted(text[:first] + '"' + text[first:second] + '"' + text[second:])
    # a line break inside, LF or CRLF
    newline = rng.choice(["\n", "\r\n"])
    left = rng.randint(1, max(1, body - len(newline) - 1))
    right = max(1, body - left - len(newline))
    return quoted(words_of(rng, ASCII_WORDS, left) + newline + words_of(rng, ASCII_WORDS, right))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--shape", choices=["long", "short"], default="long")
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
                if args.shape == "long":
                    row = ",".join(long_field(rng, c) for c in range(10))
                else:
                    row = ",".join(short_field(rng) for _ in range(10))
                lines.append(row + rng.choice(["\n", "\n", "\n", "\r\n"]))
            chunk = "".join(lines)
            out.write(chunk)
            written += len(chunk.encode())


if __name__ == "__main__":
    main()
