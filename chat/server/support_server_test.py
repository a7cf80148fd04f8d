#!/usr/bin/env python3
"""The support server stands in for a real one: many clients at once, clients
that vanish at every step, and the server still answers the next."""

import os
import socket
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from lumo_wire import HELLO, packet, read_packet, text_of  # noqa: E402


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Control:
    def __init__(self, port):
        for _ in range(100):
            try:
                self.conn = socket.create_connection(("127.0.0.1", port))
                break
            except OSError:
                time.sleep(0.05)
        self.reader = self.conn.makefile("r")

    def ask(self, line):
        self.conn.sendall((line + "\n").encode())
        replies = []
        for reply in self.reader:
            if reply == ".\n":
                return replies
            replies.append(reply.rstrip("\n"))
        raise AssertionError("the server went away")


def logged_in_client(port, name):
    conn = socket.create_connection(("127.0.0.1", port))
    conn.sendall(HELLO)
    assert conn.recv(8) == HELLO
    conn.sendall(packet((" /$winClient USER %s PASS x@y.z" % name).encode()))
    return conn


def main():
    chat_port, control_port = free_port(), free_port()
    server = subprocess.Popen([sys.executable, os.path.join(HERE, "support_server.py"),
                               "--port", str(chat_port), "--control", str(control_port),
                               "--quiet"], stdin=subprocess.DEVNULL)
    try:
        control = Control(control_port)
        # Clients that vanish: before their hello, halfway through it, with a
        # reset after it, and in the middle of a packet.
        for cut in (b"", HELLO[:3], HELLO, HELLO + packet(b"half a line")[:15]):
            conn = socket.create_connection(("127.0.0.1", chat_port))
            conn.sendall(cut)
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\1\0\0\0\0\0\0\0")
            conn.close()
        # Sixty clients at once, each heard and answered on its own.
        clients = [logged_in_client(chat_port, "c%d" % i) for i in range(60)]
        # (A vanished client may have been listed too, without a login.)
        deadline = time.monotonic() + 20
        while True:
            logins = {}
            for row in control.ask(":clients"):
                number, state, login = (row.split(None, 2) + [""])[:3]
                if login.startswith(" /$winClient") or login.startswith("/$winClient"):
                    logins[number] = login
            if len(logins) == 60 or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        assert sorted(logins.values()) == sorted(
            "/$winClient USER c%d PASS x@y.z" % i for i in range(60)), logins
        numbers = list(logins)
        # A client that is gone makes the command that names it fail alone.
        clients[0].close()
        first = [n for n in numbers if control.ask(":lines %s" % n)[0].endswith("c0 PASS x@y.z")]
        assert control.ask(":wait-closed %s 10" % first[0]) == ["ok"]
        control.ask(":send %s anyone?" % first[0])
        last = [n for n in numbers if control.ask(":lines %s" % n)[0].endswith("c59 PASS x@y.z")]
        control.ask(":chat %s Bob still here" % last[0])
        assert text_of(read_packet(clients[59])) == "/$chat Bob: still here"
        for conn in clients[1:]:
            conn.close()
        print("support server: 60 clients and 4 vanished ones served")
    finally:
        server.kill()
        server.wait()


if __name__ == "__main__":
    main()
