#!/usr/bin/env python3
"""An http server on 127.0.0.1 that serves one MP3 file in a chosen way, most of them broken.

    misbehaving_http_server.py MODE FILE

Prints the port it listens on as the first line of standard output and serves until its standard
input closes (so it ends with the test that started it, even when that test crashes).

Modes:
  plain            the file, with its Content-Length
  stall            the headers and the first 20 kB, then nothing, the connection held open
  endless-headers  a status line and then one header line a second, never the empty line
  silence          accepts and reads the request, never answers
  early-close      announces the whole file, sends half, closes the connection
  reset            announces the whole file, sends half, resets the connection
  icy              the file with icy-metaint: ICY metadata blocks every 8192 bytes, ended by closing
  not-found        404 Not Found
  redirect-loop    302 to its own address, for ever
"""

import socket
import struct
import sys
import threading
import time

ICY_INTERVAL = 8192
STALL_AFTER = 20 * 1024


def read_request(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(4096)
        if not chunk:
            return None
        data += chunk
    return data.split(b"\r\n", 1)[0].decode("latin-1")


def hold_open(conn):
    """Keeps the connection open, sending nothing, until the client gives up."""
    conn.settimeout(None)
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass


def headers(status, fields):
    lines = ["HTTP/1.0 " + status] + [name + ": " + value for name, value in fields] + ["", ""]
    return "\r\n".join(lines).encode("latin-1")


def icy_body(audio):
    """The audio with a metadata block after every ICY_INTERVAL bytes. The titles hold bytes
    that look like MPEG frame headers, so that a client which decodes them as audio goes wrong."""
    out = bytearray()
    for number, start in enumerate(range(0, len(audio), ICY_INTERVAL)):
        out += audio[start:start + ICY_INTERVAL]
        if start + ICY_INTERVAL > len(audio):
            break
        if number % 3 == 2:
            out += b"\x00"  # an empty block: the title is unchanged
            continue
        text = ("StreamTitle='Song %d';" % number).encode("latin-1") + b"\xff\xfb\x90\x64" * 4
        text += b"\x00" * (-len(text) % 16)
        out += bytes([len(text) // 16]) + text
    return bytes(out)


def serve(conn, mode, audio):
    path = read_request(conn)
    if path is None:
        return
    if mode == "silence":
        return hold_open(conn)
    if mode == "not-found":
        body = b"<html><body>not here</body></html>"
        conn.sendall(headers("404 Not Found", [("Content-Type", "text/html"),
                                               ("Content-Length", str(len(body)))]) + body)
        return
    if mode == "redirect-loop":
        conn.sendall(headers("302 Found", [("Location", "/loop"), ("Content-Length", "0")]))
        return
    if mode == "endless-headers":
        conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n")
        number = 0
        while True:
            conn.sendall(("X-Padding-%d: still coming\r\n" % number).encode("latin-1"))
            number += 1
            time.sleep(1)
    if mode == "icy":
        conn.sendall(headers("200 OK", [("Content-Type", "audio/mpeg"), ("icy-name", "Test radio"),
                                        ("icy-metaint", str(ICY_INTERVAL))]))
        conn.sendall(icy_body(audio))
        return
    conn.sendall(headers("200 OK", [("Content-Type", "audio/mpeg"), ("Content-Length", str(len(audio)))]))
    if mode == "plain":
        conn.sendall(audio)
    elif mode == "stall":
        conn.sendall(audio[:STALL_AFTER])
        hold_open(conn)
    elif mode == "early-close":
        conn.sendall(audio[:len(audio) // 2])
    elif mode == "reset":
        conn.sendall(audio[:len(audio) // 2])
        time.sleep(0.2)  # lets the client read the half before the reset discards it
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))


def handle(conn, mode, audio):
    try:
        serve(conn, mode, audio)
    except OSError:
        pass  # the client went away
    finally:
        conn.close()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    mode, path = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        audio = f.read()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)

    def accept_for_ever():
        while True:
            conn, _ = listener.accept()
            threading.Thread(target=handle, args=(conn, mode, audio), daemon=True).start()

    threading.Thread(target=accept_for_ever, daemon=True).start()
    sys.stdin.read()  # returns when the test closes the pipe or ends


if __name__ == "__main__":
    main()
