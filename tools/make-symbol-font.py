#!/usr/bin/python3
"""Builds data/fonts/KorvaldArtSymbols110.ttf, the symbol font of the shipped character sets.

Run with /usr/bin/python3 (Debian's python3-fontforge); it reads DejaVu Sans from
/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf (package fonts-dejavu-core).

Layout of the font:
  33..126   the ordinary letters, digits and signs of DejaVu Sans, slightly emboldened;
  160..600  441 symbols: geometric shapes drawn here, and arrows, stars, pictograms, Greek,
            Cyrillic and Hebrew letters and mathematical signs taken from DejaVu Sans, scaled
            into one box and emboldened so that they stay readable when drawn without
            antialiasing at 6 to 16 pixels.
The symbols are sorted into shape families and laid out so that neighbouring codes come from
different families: a palette whose neighbouring colours are similar gets symbols that look
different. Codes are positions: 160 (no-break space) and 173 (soft hyphen) are visible symbols.

The layout (`symbol_layout`) is plain data and is also read by make-character-sets.py.
"""

import math
import os
import sys

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FAMILY = "KorvaldArtSymbols110"
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(REPO, "data", "fonts", FAMILY + ".ttf")

FIRST_SYMBOL, LAST_SYMBOL = 160, 600

# Symbol cell in font units (em 2048): every symbol is centred on (CX, CY) within BOX.
ADVANCE = 1800
CX, CY = ADVANCE / 2, 700
BOX = 1500
STROKE = 250  # line width of the drawn outline shapes

# --- the symbols, by family -------------------------------------------------------------------
# An entry is (name, kind, data): kind "shape" is drawn here (data = (base, variant)); kind "fit"
# is a DejaVu glyph scaled into the box (data = (code, embolden)); kind "letter" is a DejaVu
# letter at its own size (data = (code, embolden)).

SHAPE_BASES = ["circle", "square", "diamond", "triangle-up", "triangle-down", "triangle-left",
               "triangle-right", "pentagon", "hexagon", "octagon", "star", "plus"]


def _glyphs(kind, text, embolden):
    return [("u%04X" % ord(ch), kind, (ord(ch), embolden)) for ch in text]


def symbol_families():
    """The families of symbols in the order they take turns; each a list of entries."""
    filled = [("%s-fill" % b, "shape", (b, "fill")) for b in SHAPE_BASES]
    filled += [("%s-hole" % b, "shape", (b, "hole")) for b in SHAPE_BASES]
    filled += _glyphs("fit", "♠♣♥♦◖◗▰▮▬◢◣◤◥⬟☗❤☻✖✚", 0)

    empty = [("%s-empty" % b, "shape", (b, "empty")) for b in SHAPE_BASES]
    empty += [("%s-double" % b, "shape", (b, "double"))
              for b in ("circle", "square", "diamond", "hexagon", "pentagon", "octagon")]
    empty += _glyphs("fit", "♤♧♡♢☆✧☖☐▭▯▱◠◡◜◝◞◟", 60)

    split = [("%s-dot" % b, "shape", (b, "dot")) for b in SHAPE_BASES]
    split += [("%s-half" % b, "shape", (b, "half")) for b in SHAPE_BASES]
    split += _glyphs("fit", "◐◑◒◓◧◨◩◪◭◮▣▤▥▦▧▨▩◔◕⬒⬓⬔⬕▙▛▜▟▚▞◈◉◍◎", 40)
    split += _glyphs("fit", "⊕⊖⊗⊘⊙⊞⊟⊠⊡⚀⚁⚂⚃⚄⚅", 60)

    arrows = _glyphs("fit", "←↑→↓↔↕↖↗↘↙⇐⇑⇒⇓⇔⇕⇖⇗⇘⇙↩↪↰↱↲↳↶↷↺↻⇦⇧⇨⇩⇄⇅⇆⇇⇈⇉⇊↯➔➘➚➜➝➤➥➦⬈⬉⬊⬋↞↟↠↡⇤⇥", 90)

    stars = _glyphs("fit", "✦✩✪✫✬✮✯✰✱✲✳✴✵✶✷✸✹✺✻✼✽✾✿❀❁❂❃❄❅❆❇❈❉❊❋✜✝✞✟✠✡✢✣✤✥☀☼❖✙", 70)

    pictures = _glyphs("fit", "♔♕♖♗♘♙♚♛♜♝♞♟♩♪♫♬♭♯☺☂☃☎☯☮☢☣⚓⚔⚑⚐⚡☠✈✉✂✎☘♻⚛⚙☝☞☜☟♀♂☉☽☾☿♃♄♆✓✔✗✘", 50)

    greek = _glyphs("letter", "ΓΔΘΛΞΠΣΦΨΩαβγδεζηθλμξπρσςτφχψωϑϕϠϢϞϪϬ", 80)

    cyrillic = _glyphs("letter", "БДЖЗИЙЛЦЧШЩЪЫЬЭЮЯѢѲѪѦѮѰЄЂЉЊЋ", 80)
    hebrew = _glyphs("letter", "אבגדהזחטכלמנסעפצקרשתץףם", 80)

    maths = _glyphs("fit", "∀∃∄∅∇∈∋∏∐∑√∛∞∫∬∮∴∵≈≠≡≢≤≥⊂⊃⊆⊇∧∨∩∪⋈⊢⊣∝∠⊻⊼⊽⋂⋃§¶", 80)

    return [("filled", filled), ("empty", empty), ("split", split), ("arrows", arrows),
            ("stars", stars), ("pictures", pictures), ("greek", greek), ("cyrillic", cyrillic),
            ("maths", maths), ("hebrew", hebrew)]


