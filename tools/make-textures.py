#!/usr/bin/env python3
"""Draws the stitch texture pictures of data/textures/ (PNG, RGB).

The pictures are light grey, so that multiplying them channel by channel with a thread colour
gives that colour with the picture's shading; magenta #FF00FF marks transparent pixels.

  ImageBackGround 97 x 97  fabric of the preview: Aida weave, a hole at each cell corner
  ImagebackQMK    97 x 97  fabric of printed pages: the same weave, lighter
  ImageCross      97 x 97  a full cross: two twisted legs from corner to corner
  ImagePixel      94 x 94  a full cell: a cross whose legs cover the cell
  ImageQuarter    49 x 49  a quarter stitch: one leg from the corner to the centre
  ImageFrenchKnot 97 x 97  a French knot: a wound ball of thread
  ImageBack       97 x 97  end piece of a back-stitch strip (start cap left, end cap right)
  ImageBackM      97 x 97  middle piece of a back-stitch strip (repeats seamlessly)

Standard library only; the output is the same on every run.
Usage: tools/make-textures.py [OUTPUT_FOLDER]   (default: data/textures next to tools/)
"""

import math
import os
import random
import struct
import sys
import zlib

MAGENTA = (255, 0, 255)


def write_png(path, width, height, pixels):
    """pixels: list of rows, each a list of (r, g, b)."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def clamp(v):
    return max(0, min(254, int(round(v))))


def grey(v, warm=0.0):
    """A light thread grey; `warm` tilts it a little towards yellow (fabric)."""
    return (clamp(v * (1 + 0.012 * warm)), clamp(v), clamp(v * (1 - 0.03 * warm)))


def smoothstep(e0, e1, x):
    if e1 == e0:
        return 1.0 if x >= e1 else 0.0
    t = max(0.0, min(1.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)


# --- fabric ------------------------------------------------------------------------------

def fabric(size, seed, hole_depth, contrast):
    """Aida cloth: blocks of threads woven over and under, a hole at every cell corner (a
    quarter of a hole in each corner of the tile, so tiles put a whole hole on every grid
    point). Seamless when repeated."""
    rnd = random.Random(seed)
    noise = [[rnd.uniform(-1, 1) for _ in range(size)] for _ in range(size)]
    strands = 4  # threads of the weave per cell and direction
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            u = (x + 0.5) / size * strands
            v = (y + 0.5) / size * strands
            fu, fv = u - math.floor(u), v - math.floor(v)
            # Which thread lies on top alternates like a checkerboard (plain weave).
            over_h = (int(math.floor(u)) + int(math.floor(v))) % 2 == 0
            if over_h:
                across = math.sin(math.pi * fv)   # a horizontal thread, round across
                along = 0.92 + 0.08 * math.sin(math.pi * fu)
            else:
                across = math.sin(math.pi * fu)
                along = 0.92 + 0.08 * math.sin(math.pi * fv)
            value = 226 + contrast * (across * along - 0.6)
            # Fibre noise, a little smoothed by the neighbours.
            n = (noise[y][x] * 2 + noise[y][(x + 1) % size] + noise[(y + 1) % size][x]) / 4
            value += n * 6 * contrast / 30
            # The hole at the nearest cell corner.
            dx = min(x + 0.5, size - x - 0.5)
            dy = min(y + 0.5, size - y - 0.5)
            r = math.hypot(dx, dy) / size
            hole = 1 - smoothstep(0.045, 0.11, r)
            value -= hole * hole_depth
            # The gaps between the blocks of a cell, faint lines through the holes.
            edge = min(dx, dy) / size
            value -= (1 - smoothstep(0.0, 0.035, edge)) * hole_depth * 0.25
            row.append(grey(value, warm=1.0))
        rows.append(row)
    return rows


# --- threads -----------------------------------------------------------------------------

def thread_shade(across, along, twist_period, slant):
    """The shade of a twisted thread at `across` (-1 .. 1 over its width) and `along` (pixels
    along it): round across (lighter in the middle, with a highlight off-centre), strands
    twisting as stripes slanted by `slant` pixels from one edge to the middle."""
    body = math.sqrt(max(0.0, 1 - across * across))
    highlight = math.exp(-((across + 0.3) ** 2) / 0.08)
    phase = 2 * math.pi * (along + slant * across) / twist_period
    twist = 0.5 + 0.5 * math.cos(phase)
    value = 150 + 70 * body + 34 * highlight
    value *= 0.84 + 0.16 * twist
    return value


def cross_picture(size, half_width, cap, cover=False):
    """Two legs corner to corner; the top leg (top-left to bottom-right) over the bottom one.
    `half_width` of a leg in pixels; `cap` rounds the ends into the holes."""
    rows = [[MAGENTA] * size for _ in range(size)]
    c = (size - 1) / 2.0
    diag = math.sqrt(2) * size
    for y in range(size):
        for x in range(size):
            px, py = x - c, y - c
            best = None
            for leg in (0, 1):  # 0: bottom leg "/", 1: top leg "\"
                if leg == 0:
                    dist = (px + py) / math.sqrt(2)    # across the "/" leg
                    along = (px - py) / math.sqrt(2)
                else:
                    dist = (px - py) / math.sqrt(2)
                    along = (px + py) / math.sqrt(2)
                # The leg narrows towards the holes at its two ends.
                end = diag / 2 - abs(along)
                w = half_width * (0.3 + 0.7 * smoothstep(0, cap, end))
                if cover:
                    w = half_width
                if abs(dist) <= w and end > -2:
                    shade = thread_shade(dist / w, along + diag, 15.0, w * 0.9)
                    if not cover:
                        # The thread dives into the hole at each end.
                        shade *= 0.72 + 0.28 * smoothstep(0, cap * 0.8, end)
                    if leg == 0:
                        shade *= 0.93   # the lower leg lies a little in shadow
                    best = shade
                    if leg == 1:
                        # The top leg throws a shadow on the lower one beside it.
                        pass
                elif leg == 1 and best is not None and abs(dist) <= w + 4:
                    best *= 0.82 + 0.18 * (abs(dist) - w) / 4
            if best is not None:
                rows[y][x] = grey(best)
    return rows


def pixel_picture(size):
    """A full cell: a cross with legs wide enough to cover the cell but for four small notches
    at the middles of its sides, so the fabric shows between neighbouring cells."""
    return cross_picture(size, half_width=size * 0.40, cap=1, cover=True)


def quarter_picture(size):
    """One leg from the top-left corner (a hole) to the bottom-right corner (the cell's centre
    when four of them make a cell)."""
    rows = [[MAGENTA] * size for _ in range(size)]
    length = math.sqrt(2) * size
    half = size * 0.30
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            dist = (px - py) / math.sqrt(2)
            along = (px + py) / math.sqrt(2)
            end = min(along, length - along)
            w = half * (0.55 + 0.45 * smoothstep(0, half * 1.2, end))
            if abs(dist) <= w and end > -1:
                rows[y][x] = grey(thread_shade(dist / w, along, 15.0, w * 0.9))
    return rows


def knot_picture(size):
    """A French knot: a ball of thread wound twice, shaded as a sphere lit from the top left."""
    rows = [[MAGENTA] * size for _ in range(size)]
    c = (size - 1) / 2.0
    radius = size * 0.36
    for y in range(size):
        for x in range(size):
            px, py = (x - c) / radius, (y - c) / radius
            r2 = px * px + py * py
            if r2 > 1:
                continue
            z = math.sqrt(1 - r2)
            light = max(0.0, -0.45 * px - 0.5 * py + 0.74 * z)
            ang = math.atan2(py, px)
            r = math.sqrt(r2)
            # The wraps: a spiral of strands around the centre.
            wrap = 0.5 + 0.5 * math.cos(2 * ang * 1.0 + r * 9.0)
            value = 140 + 95 * light + 20 * (wrap - 0.5) * z
            value *= 0.86 + 0.14 * wrap
            rows[y][x] = grey(value)
    return rows


def strip_picture(size, caps):
    """A horizontal piece of thread through the middle of the picture. The middle piece
    repeats seamlessly; the end piece has the start cap in its first quarter and the end cap
    at its right end, drawn three times as long, because the strip builder squeezes the last
    three quarters into one."""
    rows = [[MAGENTA] * size for _ in range(size)]
    c = (size - 1) / 2.0
    half = size * 0.16
    period = size / 4.0  # four twists per piece, so copies join without a seam
    quarter = size // 4
    for y in range(size):
        for x in range(size):
            w = half
            if caps:
                if x < quarter:
                    w = half * smoothstep(-quarter * 0.15, quarter * 0.9, x + 0.5)
                else:
                    rest = size - (x + 0.5)
                    w = half * smoothstep(-3 * quarter * 0.15, 3 * quarter * 0.9, rest)
            if w <= 0.5:
                continue
            dist = y - c
            if abs(dist) <= w:
                # The twist keeps its slant across the whole thread width.
                rows[y][x] = grey(thread_shade(dist / w, x, period, half * 0.9))
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "textures")
    os.makedirs(out, exist_ok=True)
    pictures = [
        ("ImageBackGround", 97, fabric(97, seed=11, hole_depth=80, contrast=26)),
        ("ImagebackQMK", 97, fabric(97, seed=12, hole_depth=55, contrast=18)),
        ("ImageCross", 97, cross_picture(97, half_width=22.0, cap=36)),
        ("ImagePixel", 94, pixel_picture(94)),
        ("ImageQuarter", 49, quarter_picture(49)),
        ("ImageFrenchKnot", 97, knot_picture(97)),
        ("ImageBack", 97, strip_picture(97, caps=True)),
        ("ImageBackM", 97, strip_picture(97, caps=False)),
    ]
    for name, size, rows in pictures:
        write_png(os.path.join(out, name + ".png"), size, size, rows)
        print(os.path.join(out, name + ".png"))


if __name__ == "__main__":
    main()
