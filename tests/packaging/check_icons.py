#!/usr/bin/env python3
"""Checks the rendered hicolor icons: every size folder holds apps/quarvel.png, a PNG image of
exactly that size. Usage: check_icons.py <icons folder>"""
import struct
import sys
from pathlib import Path

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def png_size(path):
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError(f"{path} is not a PNG image")
    return struct.unpack(">II", data[16:24])


def main():
    folder = Path(sys.argv[1])
    failures = []
    for size in SIZES:
        icon = folder / f"{size}x{size}" / "apps" / "quarvel.png"
        if not icon.is_file():
            failures.append(f"{icon} is missing")
            continue
        try:
            found = png_size(icon)
        except ValueError as error:
            failures.append(str(error))
            continue
        if found != (size, size):
            failures.append(f"{icon} is {found[0]}x{found[1]}, not {size}x{size}")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
