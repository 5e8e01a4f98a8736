#!/usr/bin/python3
"""Writes the shipped palette files data/palettes/{DMC,Anchor,Madeira}.ctb from the thread tables.

Usage: /usr/bin/python3 tools/make-palettes.py [THREADS_DIR]

THREADS_DIR holds dmc.csv, anchor.csv and madeira.csv (header number,name,red,green,blue, UTF-8);
by default it is tests/data/threads of the repository. The output is deterministic.

Each palette file is Windows-1252 text with CR LF line ends:
  line 1   ";$N" + palette name
  line 2   empty: no ";$V" line, so the catalogue name is the bare palette name ("DMC", ...)
  line 3+  one colour per line in the table's order:  "Name", number, red, green, blue, symbol

Symbol indexes: similar colours must get symbols that look different. The default character set
places symbols of different shape families at neighbouring positions, so the colours are ordered
along a chain through colour space and numbered 0, 1, 2 ... along it: the chain starts at the
darkest colour (smallest CIE L*) and always steps to the nearest colour not yet visited (CIE76
distance in CIE Lab, D65; ties go to the earlier row of the table). Each step joins two of the most
similar colours, so the closest pairs get neighbouring indexes and therefore different shapes.
Every colour of a palette gets its own index, all below the number of colours (at most 505).
"""

import csv
import math
import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PALETTES = [  # (table, palette name, file name)
    ("dmc.csv", "DMC", "DMC.ctb"),
    ("anchor.csv", "Anchor", "Anchor.ctb"),
    ("madeira.csv", "Madeira", "Madeira.ctb"),
]
MAX_SYMBOLS = 505


def read_table(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    if not rows or rows[0] != ["number", "name", "red", "green", "blue"]:
        sys.exit(f"{path}: unexpected header {rows[:1]}")
    colours = []
    for n, row in enumerate(rows[1:], start=2):
        if len(row) != 5:
            sys.exit(f"{path}:{n}: expected 5 columns, got {len(row)}")
        number, name = row[0], row[1]
        rgb = tuple(int(v) for v in row[2:])
        if not all(0 <= v <= 255 for v in rgb):
            sys.exit(f"{path}:{n}: colour component out of range: {row}")
        colours.append((number, name, rgb))
    numbers = [c[0] for c in colours]
    if len(set(numbers)) != len(numbers):
        sys.exit(f"{path}: duplicate thread numbers")
    # A palette keys its colours by RGB: a repeated value would be dropped when it is read.
    if len({c[2] for c in colours}) != len(colours):
        sys.exit(f"{path}: two rows share one RGB value")
    return colours


def srgb_to_lab(rgb):
    def linear(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4

    r, g, b = (linear(v) for v in rgb)
    x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047
    y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b
    z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883

    def f(t):
        return t ** (1.0 / 3.0) if t > 216.0 / 24389.0 else (24389.0 / 27.0 * t + 16.0) / 116.0

    fx, fy, fz = f(x), f(y), f(z)
    return (116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz))


def symbol_indexes(colours):
    """Index of each colour (by table row) along the greedy nearest-neighbour chain in Lab."""
    lab = [srgb_to_lab(c[2]) for c in colours]
    count = len(colours)
    start = min(range(count), key=lambda i: (lab[i][0], i))
    unvisited = set(range(count)) - {start}
    chain = [start]
    while unvisited:
        here = lab[chain[-1]]
        nxt = min(unvisited, key=lambda i: (math.dist(here, lab[i]), i))
        unvisited.remove(nxt)
        chain.append(nxt)
    index = [0] * count
    for position, row in enumerate(chain):
        index[row] = position
    return index


def field(text):
    """A number field, quoted only when a reader would split it otherwise."""
    if text == "" or any(ch in text for ch in ',"') or any(ord(ch) <= 32 for ch in text):
        return '"' + text.replace('"', '""') + '"'
    return text


def palette_bytes(name, colours):
    if len(colours) > MAX_SYMBOLS:
        sys.exit(f"{name}: {len(colours)} colours, more than {MAX_SYMBOLS} symbols")
    indexes = symbol_indexes(colours)
    lines = [";$N" + name, ""]
    for (number, cname, (r, g, b)), sym in zip(colours, indexes):
        quoted = '"' + cname.replace('"', '""') + '"'
        lines.append(f"{quoted}, {field(number)}, {r}, {g}, {b}, {sym}")
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def main():
    threads = sys.argv[1] if len(sys.argv) > 1 else os.path.join(REPO, "tests", "data", "threads")
    out_dir = os.path.join(REPO, "data", "palettes")
    os.makedirs(out_dir, exist_ok=True)
    for table, name, file_name in PALETTES:
        colours = read_table(os.path.join(threads, table))
        data = palette_bytes(name, colours)
        with open(os.path.join(out_dir, file_name), "wb") as f:
            f.write(data)
        print(f"{file_name}: {len(colours)} colours")


if __name__ == "__main__":
    main()
