#!/usr/bin/env python3
"""A tiny Shoutcast-style (ICY) stream server on 127.0.0.1 for tests.

Streams an MP3 file in a loop, at about its bit rate, and, to clients that
ask for it (Icy-MetaData: 1), puts an ICY metadata block every --metaint
bytes whose StreamTitle is the raw bytes of --title-file: whatever a hostile
station might send (control characters, invalid UTF-8, as long as the ICY
block allows: 255 * 16 bytes).

Prints "PORT <n>" once it listens; GET /__stats answers the number of stream
requests as JSON; exits after --lifetime seconds in any case.
"""

import argparse
import json
import socket
import sys
import threading
import time

from httpserver import end_after

requests = 0
lock = threading.Lock()


def metadata_block(title):
    body = b"StreamTitle='" + title + b"';"
    body = body[:255 * 16]
    blocks = (len(body) + 15) // 16
    return bytes([blocks]) + body.ljust(blocks * 16, b"\0")


def serve(conn, audio, title, metaint, rate):
    global requests
    with conn:
        conn.settimeout(10)
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = conn.recv(4096)
            if not chunk:
                return
            head += chunk
            if len(head) > 65536:
                return
        lines = head.split(b"\r\n")
        path = lines[0].split(b" ")[1] if len(lines[0].split(b" ")) > 1 else b"/"
        if path == b"/__stats":
            with lock:
                body = json.dumps({"requests": requests}).encode()
            conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
                         + str(len(body)).encode() + b"\r\n\r\n" + body)
            return
        with lock:
            requests += 1
        wants_meta = any(line.lower().startswith(b"icy-metadata: 1") for line in lines)
        reply = b"ICY 200 OK\r\nContent-Type: audio/mpeg\r\nicy-name: Hostile FM\r\nicy-br: 128\r\n"
        if wants_meta:
            reply += b"icy-metaint: " + str(metaint).encode() + b"\r\n"
        conn.sendall(reply + b"\r\n")
        block = metadata_block(title)
        position = 0   # in the audio file
        since_meta = 0
        started = time.monotonic()
        sent = 0
        try:
            while True:
                piece = audio[position:position + 4096]
                if not piece:
                    position = 0
                    continue
                if wants_meta:
                    piece = piece[:metaint - since_meta]
                conn.sendall(piece)
                position += len(piece)
                sent += len(piece)
                since_meta += len(piece)
                if wants_meta and since_meta == metaint:
                    conn.sendall(block)
                    since_meta = 0
                # Real time after a one-second burst, like a station's server.
                ahead = sent / rate - (time.monotonic() - started) - 1.0
                if ahead > 0:
                    time.sleep(ahead)
        except OSError:
            return


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--audio", required=True)
    parser.add_argument("--title-file", required=True)
    parser.add_argument("--metaint", type=int, default=8192)
    parser.add_argument("--bytes-per-second", type=int, default=16000)
    parser.add_argument("--lifetime", type=float, default=300)
    args = parser.parse_args()
    with open(args.audio, "rb") as f:
        audio = f.read()
    with open(args.title_file, "rb") as f:
        title = f.read()
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(16)
    end_after(args.lifetime)
    print(f"PORT {server.getsockname()[1]}", flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn, audio, title, args.metaint, args.bytes_per_second),
                         daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
