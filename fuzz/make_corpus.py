#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

Every seed is built here from the file formats themselves: part files of the splitter and the
older OLD and ENC files, MPEG frames with ID3v1 and ID3v2 tags, and M3U playlists. The input
layouts are those that the targets in this folder describe at their top.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_KEY = b"7A19F3C0D2B84E6691A5C3E07F2B9D41"
KEY_PREFIX = DEFAULT_KEY[:22]
PART_SEPARATOR = b"#PART#"
LIST_SEPARATOR = b"#LIST#"


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def xor(data, key):
    return bytes(b ^ key[i % len(key)] for i, b in enumerate(data))


# --- parts -------------------------------------------------------------------------------------

def part(index, count, name, data, flags=0, user_key=b""):
    key = KEY_PREFIX + user_key if user_key else DEFAULT_KEY
    name_bytes = name.encode()
    name_length = len(name_bytes) if flags & 1 else 0
    block = bytearray(name_bytes + b"\0" + bytes(127 - len(name_bytes)))
    if flags & 1:
        block[:name_length] = xor(bytes(block[:name_length]), key)
    checksum = sum(data) & 0xFFFFFFFF
    stored = xor(data, key) if flags & 2 else data
    header = b"\xFF\xFF\x00\x00\x05\x00CCode" + struct.pack(
        "<6I", index, count, checksum, flags, name_length, len(data))
    return header + bytes(block) + stored


def part_set(name, source, payload, flags=0, user_key=b""):
    chunks = [source[i:i + payload] for i in range(0, len(source), payload)]
    return [part(i, len(chunks), name, chunk, flags, user_key) for i, chunk in enumerate(chunks)]


KEY = b"01234567"
ORDER = sorted(range(16), key=lambda position: ("kupferdrahtrolle"[position], position))


def transpose(source):
    return b"".join(source[column::16] for column in ORDER)


def old_file(first, second, source):
    header = bytearray(b" " * 131)
    header[0] = 0x13
    header[1:8] = b"abcdef2"
    for at, text in ((38, first), (69, second)):
        header[at] = len(text)
        header[at + 1:at + 1 + len(text)] = text
    return bytes(header) + transpose(source)


def enc_file(fields, source):
    scrambled = [bytes(b ^ ((i + 1) & 0xFF) for i, b in enumerate(field)) for field in fields]
    header = bytearray(b"ENC " + b"\x11" * 22)
    for i in range(4):
        header[18 + i] = len(scrambled[i])
    for i in range(2):
        header[22 + 2 * i:24 + 2 * i] = struct.pack("<H", len(scrambled[4 + i]))
    return bytes(header) + b"".join(scrambled) + transpose(source)


def joiner_corpus():
    source = bytes((i * 7 + 3) & 0xFF for i in range(700))
    write("joiner", "classic_set", b"\x00" + PART_SEPARATOR.join(part_set("song.mp3", source, 300)))
    write("joiner", "geo_set_deleted", b"\x03" + PART_SEPARATOR.join(part_set("geo.mp3", source, 400, flags=4)))
    keyed = part_set("secret name.mp3", source, 250, flags=1 | 2 | 8, user_key=KEY)
    write("joiner", "keyed_set_last_picked", bytes([0x04 | 0x20, len(KEY)]) + KEY + PART_SEPARATOR.join(keyed))
    write("joiner", "enciphered_beside", b"\x08" + PART_SEPARATOR.join(part_set("x.bin", source, 1000, flags=3)))
    write("joiner", "old_file", b"\x00" + old_file(b"Title", b"Artist", source))
    write("joiner", "enc_file", b"\x00" + enc_file([b"Artist", b"Title", b"x", b"", b"genre", b"c" * 300], source))
    write("joiner", "part_missing", b"\x00" + part_set("gap.mp3", source, 200)[0])


# --- MPEG and ID3 ------------------------------------------------------------------------------

