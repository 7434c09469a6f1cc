#!/usr/bin/env bash
# Builds the tag reader fuzz target with clang's libFuzzer (and ASan/UBSan) and runs it.
#
#   fuzz/run_id3_fuzz.sh [SECONDS]      (default: 60)
#
# The corpus starts from the MPEG fixtures of tests/fixtures/mpeg and grows in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out/corpus"
cp -n tests/fixtures/mpeg/* "$out/corpus/" 2>/dev/null || true
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
  fuzz/Id3TagFuzz.cpp \
  metadata/CID3TagFile.cpp metadata/GenreTable.cpp metadata/Id3TagTexts.cpp metadata/Id3Text.cpp \
  platform/xaudio/AudioRegion.cpp platform/xaudio/MpegFrameHeader.cpp platform/xaudio/MpegStreamScanner.cpp \
  platform/xaudio/XaudioAnalyzer.cpp \
  app/FileError.cpp app/FileHandle.cpp app/ReplacingFile.cpp app/TextFormat.cpp app/Utf8Text.cpp \
  -o "$out/id3_fuzz"
"$out/id3_fuzz" -max_total_time="$seconds" -max_len=65536 "$out/corpus"
