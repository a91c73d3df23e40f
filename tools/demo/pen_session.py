#!/usr/bin/env python3
"""Writes the demo's pen session as simhid scripts: a few handwritten words and a signature with varying
pressure, a hover, an eraser stroke across part of the writing, and a keypad key press.

usage: pen_session.py TABLET_SCRIPT KEYPAD_SCRIPT   (prints the number of tablet reports)
"""
import math
import sys

TABLET_W, TABLET_H = 10206, 7422
HOVER, TIP, ERASER_HOVER, ERASER_TIP = 0x90, 0x91, 0xB0, 0xB1
START_DELAY_MS = 6000
STEP = 60  # tablet units between reports while writing: about 12 000 units a second at 200 Hz

# A small stroke font: each letter is a list of strokes in a box 1 wide and 1 high (y down), plus its
# advance. Only the letters the demo writes.
FONT = {
    "h": ([[(0, 0), (0, 1)], [(0, 1), (0, 0.55), (0.25, 0.45), (0.5, 0.55), (0.5, 1)]], 0.7),
    "e": ([[(0, 0.72), (0.5, 0.72), (0.45, 0.5), (0.25, 0.42), (0.05, 0.55), (0.05, 0.9), (0.3, 1.02),
            (0.52, 0.92)]], 0.7),
    "l": ([[(0.1, 0), (0.1, 0.9), (0.25, 1)]], 0.4),
    "o": ([[(0.25, 0.45), (0.03, 0.6), (0.05, 0.92), (0.28, 1.02), (0.5, 0.88), (0.5, 0.58), (0.25, 0.45)]], 0.7),
    "p": ([[(0, 0.45), (0, 1.35)], [(0, 0.55), (0.3, 0.43), (0.52, 0.6), (0.5, 0.88), (0.25, 1.0), (0, 0.9)]], 0.7),
    "n": ([[(0, 0.45), (0, 1)], [(0, 1), (0, 0.6), (0.25, 0.45), (0.5, 0.6), (0.5, 1)]], 0.7),
    "w": ([[(0, 0.45), (0.15, 1), (0.3, 0.6), (0.45, 1), (0.6, 0.45)]], 0.8),
    "r": ([[(0, 0.45), (0, 1)], [(0, 0.75), (0.15, 0.5), (0.4, 0.45)]], 0.55),
    "d": ([[(0.5, 0), (0.5, 1)], [(0.5, 0.6), (0.25, 0.45), (0.03, 0.6), (0.05, 0.92), (0.28, 1.02), (0.5, 0.88)]],
          0.7),
    " ": ([], 0.5),
}


def report(status, x, y, pressure):
    x = max(0, min(TABLET_W, int(x)))
    y = max(0, min(TABLET_H, int(y)))
    pressure = max(0, min(1023, int(pressure)))
    return "02 %02x %02x %02x %02x %02x %02x %02x" % (status, x & 0xFF, x >> 8, y & 0xFF, y >> 8, pressure & 0xFF,
                                                      pressure >> 8)


def sample(points):
    """Points every STEP units along a polyline."""
    out = [points[0]]
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        steps = max(1, int(length / STEP))
        out += [(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps) for i in range(1, steps + 1)]
    return out


class Session:
    def __init__(self):
        self.lines = []
        self.pen = (TABLET_W / 2, TABLET_H / 2)

    def emit(self, status, x, y, pressure=0):
        self.lines.append(report(status, x, y, pressure))
        self.pen = (x, y)

    def hover_to(self, x, y, status=HOVER):
        for px, py in sample([self.pen, (x, y)])[1:]:
            self.emit(status, px, py)

    def stroke(self, points, status=TIP, base=520, swing=330):
        self.hover_to(*points[0], status=status & 0xF0)
        path = sample(points)
        for i, (x, y) in enumerate(path):
            # Pressure rises at the start, falls at the end and breathes in between, as a hand writes.
            envelope = math.sin(math.pi * (i + 1) / (len(path) + 1)) ** 0.5
            pressure = envelope * (base + swing * math.sin(i / 7.0))
            self.emit(status, x, y, pressure)
        self.emit(status & 0xF0, *self.pen)  # lift

    def word(self, text, left, baseline, size):
        x = left
        for letter in text:
            strokes, advance = FONT[letter]
            for stroke in strokes:
                self.stroke([(x + px * size, baseline - size + py * size) for px, py in stroke])
            x += advance * size
        return x

    def signature(self, left, top, width, height):
        points = []
        for i in range(140):
            t = i / 139.0
            x = left + width * t
            y = top + height * (0.5 + 0.35 * math.sin(t * 5 * math.pi) * (1 - t) + 0.12 * math.sin(t * 17))
            points.append((x, y))
        self.stroke(points, base=450, swing=380)
        self.stroke([(left + width * 0.1, top + height * 1.05), (left + width * 0.95, top + height * 0.95)],
                    base=380, swing=200)

    def leave(self):
        self.lines.append("02 00 00 00 00 00 00 00")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    session = Session()
    # The tablet is plugged in before the suite starts; the canvas opens while the pen is still away.
    session.lines.append("wait %d" % START_DELAY_MS)
    session.hover_to(1000, 1500)
    session.word("hello", 900, 2300, 1100)
    session.word("pen world", 900, 4000, 1100)
    session.signature(5200, 4800, 4200, 1500)
    # A slow hover across the page, then the pen turned over to erase part of "world".
    for i in range(60):
        session.emit(HOVER, 1000 + i * 120, 6500 + 200 * math.sin(i / 6))
    session.leave()
    session.lines.append("wait 300")
    session.stroke([(5600, 3500), (8300, 3600), (8300, 3300), (5600, 3200)], status=ERASER_TIP, base=700, swing=0)
    session.leave()
    with open(sys.argv[1], "w") as tablet:
        tablet.write("\n".join(session.lines) + "\n")
    # Keypad: no key, key 1 of group 1 pressed and released (the default key sends Ctrl).
    with open(sys.argv[2], "w") as keypad:
        keypad.write("00 55 a0 00 00\n+100 00 55 a1 00 00\n+100 00 55 a0 00 00\n")
    print(sum(1 for line in session.lines if not line.startswith("wait")))


if __name__ == "__main__":
    main()
