#!/usr/bin/python3
"""An HTTP and an FTP server on 127.0.0.1 that serve a net distribution, with a log of every transfer and a
transfer cut on request, for the net distribution test; their lifetime is bounded.

    dist_servers.py ROOT HTTP_PORT FTP_PORT WORK LIFETIME_SECONDS [HTTP_BYTES_PER_SECOND]

Serves the tree under ROOT, anonymously and to the user setwright / swpass. Each transfer appends a line
"<protocol> <path> complete|cut|missing" to WORK/transfers.log. When WORK/cut names a file, the next
transfer of a file of that name ends half-way (HTTP announces the whole length; FTP closes the data
connection) and WORK/cut is removed. With HTTP_BYTES_PER_SECOND, HTTP sends its files at that rate, so that
a download of a small file lasts long enough to be seen. WORK/ready appears once both servers listen. Stops on
SIGTERM or when the lifetime is over.
"""

import functools
import http.server
import os
import signal
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

USER, PASSWORD = "setwright", "swpass"
lock = threading.Lock()


def take_cut(work, name):
    """Whether this transfer of name is the one to cut; a cut happens once."""
    path = os.path.join(work, "cut")
    with lock:
        try:
            with open(path) as f:
                wanted = f.read().strip()
        except FileNotFoundError:
            return False
        if wanted != name:
            return False
        os.remove(path)
        return True


def log_transfer(work, protocol, path, outcome):
    with lock, open(os.path.join(work, "transfers.log"), "a") as f:
        f.write(f"{protocol} {path} {outcome}\n")


class HttpHandler(http.server.SimpleHTTPRequestHandler):
    work = ""
    rate = 0

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        path = self.translate_path(self.path)
        if not os.path.isfile(path):
            self.send_error(404, "Not Found")
            log_transfer(self.work, "HTTP", self.path, "missing")
            return
        with open(path, "rb") as f:
            content = f.read()
        sent = len(content) // 2 if take_cut(self.work, os.path.basename(path)) else len(content)
        self.send_response(200)
        self.send_header("Content-Length", str(len(content)))
        self.end_headers()
        step = max(1, self.rate // 8) if self.rate else max(1, sent)
        for start in range(0, sent, step):
            if self.rate and start:
                time.sleep(step / self.rate)
            self.wfile.write(content[start:start + step])
            self.wfile.flush()
        if sent < len(content):
            self.close_connection = True
        log_transfer(self.work, "HTTP", self.path, "complete" if sent == len(content) else "cut")


class HalfFile:
    """A file that ends with an error half-way, so that the transfer is broken off."""

    def __init__(self, f, size):
        self.f = f
        self.name = f.name
        self.closed = False
        self.limit = size // 2

    def read(self, size=-1):
        left = self.limit - self.f.tell()
        if left <= 0:
            raise OSError("transfer cut by the test server")
        return self.f.read(left if size < 0 else min(size, left))

    def seek(self, *args):
        return self.f.seek(*args)

    def close(self):
        self.closed = True
        self.f.close()


class DistFS(AbstractedFS):
    work = ""

    def open(self, filename, mode):
        f = super().open(filename, mode)
        if "r" in mode and take_cut(self.work, os.path.basename(filename)):
            return HalfFile(f, os.path.getsize(filename))
        return f


class FtpHandler(FTPHandler):
    def log_file(self, file, outcome):
        log_transfer(DistFS.work, "FTP", "/" + os.path.relpath(file, self.authorizer.get_home_dir(self.username)),
                     outcome)

    def on_file_sent(self, file):
        self.log_file(file, "complete")

    def on_incomplete_file_sent(self, file):
        self.log_file(file, "cut")


def main():
    root, http_port, ftp_port, work, lifetime = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], \
        float(sys.argv[5])
    HttpHandler.work = work
    HttpHandler.rate = int(sys.argv[6]) if len(sys.argv) > 6 else 0
    DistFS.work = work
    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", http_port), functools.partial(HttpHandler, directory=root))

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root, perm="elr")
    authorizer.add_user(USER, PASSWORD, root, perm="elr")
    FtpHandler.authorizer = authorizer
    FtpHandler.abstracted_fs = DistFS
    FtpHandler.timeout = 30
    ftpd = FTPServer(("127.0.0.1", ftp_port), FtpHandler)

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    threading.Thread(target=lambda: ftpd.serve_forever(timeout=0.5, blocking=True), daemon=True).start()
    open(os.path.join(work, "ready"), "w").close()
    stop.wait(lifetime)
    httpd.shutdown()
    ftpd.close_all()


if __name__ == "__main__":
    main()
