#!/usr/bin/env python3
"""Brisklane's update server, for trying MendoraUpdater and for its tests.

Usage: update_server.py [--address ADDR] [--port PORT] [--folder DIR]
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

Every request is logged on standard error and appended, as it arrived, to
DIR/requests.log. The manifest is read afresh for every query. With --run
the server starts the program with MENDORA_UPDATE_SERVER set to its
download.asp address, ends when it ends and passes on its exit code.
"""

import argparse
import hashlib
import os
import subprocess
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit

STALL_SECONDS = 120


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
        folder = self.server.folder
        with self.server.log_lock, open(os.path.join(folder, "requests.log"), "a",
                                        encoding="cp1252", errors="replace") as log:
            log.write(self.path + "\n")
        parts = urlsplit(self.path)
        if parts.path == "/download.asp":
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("--folder", default=".")
    parser.add_argument("--run", nargs=argparse.REMAINDER)
    options = parser.parse_args()

    os.makedirs(options.folder, exist_ok=True)
    server = ThreadingHTTPServer((options.address, options.port), Handler)
    server.daemon_threads = True
    server.folder = os.path.abspath(options.folder)
    server.log_lock = threading.Lock()
    address = "http://%s:%d/download.asp" % server.server_address[:2]
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stderr.write("update_server: serving %s from %s\n" % (address, server.folder))
    if options.run:
        env = dict(os.environ, MENDORA_UPDATE_SERVER=address)
        sys.exit(subprocess.call(options.run, env=env))
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
