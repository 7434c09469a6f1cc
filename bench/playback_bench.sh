#!/usr/bin/env bash
# The playback component against its goals, on a 10-minute MP3 made here with lame from a noise
# WAV (noise keeps every band busy, the hardest case for a decoder):
#   1. quarvel-cli decode against mpg123 -w on the same file, one run each: goal at most 1.1 times;
#   2. Stop to STOPPED while playing into a WAV file: goal median below 50 ms.
# Usage: bench/playback_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cli="$build/cli/quarvel-cli"
stopbench="$build/bench/playback_stop_bench"
for tool in lame mpg123; do command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)"; exit 1; }; done
[ -x "$cli" ] && [ -x "$stopbench" ] || { echo "build $build first (quarvel-cli, playback_stop_bench)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 10 minutes of 44.1 kHz 16-bit stereo: a canonical 44-byte WAV header, then noise.
bytes=$((600 * 44100 * 4))
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
{
  printf 'RIFF'; le32 $((36 + bytes)); printf 'WAVEfmt '; le32 16
  printf '\x01\x00\x02\x00'; le32 44100; le32 $((44100 * 4)); printf '\x04\x00\x10\x00'
  printf 'data'; le32 "$bytes"
  head -c "$bytes" /dev/urandom
} > "$work/noise.wav"
echo "encoding a 10-minute MP3 with lame ..."
lame --quiet -b 192 "$work/noise.wav" "$work/ten.mp3"

seconds() { local start end; start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N); echo "$(( (end - start) / 1000000 ))"; }
ours=$(seconds "$cli" decode "$work/ten.mp3" -o "$work/ours.wav")
theirs=$(seconds mpg123 -q -w "$work/theirs.wav" "$work/ten.mp3")
cmp -s "$work/ours.wav" "$work/theirs.wav" && same="identical" || same="different"
awk -v o="$ours" -v t="$theirs" -v s="$same" 'BEGIN {
  r = o / t
  printf "decode 10 min MP3 to WAV: quarvel-cli %d ms, mpg123 -w %d ms, ratio %.2f (goal <= 1.10: %s); WAV files %s\n",
         o, t, r, (r <= 1.10 ? "met" : "missed"), s }'

"$stopbench" "$work/ten.mp3" 51
