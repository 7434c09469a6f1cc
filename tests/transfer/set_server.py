#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 for the tests that fetch sets from the web.

    set_server.py http FOLDER [--cut-once NAME] [--stall-once NAME] [--endless NAME] [--no-ranges yes]
                              [--log FILE]
    set_server.py ftp FOLDER

Prints the port it listens on as the first line of standard output, or "skip: REASON" when the
server cannot run here, and serves until its standard input closes (so it ends with the test that
started it, even when that test crashes).

http: GET and HEAD of the folder's files, with single byte ranges ("bytes=N-" and "bytes=N-M").
  --cut-once NAME    the first GET of NAME announces the whole answer, sends half and closes
  --stall-once NAME  the first GET of NAME announces the whole answer, sends half and then nothing,
                     holding the connection open until the client gives up
  --endless NAME     every GET of NAME sends the file and then zero bytes without end, announcing no
                     length, until the client goes away
  --no-ranges yes    ignore the Range header: every GET answers with the whole file
  --log FILE         one line per request: "METHOD /path RANGE" (RANGE "-" when none)
ftp: the folder read-only for the anonymous user (Debian's python3-pyftpdlib).
"""

import os
import sys
import threading


def end_with_standard_input():
    def watch():
        sys.stdin.read()
        os._exit(0)
    threading.Thread(target=watch, daemon=True).start()


def announce(port):
    print(port, flush=True)


def serve_http(folder, options):
    from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

    once = {"cut": options.get("--cut-once"), "stall": options.get("--stall-once")}
    lock = threading.Lock()
    log_path = options.get("--log")

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def log_request_line(self):
            if log_path:
                with lock, open(log_path, "a") as log:
                    log.write("%s %s %s\n" % (self.command, self.path, self.headers.get("Range", "-")))

        def do_HEAD(self):
            self.answer(send_body=False)

        def do_GET(self):
            self.answer(send_body=True)

        def take_once(self, name):
            with lock:
                for what, target in once.items():
                    if target == name:
                        once[what] = None
                        return what
            return None

        def answer_endless(self, path, send_body):
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.close_connection = True
            if not send_body:
                return
            with open(path, "rb") as f:
                data = f.read()
            zeros = bytes(65536)
            try:
                self.wfile.write(data)
                while True:
                    self.wfile.write(zeros)
            except OSError:
                pass

        def answer(self, send_body):
            self.log_request_line()
            name = self.path.split("?", 1)[0].lstrip("/")
            path = os.path.join(folder, name)
            if name == options.get("--endless") and os.path.isfile(path):
                self.answer_endless(path, send_body)
                return
            if "/" in name or not os.path.isfile(path):
                self.send_response(404)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            with open(path, "rb") as f:
                data = f.read()
            start, end = 0, len(data)
            asked = None if options.get("--no-ranges") else self.headers.get("Range")
            if asked and asked.startswith("bytes="):
                first, _, last = asked[len("bytes="):].partition("-")
                start = int(first)
                end = min(int(last) + 1, len(data)) if last else len(data)
                if start >= len(data):
                    self.send_response(416)
                    self.send_header("Content-Range", "bytes */%d" % len(data))
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                self.send_response(206)
                self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end - 1, len(data)))
            else:
                self.send_response(200)
            body = data[start:end]
            self.send_header("Content-Length", str(len(body)))
            if not options.get("--no-ranges"):
                self.send_header("Accept-Ranges", "bytes")
            self.end_headers()
            if not send_body:
                return
            trouble = self.take_once(name)
            if trouble is None:
                self.wfile.write(body)
                return
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            if trouble == "stall":
                try:
                    while self.connection.recv(4096):
                        pass
                except OSError:
                    pass
            self.close_connection = True

    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    announce(server.server_address[1])
    server.serve_forever()


def serve_ftp(folder):
    try:
        from pyftpdlib.authorizers import DummyAuthorizer
    except ImportError:
        # Debian's package lives with the system's Python; the tests may run under another one.
        system_python = "/usr/bin/python3"
        if os.path.exists(system_python) and os.path.realpath(sys.executable) != os.path.realpath(system_python):
            os.execv(system_python, [system_python] + sys.argv)
        announce("skip: python3-pyftpdlib is not installed")
        return
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer
    import logging
    logging.disable(logging.CRITICAL)

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(folder)
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    announce(server.socket.getsockname()[1])
    server.serve_forever(handle_exit=False)


def main():
    kind, folder = sys.argv[1], sys.argv[2]
    rest = sys.argv[3:]
    options = dict(zip(rest[::2], rest[1::2]))
    end_with_standard_input()
    if kind == "http":
        serve_http(folder, options)
    elif kind == "ftp":
        serve_ftp(folder)
    else:
        announce("skip: unknown server kind " + kind)


if __name__ == "__main__":
    main()
