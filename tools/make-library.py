#!/usr/bin/env python3
"""Writes the starter motif library into data/library/: an upper-case and a lower-case
alphabet with digits (one motif per character set, a line of letters 7 and 9 cells high), borders and
corners, hearts, stars and flowers, each a native design file (.qvxp) in DMC colours.

Every motif is drawn here, cell by cell, by the project. Run from anywhere:
    python3 tools/make-library.py [--out DIR]
"""

import argparse
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PALETTE = os.path.join(ROOT, "data", "palettes", "DMC.ctb")
PALETTE_NAME = "DMC"
CHARACTERS = "Quillmark Symbols"
SYMBOL_FONT = "KorvaldArtSymbols110"
BACKGROUND = (255, 255, 255)


def read_palette(path):
    """Thread number -> (name, (r, g, b)) of a palette file."""
    out = {}
    with open(path, encoding="cp1252") as f:
        for line in f:
            line = line.strip()
            if not line.startswith('"'):
                continue
            name, rest = line[1:].split('"', 1)
            fields = [x.strip() for x in rest.strip(", ").split(",")]
            out[fields[0]] = (name, (int(fields[1]), int(fields[2]), int(fields[3])))
    return out


# --- the native design file -------------------------------------------------------------

def key(rgb):
    r, g, b = rgb
    return r | (g << 8) | (b << 16)


class Writer:
    def __init__(self):
        self.data = bytearray()

    def u8(self, v):
        self.data += struct.pack("<B", v)

    def u16(self, v):
        self.data += struct.pack("<H", v)

    def u32(self, v):
        self.data += struct.pack("<I", v & 0xFFFFFFFF)

    def i32(self, v):
        self.data += struct.pack("<i", v)

    def f64(self, v):
        self.data += struct.pack("<d", v)

    def string(self, text):
        b = text.encode("cp1252")
        self.u32(len(b))
        self.data += b

    def begin(self, ident, version):
        offset = len(self.data)
        self.data += ident.encode("ascii") + bytes([version, 0, 0, 0]) + bytes(8)
        return offset

    def end(self, offset):
        length = len(self.data) - offset
        self.data[offset + 8:offset + 16] = struct.pack("<II", length, length)


def motif_bytes(title, description, rows, colours, threads, back=()):
    """rows: strings of equal length, '.' an empty cell, any other letter the colour of
    `colours` (letter -> DMC number). back: (x1, y1, x2, y2, letter) in grid points."""
    height = len(rows)
    width = len(rows[0])
    assert all(len(r) == width for r in rows), title
    used = []
    for r in rows:
        for c in r:
            if c != "." and c not in used:
                used.append(c)
    for *_, c in back:
        if c not in used:
            used.append(c)
    index = {c: i for i, c in enumerate(used)}

    w = Writer()
    w.data += b"HDSF"
    outer = w.begin("QVXT", 0)
    head = w.begin("HEAD", 6)
    w.string(PALETTE_NAME)
    w.string(CHARACTERS)
    w.string(SYMBOL_FONT)
    w.u16(1)
    w.u16(1)
    w.u32(len(used))
    w.u32(0)
    w.u32(0)
    w.u32(width)
    w.u32(height)
    w.string(title)
    w.string(description)
    w.string("Arial"); w.u32(16); w.u16(0); w.u16(1)
    w.string("Arial"); w.u32(12); w.u16(0); w.u16(1)
    w.f64(0.01)
    w.f64(0.0)
    w.u32(key(BACKGROUND))
    w.f64(0.01)
    w.end(head)

    chars = w.begin("CHAR", 0)
    w.string("")
    w.end(chars)

    colo = w.begin("COLO", 1)
    w.u32(len(used))
    for i, c in enumerate(used):
        number = colours[c]
        name, rgb = threads[number]
        w.string(name)
        w.string(number)
        w.u32(key(rgb))
        w.i32(i + 1)
    w.end(colo)

    pixd = w.begin("PIXD", 0)
    for r in rows:
        for c in r:
            w.u32(0xFFFFFFFF if c == "." else index[c])
    w.end(pixd)

    b = w.begin("BACK", 0)
    w.u32(len(back))
    for x1, y1, x2, y2, c in back:
        w.i32(x1); w.i32(y1); w.i32(x2); w.i32(y2)
        w.u32(key(threads[colours[c]][1]))
    w.end(b)

    quar = w.begin("QUAR", 0)
    w.data += b"\xff\xff\xff\xff" * (4 * width * height)
    w.end(quar)

    titl = w.begin("TITL", 0)
    w.string(title)
    lines = description.split("\n") if description else []
    w.u32(len(lines))
    for line in lines:
        w.string(line)
    w.end(titl)

    frkn = w.begin("FRKN", 0)
    w.u32(0)
    w.end(frkn)
    rhodes = w.begin("BACK", 0)
    w.u32(0)
    w.end(rhodes)
    w.end(outer)
    return bytes(w.data)


