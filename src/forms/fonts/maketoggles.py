#!/usr/bin/python3
"""Builds toggles.ttf, the small font the report view shows the fold toggles in.

The report asks for its toggle characters in a symbol font: "6" for an open day
(a triangle pointing down) and "4" for a folded one (a triangle pointing right).
Every other character is blank. Run with FontForge's Python:
    /usr/bin/python3 maketoggles.py [output.ttf]
"""
import sys

import fontforge

EM = 1000
ASCENT = 800
ADVANCE = 1000

# Outlines in font units, baseline at 0, drawn clockwise as TrueType expects.
OUTLINES = {
    "four": [(250, 40), (250, 720), (840, 380)],  # points right
    "six": [(160, 660), (840, 660), (500, 70)],  # points down
}
CODES = {"four": ord("4"), "six": ord("6")}


def draw(glyph, points):
    pen = glyph.glyphPen()
    pen.moveTo(points[0])
    for point in points[1:]:
        pen.lineTo(point)
    pen.closePath()
    pen = None
    glyph.correctDirection()


def build(path):
    font = fontforge.font()
    font.encoding = "UnicodeBmp"
    font.em = EM
    font.ascent = ASCENT
    font.descent = EM - ASCENT
    font.fontname = "TamCalToggles"
    font.familyname = "TamCal Toggles"
    font.fullname = "TamCal Toggles"
    font.copyright = "Drawn for TamCal."
    font.version = "1.0"

    notdef = font.createChar(-1, ".notdef")
    notdef.width = ADVANCE
    space = font.createChar(ord(" "), "space")
    space.width = ADVANCE
    for name, points in OUTLINES.items():
        glyph = font.createChar(CODES[name], name)
        draw(glyph, points)
        glyph.width = ADVANCE
    font.generate(path)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "toggles.ttf")
