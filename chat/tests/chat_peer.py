#!/usr/bin/env python3
"""A chat server for the network tests that shares no code with the client.

Usage: chat_peer.py PROGRAM [ARGS...]

Listens on 127.0.0.1, one port per scenario, and runs the program with the
environment variable MENDORA_CHAT_PEER set to "scenario=port,...". The exit
code is the program's. The wire format comes from chat/server/lumo_wire.py
(OpenSSL's Blowfish), so that the client's cipher, framing and byte order are
checked against an independent implementation.
"""

import os
import socket
import struct
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "server"))
from lumo_wire import HELLO as OUR_HELLO, MAX_DATA, ecb, packet, raw_header, read_exact  # noqa: E402

CLIENT_HELLO = OUR_HELLO
IDLE_LIMIT = 30  # seconds a scenario waits for the client before giving up


def wait_for_close(conn):
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass


def handshake(conn, reply=OUR_HELLO):
    hello = read_exact(conn, 8)
    if hello != CLIENT_HELLO:
        # Tell the client its hello was wrong: it will report a bad protocol id.
        conn.sendall(b"BAD" + OUR_HELLO[3:])
        return False
    conn.sendall(reply)
    return True


# ---- scenarios: each gets one accepted connection ----

def echo(conn):
    """Checks every packet the client sends and answers with a report."""
    if not handshake(conn):
        return
    while True:
        header = read_exact(conn, 12)
        if header is None:
            return
        total, data, ptype = struct.unpack("<III", header)
        padded = data + (-data % 8)
        if data == 0 or data > MAX_DATA or total != 12 + padded:
            conn.sendall(packet(b"bad header %d %d %d" % (total, data, ptype)))
            return
        body = read_exact(conn, padded)
        if body is None:
            return
        plain = ecb(body, False)
        padding = "zero" if plain[data:] == b"\0" * (padded - data) else "dirty"
        report = b"echo total=%d data=%d type=%d padding=%s|" % (total, data, ptype,
                                                               padding.encode())
        conn.sendall(packet(report + plain[:data]))


def hello_reply(reply):
    def run(conn):
        read_exact(conn, 8)
        conn.sendall(reply)
        wait_for_close(conn)
    return run


def hello_short(conn):
    read_exact(conn, 8)
    conn.sendall(b"BLN\x01")


def hello_silent(conn):
    read_exact(conn, 8)
    wait_for_close(conn)


def after_handshake(send, keep_open=True):
    def run(conn):
        if not handshake(conn):
            return
        send(conn)
        if keep_open:
            wait_for_close(conn)
    return run


def scripted(conn):
    """Lines in the ways a server may deliver them."""
    conn.sendall(packet(b"/$chat Bob:hi"))
    conn.sendall(packet(b"abc\0def"))
    for byte in packet(b"delivered one byte at a time"):
        conn.sendall(bytes([byte]))
        time.sleep(0.002)
    conn.sendall(packet(b"one") + packet(b"two", 9))


def largest(conn):
    conn.sendall(packet(bytes((i * 7) % 255 + 1 for i in range(MAX_DATA)), 3))


SCENARIOS = {
    "echo": echo,
    "hello_minor": hello_reply(b"BLN" + struct.pack("<HHB", 1, 1, 1)),
    "hello_major": hello_reply(b"BLN" + struct.pack("<HHB", 2, 0, 1)),
    "hello_flag_major": hello_reply(b"BLN" + struct.pack("<HHB", 2, 0, 0)),
    "hello_protocol": hello_reply(b"XLN" + struct.pack("<HHB", 2, 3, 0)),
    "hello_short": hello_short,
    "hello_silent": hello_silent,
    "scripted": after_handshake(scripted, keep_open=False),
    "largest": after_handshake(largest),
    "too_large": after_handshake(
        lambda c: c.sendall(raw_header(12 + MAX_DATA + 8, MAX_DATA + 1) + b"x" * 64)),
    "zero": after_handshake(lambda c: c.sendall(raw_header(20, 0) + b"\0" * 8)),
    "short_total": after_handshake(lambda c: c.sendall(raw_header(11, 5) + b"x" * 16)),
    "data_over_body": after_handshake(lambda c: c.sendall(raw_header(16, 5) + b"x" * 16)),
    "huge_total": after_handshake(lambda c: c.sendall(raw_header(0xFFFFFFFF, 5) + b"x" * 16)),
    "mid_packet": after_handshake(lambda c: c.sendall(packet(b"cut short")[:17]),
                                  keep_open=False),
    "deaf": after_handshake(lambda c: time.sleep(IDLE_LIMIT), keep_open=False),
    "stall": after_handshake(lambda c: c.sendall(packet(b"never finished")[:17])),
}


def serve(listener, scenario):
    while True:
        conn, _ = listener.accept()
        conn.settimeout(IDLE_LIMIT)
        threading.Thread(target=handle, args=(conn, scenario), daemon=True).start()


def handle(conn, scenario):
    try:
        scenario(conn)
    except OSError:
        pass
    finally:
        conn.close()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    ports = []
    for name, scenario in SCENARIOS.items():
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        ports.append("%s=%d" % (name, listener.getsockname()[1]))
        threading.Thread(target=serve, args=(listener, scenario), daemon=True).start()
    # A port that is bound but not listening: connecting to it is refused.
    closed = socket.socket()
    closed.bind(("127.0.0.1", 0))
    ports.append("closed=%d" % closed.getsockname()[1])

    env = dict(os.environ, MENDORA_CHAT_PEER=",".join(ports))
    sys.exit(subprocess.call(sys.argv[1:], env=env))


if __name__ == "__main__":
    main()
