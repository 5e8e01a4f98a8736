#!/usr/bin/env python3
"""Writes the shipped character sets data/characters/*.chr for the font KorvaldArtSymbols110.

Each file: line 1 the set's name, line 2 its description, line 3 the font as the characters
editor writes it ("KorvaldArtSymbols110,,53"), then one decimal character code per line;
Windows-1252 text with CR LF line ends. Codes 128..159 are never used (a file's 128..159 stand
for Windows-1252 characters, not for the font's positions).

The symbol layout is read from make-symbol-font.py (no fontforge needed for that).
"""

import importlib.util
import os

TOOLS = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(os.path.dirname(TOOLS), "data", "characters")
FONT_LINE = "KorvaldArtSymbols110,,53"


def _font_module():
    spec = importlib.util.spec_from_file_location("make_symbol_font",
                                                  os.path.join(TOOLS, "make-symbol-font.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


UPPER = [ord(c) for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ"]
LOWER = [ord(c) for c in "abcdefghijklmnopqrstuvwxyz"]
DIGITS = [ord(c) for c in "0123456789"]
# The other printable ASCII signs, the most legible first.
SIGNS = [ord(c) for c in "#%&@$*+=?!<>^~/\\()[]{}|\"'`,.:;-_"]
# Letters and digits that are easily taken for one another in a chart: I l 1 and O 0.
CONFUSABLE = [ord(c) for c in "Il1O0"]


def quillmark_symbols(font):
    # The font already interleaves its shape families, so the symbols go in code order; the
    # letters, digits and signs follow for palettes of more than 441 colours.
    codes = [code for code, _, _ in font.symbol_layout()]
    return codes + UPPER + LOWER + DIGITS + SIGNS


def bold_shapes(font):
    # The solid, outlined, dotted and half-filled drawn shapes, in layout order (which keeps
    # the families interleaved).
    wanted = {"fill", "empty", "dot", "half"}
    return [code for code, _, (name, kind, data) in font.symbol_layout()
            if kind == "shape" and data[1] in wanted
            and data[0] not in ("triangle-left", "triangle-right")]


def letters_digits():
    return [c for c in UPPER + LOWER + DIGITS if c not in CONFUSABLE]


def file_bytes(name, description, codes):
    assert not any(128 <= c <= 159 for c in codes)
    assert len(set(codes)) == len(codes)
    lines = [name, description, FONT_LINE] + [str(c) for c in codes]
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def main():
    font = _font_module()
    sets = [
        ("QuillmarkSymbols.chr", "Quillmark Symbols",
         "All symbols of KorvaldArtSymbols110, then letters, digits and signs",
         quillmark_symbols(font)),
        ("BoldShapes.chr", "Bold Shapes",
         "Solid, outlined, dotted and half-filled shapes for small designs",
         bold_shapes(font)),
        ("LettersDigits.chr", "Letters and Digits",
         "A-Z, a-z and 2-9 without the look-alikes I, l, 1, O and 0",
         letters_digits()),
    ]
    os.makedirs(OUTPUT, exist_ok=True)
    for file_name, name, description, codes in sets:
        with open(os.path.join(OUTPUT, file_name), "wb") as f:
            f.write(file_bytes(name, description, codes))
        print("%s: %d characters" % (file_name, len(codes)))


if __name__ == "__main__":
    main()
