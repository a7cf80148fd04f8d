#!/usr/bin/env python3
"""Brisklane's update server, for trying MendoraUpdater and for its tests.

Usage: update_server.py [--address ADDR] [--port PORT] [--folder DIR] [--tls]
                        [--run PROGRAM [ARGS...]]

Serves the updater's queries on http://ADDR:PORT/download.asp (127.0.0.1 and
port 8080 by default; port 0 takes any free port) from DIR (the current
folder by default). DIR holds the files to hand out and "manifest.txt", one
line per updatable file:

    ENCODED-NAME BUILD [LOCAL-NAME] [OPTION...]    e.g.  Mendora.exe 1.0.0.7

The encoded name is the file's value name in the updater's Update key; the
file served is DIR/LOCAL-NAME (the encoded name when none is given). Options:
local=NAME (the local name, which may be anything), digest=HEX (a digest to
name instead of the file's), signature=TOKEN (the publisher's signature of
the file, as tools/sign-release.sh writes it; one option per signing key),
delay=SECONDS (answer the check query late), and answer=TEXT (the rest of the
line: the list query answers TEXT as it is).

  ?mode=check&app=A&ver=V&file=F&build=B   "1" when the manifest has F with
                                           another build than B, else nothing
  ?mode=list&...                           "SIZE,SHA256;SIG...,BUILD,LOCAL,ADDRESS":
                                           the file's size and digest, each
                                           signature after a ";", and ADDRESS
                                           is http://ADDR:PORT/files/LOCAL
  /files/NAME                              the file DIR/NAME
  /stall                                   accepts and never answers
  /endless                                 answers 200 and sends without end
  /status/CODE                             answers with that HTTP status
  /trickle                                 answers 200 with a Content-Length,
                                           then one byte every 2 seconds
  /reset                                   reads the request and resets the
                                           connection without an answer
  /once/ADDRESS                            answers ADDRESS as above without
                                           "Connection: close", then closes
                                           the connection a moment later (as
                                           servers do whose keep-alive ends);
                                           a request sent on it meanwhile is
                                           logged as such

Every request is logged on standard error and appended, as it arrived, to
DIR/requests.log. The manifest is read afresh for every query. With --run
the server starts the program with MENDORA_UPDATE_SERVER set to its
download.asp address, ends when it ends and passes on its exit code.

With --tls the server also answers everything above over HTTPS, on two more
ports of ADDR: one with a certificate issued by a test authority made at
start (DIR/test-ca.der holds the authority's certificate, to be trusted by
whoever wants to), one with a self-signed certificate nobody trusts. Their
addresses (https://ADDR:PORT, without a path) are in MENDORA_UPDATE_SERVER_TLS
and MENDORA_UPDATE_SERVER_UNTRUSTED for the program of --run. The keys are
made in a temporary folder, removed once the servers hold them. Both
certificates name ADDR as an IP address and as a DNS name: Wine's WinINet
matches a host only against the DNS names.
"""

import argparse
import hashlib
import os
import select
import socket
import ssl
import struct
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit

STALL_SECONDS = 120
TRICKLE_LENGTH = 100
TRICKLE_PAUSE = 2.0
# Long enough that a client which sends its next request at once sends it on
# the connection this server is about to close.
ONCE_CLOSE_DELAY = 0.3
# One requests.log for every port.
LOG_LOCK = threading.Lock()


def read_manifest(folder):
    entries = {}
    try:
        with open(os.path.join(folder, "manifest.txt"), encoding="cp1252") as manifest:
            for line in manifest:
                line = line.rstrip("\r\n")
                answer = None
                if " answer=" in line:
                    line, answer = line.split(" answer=", 1)
                words = line.split(" ")
                if len(words) < 2 or not words[0] or line.startswith("#"):
                    continue
                entry = {"build": words[1], "local": words[0], "answer": answer,
                         "digest": None, "delay": 0.0, "signatures": []}
                for word in words[2:]:
                    key, _, value = word.partition("=")
                    if not value:
                        entry["local"] = word
                    elif key == "local":
                        entry["local"] = value
                    elif key == "digest":
                        entry["digest"] = value
                    elif key == "signature":
                        entry["signatures"].append(value)
                    elif key == "delay":
                        entry["delay"] = float(value)
                entries[words[0]] = entry
    except OSError:
        pass
    return entries


def size_and_digest(path):
    try:
        with open(path, "rb") as data:
            content = data.read()
    except OSError:
        return None
    return len(content), hashlib.sha256(content).hexdigest()


