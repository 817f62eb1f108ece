#!/usr/bin/env python3
"""Writes the reminder's bell: a short WAV (mono, 16-bit, 11025 Hz) of a struck bell,
two chimes and a pause, so that it rings on when it is played in a loop.

The tone is synthesised from a few partials with exponential decay, computed in integers
only (the sine table comes from an integer rotation), so the file comes out the same byte
for byte on every machine: the build makes it, and the release check's two builds prove it.

Usage: make_bell.py OUT.wav
"""
import struct
import sys

RATE = 11025
TABLE_BITS = 12
TABLE = 1 << TABLE_BITS
ONE = 1 << 15


def sine_table():
    """Q15 sine values of TABLE points of one turn, from integer rotation (no floating point)."""
    # Rotation by 2*pi/TABLE as a Q30 cosine/sine pair, precomputed once and written here so
    # that no library's floating point can change the bytes.
    cos_step, sin_step = 1073740561, 1647099  # round(2**30 * cos/sin(2*pi/4096))
    x, y = 1 << 30, 0
    values = []
    for _ in range(TABLE):
        values.append((y + (1 << 14)) >> 15)  # Q30 -> Q15, rounded
        x, y = (x * cos_step - y * sin_step) >> 30, (x * sin_step + y * cos_step) >> 30
    return values


def chime(sine, start_frame, frames, out):
    """Adds one strike: partials of a bell (frequency in Hz, level in Q15, decay per frame)."""
    partials = [(880, 12000, 65520), (1760, 5000, 65490), (2637, 2600, 65460), (587, 4000, 65528)]
    for freq, level, decay in partials:
        step = freq * TABLE * (1 << 16) // RATE  # Q16 phase step in table points
        phase, amp = 0, level << 16
        for n in range(frames):
            index = (phase >> 16) & (TABLE - 1)
            out[start_frame + n] += (sine[index] * (amp >> 16)) >> 15
            phase += step
            amp = (amp * decay) >> 16


def bell_wav():
    sine = sine_table()
    frames = RATE * 2  # two seconds: two chimes, then quiet
    samples = [0] * frames
    chime(sine, 0, RATE * 7 // 10, samples)
    chime(sine, RATE * 7 // 10, RATE * 9 // 10, samples)
    pcm = b"".join(struct.pack("<h", max(-32767, min(32767, s))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(pcm)) + pcm
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    with open(sys.argv[1], "wb") as f:
        f.write(bell_wav())
    return 0


if __name__ == "__main__":
    sys.exit(main())