def symbol_layout():
    """[(code, family, entry)] for codes 160..600: the families interleaved so that no two
    neighbouring codes (and, where possible, no two within three codes) share a family."""
    families = [(name, list(items)) for name, items in symbol_families()]
    count = LAST_SYMBOL - FIRST_SYMBOL + 1
    total = sum(len(items) for _, items in families)
    if total < count:
        raise SystemExit("only %d symbols for %d codes" % (total, count))
    # Trim the largest families until the symbols fill the codes exactly.
    while total > count:
        name, items = max(families, key=lambda f: len(f[1]))
        items.pop()
        total -= 1
    layout = []
    recent = []
    position = {name: 0 for name, _ in families}
    code = FIRST_SYMBOL
    while code <= LAST_SYMBOL:
        # Each family is spread evenly over the codes: the next symbol of a family is due at
        # (k + 0.5) / n of the way; the earliest due family not among the last three used wins.
        best = None
        for avoid in (3, 2, 1, 0):
            blocked = recent[-avoid:] if avoid else []
            candidates = [((position[name] + 0.5) / len(items), i, name, items)
                          for i, (name, items) in enumerate(families)
                          if position[name] < len(items) and name not in blocked]
            if candidates:
                best = min(candidates)
                break
        _, _, name, items = best
        layout.append((code, name, items[position[name]]))
        position[name] += 1
        recent.append(name)
        code += 1
    return layout


# --- drawing ----------------------------------------------------------------------------------

def _polygon_points(base, radius):
    """Outline points of a base shape centred on (0, 0), counter-clockwise (a circle is a
    72-sided polygon: indistinguishable at symbol sizes, and boolean operations on it are exact)."""
    def regular(n, r, start):
        return [(r * math.cos(start + 2 * math.pi * k / n), r * math.sin(start + 2 * math.pi * k / n))
                for k in range(n)]
    if base == "circle":
        return regular(72, radius * 0.98, 0)
    if base == "square":
        return regular(4, radius, math.pi / 4)
    if base == "diamond":
        return regular(4, radius * 1.1, 0)
    if base == "triangle-up":
        return regular(3, radius * 1.1, math.pi / 2)
    if base == "triangle-down":
        return regular(3, radius * 1.1, -math.pi / 2)
    if base == "triangle-left":
        return regular(3, radius * 1.1, math.pi)
    if base == "triangle-right":
        return regular(3, radius * 1.1, 0)
    if base == "pentagon":
        return regular(5, radius, math.pi / 2)
    if base == "hexagon":
        return regular(6, radius, 0)
    if base == "octagon":
        return regular(8, radius, math.pi / 8)
    if base == "star":
        pts = []
        for k in range(10):
            r = radius * 1.05 if k % 2 == 0 else radius * 0.45
            a = math.pi / 2 + math.pi * k / 5
            pts.append((r * math.cos(a), r * math.sin(a)))
        return pts
    if base == "plus":
        a, b = radius, radius * 0.36
        return [(b, -a), (b, -b), (a, -b), (a, b), (b, b), (b, a), (-b, a), (-b, b), (-a, b),
                (-a, -b), (-b, -b), (-b, -a)]
    raise ValueError(base)


