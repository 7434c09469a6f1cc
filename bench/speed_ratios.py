#!/usr/bin/env python3
"""Every speed ratio of the data paths against its peer, and the peak memory of each, in one run.

    bench/speed_ratios.py [BUILD_DIR] [--runs N]      (default: build, 7 runs)

Makes its data in a RAM-backed folder (1 GiB of random bytes; a one-minute 128 kbit/s tone MP3
from lame, repeated to a 10-minute file and to a 100 MB file), then times each pair of commands
in turns (ours, peer, ours, peer, ...), so that a burst of load from other programs falls on both
alike, and prints the median and the fastest time of each, the ratio of the medians and of the
minima, and the peak resident memory (ru_maxrss) of each:

    split --bytes 100000000         vs  split -b 99999822 (the same data bytes per part)
    split --crypt-data              vs  split -b 99999822
    join (every checksum checked)   vs  cat of the parts
    decode to WAV                   vs  mpg123 -q -w (the WAV files must be identical)
    info (a walk over every frame)  vs  mediainfo, and ffprobe -count_frames
    tag rewrite of the 100 MB file  vs  cp of it to a new name, and over an earlier copy

bench/deps.sh installs the peers that only the benchmarks use (mediainfo, ffmpeg).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

GOALS = {"split": 0.9, "split enciphered": 1.0, "join": 1.0, "decode": 1.02,
         "info vs mediainfo": 1.0, "tag rewrite": 1.0, "tag rewrite vs cp over a copy": 1.0}


def timed(command, cwd, prepare=None):
    """Wall seconds and peak resident KiB of one run of command (a list), output discarded."""
    if prepare:
        prepare()
    # /usr/bin/time reports the command's own peak: a child of this script would count the
    # script's memory too, copied at the fork before the command replaced it.
    report = os.path.join(cwd, "peak.txt")
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + command, cwd=cwd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit("failed: " + " ".join(command))
    with open(report) as f:
        return elapsed, int(f.read().split()[-1])


def compare(name, ours, peer, cwd, runs, prepare=None):
    times = {"ours": [], "peer": []}
    peaks = {"ours": 0, "peer": 0}
    timed(ours, cwd, prepare)  # warm-up: libraries and data in the cache
    timed(peer, cwd, prepare)
    for _ in range(runs):
        for side, command in (("ours", ours), ("peer", peer)):
            seconds, peak = timed(command, cwd, prepare)
            times[side].append(seconds)
            peaks[side] = max(peaks[side], peak)
    med = {side: statistics.median(values) for side, values in times.items()}
    low = {side: min(values) for side, values in times.items()}
    goal = GOALS.get(name)
    print("%-30s median %.3f s vs %.3f s: ratio %.2f; fastest %.3f vs %.3f: %.2f%s; peak memory %d vs %d KiB"
          % (name, med["ours"], med["peer"], med["ours"] / med["peer"], low["ours"], low["peer"],
             low["ours"] / low["peer"], " (goal <= %.2f)" % goal if goal else "", peaks["ours"], peaks["peer"]),
          flush=True)


def main():
    arguments = [a for a in sys.argv[1:]]
    runs = 7
    if "--runs" in arguments:
        at = arguments.index("--runs")
        runs = int(arguments[at + 1])
        del arguments[at:at + 2]
    root = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
    build = os.path.realpath(os.path.join(root, arguments[0] if arguments else "build"))
    cli = os.path.join(build, "cli", "quarvel-cli")
    for tool in ("split", "cat", "cp", "mpg123", "lame", "mediainfo", "ffprobe", "/usr/bin/time"):
        if not shutil.which(tool):
            sys.exit("missing: %s (bench/deps.sh installs it)" % tool)

    ram = tempfile.mkdtemp(prefix="quarvel-speed-", dir="/dev/shm")
    try:
        run(cli, ram, runs)
    finally:
        shutil.rmtree(ram)


def make_mp3s(ram):
    samples = bytearray()
    import math, struct
    for n in range(44100 * 60):
        v = int(12000 * math.sin(6.2831853 * 440 * n / 44100))
        samples += struct.pack("<hh", v, v)
    with open(os.path.join(ram, "tone.raw"), "wb") as f:
        f.write(samples)
    lame = ["lame", "--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "--signed", "--little-endian", "-b", "128"]
    subprocess.run(lame + ["--add-id3v2", "--tt", "Bench", "tone.raw", "head.mp3"], cwd=ram, check=True,
                   stderr=subprocess.DEVNULL)
    subprocess.run(lame + ["-t", "tone.raw", "body.mp3"], cwd=ram, check=True, stderr=subprocess.DEVNULL)
    head = open(os.path.join(ram, "head.mp3"), "rb").read()
    body = open(os.path.join(ram, "body.mp3"), "rb").read()
    with open(os.path.join(ram, "ten.mp3"), "wb") as f:
        f.write(head + body * 9)
    with open(os.path.join(ram, "big.mp3"), "wb") as f:
        f.write(head)
        size = len(head)
        while size < 100_000_000:
            f.write(body)
            size += len(body)
    os.remove(os.path.join(ram, "tone.raw"))


def run(cli, ram, runs):
    with open("/proc/cpuinfo") as f:
        model = next(line.split(":", 1)[1].strip() for line in f if line.startswith("model name"))
    print("machine: %d cores, %s; data in %s; %d runs of each, in turns" % (os.cpu_count(), model, ram, runs))
    with open(os.path.join(ram, "source.bin"), "wb") as f:
        for _ in range(1024):
            f.write(os.urandom(1 << 20))
    out = os.path.join(ram, "o")

    def fresh_out():
        shutil.rmtree(out, ignore_errors=True)
        os.mkdir(out)

    fresh_out()
    compare("split", [cli, "split", "source.bin", "--bytes", "100000000", "--out", "o"],
            ["split", "-b", "99999822", "source.bin", "o/x"], ram, runs, fresh_out)
    compare("split enciphered",
            [cli, "split", "source.bin", "--bytes", "100000000", "--out", "o", "--crypt-data", "--key", "abc"],
            ["split", "-b", "99999822", "source.bin", "o/x"], ram, runs, fresh_out)
    os.mkdir(os.path.join(ram, "parts"))
    subprocess.run([cli, "split", "source.bin", "--bytes", "100000000", "--out", "parts"], cwd=ram, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["split", "-b", "99999822", "source.bin", "parts/x"], cwd=ram, check=True)
    peer_parts = sorted(p for p in os.listdir(os.path.join(ram, "parts")) if p.startswith("x"))
    compare("join", [cli, "join", "parts/source00.ppt", "--out", "o"],
            ["sh", "-c", "cat " + " ".join("parts/" + p for p in peer_parts) + " > o/joined"], ram, runs, fresh_out)
    shutil.rmtree(os.path.join(ram, "parts"))
    os.remove(os.path.join(ram, "source.bin"))

    make_mp3s(ram)
    compare("decode", [cli, "decode", "ten.mp3", "-o", "o/ours.wav"], ["mpg123", "-q", "-w", "o/peer.wav", "ten.mp3"],
            ram, runs, fresh_out)
    fresh_out()
    subprocess.run([cli, "decode", "ten.mp3", "-o", "o/ours.wav"], cwd=ram, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["mpg123", "-q", "-w", "o/peer.wav", "ten.mp3"], cwd=ram, check=True)
    same = open(os.path.join(out, "ours.wav"), "rb").read() == open(os.path.join(out, "peer.wav"), "rb").read()
    print("decode: the WAV files are %s" % ("identical" if same else "DIFFERENT"))
    compare("info vs mediainfo", [cli, "info", "big.mp3"], ["mediainfo", "big.mp3"], ram, runs)
    compare("info vs ffprobe", [cli, "info", "big.mp3"],
            ["ffprobe", "-v", "error", "-count_frames", "-select_streams", "a:0", "-show_entries",
             "stream=nb_read_frames", "big.mp3"], ram, max(1, runs // 3))
    compare("program start", [cli, "--help"], ["true"], ram, runs)
    compare("tag rewrite", [cli, "tag", "big.mp3", "--comment", "bench"], ["cp", "big.mp3", "o/copy.mp3"], ram, runs,
            fresh_out)

    # The rewrite replaces the file, and the system frees the old one's 100 MB as it goes; cp onto
    # a fresh name frees nothing. Onto an earlier copy, cp frees it too: the like-for-like peer.
    def copy_there():
        fresh_out()
        shutil.copyfile(os.path.join(ram, "big.mp3"), os.path.join(out, "copy.mp3"))

    compare("tag rewrite vs cp over a copy", [cli, "tag", "big.mp3", "--comment", "bench"],
            ["cp", "big.mp3", "o/copy.mp3"], ram, runs, copy_there)


if __name__ == "__main__":
    main()
