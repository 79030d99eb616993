#!/usr/bin/env python3
"""A small station directory on 127.0.0.1 for tests and benchmarks.

Speaks the subset of the community directory's JSON API that Quillora uses:

  GET /json/stations/search   name, tag, countrycode (filters), order,
                              reverse, hidebroken, limit, offset
  GET /json/tags              order (name or stationcount), reverse, limit
  GET /json/url/<uuid>        counts a click for the station

over its own list of generated stations (--stations N) or a JSON file of
station objects (--stations-file). Generated station i has the identifier
"0000000i-0000-4000-8000-00000000000i" (hex, zero-padded), the name
"Station i" (i zero-padded to four digits), clickcount N - i, and every 17th
one fails its last check (hidden by hidebroken=true).

Control paths for the tests:

  /__requests      JSON list of every request seen (method, path, query as
                   name -> list of values, headers with lower-case names), in
                   order of arrival, recorded before the answer is sent
  /__clicks        JSON object: station identifier -> clicks counted
  /__aborted       JSON list: bytes sent of each endless answer the client
                   hung up on
  /__mode?mode=M   how the /json/ endpoints answer from now on; delay=S (slow
                   mode, default 30) and only_name=T (only searches whose name
                   is T; others answer normally) may go with it
  /__reset         forget requests and clicks, back to mode normal

Modes: normal, slow (wait, then answer), status500, html (an HTML page with
200), truncated (200 with JSON cut in half), cut (announces the full length,
closes half-way), huge (a 10 MB array), endless (an array that goes on for
256 MB, no length announced).

It prints "PORT <n>" on its first line of standard output once it listens,
and exits after --lifetime seconds in any case.
"""

import argparse
import json
import threading
import time
import urllib.parse

from httpserver import QuietHandler, serve

TAGS = ["rock,pop", "jazz", "news,talk", "classical", "pop,dance"]
COUNTRIES = ["DE", "FR", "US", "AT", "GB"]


def generated_station(i, total):
    uuid = f"{i:08x}-0000-4000-8000-{i:012x}"
    return {
        "changeuuid": uuid,
        "stationuuid": uuid,
        "name": f"Station {i:04d}",
        "url": f"http://127.0.0.1:9/stream{i}",
        "url_resolved": f"http://127.0.0.1:9/stream{i}.mp3",
        "homepage": "http://127.0.0.1:9/",
        "favicon": f"http://127.0.0.1:9/logo{i}.png",
        "tags": TAGS[i % len(TAGS)],
        "country": "",
        "countrycode": COUNTRIES[i % len(COUNTRIES)],
        "language": "english",
        "votes": i,
        "codec": "MP3",
        "bitrate": 128,
        "hls": 0,
        "lastcheckok": 0 if i % 17 == 16 else 1,
        "clickcount": total - i,
    }


class State:
    lock = threading.Lock()
    stations = []
    requests = []
    clicks = {}
    aborted = []
    mode = "normal"
    delay = 30.0
    only_name = None
    huge = None


