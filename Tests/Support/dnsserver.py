#!/usr/bin/env python3
"""A tiny authoritative DNS server over UDP for tests.

Answers A, AAAA and PTR questions from the records given on the command line
and NXDOMAIN for anything else. It listens on port 53 (the only port a
resolver can be pointed at) of a random address in 127.0.0.0/8, so several
test runs on one machine do not collide, and prints "DNS <address>" on its
first line of standard output once it listens. Binding port 53 needs root
(or CAP_NET_BIND_SERVICE): without it, it prints "NOPERM" and exits 2.

  --record "NAME TYPE VALUE"   a record; TYPE is A, AAAA or PTR (repeatable)
  --silent                     read questions but never answer (timeouts)

It exits after --lifetime seconds in any case.
"""

import argparse
import ipaddress
import random
import socket
import struct
import sys

from httpserver import end_after

TYPES = {"A": 1, "PTR": 12, "AAAA": 28}


def encode_name(name):
    out = b""
    for label in name.rstrip(".").split("."):
        raw = label.encode()
        out += bytes([len(raw)]) + raw
    return out + b"\0"


def read_question(packet):
    """(name, type, end offset) of the first question, or None."""
    pos = 12
    labels = []
    while pos < len(packet):
        length = packet[pos]
        pos += 1
        if length == 0:
            break
        if length & 0xC0 or pos + length > len(packet):
            return None
        labels.append(packet[pos:pos + length].decode("ascii", "replace"))
        pos += length
    if pos + 4 > len(packet):
        return None
    qtype, _qclass = struct.unpack("!HH", packet[pos:pos + 4])
    return ".".join(labels).lower(), qtype, pos + 4


def rdata(rtype, value):
    if rtype == TYPES["A"]:
        return ipaddress.IPv4Address(value).packed
    if rtype == TYPES["AAAA"]:
        return ipaddress.IPv6Address(value).packed
    return encode_name(value)


def answer(packet, records):
    if len(packet) < 12:
        return None
    question = read_question(packet)
    if question is None:
        return None
    name, qtype, end = question
    found = [value for (rname, rtype), values in records.items()
             if rname == name and rtype == qtype for value in values]
    (ident,) = struct.unpack("!H", packet[:2])
    rcode = 0 if found or any(rname == name for rname, _ in records) else 3
    header = struct.pack("!HHHHHH", ident, 0x8400 | 0x0100 | 0x0080 | rcode, 1, len(found), 0, 0)
    body = packet[12:end]
    for value in found:
        data = rdata(qtype, value)
        body += struct.pack("!HHHIH", 0xC00C, qtype, 1, 60, len(data)) + data
    return header + body


def bind_random_loopback():
    for _ in range(50):
        address = f"127.{random.randint(1, 254)}.{random.randint(0, 255)}.{random.randint(1, 254)}"
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        try:
            sock.bind((address, 53))
            return sock, address
        except PermissionError:
            sock.close()
            return None, None
        except OSError:
            sock.close()
    return None, None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--record", action="append", default=[])
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--lifetime", type=float, default=300)
    args = parser.parse_args()
    records = {}
    for record in args.record:
        name, rtype, value = record.split()
        records.setdefault((name.lower().rstrip("."), TYPES[rtype.upper()]), []).append(value)
    sock, address = bind_random_loopback()
    if sock is None:
        print("NOPERM", flush=True)
        sys.exit(2)
    end_after(args.lifetime)
    print(f"DNS {address}", flush=True)
    while True:
        packet, peer = sock.recvfrom(4096)
        if args.silent:
            continue
        reply = answer(packet, records)
        if reply is not None:
            sock.sendto(reply, peer)


if __name__ == "__main__":
    main()
