"""Writes a one-page PDF holding `count` words and a rule file with one rule per word, for the
benchmark of many rules on one page.

The page has lines of Helvetica at 4.5 points, each word placed by its own Td in the line's text
object (as browsers and cairo place words), every fourth line one TJ array instead (as
typesetters write a line). Each rule replaces its word by another of the same length, a
letter narrower or wider; every twentieth new word holds a letter Helvetica's encoding has not
(an omega), so that its rule clears its area and writes in the fallback font. Rules go line by
line from the top, right to left within a line (as the front end hands them over), positions in
150-dpi pixels of the page.
Usage: make_dense_page.py COUNT OUT.pdf OUT_RULES.txt
"""
import math
import sys

# Helvetica advance widths (thousandths of an em) of the letters the words use.
WIDTHS = {"a": 556, "e": 556, "i": 222, "l": 222, "m": 833, "n": 556, "o": 556, "r": 333,
          "s": 500, "t": 278, "w": 722, "0": 556, "1": 556, "2": 556, "3": 556, "4": 556,
          "5": 556, "6": 556, "7": 556, "8": 556, "9": 556}
SIZE = 4.5
LEADING = 7.0
PER_LINE = 38
LEFT = 20.0
TOP_BASELINE = 780.0


def width(word):
    return sum(WIDTHS[c] for c in word) * SIZE / 1000


def pixels_down(points):
    """The smallest pixel value that the engine reads back as at least `points` (it multiplies
    by 72/150 and truncates)."""
    return math.ceil(math.floor(points) * 150 / 72)


def pdf_of(objects):
    out = b"%PDF-1.4\n"
    offsets = []
    for i, body in enumerate(objects):
        offsets.append(len(out))
        out += f"{i + 1} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode()
    out += (f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n"
            .encode())
    return out


def main():
    count, pdf_path, rules_path = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    lines = math.ceil(count / PER_LINE)
    content = []
    rules = []
    n = 0
    for line in range(lines):
        baseline = TOP_BASELINE - line * LEADING
        words = []
        for _ in range(min(PER_LINE, count - n)):
            words.append(f"w{n:04d}"[-5:].replace("w", "wa"[n % 2]))
            n += 1
        x = LEFT
        placed = []
        for word in words:
            placed.append((x, word))
            x += width(word) + 278 * SIZE / 1000
        if line % 4 == 3:
            parts = " ".join(f"({w})" + (" -278" if i + 1 < len(words) else "")
                             for i, (_, w) in enumerate(placed))
            content.append(f"BT /F1 {SIZE} Tf {LEFT} {baseline} Td [{parts}] TJ ET")
        else:
            ops = [f"BT /F1 {SIZE} Tf {LEFT} {baseline} Td ({placed[0][1]}) Tj"]
            for (x0, _), (x1, w) in zip(placed, placed[1:]):
                ops.append(f"{x1 - x0:.3f} 0 Td ({w}) Tj")
            content.append(" ".join(ops) + " ET")
        top = 792 - baseline - SIZE
        for index, (x0, word) in reversed(list(enumerate(placed))):
            rank = line * PER_LINE + index
            # Narrower (a digit becomes "i"), wider (it becomes "m"), or the same width.
            kind = rank % 3
            same = "8" if word.endswith("7") else "7"
            new = word[:-1] + ("i" if kind == 0 else "m" if kind == 1 else same)
            if rank % 20 == 19:
                new = word[:-1] + "\u03a9"
            rules.append(f"1-{pixels_down(x0)}-{pixels_down(top)}-"
                         f"{math.ceil((width(word) + 1) * 150 / 72)}-"
                         f"{math.ceil(SIZE * 150 / 72)}:{word}:{new}\r\n")
    stream = "\n".join(content).encode()
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
        b"/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
    ]
    with open(pdf_path, "wb") as f:
        f.write(pdf_of(objects))
    with open(rules_path, "w", encoding="utf-8", newline="") as f:
        f.write("".join(rules))


if __name__ == "__main__":
    main()
