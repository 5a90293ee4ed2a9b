#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Draws the program icon, a white heron standing in water on a blue rounded square, and
writes kpxv410.png at 64 x 64 and kpxv410-256.png at 256 x 256 pixels, and the Windows icon
kpxv410.ico with 16, 32, 64 and 256 pixels.

Standard library only. The picture is painted with hard edges at 1024 x 1024 and averaged
down, which smooths the edges. Run it from any directory; it writes next to itself.
"""

import math
import os
import struct
import zlib

SIZE = 1024

# Straight RGBA canvas, one bytearray per channel.
red = bytearray(SIZE * SIZE)
green = bytearray(SIZE * SIZE)
blue = bytearray(SIZE * SIZE)
alpha = bytearray(SIZE * SIZE)


def paint(inside, box, colour):
    """Sets every pixel of box (x0, y0, x1, y1) whose centre satisfies inside(x, y)."""
    x0, y0, x1, y1 = (max(0, min(SIZE, int(v))) for v in box)
    r, g, b = colour
    for y in range(y0, y1):
        cy = y + 0.5
        row = y * SIZE
        for x in range(x0, x1):
            if inside(x + 0.5, cy):
                i = row + x
                red[i] = r
                green[i] = g
                blue[i] = b
                alpha[i] = 255


def rounded_square(margin, radius):
    lo, hi = margin, SIZE - margin

    def inside(x, y):
        dx = max(lo + radius - x, 0, x - (hi - radius))
        dy = max(lo + radius - y, 0, y - (hi - radius))
        return dx * dx + dy * dy <= radius * radius

    return inside, (lo, lo, hi, hi)


def ellipse(cx, cy, rx, ry, angle_deg):
    c, s = math.cos(math.radians(angle_deg)), math.sin(math.radians(angle_deg))

    def inside(x, y):
        u = (x - cx) * c + (y - cy) * s
        v = -(x - cx) * s + (y - cy) * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0

    r = max(rx, ry)
    return inside, (cx - r, cy - r, cx + r + 1, cy + r + 1)


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r, 0)


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs) + 1, max(ys) + 1)


def stroke(points, width_start, width_end=None):
    """A thick polyline whose width runs from width_start to width_end, round ends."""
    if width_end is None:
        width_end = width_start
    n = len(points) - 1
    segments = []
    for k in range(n):
        (ax, ay), (bx, by) = points[k], points[k + 1]
        wa = width_start + (width_end - width_start) * k / n
        wb = width_start + (width_end - width_start) * (k + 1) / n
        segments.append((ax, ay, bx - ax, by - ay, wa / 2, wb / 2))

    def inside(x, y):
        for ax, ay, dx, dy, ra, rb in segments:
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            r = ra + (rb - ra) * t
            if px * px + py * py <= r * r:
                return True
        return False

    pad = max(width_start, width_end)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs) - pad, min(ys) - pad, max(xs) + pad + 1, max(ys) + pad + 1)


def bezier(p0, p1, p2, p3, steps=24):
    out = []
    for k in range(steps + 1):
        t = k / steps
        a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3
        out.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                    a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return out


def background():
    inside, box = rounded_square(24, 190)
    top, bottom = (46, 132, 178), (16, 62, 104)
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        t = (y - y0) / (y1 - y0)
        colour = tuple(int(top[c] + (bottom[c] - top[c]) * t) for c in range(3))
        paint(inside, (x0, y, x1, y + 1), colour)


def draw():
    white = (246, 246, 240)
    shade = (214, 222, 226)
    beak = (242, 184, 40)
    legs = (236, 196, 90)
    water = (140, 206, 232)

    background()
    # Water: two gentle waves across the lower part.
    for base, width in ((820, 26), (900, 20)):
        wave = [(x, base + 18 * math.sin((x - 120) / 70.0)) for x in range(150, 880, 10)]
        paint(*stroke(wave, width), water)
    # Legs, standing in the water.
    paint(*stroke([(548, 640), (530, 760), (520, 840)], 20, 16), legs)
    paint(*stroke([(600, 640), (612, 760), (626, 840)], 20, 16), legs)
    # Tail plumes and body.
    paint(*polygon([(700, 560), (860, 660), (830, 690), (690, 620)]), shade)
    paint(*ellipse(590, 560, 190, 105, 18), white)
    # Wing line.
    paint(*stroke(bezier((470, 540), (560, 500), (680, 540), (760, 610)), 14), shade)
    # S-shaped neck up to the head.
    neck = bezier((470, 520), (330, 470), (470, 340), (380, 250))
    paint(*stroke(neck, 78, 46), white)
    paint(*circle(372, 240, 46), white)
    # Crest and beak.
    paint(*stroke([(400, 222), (470, 226), (540, 250)], 18, 6), white)
    paint(*polygon([(336, 220), (160, 262), (338, 262)]), beak)
    paint(*circle(366, 230, 9), (20, 40, 60))


def downsample(factor):
    """Averages factor x factor blocks, weighting colour by coverage."""
    out_size = SIZE // factor
    pixels = bytearray()
    for oy in range(out_size):
        pixels.append(0)  # PNG filter type None
        for ox in range(out_size):
            sr = sg = sb = sa = 0
            for y in range(oy * factor, oy * factor + factor):
                row = y * SIZE + ox * factor
                for i in range(row, row + factor):
                    a = alpha[i]
                    if a:
                        sr += red[i] * a
                        sg += green[i] * a
                        sb += blue[i] * a
                        sa += a
            if sa:
                pixels += bytes((sr // sa, sg // sa, sb // sa, sa // (factor * factor)))
            else:
                pixels += b"\0\0\0\0"
    return out_size, bytes(pixels)


def png_bytes(size, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def write_png(path, size, raw):
    with open(path, "wb") as out:
        out.write(png_bytes(size, raw))


def write_ico(path, images):
    """Writes a Windows icon of PNG images (size, png bytes), which Windows reads since Vista."""
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, png in images:
        side = size if size < 256 else 0  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(png), offset + len(data))
        data += png
    with open(path, "wb") as out:
        out.write(directory + data)


def main():
    draw()
    here = os.path.dirname(os.path.abspath(__file__))
    for factor, name in ((16, "kpxv410.png"), (4, "kpxv410-256.png")):
        size, raw = downsample(factor)
        write_png(os.path.join(here, name), size, raw)
    # The Windows program's icon, from 16 to 256 pixels.
    write_ico(os.path.join(here, "kpxv410.ico"),
              [(size, png_bytes(size, raw)) for size, raw in (downsample(f) for f in (64, 32, 16, 4))])


if __name__ == "__main__":
    main()
