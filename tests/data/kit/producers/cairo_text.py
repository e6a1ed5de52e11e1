"""Writes cairo_text.pdf: text through cairo's PDF surface, which embeds subset
TrueType fonts with ToUnicode maps. Characters that WinAnsi holds go into a
simple TrueType subset; all others (here Greek and Cyrillic) go into a CID
subset shown with Identity-H."""
import sys

import cairo

LINES = [
    # (font family, size, x, baseline from the top, text)
    ("Liberation Sans", 12, 72, 72, "Cairo subset font sample"),
    ("Liberation Sans", 12, 72, 96, "Invoice total 4711 due"),
    ("Liberation Sans", 12, 72, 120, "Gr\u00fc\u00dfe aus K\u00f6ln"),
    ("Liberation Sans", 12, 72, 144, "Greek \u0391\u03bb\u03c6\u03b1 \u0392\u03ae\u03c4\u03b1"),
    ("Liberation Sans", 12, 72, 168,
     "\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440 "
     "\u0414\u0430\u043d\u043d\u044b\u0435"),
    ("Liberation Serif", 20, 72, 210, "Serif Heading"),
    ("Liberation Sans", 12, 72, 250, "left apple pie"),
    ("Liberation Sans", 12, 300, 250, "right apple tart"),
]


def main(path):
    surface = cairo.PDFSurface(path, 612, 792)
    surface.set_metadata(cairo.PDFMetadata.CREATE_DATE, "2024-01-01T00:00:00Z")
    surface.set_metadata(cairo.PDFMetadata.TITLE, "Cairo kit sample")
    context = cairo.Context(surface)
    for family, size, x, y, text in LINES:
        context.select_font_face(family, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
        context.set_font_size(size)
        context.move_to(x, y)
        context.show_text(text)
    surface.finish()


if __name__ == "__main__":
    main(sys.argv[1])
