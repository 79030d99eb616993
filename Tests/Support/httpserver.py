#!/usr/bin/env python3
"""A small HTTP/1.1 server on 127.0.0.1 for tests and benchmarks.

Serves the files below --root. Behaviour is chosen per request by query
parameters, so one server can play every hostile peer a test needs:

  status=N        answer with status N (the file, if any, is still the body)
  delay=S         wait S seconds before every chunk of the body
  chunk=N         send the body in chunks of N bytes (default: all at once)
  truncate=N      announce the full length but close after N body bytes
  type=MIME       Content-Type to send (default: guessed from the name)
  tag=T           also count the request under "#T" (tells one test round's
                  requests from a late one of an earlier round to the same path)
  location=URL    also send "Location: URL" (with status=302: a redirect)
  hold=H          send nothing until /__release/H (a test checks what its
                  client does while an answer is on its way, at any speed)

Special paths:
  /__stats        JSON object: request path -> number of requests seen; a
                  body the client stopped reading (it closed the connection)
                  also counts under "!aborted <path>", a body sent whole
                  under "!done <path>" (so requests still in flight are the
                  requests less both)
  /__reset        forget the counts (and the agents)
  /__agents       JSON object: request path -> the User-Agent of its last request
  /__release/H    let the answers held under H (and later ones) go
  /__body/N       N bytes of 'x' (for size limits), text/plain

It prints "PORT <n>" on its first line of standard output once it listens,
and exits after --lifetime seconds in any case, so a crashed test cannot
leave it running.
"""

import argparse
import json
import mimetypes
import os
import signal
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

counts = {}
agents = {}
counts_lock = threading.Lock()
releases = {}  # hold name -> threading.Event


class QuietHandler(BaseHTTPRequestHandler):
    """What the handlers of the test servers share."""
    protocol_version = "HTTP/1.1"
    # Headers and body go out in separate writes; with Nagle's algorithm the
    # body then waits for the client's delayed ACK (40 ms per request).
    disable_nagle_algorithm = True

    def log_message(self, fmt, *args):  # keep test output quiet
        pass


def end_after(lifetime):
    """Ends the process on SIGTERM, and after `lifetime` seconds in any case,
    so that a crashed test cannot leave a server running."""
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    threading.Timer(lifetime, lambda: os._exit(0)).start()


def serve(handler, lifetime, port=0):
    """Serves on 127.0.0.1 and prints "PORT <n>" once it listens."""
    server = ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    end_after(lifetime)
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever(poll_interval=0.05)


class Handler(QuietHandler):
    root = "."

    def _count(self, path):
        with counts_lock:
            counts[path] = counts.get(path, 0) + 1

    def _send(self, status, body, ctype, query):
        chunk = int(query.get("chunk", [0])[0]) or len(body) or 1
        delay = float(query.get("delay", [0])[0])
        truncate = query.get("truncate")
        limit = int(truncate[0]) if truncate else len(body)
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        for location in query.get("location", []):
            self.send_header("Location", location)
        if truncate:
            self.send_header("Connection", "close")
        self.end_headers()
        if self.command == "HEAD":
            return
        sent = 0
        try:
            while sent < limit:
                if delay:
                    time.sleep(delay)
                piece = body[sent:min(sent + chunk, limit)]
                self.wfile.write(piece)
                self.wfile.flush()
                sent += len(piece)
        except (BrokenPipeError, ConnectionResetError):
            self._count("!aborted " + urllib.parse.unquote(urllib.parse.urlsplit(self.path).path))
            self.close_connection = True
            return
        if truncate:
            self.close_connection = True
        else:
            self._count("!done " + urllib.parse.unquote(urllib.parse.urlsplit(self.path).path))

    def handle_one_request(self):
        # A client that cancels a download resets the connection; that is
        # its right, not a server error worth a traceback.
        try:
            super().handle_one_request()
        except ConnectionResetError:
            self.close_connection = True

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        path = urllib.parse.unquote(url.path)
        if path == "/__stats":
            with counts_lock:
                body = json.dumps(counts).encode()
            return self._send(200, body, "application/json", {})
        if path == "/__agents":
            with counts_lock:
                body = json.dumps(agents).encode()
            return self._send(200, body, "application/json", {})
        if path.startswith("/__release/"):
            with counts_lock:
                releases.setdefault(path[len("/__release/"):], threading.Event()).set()
            return self._send(200, b"{}", "application/json", {})
        if path == "/__reset":
            with counts_lock:
                counts.clear()
                agents.clear()
            return self._send(200, b"{}", "application/json", {})
        self._count(path)
        with counts_lock:
            agents[path] = self.headers.get("User-Agent", "")
        for tag in query.get("tag", []):
            self._count("#" + tag)
        for hold in query.get("hold", []):
            with counts_lock:
                release = releases.setdefault(hold, threading.Event())
            release.wait(600)
        status = int(query.get("status", [200])[0])
        if path.startswith("/__body/"):
            body = b"x" * int(path[len("/__body/"):])
            return self._send(status, body, "text/plain", query)
        local = os.path.realpath(os.path.join(self.root, path.lstrip("/")))
        if not local.startswith(os.path.realpath(self.root) + os.sep) or not os.path.isfile(local):
            body = b"<html><body><h1>404 Not Found</h1></body></html>"
            return self._send(404 if status == 200 else status, body, "text/html", query)
        with open(local, "rb") as f:
            body = f.read()
        ctype = query.get("type", [None])[0] or mimetypes.guess_type(local)[0] or "application/octet-stream"
        self._send(status, body, ctype, query)

    do_HEAD = do_GET


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=".")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()
    Handler.root = args.root
    serve(Handler, args.lifetime, args.port)

if __name__ == "__main__":
    main()