# --- the letters ------------------------------------------------------------------------

# 5 x 7 capitals and digits.
UPPER = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
}

# 5 x 9 small letters: two rows for ascenders above the x-height, two for descenders below.
LOWER = {
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."],
    "b": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####.", ".....", "....."],
    "c": [".....", ".....", ".###.", "#....", "#....", "#...#", ".###.", ".....", "....."],
    "d": ["....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####", ".....", "....."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."],
    "f": ["..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#...", ".....", "....."],
    "g": [".....", ".....", ".####", "#...#", "#...#", ".####", "....#", "#...#", ".###."],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", ".....", "....."],
    "j": ["...#.", ".....", "..##.", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#.", ".....", "....."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#...#", "#...#", ".....", "....."],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", ".....", "....."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "q": [".....", ".....", ".####", "#...#", "#...#", ".####", "....#", "....#", "....#"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."],
    "t": [".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##.", ".....", "....."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", ".....", "....."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#..", ".....", "....."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#.", ".....", "....."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", ".....", "....."],
    "y": [".....", ".....", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."],
    "z": [".....", ".....", "#####", "...#.", "..#..", ".#...", "#####", ".....", "....."],
}


def sheet(glyphs, text, glyph_height, letter):
    """The characters of `text` side by side with one empty column between them: a motif
    exactly as high as its letters."""
    rows = []
    for y in range(glyph_height):
        rows.append(".".join(glyphs[ch][y] for ch in text).replace("#", letter))
    return rows


def digits_at(height):
    """The capital digits set into a letter height of `height` rows (x-height aligned)."""
    out = {}
    for d in "0123456789":
        pad = height - 7
        out[d] = UPPER[d] + ["....."] * pad
    return out


# --- the other motifs --------------------------------------------------------------------

HEART = [
    ".RR...RR.",
    "RRRR.RRRR",
    "RRRRRRRRR",
    "RRRRRRRRR",
    ".RRRRRRR.",
    "..RRRRR..",
    "...RRR...",
    "....R....",
]

HEART_SMALL = [
    ".P.P.",
    "PPPPP",
    "PPPPP",
    ".PPP.",
    "..P..",
]

STAR = [
    "....Y....",
    "....Y....",
    "...YYY...",
    "YYYYYYYYY",
    ".YYYYYYY.",
    "..YYYYY..",
    "..YY.YY..",
    ".YY...YY.",
    ".Y.....Y.",
]

STAR_SMALL = [
    "..B..",
    ".BBB.",
    "BBBBB",
    ".BBB.",
    "..B..",
]

FLOWER = [
    "....PPP....",
    "...PPPPP...",
    ".PP.PPP.PP.",
    "PPPP.P.PPPP",
    "PPPPYYYPPPP",
    ".PP.YYY.PP.",
    "...PYYYP...",
    "..PPP.PPP..",
    "..PP..GPP..",
    "......G....",
    "....GGG.G..",
    "......GGG..",
    "......G....",
]

TULIP = [
    "..R.R.R..",
    "..RRRRR..",
    "..RRRRR..",
    "...RRR...",
    "....G....",
    ".GG.G....",
    "..GGG.GG.",
    "....GGG..",
    "....G....",
]


def zigzag_border(length):
    rows = []
    for y in range(4):
        row = ""
        for x in range(length):
            phase = x % 6
            top = phase if phase <= 3 else 6 - phase
            row += "B" if y == 3 - top or (y == 3 - top + 1 and y < 4 and phase in (0, 3)) else "."
        rows.append(row)
    return rows


def key_border(length):
    """A meander border: a repeating key of 8 cells in a frame of two lines."""
    unit = [
        "########",
        "........",
        ".######.",
        ".#....#.",
        ".#.##.#.",
        ".#..#...",
        ".####.##",
        "........",
        "########",
    ]
    return ["".join(unit[y][x % 8] for x in range(length)).replace("#", "G") for y in range(len(unit))]


def dotted_border(length):
    rows = ["", "", ""]
    for x in range(length):
        rows[0] += "R" if x % 4 == 0 else "."
        rows[1] += "R" if x % 4 != 2 else "."
        rows[2] += "R" if x % 4 == 0 else "."
    return rows


def corner():
    """A corner of a frame: two arms with a flower where they meet."""
    size = 12
    rows = [["." for _ in range(size)] for _ in range(size)]
    for i in range(size):
        rows[0][i] = "G"
        rows[i][0] = "G"
        if i % 3 == 1:
            rows[2][i] = "G"
            rows[i][2] = "G"
    for y, x in [(4, 4), (4, 5), (5, 4), (5, 5), (3, 4), (4, 3), (6, 5), (5, 6)]:
        rows[y][x] = "R"
    rows[4][4] = "Y"
    return ["".join(r) for r in rows]


def corner_round():
    rows = [
        "BBBBBBBBBB",
        "B.........",
        "B.BBBBBB..",
        "B.B.......",
        "B.B.BBB...",
        "B.B.B.....",
        "B.B.B.R...",
        "B.B.......",
        "B.........",
        "B.........",
    ]
    return rows


def outline_of(rows, letter, colour_letter):
    """Back stitches round every cell of `letter`, joined along straight runs."""
    h, w = len(rows), len(rows[0])
    inside = lambda x, y: 0 <= x < w and 0 <= y < h and rows[y][x] == letter
    segs = []
    for y in range(h):
        for x in range(w):
            if not inside(x, y):
                continue
            if not inside(x, y - 1):
                segs.append((2 * x, 2 * y, 2 * x + 2, 2 * y))
            if not inside(x, y + 1):
                segs.append((2 * x, 2 * y + 2, 2 * x + 2, 2 * y + 2))
            if not inside(x - 1, y):
                segs.append((2 * x, 2 * y, 2 * x, 2 * y + 2))
            if not inside(x + 1, y):
                segs.append((2 * x + 2, 2 * y, 2 * x + 2, 2 * y + 2))
    return [s + (colour_letter,) for s in segs]


def motifs():
    lower = dict(LOWER)
    lower.update(digits_at(9))
    yield ("alphabet-upper.qvxp", "Alphabet, capitals and digits",
           "Capital letters A to Z and the digits 0 to 9 in one line, 7 cells high.\n"
           "Select the letters you need after merging, or cut the others away.",
           sheet(UPPER, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 7, "K"), {"K": "310"}, [])
    yield ("alphabet-lower.qvxp", "Alphabet, small letters and digits",
           "Small letters a to z with ascenders and descenders and the digits in one line, 9 cells high.",
           sheet(lower, "abcdefghijklmnopqrstuvwxyz0123456789", 9, "K"), {"K": "798"}, [])
    yield ("border-zigzag.qvxp", "Border, zigzag", "A zigzag band, repeating every 6 cells.",
           zigzag_border(36), {"B": "798"}, [])
    yield ("border-meander.qvxp", "Border, meander", "A key pattern between two lines, repeating every 8 cells.",
           key_border(40), {"G": "699"}, [])
    yield ("border-dots.qvxp", "Border, beads", "A band of beads and bars.", dotted_border(40),
           {"R": "321"}, [])
    yield ("corner-flower.qvxp", "Corner with a flower", "The corner of a double frame with a small flower.",
           corner(), {"G": "699", "R": "321", "Y": "973"}, [])
    yield ("corner-nested.qvxp", "Corner, nested lines", "Three nested frame corners and a dot.",
           corner_round(), {"B": "798", "R": "321"}, [])
    yield ("heart.qvxp", "Heart", "A heart, outlined in back stitch.", HEART, {"R": "666", "K": "498"},
           outline_of(HEART, "R", "K"))
    yield ("heart-small.qvxp", "Small heart", "A heart of 5 x 5 cells.", HEART_SMALL, {"P": "3805"}, [])
    yield ("star.qvxp", "Star", "A five-pointed star.", STAR, {"Y": "973"}, [])
    yield ("star-small.qvxp", "Small star", "A twinkling star of 5 x 5 cells.", STAR_SMALL, {"B": "996"}, [])
    yield ("flower.qvxp", "Flower", "A flower with its stem and leaves.", FLOWER,
           {"P": "603", "Y": "973", "G": "700"}, [])
    yield ("tulip.qvxp", "Tulip", "A tulip with two leaves.", TULIP, {"R": "321", "G": "699"}, [])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "data", "library"))
    args = parser.parse_args()
    threads = read_palette(PALETTE)
    os.makedirs(args.out, exist_ok=True)
    for name, title, description, rows, colours, back in motifs():
        data = motif_bytes(title, description, rows, colours, threads, back)
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(rows[0])} x {len(rows)}")


if __name__ == "__main__":
    main()
