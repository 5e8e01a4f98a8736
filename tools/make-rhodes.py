#!/usr/bin/env python3
"""Draws Quillmark's own Rhodes catalogue into data/rhodes/rhodes.xml.

Every definition is a classic shape laid over 1 x 1 to 4 x 4 cells (and two oblong ones),
its stitches between grid points in half-cell units from the definition's top-left corner.
The output is written the way the application writes the catalogue itself, so a run of the
editor over an unchanged catalogue gives the same file. Python standard library only.

Usage: python3 tools/make-rhodes.py [output]
"""
import os
import sys
from xml.sax.saxutils import quoteattr


def rhodes(w, h):
    """A full Rhodes stitch: every point of the top edge, left to right, to its mirror point
    on the bottom edge through the centre, then every inner point of the right edge to the
    left edge, so the stitches turn once round the centre."""
    gx, gy = 2 * w, 2 * h
    out = [((x, 0), (gx - x, gy)) for x in range(gx + 1)]
    out += [((gx, y), (0, gy - y)) for y in range(1, gy)]
    return out


def half_rhodes(w, h):
    """Half a turn: the top edge to the bottom edge only (a bow tie)."""
    gx, gy = 2 * w, 2 * h
    return [((x, 0), (gx - x, gy)) for x in range(gx + 1)]


def star(w, h):
    """Eight rays from the centre to the corners and the middles of the edges."""
    gx, gy = 2 * w, 2 * h
    c = (w, h)
    ends = [(0, 0), (w, 0), (gx, 0), (gx, h), (gx, gy), (w, gy), (0, gy), (0, h)]
    return [(c, e) for e in ends]


def double_cross(w, h):
    gx, gy = 2 * w, 2 * h
    return [((0, 0), (gx, gy)), ((gx, 0), (0, gy)), ((w, 0), (w, gy)), ((0, h), (gx, h))]


def diamond(w, h):
    gx, gy = 2 * w, 2 * h
    pts = [(w, 0), (gx, h), (w, gy), (0, h)]
    return [(pts[i], pts[(i + 1) % 4]) for i in range(4)]


def eyelet_square(w, h):
    """The outline of the square and a cross through it."""
    gx, gy = 2 * w, 2 * h
    corners = [(0, 0), (gx, 0), (gx, gy), (0, gy)]
    ring = [(corners[i], corners[(i + 1) % 4]) for i in range(4)]
    return ring + [((0, 0), (gx, gy)), ((gx, 0), (0, gy))]


CATALOGUE = [
    ("RHODES 1X1", 1, 1, rhodes),
    ("RHODES 2X2", 2, 2, rhodes),
    ("RHODES 3X3", 3, 3, rhodes),
    ("RHODES 4X4", 4, 4, rhodes),
    ("RHODES 2X1", 2, 1, rhodes),
    ("RHODES 4X2", 4, 2, rhodes),
    ("HALF RHODES 2X2", 2, 2, half_rhodes),
    ("HALF RHODES 3X3", 3, 3, half_rhodes),
    ("STAR 2X2", 2, 2, star),
    ("STAR 3X3", 3, 3, star),
    ("DOUBLE CROSS 1X1", 1, 1, double_cross),
    ("DOUBLE CROSS 2X2", 2, 2, double_cross),
    ("DIAMOND 2X2", 2, 2, diamond),
    ("DIAMOND 4X4", 4, 4, diamond),
    ("FRAMED CROSS 2X2", 2, 2, eyelet_square),
]


def document():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<rhodes>"]
    for name, w, h, shape in CATALOGUE:
        stitches = shape(w, h)
        for (a, b) in stitches:
            for (x, y) in (a, b):
                assert 0 <= x <= 2 * w and 0 <= y <= 2 * h, (name, x, y)
        lines.append('    <rhode name=%s width="%d" height="%d" original="True">'
                     % (quoteattr(name), w, h))
        lines.append("        <stitches>")
        for (fx, fy), (tx, ty) in stitches:
            lines.append('            <stitch fromx="%d" fromy="%d" tox="%d" toy="%d"/>'
                         % (fx, fy, tx, ty))
        lines.append("        </stitches>")
        lines.append("    </rhode>")
    lines.append("</rhodes>")
    return "\n".join(lines) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "rhodes", "rhodes.xml")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write(document())
    print("wrote", out, len(CATALOGUE), "definitions")


if __name__ == "__main__":
    main()
