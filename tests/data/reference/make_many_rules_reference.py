"""Writes many_rules_reference.txt: a table of text rules applied in one run per kit file, and
what the engine made of them (its rule results, every word of the changed pages as pdftotext
-bbox reads them, the fonts pdffonts lists). The table was first written by the engine that read
its page anew for every rule; the engine that keeps a page's text between rules gave the same
output (tests/engine/text/many_rules_test.cpp). It was written again when the text after a
changed width on its line began to follow it: the words after "Typesetting" (pdflatex_article)
and after "storehouse" (libreoffice_letter) on their lines moved by the change of width, and
nothing else changed. It was written again when the fallback began to write in the look of the
text it replaces and to name its fonts in the rule result (the engine that read its page anew
for every rule, of that time, gave the same table but for the words that follow a change of
width on their lines).
Usage: make_many_rules_reference.py MARQEL KIT_DIR OUT_FILE
"""
import html
import os
import re
import subprocess
import sys
import tempfile

WORD = re.compile(r'xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">(.*)</word>')


def words(pdf):
    out = subprocess.run(["pdftotext", "-bbox", "-cropbox", pdf, "-"], capture_output=True,
                         text=True).stdout
    pages, page = [], 0
    for line in out.splitlines():
        if "<page " in line:
            page += 1
        m = WORD.search(line)
        if m:
            pages.append((page, float(m[1]), float(m[2]), float(m[3]), float(m[4]),
                          html.unescape(m[5])))
    return pages


def fonts(pdf):
    out = subprocess.run(["pdffonts", pdf], capture_output=True, text=True).stdout
    rows = []
    for line in out.splitlines()[2:]:
        parts = line.split()
        # name, type (may hold spaces), encoding, emb, sub, uni, object, id
        rows.append(" ".join([parts[0]] + parts[-6:-2]))
    return rows


def pixels(points):
    return int(round(points * 150 / 72)) + 1


def rule_on(all_words, page, text, replace, occurrence=0, find=None):
    """A rule over the box of a word as pdftotext gives it (as the benchmarks make them)."""
    hits = [w for w in all_words if w[0] == page and w[5] == text]
    _, x0, y0, x1, y1, _ = hits[occurrence]
    size = (y1 - y0) / 1.1
    return (f"{page}-{pixels(x0)}-{pixels(y0 - 0.08 * size)}-{pixels(x1 - x0)}-{pixels(size)}:"
            f"{find if find is not None else text}:{replace}")


def box_rule(page, x, y, w, h, find, replace):
    """A rule on a box in points."""
    return f"{page}-{pixels(x)}-{pixels(y)}-{pixels(w)}-{pixels(h)}:{find}:{replace}"


def table(kit):
    def w(name):
        return words(os.path.join(kit, name))
    t = {}
    s = w("std14_helvetica.pdf")
    t["std14_helvetica.pdf"] = [
        rule_on(s, 1, "alpha", "omega", 0),            # one of two occurrences
        rule_on(s, 1, "gamma", "delta"),
        rule_on(s, 1, "Invoice", "Bill"),              # narrower, its line follows
        rule_on(s, 1, "12345", "123456789"),           # wider
        rule_on(s, 1, "apple", "banana", 0),           # one of two records on the line
        rule_on(s, 1, "Café", "Caffè"),
        rule_on(s, 1, "Heading", "\u03a4itle"),        # no glyph: the fallback font
        box_rule(1, 128, 178, 80, 18, "itle", "tile"),  # the fallback text of the rule before
        rule_on(s, 1, "Small", "Tiny"),
        box_rule(1, 72, 223, 30, 12, "Tiny", "Wee"),    # the text of the rule before
        rule_on(s, 1, "print", "type"),
        box_rule(1, 300, 400, 60, 12, "beta", "beta2"),  # not at this place
        box_rule(1, 300, 430, 60, 12, "", "XYZ"),       # empty find text
        box_rule(1, 305, 430, 60, 12, "", "QQQ"),       # over the text of the rule before
        box_rule(9, 72, 72, 60, 12, "alpha", "x"),      # no such page
        rule_on(s, 1, "beta", "bet"),
    ]
    m = w("multipage.pdf")
    t["multipage.pdf"] = [
        rule_on(m, 2, "SPLITWORD", "JOINEDWORD"),      # over two records
        rule_on(m, 2, "STAMPME", "STAMPED", 0),
        rule_on(m, 2, "STAMPME", "MARKED", 1),
        rule_on(m, 2, "Bravo", "Delta"),
        rule_on(m, 2, "now", "later"),
        rule_on(m, 3, "Charlie", "Echo"),
    ]
    k = w("tj_kerning.pdf")
    t["tj_kerning.pdf"] = [
        rule_on(k, 1, "Worldwide", "Earthwide"),
        rule_on(k, 1, "amount", "sum"),
        rule_on(k, 1, "AVATAR", "RATAVA"),
        rule_on(k, 1, "included", "excluded"),
    ]
    p = w("pdflatex_article.pdf")
    t["pdflatex_article.pdf"] = [
        rule_on(p, 1, "kerning", "grinnek"),
        rule_on(p, 1, "Typography", "Typesetting"),
        rule_on(p, 1, "staff", "team"),
        rule_on(p, 1, "waiting", "resting"),
        rule_on(p, 1, "pillows", "cushions"),
        rule_on(p, 1, "tight.", "close."),
    ]
    lo = w("libreoffice_letter.pdf")
    t["libreoffice_letter.pdf"] = [
        rule_on(lo, 1, "Monday", "Friday"),
        rule_on(lo, 1, "Dubois,", "Duval,"),
        rule_on(lo, 1, "148.20", "149.99"),
        rule_on(lo, 1, "warehouse", "storehouse"),
        rule_on(lo, 1, "Málaga", "Madrid"),
    ]
    return t


def main():
    marqel, kit, out_file = sys.argv[1], sys.argv[2], sys.argv[3]
    lines = []
    with tempfile.TemporaryDirectory() as work:
        for name, rules in table(kit).items():
            rule_file = os.path.join(work, "rules.txt")
            with open(rule_file, "w", encoding="utf-8", newline="") as f:
                f.write("".join(r + "\r\n" for r in rules))
            out = os.path.join(work, "out.pdf")
            run = subprocess.run([marqel, os.path.join(kit, name), "-tesome", out, rule_file],
                                 capture_output=True, text=True)
            lines.append(f"file {name}")
            lines += [f"rule {r}" for r in rules]
            lines += [f"result {l[len('Rule result: '):]}" for l in run.stdout.splitlines()
                      if l.startswith("Rule result: ")]
            pages = {int(r.split("-")[0]) for r in rules}
            for page, x0, y0, x1, y1, text in words(out):
                if page in pages:
                    lines.append(f"word {page} {x0:.2f} {y0:.2f} {x1:.2f} {y1:.2f} {text}")
            lines += [f"font {f}" for f in fonts(out)]
    with open(out_file, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
