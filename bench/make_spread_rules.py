"""Prints text rules for a benchmark: `count` rules spread evenly over the pages of a PDF, each on
the first word of a page's first line, replaced by the same letters in another order, positions
in 150-dpi pixels of the displayed page."""
import re
import subprocess
import sys


def words_by_page(pdf):
    out = subprocess.run(["pdftotext", "-bbox", "-cropbox", pdf, "-"], check=True,
                         capture_output=True, text=True).stdout
    pages, current = [], None
    for line in out.splitlines():
        if "<page " in line:
            current = []
            pages.append(current)
            continue
        m = re.search(r'xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">(.*)</word>', line)
        if m and current is not None:
            current.append((float(m[1]), float(m[2]), float(m[3]), float(m[4]), m[5]))
    return pages


def main():
    pdf, count = sys.argv[1], int(sys.argv[2])
    pages = words_by_page(pdf)
    step = max(1, len(pages) // count)
    px = lambda points: int(round(points * 150 / 72)) + 1
    written = 0
    for index in range(0, len(pages), step):
        if written == count or not pages[index]:
            continue
        x0, y0, x1, y1, text = pages[index][0]
        size = (y1 - y0) / 0.925  # the Helvetica line box is 0.925 em high
        baseline = y1 - 0.207 * size
        top = baseline - size
        new = text[1:] + text[0]
        sys.stdout.write(f"{index + 1}-{px(x0)}-{px(top)}-{px(x1 - x0)}-{px(size)}:{text}:{new}\r\n")
        written += 1


main()
