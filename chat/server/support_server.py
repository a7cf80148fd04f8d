#!/usr/bin/env python3
"""Brisklane's support server, for trying Parleclient and for its tests.

Usage: support_server.py [--address ADDR] [--port PORT] [--control PORT]
                         [--quiet] [--run PROGRAM [ARGS...]]

Accepts chat clients on ADDR:PORT (127.0.0.1:9191 by default), exchanges the
hello record, and shows what each client sends, starting with its login line.
A person at the terminal talks to the clients: a line that starts with ":" is
a command (":help" lists them), any other line goes to the chosen client as
it stands, so "/$chat Alice: hello" or "Hello, how can I help?" both work.

With --control the same commands are taken on a second port on 127.0.0.1
(0: any free port), each answered by its output and a line ".". With --run
the server starts the program with MENDORA_SUPPORT_CONTROL set to that port,
ends when it ends and passes on its exit code: that is how the tests drive it.
"""

import argparse
import os
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumo_wire import HELLO, ecb, packet, read_exact, read_packet, text_of  # noqa: E402

# The key of the chat client's details file (settings\clientInfo.dat).
DETAILS_KEY = b"kestrelmoonfieldarch"

HELP = """Commands (ID is a client number; without it, the chosen client):
  :clients                  the clients, their state and login lines
  :use ID                   choose the client that plain lines go to
  :send ID TEXT             send TEXT as one line
  :chat [ID] NAME TEXT      a chat line from NAME ("/$chat NAME: TEXT")
  :notice [ID] TEXT         a plain line, shown as a notice
  :im [ID] NAME TEXT        an instant message ("/$im"); :imalert likewise
  :grab [ID] CLIENT AGENT   AGENT asks to take over CLIENT ("/$grabRequest")
  :sound [ID] admin|client  the logon sounds ("/$adminLogon", "/$clientLogon")
  :flash [ID]               a command that only flashes the taskbar button
  :talking [ID] NAME...     the agents the client talks to ("/$talkingTo")
  :ping [ID]                "/$ping", which the client ignores
  :empty [ID]               a packet whose text is empty (it starts with a NUL)
  :flood [ID] N             N lines at once, "flood 1" to "flood N"
  :close [ID]               end the client's connection
  :hello-delay SECONDS      hold the hello of clients that connect from now on
  :keepalive [ID]           the keep-alive timer of the client's own socket
                            (this machine's clients only): "on SECONDS" or "off"
  :lines ID                 the lines the client sent, oldest first
  :wait-client [SECONDS]    wait for a client not reported before; its ID
  :wait-lines ID N [SECONDS]   wait until client ID has sent N lines
  :wait-closed ID [SECONDS] wait until client ID has gone
  :details HEX              the text of a client details file given in hex
  :quit                     stop the server"""


HELLO_WAIT = 30  # seconds a new client has to send its hello


