"""Writes reportlab_cid.pdf: ReportLab's UnicodeCIDFont, which names a font of each CJK
collection without embedding it or adding a ToUnicode map: codes are UCS-2 through a predefined
CMap (UniJIS-UCS2-H and its vertical form, UniGB-UCS2-H, UniKS-UCS2-H), so readers need the
CMaps and the collections' CID tables."""
import sys

from reportlab.lib.pagesizes import letter
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.cidfonts import UnicodeCIDFont
from reportlab.pdfgen import canvas

LINES = [
    # (font, vertical, size, x, y, text)
    ("HeiseiMin-W3", False, 14, 72, 720, "\u65e5\u672c\u8a9e\u306e\u8acb\u6c42\u66f8 Invoice 2024"),
    ("HeiseiMin-W3", False, 14, 72, 690, "\u6771\u4eac\u306e\u652f\u5e97"),
    ("STSong-Light", False, 14, 72, 650, "\u4e2d\u6587\u6587\u672c \u7b80\u4f53\u5b57"),
    ("HYSMyeongJo-Medium", False, 14, 72, 610, "\ud55c\uad6d\uc5b4 \ubb38\uc11c"),
    ("HeiseiKakuGo-W5", True, 14, 500, 720, "\u7e26\u66f8\u304d\u306e\u898b\u51fa\u3057"),
]


def main(path):
    pdf = canvas.Canvas(path, pagesize=letter, invariant=1)
    pdf.setTitle("ReportLab CID font sample")
    for face, vertical, size, x, y, text in LINES:
        font = UnicodeCIDFont(face, isVertical=vertical)
        pdfmetrics.registerFont(font)
        pdf.setFont(font.fontName, size)
        pdf.drawString(x, y, text)
    pdf.showPage()
    pdf.save()


if __name__ == "__main__":
    main(sys.argv[1])
