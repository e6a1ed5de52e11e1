"""Writes reportlab_std.pdf (standard Helvetica, not embedded) and
reportlab_ttf.pdf (Liberation Sans embedded as a TrueType subset)."""
import sys

from reportlab.lib.pagesizes import letter
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

LIBERATION_SANS = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"


def write(path, font, lines):
    # invariant=1 leaves out dates and random IDs, so the output is reproducible.
    pdf = canvas.Canvas(path, pagesize=letter, invariant=1)
    pdf.setTitle("ReportLab kit sample")
    for size, x, y, text in lines:
        pdf.setFont(font, size)
        pdf.drawString(x, y, text)
    pdf.showPage()
    pdf.save()


def main(outdir):
    write(outdir + "/reportlab_std.pdf", "Helvetica", [
        (12, 72, 720, "ReportLab standard font page"),
        (12, 72, 696, "Order number 98765 shipped"),
        (12, 72, 672, "Caf\u00e9 au lait"),
        (20, 72, 630, "Big Title Line"),
    ])
    pdfmetrics.registerFont(TTFont("LiberationSans", LIBERATION_SANS))
    write(outdir + "/reportlab_ttf.pdf", "LiberationSans", [
        (12, 72, 720, "ReportLab embedded subset page"),
        (12, 72, 696, "Delivery slip 31337 enclosed"),
        (12, 72, 672, "\u00dcbersicht \u00fcber M\u00e4rz"),
        (20, 72, 630, "Subset Heading"),
    ])


if __name__ == "__main__":
    main(sys.argv[1])
