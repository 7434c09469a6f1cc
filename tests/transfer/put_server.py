#!/usr/bin/env python3
"""An HTTP server on 127.0.0.1 that takes files by PUT, as a WebDAV server does, for the upload tests.

    put_server.py ROOT [--user USER --password PASSWORD] [--cut-after BYTES] [--full]

Prints the port it listens on as the first line of standard output and serves until its standard
input closes. PUT stores a file under ROOT, replacing one that is there (201); HEAD and GET answer
with its length; MKCOL makes a folder (405 when it exists, 409 when its parent is missing). PUT into
a missing folder is refused with 409, as WebDAV servers do.

  --user, --password  every request must log in with these (Basic), else 401
  --cut-after BYTES   the first PUT that passes BYTES has its connection closed there, the bytes
                      received so far kept in the file
  --full              the disk is full: every PUT is answered 507 Insufficient Storage
"""

import argparse
import base64
import os
import socket
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

options = None
cut_lock = threading.Lock()
cut_done = False


class PutHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def local_path(self):
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        parts = [p for p in path.split("/") if p]
        if any(p in (".", "..") for p in parts):
            return None
        return os.path.join(options.root, *parts)

    def authorised(self):
        if not options.user:
            return True
        expected = base64.b64encode(("%s:%s" % (options.user, options.password)).encode()).decode()
        return self.headers.get("Authorization", "") == "Basic " + expected

    def answer(self, status, body=b""):
        self.send_response(status)
        if status == 401:
            self.send_header("WWW-Authenticate", 'Basic realm="uploads"')
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if body and self.command != "HEAD":
            self.wfile.write(body)

    # The body of a refused PUT is read and dropped, so that the connection can take the next request.
    def refuse_put(self, status):
        length = int(self.headers.get("Content-Length", 0))
        while length > 0:
            chunk = self.rfile.read(min(length, 65536))
            if not chunk:
                break
            length -= len(chunk)
        self.answer(status)

    def handle_expect_100(self):
        if not self.authorised():
            self.answer(401)
            self.close_connection = True
            return False
        return super().handle_expect_100()

    def do_PUT(self):
        if not self.authorised():
            return self.refuse_put(401)
        target = self.local_path()
        if target is None:
            return self.refuse_put(403)
        if not os.path.isdir(os.path.dirname(target)):
            return self.refuse_put(409)
        if options.full:
            return self.refuse_put(507)
        global cut_done
        length = int(self.headers.get("Content-Length", 0))
        received = 0
        with open(target, "wb") as out:
            while received < length:
                chunk = self.rfile.read(min(length - received, 16384))
                if not chunk:
                    return
                out.write(chunk)
                received += len(chunk)
                if options.cut_after is not None and received > options.cut_after:
                    with cut_lock:
                        cut = not cut_done
                        cut_done = True
                    if cut:
                        out.flush()
                        self.close_connection = True
                        self.connection.shutdown(socket.SHUT_RDWR)
                        return
        self.answer(201)

    def do_GET(self):
        if not self.authorised():
            return self.answer(401)
        target = self.local_path()
        if target is None or not os.path.isfile(target):
            return self.answer(404)
        with open(target, "rb") as source:
            self.answer(200, source.read())

    do_HEAD = do_GET  # answer() announces the body's length and leaves the body out

    def do_MKCOL(self):
        if not self.authorised():
            return self.answer(401)
        target = self.local_path()
        if target is None:
            return self.answer(403)
        if os.path.exists(target):
            return self.answer(405)
        if not os.path.isdir(os.path.dirname(target.rstrip("/"))):
            return self.answer(409)
        os.mkdir(target)
        self.answer(201)


def main():
    global options
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--cut-after", type=int)
    parser.add_argument("--full", action="store_true")
    options = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", 0), PutHandler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    main()
