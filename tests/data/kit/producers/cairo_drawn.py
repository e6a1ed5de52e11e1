"""Writes cairo_drawn.pdf: words that cairo's PDF surface sets in pieces. A word whose letters
come from two font faces, a letter moved up inside a word, glyphs spaced wider than the font
sets them (positions given glyph by glyph), and text turned by the context's matrix by 90, 180
and 270 degrees."""
import math
import sys

import cairo

SANS = "Liberation Sans"
SERIF = "Liberation Serif"


def face(context, family, size=12):
    context.select_font_face(family, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    context.set_font_size(size)


def pieces(context, x, y, parts):
    """Shows (family, dy, text) parts one after the other from (x, y)."""
    for family, dy, text in parts:
        face(context, family)
        context.move_to(x, y + dy)
        context.show_text(text)
        x += context.text_extents(text).x_advance
    return x


def spaced(context, x, y, text, extra):
    """Shows `text` with every glyph `extra` points further on than the font sets it."""
    face(context, SANS)
    glyphs, _, _ = context.get_scaled_font().text_to_glyphs(x, y, text, True)
    moved = [cairo.Glyph(g.index, g.x + i * extra, g.y) for i, g in enumerate(glyphs)]
    context.show_glyphs(moved)


def turned(context, x, y, degrees, text):
    context.save()
    context.translate(x, y)
    context.rotate(math.radians(degrees))
    face(context, SANS)
    context.move_to(0, 0)
    context.show_text(text)
    context.restore()


def main(path):
    surface = cairo.PDFSurface(path, 612, 792)
    surface.set_metadata(cairo.PDFMetadata.CREATE_DATE, "2024-01-01T00:00:00Z")
    surface.set_metadata(cairo.PDFMetadata.TITLE, "Cairo drawn text")
    context = cairo.Context(surface)
    pieces(context, 72, 72, [(SANS, 0, "Plain cairo reference line")])
    pieces(context, 72, 100, [(SANS, 0, "Cross"), (SERIF, 0, "bred"), (SANS, 0, " and Two"),
                              (SERIF, 0, "faced"), (SANS, 0, " words")])
    pieces(context, 72, 128, [(SANS, 0, "Hoi"), (SANS, -2, "s"), (SANS, 0, "ted letter")])
    spaced(context, 72, 156, "Stretched", 1.2)
    pieces(context, 150, 156, [(SANS, 0, "glyph line")])
    turned(context, 120, 480, 90, "Quarter turned")
    turned(context, 400, 560, 180, "Flipped over")
    turned(context, 460, 500, 270, "Rising label")
    surface.finish()


if __name__ == "__main__":
    main(sys.argv[1])
