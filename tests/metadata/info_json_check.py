"""Reads `quarvel-cli info --json` output (one object per line) and checks it against what the
test wrote: an MP3 with a tagged title, a part of a split, and a missing file.

usage: info_json_check.py OUTPUT MP3_PATH TITLE PART_PATH MISSING_PATH
Prints what differs and exits 1, or exits 0 when all holds."""
import json
import sys

output, mp3_path, title, part_path, missing_path = sys.argv[1:]
with open(output, encoding="utf-8") as stream:
    objects = [json.loads(line) for line in stream.read().splitlines()]

expected = [
    (0, ["file"], mp3_path),
    (0, ["type"], "MP3"),
    (0, ["track", "title"], title),
    (0, ["track", "genre"], "Rock"),
    (0, ["track", "track"], "3"),
    (0, ["mpeg", "level"], "MPEG 1"),
    (0, ["mpeg", "layer"], 3),
    (0, ["mpeg", "bitrate"], 128000),
    (0, ["mpeg", "frequency"], 44100),
    (0, ["mpeg", "mode"], "joint-stereo"),
    (0, ["mpeg", "frames"], 40),
    (0, ["mpeg", "durationMs"], 1045),
    (0, ["mpeg", "constant", "bitrate"], True),
    (0, ["tags"], "ID3v1 and ID3v2"),
    (1, ["file"], part_path),
    (1, ["type"], "GN"),
    (1, ["part"], 1),
    (1, ["count"], 2),
    (1, ["name"], "a.bin"),
    (1, ["dataLength"], 678),
    (1, ["checksumHolds"], True),
    (2, ["file"], missing_path),
    (2, ["error"], "No such file or directory"),
]
faults = [] if len(objects) == 3 else [f"{len(objects)} objects, not 3"]
for index, keys, value in expected if not faults else []:
    found = objects[index]
    for key in keys:
        found = found.get(key) if isinstance(found, dict) else None
    if found != value:
        faults.append(f"object {index} {'.'.join(keys)}: {found!r}, expected {value!r}")
if not faults and "Layer: 3" not in objects[0]["mpegInfo"]:
    faults.append(f"mpegInfo lacks the layer line: {objects[0]['mpegInfo']!r}")
print("\n".join(faults))
sys.exit(1 if faults else 0)