def _contour(base, radius, offset=(0.0, 0.0)):
    import fontforge
    import psMat
    c = fontforge.contour()
    pts = _polygon_points(base, radius)
    c.moveTo(*pts[0])
    for p in pts[1:]:
        c.lineTo(*p)
    c.closed = True
    c.transform(psMat.translate(*offset))
    return c


def _ring(base, radius, width):
    """The outline of a shape as a band of `width` inside its edge."""
    import fontforge
    layer = fontforge.layer()
    layer += _contour(base, radius)
    if base in ("circle", "square", "diamond", "pentagon", "hexagon", "octagon"):
        corners = {"circle": 0, "square": 4, "diamond": 4, "pentagon": 5, "hexagon": 6, "octagon": 8}
        n = corners[base]
        inner = radius - (width / math.cos(math.pi / n) if n else width)
        if base == "diamond":
            inner = radius - width / math.cos(math.pi / 4) / 1.1
        layer += _contour(base, inner).reverseDirection()
    else:
        # Triangles, star and cross: the inner edge is the outer one scaled about the centre
        # of the incircle, thick enough for the narrow corners.
        factor = {"star": 0.42, "plus": 0.45}.get(base, 0.48)
        centre = (0.0, 0.0)
        inner = _contour(base, radius * factor, centre)
        layer += inner.reverseDirection()
    return layer


def _half_plane(base):
    """A rectangle covering the half of the box that the "half" variant fills."""
    import fontforge
    c = fontforge.contour()
    big = BOX
    if base.startswith("triangle") or base in ("star",):
        pts = [(-big, -big), (big, -big), (big, 0), (-big, 0)]    # lower half
    else:
        pts = [(-big, -big), (0, -big), (0, big), (-big, big)]    # left half
    c.moveTo(*pts[0])
    for p in pts[1:]:
        c.lineTo(*p)
    c.closed = True
    return c


def draw_shape(glyph, base, variant):
    import fontforge
    r = BOX / 2
    layer = fontforge.layer()
    if variant == "fill":
        layer += _contour(base, r)
    elif variant == "hole":
        layer += _contour(base, r)
        hole = _contour("circle" if base in ("star", "plus") else base,
                        r * (0.27 if base in ("star", "plus") else 0.38))
        layer += hole.reverseDirection()
    elif variant == "empty":
        layer = _ring(base, r, STROKE)
    elif variant == "dot":
        layer = _ring(base, r, STROKE)
        layer += _contour("circle" if base in ("star", "plus") else base, r * 0.3)
    elif variant == "double":
        layer = _ring(base, r, STROKE * 0.8)
        for c in _ring(base, r * 0.52, STROKE * 0.8):
            layer += c
    elif variant == "half":
        half = fontforge.layer()
        half += _contour(base, r)
        half += _half_plane(base)
        half.intersect()
        layer = _ring(base, r, STROKE)
        for c in half:
            layer += c
    else:
        raise ValueError(variant)
    glyph.foreground = layer
    glyph.removeOverlap()
    glyph.correctDirection()


def copy_glyph(source, glyph, code, mode, embolden):
    import psMat
    src = source[code]
    src.unlinkRef()
    glyph.foreground = src.foreground
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    w, h = max(1.0, xmax - xmin), max(1.0, ymax - ymin)
    if mode == "fit":
        s = (BOX - embolden) / max(w, h)
        glyph.transform(psMat.compose(psMat.translate(-(xmin + xmax) / 2, -(ymin + ymax) / 2),
                                      psMat.scale(s)))
    else:
        glyph.transform(psMat.translate(-(xmin + xmax) / 2, -(ymin + ymax) / 2))
    if embolden:
        glyph.changeWeight(embolden)
    glyph.removeOverlap()
    glyph.correctDirection()