def query_values(query):
    """The values as the updater sends them: not percent-decoded, and a "+"
    stays a "+" (the updater turns only the first blank into one)."""
    values = {}
    for pair in query.split("&"):
        key, _, value = pair.partition("=")
        values.setdefault(key, value)
    return values


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, form, *args):
        sys.stderr.write("update_server: " + (form % args) + "\n")

    def answer(self, body, status=200, length=True):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.record(self.path)
        self.route(self.path)

    def record(self, line):
        with self.server.log_lock, open(os.path.join(self.server.folder, "requests.log"), "a",
                                        encoding="cp1252", errors="replace") as log:
            log.write(line + "\n")

    def route(self, address):
        parts = urlsplit(address)
        if parts.path.startswith("/once/"):
            self.route(address[len("/once"):])
            self.wfile.flush()
            # A client that sends its next request on this connection finds
            # it closed under that request, and the log tells.
            ready, _, _ = select.select([self.connection], [], [], ONCE_CLOSE_DELAY)
            if ready and self.connection.recv(1, socket.MSG_PEEK):
                self.record("(a request on a connection that /once/ closes)")
            self.close_connection = True
        elif parts.path == "/download.asp":
            self.download_page(query_values(parts.query))
        elif parts.path.startswith("/files/"):
            self.file(parts.path[len("/files/"):])
        elif parts.path == "/stall":
            time.sleep(STALL_SECONDS)
        elif parts.path == "/endless":
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.end_headers()
            chunk = b"x" * 65536
            try:
                while True:
                    self.wfile.write(chunk)
            except OSError:
                pass
        elif parts.path.startswith("/status/"):
            self.answer(b"status page", int(parts.path[len("/status/"):]))
        elif parts.path == "/trickle":
            self.trickle()
        elif parts.path == "/reset":
            # A zero linger time makes the close a reset.
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            self.close_connection = True
        else:
            self.answer(b"not found", 404)

    def download_page(self, values):
        entries = read_manifest(self.server.folder)
        entry = entries.get(values.get("file", ""))
        mode = values.get("mode")
        if mode == "check":
            if entry is not None and entry["delay"]:
                time.sleep(entry["delay"])
            update = entry is not None and entry["build"] != values.get("build")
            self.answer(b"1" if update else b"")
        elif mode == "list":
            if entry is None:
                self.answer(b"-1")
            elif entry["answer"] is not None:
                self.answer(entry["answer"].encode("cp1252"))
            else:
                address = "http://%s:%d/files/%s" % (self.server.server_address[0],
                                                      self.server.server_address[1],
                                                      entry["local"])
                known = size_and_digest(os.path.join(self.server.folder, entry["local"]))
                size, digest = known if known else (0, "unknown")
                if entry["digest"]:
                    digest = entry["digest"]
                digest = ";".join([digest] + entry["signatures"])
                self.answer(("%d,%s,%s,%s,%s" % (size, digest, entry["build"], entry["local"],
                                                  address)).encode("cp1252"))
        else:
            self.answer(b"", 400)

    def trickle(self):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(TRICKLE_LENGTH))
        self.end_headers()
        try:
            for _ in range(TRICKLE_LENGTH):
                self.wfile.write(b"t")
                time.sleep(TRICKLE_PAUSE)
        except OSError:
            pass

    def file(self, name):
        path = os.path.join(self.server.folder, name)
        if "/" in name or "\\" in name or name in ("", ".", "..") or not os.path.isfile(path):
            self.answer(b"not found", 404)
            return
        size = os.path.getsize(path)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        with open(path, "rb") as data:
            while True:
                chunk = data.read(1 << 20)
                if not chunk:
                    break
                self.wfile.write(chunk)


class TlsServer(ThreadingHTTPServer):
    """Answers over TLS; the handshake happens on the request's own thread."""

    def __init__(self, address, certificate, key):
        super().__init__(address, Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(certificate, key)
        self.socket = context.wrap_socket(self.socket, server_side=True,
                                          do_handshake_on_connect=False)

    def handle_error(self, request, client_address):
        # A client that refuses the certificate ends the handshake: expected.
        sys.stderr.write("update_server: TLS connection ended: %s\n" % (sys.exc_info()[1],))


def make_certificates(keys, address, ca_file):
    """A test authority and a certificate it issued for ADDRESS, and a
    self-signed one; the authority's certificate goes to CA_FILE (DER)."""

    def openssl(*args):
        subprocess.run(["openssl"] + list(args), check=True, cwd=keys,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    names = "subjectAltName=IP:%s,DNS:%s" % (address, address)
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
            "-keyout", "ca.key", "-out", "ca.pem", "-subj", "/CN=Mendora update test authority",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "issued.key", "-out", "issued.csr",
            "-subj", "/CN=" + address)
    with open(os.path.join(keys, "issued.ext"), "w") as extensions:
        extensions.write(names + "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", "issued.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-set_serial", "0x" + os.urandom(8).hex(), "-days", "2", "-extfile", "issued.ext",
            "-out", "issued.pem")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
            "-keyout", "self.key", "-out", "self.pem", "-subj", "/CN=" + address,
            "-addext", names)
    openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", ca_file)


def serve(server, folder):
    server.daemon_threads = True
    server.folder = folder
    server.log_lock = LOG_LOCK
    threading.Thread(target=server.serve_forever, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("--folder", default=".")
    parser.add_argument("--tls", action="store_true")
    parser.add_argument("--run", nargs=argparse.REMAINDER)
    options = parser.parse_args()

    os.makedirs(options.folder, exist_ok=True)
    folder = os.path.abspath(options.folder)
    server = ThreadingHTTPServer((options.address, options.port), Handler)
    serve(server, folder)
    address = "http://%s:%d/download.asp" % server.server_address[:2]
    sys.stderr.write("update_server: serving %s from %s\n" % (address, folder))
    env = dict(os.environ, MENDORA_UPDATE_SERVER=address)
    if options.tls:
        with tempfile.TemporaryDirectory(prefix="update_server_keys") as keys:
            make_certificates(keys, options.address, os.path.join(folder, "test-ca.der"))
            for variable, name in (("MENDORA_UPDATE_SERVER_TLS", "issued"),
                                   ("MENDORA_UPDATE_SERVER_UNTRUSTED", "self")):
                secure = TlsServer((options.address, 0), os.path.join(keys, name + ".pem"),
                                   os.path.join(keys, name + ".key"))
                serve(secure, folder)
                env[variable] = "https://%s:%d" % secure.server_address[:2]
                sys.stderr.write("update_server: %s is %s\n" % (variable, env[variable]))
    if options.run:
        sys.exit(subprocess.call(options.run, env=env))
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