BITRATES = {  # (MPEG-1?, layer) -> kbit/s by index
    (True, 1): [0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448],
    (True, 2): [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384],
    (True, 3): [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    (False, 1): [0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256],
    (False, 2): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
BITRATES[(False, 3)] = BITRATES[(False, 2)]
RATES = {3: [44100, 48000, 32000], 2: [22050, 24000, 16000], 0: [11025, 12000, 8000]}


def frame(version=3, layer=3, bitrate_index=9, rate_index=0, mode=0, padding=0, body=b""):
    """One frame: version bits 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5; its body padded with zeros."""
    layer_bits = {1: 3, 2: 2, 3: 1}[layer]
    header = bytes([0xFF, 0xE0 | version << 3 | layer_bits << 1 | 1,
                    bitrate_index << 4 | rate_index << 2 | padding << 1, mode << 6])
    bitrate = BITRATES[(version == 3, layer)][bitrate_index] * 1000
    rate = RATES[version][rate_index]
    if layer == 1:
        length = (12 * bitrate // rate + padding) * 4
    else:
        length = (72 if layer == 3 and version != 3 else 144) * bitrate // rate + padding
    data = header + body
    return data + bytes(length - len(data))


def syncsafe(value):
    return bytes([(value >> 21) & 0x7F, (value >> 14) & 0x7F, (value >> 7) & 0x7F, value & 0x7F])


def id3v2(version, frames, flags=0):
    body = b""
    for frame_id, payload in frames:
        size = syncsafe(len(payload)) if version == 4 else struct.pack(">I", len(payload))
        body += frame_id + size + b"\0\0" + payload
    body += bytes(16)  # padding
    return b"ID3" + bytes([version, 0, flags]) + syncsafe(len(body)) + body


def id3v1(title, artist, album, year, comment, track, genre):
    def field(text, width):
        return text[:width] + bytes(width - len(text[:width]))
    return b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + \
        field(comment, 28) + b"\0" + bytes([track, genre])


def utf16(text):
    return b"\x01\xFF\xFE" + text.encode("utf-16-le")


def mpeg_and_id3_corpus():
    cbr = b"".join(frame(padding=i % 2) for i in range(5))
    v23 = id3v2(3, [(b"TIT2", b"\0Title"), (b"TPE1", b"\0Artist"), (b"TALB", b"\0Album"),
                    (b"TYER", b"\x002001"), (b"TRCK", b"\x003/9"), (b"TCON", b"\0(17)Rock"),
                    (b"COMM", b"\0eng\0A comment"), (b"TXXX", b"\0mood\0calm")])
    v24 = id3v2(4, [(b"TIT2", utf16("Tïtle €")), (b"TDRC", b"\x032024-05"), (b"TPE1", b"\x03Art\xc3\xafst"),
                    (b"COMM", b"\x01eng\xFF\xFE\0\0" + "Kommentar ü".encode("utf-16-le")),
                    (b"PCNT", b"\0\0\0\x07")])
    v1 = id3v1(b"Old title", b"Old artist", b"Old album", b"1999", b"Comment", 4, 17)
    xing = frame(body=bytes(32) + b"Xing" + struct.pack(">III", 3, 5, 5 * 418))
    mixed = frame(version=2, bitrate_index=8) * 3 + frame(version=0, bitrate_index=4, rate_index=2) * 3 + \
        frame(layer=2, bitrate_index=10, rate_index=1) * 3 + frame(layer=1, bitrate_index=1) * 3
    ape = b"APETAGEX" + struct.pack("<IIII", 2000, 32, 0, 0) + bytes(8)
    damaged = cbr[:600] + b"\xFF\xFB\x00garbage" + cbr[600:]
    # The tag is unsynchronised as a whole: the frame size counts the bytes before the zero was put in.
    unsynchronised = b"ID3\x03\x00\x80" + syncsafe(30) + b"TIT2\0\0\0\x07\0\0\0Ti\xFF\x00tle" + bytes(12)
    samples = {
        "v23_v1_cbr": v23 + cbr + v1,
        "v24_xing": v24 + xing + cbr,
        "v1_only": cbr + v1,
        "mixed_levels_layers": mixed,
        "ape_and_v1": cbr + ape + v1,
        "damaged": damaged,
        "unsynchronised_v23": unsynchronised + cbr,
    }
    for name, data in samples.items():
        write("id3", name, data)
        write("mpeg", name, data)


# --- playlists ---------------------------------------------------------------------------------

def playlist_corpus():
    write("playlist", "plain", b"#EXTM3U\r\n#EXTINF:12,A\r\na.mp3\r\nb c.mp3\r\nsub/x.mp3\r\nmissing.mp3\r\n")
    write("playlist", "nested_loop", LIST_SEPARATOR.join([
        b"b.m3u\nsub/c.m3u\na.mp3\n",
        b"a.mp3\nlist.m3u\nb c.mp3\n",
        b"x.mp3\n../D.M3U\ny.MP3\n",
        b"@@/a.mp3\n\xfc.mp3\n@@/sub/c.m3u\n",
    ]))
    write("playlist", "bom_latin1_addresses",
          b"\xEF\xBB\xBF#EXTM3U\r\n\xfc.mp3\r\n@@/sub/x.mp3\r\nhttp://radio.example/live/stream.mp3\r\n"
          b"http://radio.example/one.mp3 | One\r\nNews SongURL=http://radio.example/news.mp3::x\r\n")
    write("playlist", "no_line_end", b"a.mp3\nsub/./x.mp3")
    write("playlist", "nul_in_lines", b"a.mp3\0\0Iub\r/\nb c.mp3\0x\n\xfc.mp3\n")


if __name__ == "__main__":
    joiner_corpus()
    mpeg_and_id3_corpus()
    playlist_corpus()
