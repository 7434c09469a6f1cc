#!/usr/bin/env bash
# MP3 stream analysis and tag rewrite speed, measured in one run.
#
#   bench/mp3_analyse_tag.sh [BUILD_DIR]      (default: build)
#
# Makes a 100 MB MP3 in a RAM-backed folder: a one-minute tone encoded by lame (CBR 128 kbit/s,
# with an ID3v2 tag) followed by more frames of the same tone up to 100 MB. Then compares:
#   quarvel-cli info (a walk over every frame)  vs  ffprobe -count_frames (also a full walk),
#     goal: at least 5 times faster, and at least 500 MB/s of file scanned from the page cache;
#     mediainfo's time is printed beside it (it reads headers only: a reference, not a race);
#   quarvel-cli tag (the ID3v2 rewrite through a temporary file)  vs  cp of the file,
#     goal: at most 1.25 times cp's time.
# ffprobe and mediainfo are optional (Debian packages ffmpeg and mediainfo); without them their
# lines are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cli=$(realpath "$build/cli/quarvel-cli")
for tool in hyperfine python3 lame perl; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/deps.sh installs it)"; exit 1; }
done

ram=$(mktemp -d /dev/shm/quarvel-mp3-bench-XXXXXX)
trap 'rm -rf "$ram"' EXIT
cd "$ram"
perl -e 'binmode STDOUT; for my $n (0 .. 44100 * 60 - 1) { my $v = int(12000 * sin(6.2831853 * 440 * $n / 44100)); print pack("s<s<", $v, $v); }' > tone.raw
lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 --add-id3v2 --tt "Bench" tone.raw head.mp3 2>/dev/null
lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 -t tone.raw body.mp3 2>/dev/null
cp head.mp3 big.mp3
while [ "$(stat -c %s big.mp3)" -lt 100000000 ]; do cat body.mp3 >> big.mp3; done
size=$(stat -c %s big.mp3)
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
echo "file: $size bytes, $("$cli" info big.mp3 | grep -E 'Frames:' | xargs)"

best() { # hyperfine JSON, index -> fastest run in seconds
  python3 -c 'import json,sys; print(min(json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]["times"]))' "$1" "$2"
}

hyperfine --style none --warmup 2 --runs 10 --export-json ours.json "$cli info big.mp3" >/dev/null 2>&1
ours=$(best ours.json 0)
python3 -c 'import sys; t=float(sys.argv[1]); print("quarvel-cli info: %.3f s, %.0f MB/s (goal >= 500 MB/s)" % (t, int(sys.argv[2]) / t / 1e6))' "$ours" "$size"
if command -v ffprobe >/dev/null; then
  hyperfine --style none --runs 1 --export-json ffprobe.json \
    "ffprobe -v error -count_frames -select_streams a:0 -show_entries stream=nb_read_frames big.mp3" >/dev/null 2>&1
  theirs=$(best ffprobe.json 0)
  python3 -c 'import sys; a,b=float(sys.argv[1]),float(sys.argv[2]); print("ffprobe -count_frames: %.3f s; quarvel-cli is %.1f times faster (goal >= 5)" % (b, b/a))' "$ours" "$theirs"
  echo "ffprobe frames: $(ffprobe -v error -count_frames -select_streams a:0 -show_entries stream=nb_read_frames -of csv=p=0 big.mp3)"
fi
if command -v mediainfo >/dev/null; then
  hyperfine --style none --warmup 1 --runs 5 --export-json mediainfo.json "mediainfo big.mp3" >/dev/null 2>&1
  echo "mediainfo (headers only, a reference): $(best mediainfo.json 0) s"
fi

# The program's start (loading its libraries) is measured apart: it is the same for any file.
hyperfine -N --style none --warmup 1 --runs 10 --export-json tag.json \
  "$cli tag big.mp3 --comment bench" "cp big.mp3 copy.mp3" "$cli --help" >/dev/null 2>&1
python3 -c 'import sys; a,b,c=map(float,sys.argv[1:]); print("tag rewrite: %.3f s vs cp %.3f s: ratio %.2f (goal <= 1.25); program start %.3f s, ratio without it %.2f" % (a, b, a/b, c, (a-c)/b))' \
  "$(best tag.json 0)" "$(best tag.json 1)" "$(best tag.json 2)"