class Handler(QuietHandler):
    def _send(self, status, body, ctype="application/json", length=None, close=False):
        try:
            self.send_response(status)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(body) if length is None else length))
            self.send_header("Cache-Control", "no-store")
            if close:
                self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass
        if close:
            self.close_connection = True

    def _endless(self):
        # No length announced: only counting while downloading can stop it.
        chunk = b"[" + b'{"name": "x", "url": "http://127.0.0.1:9/s"},' * 1500
        sent = 0
        try:
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.send_header("Connection", "close")
            self.end_headers()
            while sent < 256 * 1024 * 1024:
                self.wfile.write(chunk)
                sent += len(chunk)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            with State.lock:
                State.aborted.append(sent)
        self.close_connection = True

    def _json(self, value, status=200):
        self._send(status, json.dumps(value).encode())

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
        path = urllib.parse.unquote(url.path)
        if path.startswith("/__"):
            return self._control(path, query)
        with State.lock:
            State.requests.append({
                "method": self.command, "path": path, "query": query,
                "headers": {k.lower(): v for k, v in self.headers.items()}})
            mode, delay, only_name = State.mode, State.delay, State.only_name
        name = query.get("name", [None])[0]
        if only_name is not None and name != only_name:
            mode = "normal"
        if mode != "normal" and path.startswith("/json/"):
            return self._hostile(mode, delay, path, query)
        self._answer(path, query)

    do_POST = do_GET

    def _control(self, path, query):
        with State.lock:
            if path == "/__requests":
                body = json.dumps(State.requests)
            elif path == "/__clicks":
                body = json.dumps(State.clicks)
            elif path == "/__aborted":
                body = json.dumps(State.aborted)
            elif path == "/__mode":
                State.mode = query.get("mode", ["normal"])[0]
                if State.mode == "huge":
                    huge_answer()  # made now, so that answering takes no time
                State.delay = float(query.get("delay", [30])[0])
                State.only_name = query.get("only_name", [None])[0]
                body = "{}"
            elif path == "/__reset":
                State.requests.clear()
                State.clicks.clear()
                State.aborted.clear()
                State.mode, State.delay, State.only_name = "normal", 30.0, None
                body = "{}"
            else:
                body = None
        if body is None:
            return self._send(404, b"{}")
        self._send(200, body.encode())

    def _answer(self, path, query):
        if path == "/json/stations/search":
            return self._json(search(query))
        if path == "/json/tags":
            return self._json(tags(query))
        if path.startswith("/json/url/"):
            uuid = path[len("/json/url/"):]
            station = next((s for s in State.stations if s.get("stationuuid") == uuid), None)
            if station is None:
                return self._json({"ok": False, "message": "station not found"}, 404)
            with State.lock:
                State.clicks[uuid] = State.clicks.get(uuid, 0) + 1
            return self._json({"ok": True, "message": "retrieved station url", "stationuuid": uuid,
                               "name": station.get("name"), "url": station.get("url_resolved")})
        self._send(404, b"<html><body>Not found</body></html>", "text/html")

    def _hostile(self, mode, delay, path, query):
        if mode == "slow":
            time.sleep(delay)
            return self._answer(path, query)
        if mode == "status500":
            return self._send(500, b'{"error": "internal"}')
        if mode == "html":
            return self._send(200, b"<!DOCTYPE html><html><body><h1>Welcome</h1></body></html>", "text/html")
        if mode == "truncated":
            full = json.dumps(search(query) if path.endswith("/search") else tags(query)).encode()
            return self._send(200, full[:len(full) // 2])
        if mode == "cut":
            full = json.dumps(search(query)).encode()
            return self._send(200, full[:len(full) // 2], length=len(full), close=True)
        if mode == "huge":
            return self._send(200, huge_answer())
        if mode == "endless":
            return self._endless()
        self._send(400, b'{"error": "unknown mode"}')


def huge_answer():
    if State.huge is None:
        one = generated_station(1, 1)
        count = 10 * 1024 * 1024 // len(json.dumps(one)) + 1
        State.huge = json.dumps([generated_station(i, count) for i in range(count)]).encode()
    return State.huge


def flag(query, name):
    return query.get(name, ["false"])[0].lower() == "true"


def search(query):
    name = query.get("name", [""])[0].lower()
    tag = query.get("tag", [""])[0].lower()
    country = query.get("countrycode", [""])[0].upper()
    found = [s for s in State.stations
             if (not name or name in str(s.get("name", "")).lower())
             and (not tag or tag in [t.strip().lower() for t in str(s.get("tags", "")).split(",")])
             and (not country or str(s.get("countrycode", "")).upper() == country)
             and (not flag(query, "hidebroken") or s.get("lastcheckok") == 1)]
    order = query.get("order", [""])[0]
    if order in ("name", "clickcount", "votes", "bitrate"):
        found.sort(key=lambda s: s.get(order, 0), reverse=flag(query, "reverse"))
    offset = int(query.get("offset", ["0"])[0] or 0)
    limit = int(query.get("limit", ["100000"])[0] or 100000)
    return found[offset:offset + limit]


def tags(query):
    counts = {}
    for s in State.stations:
        for t in str(s.get("tags", "")).split(","):
            t = t.strip().lower()
            if t:
                counts[t] = counts.get(t, 0) + 1
    items = [{"name": t, "stationcount": c} for t, c in counts.items()]
    order = query.get("order", ["name"])[0]
    items.sort(key=lambda x: x["stationcount" if order == "stationcount" else "name"],
               reverse=flag(query, "reverse"))
    limit = int(query.get("limit", ["100000"])[0] or 100000)
    return items[:limit]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--stations", type=int, default=200)
    parser.add_argument("--stations-file")
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()
    if args.stations_file:
        with open(args.stations_file, encoding="utf-8") as f:
            State.stations = json.load(f)
    else:
        State.stations = [generated_station(i, args.stations) for i in range(args.stations)]
    serve(Handler, args.lifetime)

if __name__ == "__main__":
    main()
