#!/usr/bin/python3
"""HTTP and FTP servers on 127.0.0.1 for the net install tests, with a bounded lifetime.

    net_servers.py ROOT PORTS_FILE LIFETIME_SECONDS

Makes the served tree under ROOT (the files of tests/support/NetServerFiles.h), starts an HTTP server
and an FTP server on free loopback ports, finds a port nobody listens on, and writes
"HTTP=<port> FTP=<port> CLOSED=<port>" to PORTS_FILE. Both servers take anonymous logins and the user
setwright / swpass; the HTTP server asks for that login below /private/, cuts /pub/setup/cut.1 after
9000 of its 20000 bytes and falls silent after 9000 bytes of stall.1; the FTP server closes the data
connection of cut.1 after 9000 bytes and answers 426. (It closes in order: a data connection reset before
Wine 8.0's FtpOpenFile has accepted it crashes that function.) Stops on SIGTERM or when the lifetime is
over.
"""

import base64
import functools
import http.server
import os
import signal
import socket
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

USER, PASSWORD = "setwright", "swpass"
CUT_AFTER = 9000
# Longer than the client's timeout, shorter than the servers' lifetime.
STALL_SECONDS = 120


def pattern(size):
    return bytes((i * 7 + 3) % 251 for i in range(size))


FILES = {
    "pub/setup/files.1": pattern(20000),
    "pub/setup/empty.1": b"",
    "pub/setup/has404.txt": b"404 starts this file, and it is data\n",
    "pub/setup/cut.1": pattern(20000),
    "pub/setup/stall.1": pattern(20000),
    "private/secret.1": b"for the named user only\n",
}


def make_tree(root):
    for path, content in FILES.items():
        full = os.path.join(root, *path.split("/"))
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(content)


class HttpHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass

    def authorized(self):
        expected = "Basic " + base64.b64encode(f"{USER}:{PASSWORD}".encode()).decode()
        return self.headers.get("Authorization") == expected

    def send_first_part(self, path):
        """Announces the whole file, sends its first CUT_AFTER bytes and no more."""
        content = FILES[path]
        self.send_response(200)
        self.send_header("Content-Length", str(len(content)))
        self.end_headers()
        self.wfile.write(content[:CUT_AFTER])
        self.wfile.flush()
        self.close_connection = True

    def do_GET(self):
        if self.path.startswith("/private/") and not self.authorized():
            self.send_response(401, "Unauthorized")
            self.send_header("WWW-Authenticate", 'Basic realm="setwright"')
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path == "/pub/setup/stall.1":
            self.send_first_part("pub/setup/stall.1")
            time.sleep(STALL_SECONDS)
            return
        if self.path == "/pub/setup/cut.1":
            self.send_first_part("pub/setup/cut.1")
            return
        super().do_GET()


class CutFile:
    """A file that fails after CUT_AFTER bytes, so that the transfer is broken off."""

    def __init__(self, f):
        self.f = f
        self.name = f.name
        self.closed = False

    def read(self, size=-1):
        if self.f.tell() >= CUT_AFTER:
            raise OSError("transfer cut by the test server")
        return self.f.read(min(size, CUT_AFTER - self.f.tell()) if size >= 0 else CUT_AFTER - self.f.tell())

    def seek(self, *args):
        return self.f.seek(*args)

    def close(self):
        self.closed = True
        self.f.close()


class CutFS(AbstractedFS):
    def open(self, filename, mode):
        f = super().open(filename, mode)
        return CutFile(f) if os.path.basename(filename) == "cut.1" else f


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    root, ports_file, lifetime = sys.argv[1], sys.argv[2], float(sys.argv[3])
    make_tree(root)

    httpd = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(HttpHandler, directory=root))
    httpd.timeout = 5

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root, perm="elr")
    authorizer.add_user(USER, PASSWORD, root, perm="elr")
    handler = type("Handler", (FTPHandler,), {})
    handler.authorizer = authorizer
    handler.abstracted_fs = CutFS
    handler.timeout = 30
    handler.passive_ports = None
    ftpd = FTPServer(("127.0.0.1", 0), handler)

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    threading.Thread(target=lambda: ftpd.serve_forever(timeout=0.5, blocking=True), daemon=True).start()

    tmp = ports_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(f"HTTP={httpd.server_address[1]} FTP={ftpd.address[1]} CLOSED={closed_port()}\n")
    os.replace(tmp, ports_file)

    stop.wait(lifetime)
    httpd.shutdown()
    ftpd.close_all()


if __name__ == "__main__":
    main()
