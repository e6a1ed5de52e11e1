"""Writes reportlab_form.pdf: a filled AcroForm made with ReportLab's acroform
module. Text fields in Helvetica and Times (not embedded, named in the form's
/DR), one multi-line, one comb field of eight cells and one read-only field,
beside a check box and a combo box that rules leave alone."""
import sys

from reportlab.lib import colors
from reportlab.lib.pagesizes import letter
from reportlab.pdfgen import canvas


def main(path):
    # invariant=1 leaves out dates and random IDs, so the output is reproducible.
    pdf = canvas.Canvas(path, pagesize=letter, invariant=1)
    pdf.setTitle("ReportLab form sample")
    pdf.setFont("Helvetica", 12)
    form = pdf.acroForm
    labels = [
        (700, "Name"), (650, "City"), (560, "Notes"), (500, "Code"),
        (450, "Total"), (400, "Member"), (350, "Colour"),
    ]
    for y, label in labels:
        pdf.drawString(72, y + 6, label)
    form.textfield(name="name", value="Anna Schmidt", x=160, y=694, width=220, height=22,
                   fontName="Helvetica", fontSize=12, borderColor=colors.black,
                   fillColor=colors.Color(0.9, 0.95, 1), textColor=colors.black,
                   forceBorder=True)
    form.textfield(name="city", value="Berlin Mitte", x=160, y=644, width=220, height=22,
                   fontName="Times-Roman", fontSize=14, borderColor=colors.blue,
                   fillColor=colors.white, textColor=colors.Color(0, 0, 0.5), forceBorder=True)
    form.textfield(name="notes", value="Delivery on Monday\nRing the bell twice", x=160,
                   y=540, width=220, height=48, fontName="Helvetica", fontSize=11,
                   fieldFlags="multiline", borderColor=colors.black, fillColor=colors.white,
                   forceBorder=True)
    form.textfield(name="code", value="KX417203", x=160, y=494, width=160, height=22,
                   fontName="Courier", fontSize=12, fieldFlags="comb", maxlen=8,
                   borderColor=colors.black, fillColor=colors.white, forceBorder=True)
    form.textfield(name="total", value="1250 EUR", x=160, y=444, width=120, height=22,
                   fontName="Helvetica", fontSize=12, fieldFlags="readOnly",
                   borderColor=colors.black, fillColor=colors.white, forceBorder=True)
    form.checkbox(name="member", x=160, y=396, size=16, checked=True, buttonStyle="check")
    form.choice(name="colour", value="Blue", options=["Red", "Blue", "Green"], x=160, y=344,
                width=120, height=22, fontName="Helvetica", fontSize=12)
    pdf.showPage()
    pdf.save()


if __name__ == "__main__":
    main(sys.argv[1])
