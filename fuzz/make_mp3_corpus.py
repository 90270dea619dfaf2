#!/usr/bin/env python3
"""Writes the crafted seed files of the MP3 frame scanner's fuzz target into
fuzz/corpus_mp3/. Each is a few hundred bytes; the outputs are committed, so
this only runs when a case is added or changed."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus_mp3")

MPEG1_L3 = (0xFB, 0x90, 0x64, 417)   # 128 kbit/s, 44.1 kHz, joint stereo
MPEG25_L3 = (0xE3, 0x18, 0xC4, 72)   # 8 kbit/s, 8 kHz, mono
FREE_FORMAT = (0xFB, 0x00, 0x64)     # bit-rate index 0


def frame(kind, fill=0x55):
    b1, b2, b3, size = kind
    return bytes([0xFF, b1, b2, b3]) + bytes([fill]) * (size - 4)


def frames(kind, count):
    return b"".join(frame(kind) for _ in range(count))


def id3(body_size, real_body):
    syncsafe = bytes([(body_size >> s) & 0x7F for s in (21, 14, 7, 0)])
    return b"ID3\x04\x00\x00" + syncsafe + real_body


def xing(declared_frames):
    f = bytearray(frame(MPEG1_L3, 0))
    at = 4 + 32  # after the side information of a stereo MPEG-1 frame
    f[at:at + 12] = b"Xing" + struct.pack(">II", 1, declared_frames)
    return bytes(f)


CASES = {
    # The tag claims 2^28 - 1 bytes; the file holds three frames.
    "id3_size_past_end": id3(0x0FFFFFFF, b"TIT2") + frames(MPEG1_L3, 3),
    # An information frame declaring 2^31 frames in front of two real ones.
    "xing_2pow31_frames": xing(2**31) + frames(MPEG1_L3, 2),
    # Headers with nothing between them.
    "zero_length_frames": bytes([0xFF, 0xFB, 0x90, 0x64]) * 64,
    # Free-format headers (no bit rate given) at a fixed distance.
    "free_format": b"".join(bytes([0xFF, *FREE_FORMAT]) + b"\x00" * 200 for _ in range(6)),
    # The last frame is cut in the middle.
    "truncated_last_frame": frames(MPEG1_L3, 3) + frame(MPEG1_L3)[:150],
    # MPEG-2.5 layer III, 8 kHz.
    "mpeg25_stream": frames(MPEG25_L3, 12),
    # Garbage between frames, then frames again.
    "resync": frames(MPEG1_L3, 2) + b"\xff\xfb\x00garbage" + frames(MPEG1_L3, 2),
}

os.makedirs(OUT, exist_ok=True)
for name, data in CASES.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