def keepalive_of(client, server_port):
    """The keep-alive timer of a client's socket on this machine, from the
    kernel's table of TCP sockets: "on SECONDS" while one runs, else "off"."""
    def endpoint(address, port):
        packed = socket.inet_aton(address)
        return "%08X:%04X" % (int.from_bytes(packed, sys.byteorder), port)
    local, remote = endpoint(*client[:2]), endpoint(client[0], server_port)
    try:
        with open("/proc/net/tcp") as table:
            rows = table.read().splitlines()[1:]
    except OSError:
        return "unknown"
    for row in rows:
        fields = row.split()
        if fields[1] == local and fields[2] == remote:
            timer, when = fields[5].split(":")
            # Timer 2 is the keep-alive timer; its time is in hundredths.
            return "on %d" % (int(when, 16) // 100) if timer == "02" else "off"
    return "gone"


class Client:
    def __init__(self, number, conn, peer):
        self.number = number
        self.conn = conn
        self.peer = peer
        self.lines = []
        self.connected = True
        self.write_lock = threading.Lock()

    def send(self, text):
        with self.write_lock:
            self.conn.sendall(packet(text.encode("cp1252", "replace")))

    def state(self):
        return "connected" if self.connected else "gone"


class Server:
    def __init__(self, quiet):
        self.quiet = quiet
        self.clients = {}
        self.chosen = None
        self.changed = threading.Condition()
        self.next_number = 1
        self.reported = 0  # the highest client number :wait-client reported
        self.hello_delay = 0.0
        self.port = None

    def say(self, text):
        if not self.quiet:
            print(text, flush=True)

    # ---- chat clients ----

    def accept(self, listener):
        while True:
            try:
                conn, peer = listener.accept()
            except OSError:
                # Out of descriptors for a moment: the clients queue meanwhile.
                time.sleep(0.1)
                continue
            threading.Thread(target=self.serve, args=(conn, peer), daemon=True).start()

    def serve(self, conn, peer):
        # A client that vanishes at any step ends its own thread only.
        try:
            self.serve_client(conn, peer)
        except OSError:
            pass
        finally:
            conn.close()

    def serve_client(self, conn, peer):
        # A client that never says hello does not hold its thread for ever.
        conn.settimeout(HELLO_WAIT)
        hello = read_exact(conn, 8)
        if hello is None:
            return
        if hello != HELLO:
            # A hello of another protocol: the client hears of it.
            conn.sendall(b"BAD" + HELLO[3:])
            self.say("refused %s:%d: hello %r" % (peer[0], peer[1], hello))
            return
        if self.hello_delay:
            time.sleep(self.hello_delay)
        conn.sendall(HELLO)
        conn.settimeout(None)
        with self.changed:
            client = Client(self.next_number, conn, peer)
            self.next_number += 1
            self.clients[client.number] = client
            if self.chosen is None or not self.clients[self.chosen].connected:
                self.chosen = client.number
            self.changed.notify_all()
        self.say("[%d] connected from %s:%d" % (client.number, peer[0], peer[1]))
        try:
            while True:
                payload = read_packet(conn)
                if payload is None:
                    break
                line = text_of(payload)
                with self.changed:
                    client.lines.append(line)
                    self.changed.notify_all()
                kind = "login" if len(client.lines) == 1 else "says"
                self.say("[%d] %s: %s" % (client.number, kind, line))
        except OSError:
            pass
        with self.changed:
            client.connected = False
            self.changed.notify_all()
        self.say("[%d] left" % client.number)

    # ---- commands ----

    def client_for(self, word):
        with self.changed:
            number = int(word) if word is not None else self.chosen
            if number not in self.clients:
                raise ValueError("no client %s" % number)
            return self.clients[number]

    def split_target(self, words, least):
        """The client named by a leading number, or the chosen one."""
        if len(words) > least and words[0].isdigit():
            return self.client_for(words[0]), words[1:]
        return self.client_for(None), words

    def wait(self, condition, seconds):
        deadline = time.monotonic() + seconds
        with self.changed:
            while not condition():
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self.changed.wait(left)
            return True

    def run(self, line):
        """Carries out one operator line; the lines it answers with."""
        if not line.startswith(":"):
            self.client_for(None).send(line)
            return []
        words = line[1:].split()
        if not words:
            return []
        command, args = words[0], words[1:]
        rest = line[1:].split(None, 1)[1] if len(words) > 1 else ""
        if command == "help":
            return HELP.splitlines()
        if command == "clients":
            with self.changed:
                return ["%d %s %s" % (c.number, c.state(), c.lines[0] if c.lines else "")
                        for c in self.clients.values()]
        if command == "use":
            self.chosen = self.client_for(args[0]).number
            return []
        if command == "send":
            number, text = rest.split(None, 1)
            self.client_for(number).send(text)
            return []
        if command in ("chat", "im", "imalert"):
            client, words = self.split_target(args, 2)
            prefix = {"chat": "/$chat", "im": "/$im", "imalert": "/$imAlert"}[command]
            client.send("%s %s: %s" % (prefix, words[0], " ".join(words[1:])))
            return []
        if command == "notice":
            client, words = self.split_target(args, 1)
            client.send(" ".join(words))
            return []
        if command == "grab":
            client, words = self.split_target(args, 2)
            client.send("/$grabRequest %s %s" % (words[0], words[1]))
            return []
        if command == "sound":
            client, words = self.split_target(args, 1)
            client.send("/$adminLogon" if words[0] == "admin" else "/$clientLogon")
            return []
        if command == "flash":
            client, _ = self.split_target(args, 0)
            client.send("/$enableButton")
            return []
        if command == "talking":
            client, words = self.split_target(args, 0)
            client.send(" ".join(["/$talkingTo", str(len(words))] + words))
            return []
        if command == "empty":
            client, _ = self.split_target(args, 0)
            with client.write_lock:
                client.conn.sendall(packet(b"\0 nothing to show"))
            return []
        if command == "flood":
            client, words = self.split_target(args, 1)
            lines = b"".join(packet(b"flood %d" % (i + 1)) for i in range(int(words[0])))
            with client.write_lock:
                client.conn.sendall(lines)
            return []
        if command == "ping":
            client, _ = self.split_target(args, 0)
            client.send("/$ping")
            return []
        if command == "close":
            client, _ = self.split_target(args, 0)
            client.conn.shutdown(socket.SHUT_RDWR)
            return []
        if command == "hello-delay":
            self.hello_delay = float(args[0])
            return []
        if command == "keepalive":
            client, _ = self.split_target(args, 0)
            return [keepalive_of(client.peer, self.port)]
        if command == "lines":
            client = self.client_for(args[0])
            with self.changed:
                return list(client.lines)
        if command == "wait-client":
            seconds = float(args[0]) if args else 30
            if not self.wait(lambda: self.next_number - 1 > self.reported, seconds):
                return ["timeout"]
            with self.changed:
                self.reported += 1
                return [str(self.reported)]
        if command == "wait-lines":
            client = self.client_for(args[0])
            count = int(args[1])
            seconds = float(args[2]) if len(args) > 2 else 30
            return ["ok" if self.wait(lambda: len(client.lines) >= count, seconds) else "timeout"]
        if command == "wait-closed":
            client = self.client_for(args[0])
            seconds = float(args[1]) if len(args) > 1 else 30
            return ["ok" if self.wait(lambda: not client.connected, seconds) else "timeout"]
        if command == "details":
            data = bytes.fromhex(args[0])
            length = data[0]
            if length == 0 or length % 8 or len(data) < 1 + length:
                return ["damaged"]
            plain = ecb(data[1:1 + length], False, DETAILS_KEY)
            return [plain.split(b"\0", 1)[0].decode("cp1252", "replace")]
        if command == "quit":
            os._exit(0)
        return ["unknown command :%s (:help lists them)" % command]

    def answer(self, line):
        try:
            return self.run(line)
        except (ValueError, IndexError, OSError) as problem:
            return ["error: %s" % problem]

    # ---- operators ----

    def terminal(self):
        for line in sys.stdin:
            for reply in self.answer(line.rstrip("\r\n")):
                print(reply, flush=True)

    def control(self, listener):
        while True:
            conn, _ = listener.accept()
            threading.Thread(target=self.control_session, args=(conn,), daemon=True).start()

    def control_session(self, conn):
        reader = conn.makefile("r", encoding="cp1252", newline="\n")
        try:
            for line in reader:
                replies = self.answer(line.rstrip("\r\n"))
                conn.sendall(("".join(r + "\n" for r in replies) + ".\n").encode("cp1252"))
        except OSError:
            pass
        conn.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=9191)
    parser.add_argument("--control", type=int, default=None)
    parser.add_argument("--quiet", action="store_true")
    parser.add_argument("--run", nargs=argparse.REMAINDER)
    options = parser.parse_args()

    server = Server(options.quiet)
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        listener.bind((options.address, options.port))
    except OSError as problem:
        sys.exit("support_server.py: cannot listen on %s:%d: %s" %
                 (options.address, options.port, problem))
    listener.listen(128)
    server.port = listener.getsockname()[1]
    threading.Thread(target=server.accept, args=(listener,), daemon=True).start()
    server.say("Support server on %s:%d; :help lists the commands." %
               (options.address, options.port))

    env = dict(os.environ)
    if options.control is not None:
        control = socket.socket()
        control.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        control.bind(("127.0.0.1", options.control))
        control.listen(4)
        env["MENDORA_SUPPORT_CONTROL"] = str(control.getsockname()[1])
        threading.Thread(target=server.control, args=(control,), daemon=True).start()
        server.say("Commands also on 127.0.0.1:%s" % env["MENDORA_SUPPORT_CONTROL"])

    if options.run:
        sys.exit(subprocess.call(options.run, env=env))
    server.terminal()
    # Without a terminal (input at its end) the server goes on until stopped.
    threading.Event().wait()


if __name__ == "__main__":
    main()
