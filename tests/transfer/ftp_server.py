#!/usr/bin/env python3
"""An FTP or FTPS server on 127.0.0.1 for the upload tests, on Debian's python3-pyftpdlib.

    ftp_server.py ROOT USER PASSWORD [--tls CERT KEY] [--cut-after BYTES] [--log FILE] [--full]

Serves the folder ROOT to one user with every right, prints the port it listens on as the first
line of standard output and serves until its standard input closes (so it ends with the test that
started it, even when that test crashes).

  --tls CERT KEY     FTPS: the client must turn the connection to TLS before it logs in (AUTH TLS)
                     and protect the data connections
  --cut-after BYTES  the first upload that passes BYTES loses its data and control connections
                     there, the bytes received so far kept, as when a line drops
  --full             the disk is full: every upload ends with "452 Insufficient storage space"
  --log FILE         each upload command is written there as it comes: "STOR name" for a new
                     file, "APPE name" for one that is added to
"""

import argparse
import logging
import os
import sys
import threading

from OpenSSL import SSL
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


class FullDiskFile:
    """The file an upload is written to on a full disk: nothing fits."""

    def __init__(self, dtp, file):
        self._dtp, self._file = dtp, file

    def write(self, data):
        self._dtp._resp = ("452 Insufficient storage space.", logging.warning)
        self._dtp.close()

    def __getattr__(self, name):
        return getattr(self._file, name)


class CuttingFile:
    """The file an upload is written to, which drops the connections once it passes the limit."""

    cut_done = False

    def __init__(self, dtp, file, limit):
        self._dtp, self._file, self._limit, self._written = dtp, file, limit, 0

    def write(self, data):
        self._file.write(data)
        self._written += len(data)
        if CuttingFile.cut_done or self._written <= self._limit:
            return
        CuttingFile.cut_done = True
        control = self._dtp.cmd_channel
        self._dtp.close()
        control.close()

    def __getattr__(self, name):
        return getattr(self._file, name)


def cutting(dtp_class, options):
    # The file is wrapped where the transfer starts: the read path itself differs with TLS.
    class CuttingDTPHandler(dtp_class):
        def enable_receiving(self, type, cmd):
            if options.full:
                self.file_obj = FullDiskFile(self, self.file_obj)
            elif options.cut_after is not None:
                self.file_obj = CuttingFile(self, self.file_obj, options.cut_after)
            return super().enable_receiving(type, cmd)

        def readable(self):
            # pyftpdlib 1.5.7 closes a TLS data connection whose handshake comes before the
            # transfer command, as libcurl's does; a connection in its handshake must be read.
            return getattr(self, "_ssl_accepting", False) or super().readable()

    return CuttingDTPHandler


def logging_handler(base, options):
    class LoggingFTPHandler(base):
        def ftp_STOR(self, file, mode="w"):
            if options.log:
                with open(options.log, "a") as log:
                    log.write("%s %s\n" % ("APPE" if mode == "a" else "STOR", os.path.basename(file)))
            return super().ftp_STOR(file, mode)

    return LoggingFTPHandler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("user")
    parser.add_argument("password")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--cut-after", type=int)
    parser.add_argument("--log")
    parser.add_argument("--full", action="store_true")
    options = parser.parse_args()
    logging.basicConfig(level=logging.CRITICAL)

    authorizer = DummyAuthorizer()
    authorizer.add_user(options.user, options.password, options.root, perm="elradfmwMT")
    if options.tls:
        handler = logging_handler(TLS_FTPHandler, options)
        handler.certfile, handler.keyfile = options.tls
        handler.tls_control_required = True
        handler.tls_data_required = True
        # TLS 1.3 servers send session tickets on each data connection after its handshake; a
        # client that never reads them resets the connection at its end, which can throw away the
        # last bytes of an upload before pyftpdlib has read them. TLS 1.2 sends none afterwards.
        handler.ssl_protocol = SSL.TLSv1_2_METHOD
        handler.dtp_handler = cutting(TLS_DTPHandler, options)
    else:
        handler = logging_handler(FTPHandler, options)
        handler.dtp_handler = cutting(DTPHandler, options)
    handler.authorizer = authorizer
    handler.passive_ports = None

    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    thread = threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.2}, daemon=True)
    thread.start()
    sys.stdin.read()
    server.close_all()


if __name__ == "__main__":
    main()
