"""Writes matplotlib_type3.pdf and matplotlib_type42.pdf: one page of text set by matplotlib's
PDF backend, once with pdf.fonttype 3 (DejaVu glyphs as Type 3 procedures) and once with
pdf.fonttype 42 (DejaVu as embedded TrueType subsets). A small bar chart gives tick labels,
an axis title and a legend; the rest is text placed with figure coordinates.
Usage: matplotlib_page.py OUT_DIR"""
import sys

import matplotlib

matplotlib.use("pdf")
import matplotlib.pyplot as plt  # noqa: E402

LINES = [
    # (y in figure coordinates, size, weight, style, text)
    (0.94, 18, "bold", "normal", "Harbour Traffic Review"),
    (0.90, 11, "normal", "normal", "The northern terminal handled 4,812 containers in March;"),
    (0.875, 11, "normal", "normal", "delays fell to 2.3 hours (down 7.5%) after the new cranes."),
    (0.85, 11, "normal", "italic", "Preliminary figures, subject to revision."),
    (0.825, 11, "bold", "normal", "Warning: berth closures on 14/05."),
    (0.80, 11, "normal", "normal", "Caf\u00e9 owners near the pier reported brisk trade."),
    (0.775, 11, "normal", "normal",
     "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u03ba\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1"
     " \u2014 \u0434\u043e\u0431\u0440\u044b\u0439 \u0432\u0435\u0447\u0435\u0440"),
]


def write(path, fonttype):
    matplotlib.rcParams.update({"pdf.fonttype": fonttype, "font.family": "DejaVu Sans",
                                "pdf.compression": 6})
    figure = plt.figure(figsize=(8.5, 11))
    for y, size, weight, style, text in LINES:
        figure.text(0.1, y, text, fontsize=size, fontweight=weight, fontstyle=style)
    axes = figure.add_axes([0.15, 0.45, 0.7, 0.25])
    axes.bar(["Cranes", "Tugboats", "Pilots"], [12, 5, 31], label="Units in service")
    axes.set_ylabel("Count")
    axes.set_title("Fleet by type")
    axes.legend()
    # Dates left out so the same input always gives the same bytes.
    figure.savefig(path, metadata={"CreationDate": None, "Title": "matplotlib kit sample"})
    plt.close(figure)


def main(out_dir):
    write(out_dir + "/matplotlib_type3.pdf", 3)
    write(out_dir + "/matplotlib_type42.pdf", 42)


if __name__ == "__main__":
    main(sys.argv[1])
