#!/usr/bin/env python3
"""Draws Norvel's dial icon and writes it as a multi-size .ico file.

The icon is a round clock face: white face, black rim, hour marks and hands, red second
hand. Sizes: 32 x 32 with the 16 standard colours (the classic icon), and true colour with
alpha at 16, 20, 24, 48 and 256 pixels for the tray and high DPI (256 stored as PNG).

Usage: make_icon.py <output.ico>
"""
import math
import struct
import sys
import zlib

# The time the dial shows: the classic 10:08 pose, second hand at 37 s.
HOUR, MINUTE, SECOND = 10, 8, 37

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
RED = (255, 0, 0)


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from point p to segment a-b."""
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def hand(angle_turns, length, width):
    """A hand from the centre, angle in turns clockwise from 12 o'clock (unit circle)."""
    a = angle_turns * 2 * math.pi
    return (0.0, 0.0, math.sin(a) * length, -math.cos(a) * length, width)


def shapes(size):
    """Shapes in unit coordinates (-1..1), drawn in order; thicker strokes at small sizes."""
    px = 2.0 / size  # one pixel in unit coordinates
    rim = max(0.10, 1.6 * px)
    stroke = max(0.07, 1.3 * px)
    fine = max(0.045, 1.0 * px)
    out = [("disc", 0.98, BLACK), ("disc", 0.98 - rim, WHITE)]
    for i in range(12):
        a = i / 12 * 2 * math.pi
        outer = 0.98 - rim - 0.04
        inner = outer - (0.20 if i % 3 == 0 else 0.11)
        w = stroke if i % 3 == 0 else fine
        if size < 24 and i % 3 != 0:
            continue  # at tiny sizes only the quarter marks stay legible
        out.append(("line", (math.sin(a) * inner, -math.cos(a) * inner,
                             math.sin(a) * outer, -math.cos(a) * outer, w), BLACK))
    out.append(("line", hand((HOUR + MINUTE / 60) / 12, 0.45, stroke * 1.3), BLACK))
    out.append(("line", hand(MINUTE / 60, 0.68, stroke), BLACK))
    out.append(("line", hand(SECOND / 60, 0.74, fine), RED))
    out.append(("disc", max(0.09, 1.5 * px), RED))
    return out


def covered(shape, x, y):
    kind, geometry, _ = shape
    if kind == "disc":
        return x * x + y * y <= geometry * geometry
    ax, ay, bx, by, w = geometry
    return segment_distance(x, y, ax, ay, bx, by) <= w / 2


def render(size, samples=6):
    """RGBA rows, top row first, with coverage antialiasing."""
    drawn = shapes(size)
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sj in range(samples):
                for si in range(samples):
                    x = ((i + (si + 0.5) / samples) / size) * 2 - 1
                    y = ((j + (sj + 0.5) / samples) / size) * 2 - 1
                    colour = None
                    for shape in drawn:
                        if covered(shape, x, y):
                            colour = shape[2]
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = samples * samples
            alpha = acc[3] / n
            if acc[3]:
                rgb = tuple(round(c / acc[3]) for c in acc[:3])
            else:
                rgb = (0, 0, 0)
            row.append((rgb[0], rgb[1], rgb[2], round(alpha * 255)))
        rows.append(row)
    return rows


# The 16 standard Windows colours, in palette order.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def nearest16(rgb):
    # Only black, red and white: grey edge pixels would blur a 32-pixel dial.
    return min((0, 9, 15), key=lambda k: sum((a - b) ** 2 for a, b in zip(rgb, PALETTE16[k])))


def mask_rows(rows, size):
    """The AND mask (1 = transparent), bottom row first, rows padded to 4 bytes."""
    stride = ((size + 31) // 32) * 4
    data = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for i, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[i // 8] |= 0x80 >> (i % 8)
        data += bytes(bits)
    return data


def bmp_16_colours(rows, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE16)
    stride = ((size * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):
        line = bytearray(stride)
        for i, (r, g, b, a) in enumerate(row):
            index = nearest16((r, g, b)) if a >= 128 else 0
            line[i // 2] |= index << (4 if i % 2 == 0 else 0)
        pixels += bytes(line)
    return header + palette + pixels + mask_rows(rows, size)


def bmp_true_colour(rows, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows)
                      for (r, g, b, a) in row)
    return header + pixels + mask_rows(rows, size)


def png(rows, size):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = []  # (size, colour count, bits per pixel, data)
    images.append((32, 16, 4, bmp_16_colours(render(32), 32)))
    for size in (16, 20, 24, 48):
        images.append((size, 0, 32, bmp_true_colour(render(size), size)))
    images.append((256, 0, 32, png(render(256, samples=3), 256)))

    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bpp, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    out += b"".join(data for *_, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