def centre(glyph, cx, cy):
    import psMat
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    glyph.transform(psMat.translate(round(cx - (xmin + xmax) / 2), round(cy - (ymin + ymax) / 2)))


def build():
    # A fixed creation date keeps the generated file the same from run to run.
    os.environ.setdefault("SOURCE_DATE_EPOCH", "1704067200")
    import fontforge
    import psMat
    source = fontforge.open(SOURCE)
    font = fontforge.font()
    font.encoding = "UnicodeBmp"
    font.em = source.em
    font.ascent, font.descent = source.ascent, source.descent
    font.fontname = FAMILY
    font.familyname = FAMILY
    font.fullname = FAMILY
    font.weight = "Bold"
    font.version = "1.10"
    font.copyright = (source.copyright + "\nKorvaldArtSymbols110: symbols derived from DejaVu Sans "
                      "for the Quillmark project; not a DejaVu font.")
    font.appendSFNTName("English (US)", "License",
                        "Derived from DejaVu Sans under the Bitstream Vera / DejaVu font licence "
                        "(see LICENSE-DejaVu.txt). The name DejaVu is not used for this font.")
    for attr in ("os2_winascent", "os2_windescent", "os2_typoascent", "os2_typodescent",
                 "os2_typolinegap", "hhea_ascent", "hhea_descent", "hhea_linegap"):
        setattr(font, attr, getattr(source, attr))
    for attr in ("os2_winascent_add", "os2_windescent_add", "os2_typoascent_add",
                 "os2_typodescent_add", "hhea_ascent_add", "hhea_descent_add"):
        setattr(font, attr, False)

    notdef = font.createChar(-1, ".notdef")
    notdef.width = ADVANCE
    space = font.createChar(32, "space")
    space.width = source[32].width

    # The ordinary characters, emboldened a little and kept at their own positions.
    for code in range(33, 127):
        g = font.createChar(code, source[code].glyphname)
        width = source[code].width
        # Small marks (quotes, comma, period ...) get more weight to stay visible at 6 px.
        xmin, ymin, xmax, ymax = source[code].boundingBox()
        small = max(xmax - xmin, ymax - ymin) < 800
        copy_glyph(source, g, code, "letter", 160 if small else 60)
        xmin, ymin, xmax, ymax = source[code].boundingBox()
        centre(g, width / 2 + 30, (ymin + ymax) / 2)
        g.width = width + 60
        _ensure_size(g)

    for code, family, (name, kind, data) in symbol_layout():
        g = font.createChar(code, "sym%03d_%s" % (code, name.replace("-", "_")))
        if kind == "shape":
            draw_shape(g, *data)
        else:
            copy_glyph(source, g, data[0], kind, data[1])
        centre(g, CX, CY)
        _ensure_size(g)
        g.width = ADVANCE

    font.selection.all()
    font.round()
    font.canonicalContours()
    font.canonicalStart()
    os.makedirs(os.path.dirname(OUTPUT), exist_ok=True)
    font.generate(OUTPUT, flags=("opentype", "no-hints", "omit-instructions"))
    print("wrote %s" % OUTPUT)


def _ensure_size(glyph):
    """Small marks (a period, a comma) grow until they are at least MIN_INK units in both
    directions, so that even at 6 pixels they cover the centre of a pixel."""
    import psMat
    MIN_INK = 360
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    w, h = xmax - xmin, ymax - ymin
    if w >= MIN_INK and h >= MIN_INK:
        return
    cx, cy = (xmin + xmax) / 2, (ymin + ymax) / 2
    sx = max(1.0, MIN_INK / max(w, 1.0))
    sy = max(1.0, MIN_INK / max(h, 1.0))
    glyph.transform(psMat.compose(psMat.translate(-cx, -cy),
                                  psMat.compose(psMat.scale(sx, sy), psMat.translate(cx, cy))))


if __name__ == "__main__":
    if "--layout" in sys.argv:
        for code, family, (name, kind, data) in symbol_layout():
            print(code, family, name)
    else:
        build()
