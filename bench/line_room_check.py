"""Checks that lines make room: for the words true_edit_share.py edits (each word that occurs
once on its page of the test-PDF kit, by a rule on its pdftotext -bbox box), each edited in
three ways, one rule per run: its letters in another order (the benchmark's own rule), one
letter more (its first letter again at its end: wider), one letter less (narrower). For every
edit the engine made in the page's own font, the words of the edited line are compared before
and after (pdftotext -bbox):
  overlap    - two words of the line overlap by more than 0.5 point that did not before;
  gap opened - the word that followed the edited one within 1.5 em now stands more than 1 point
               further from its end than it did (gap closed: nearer by as much);
  moved line - a word of another line moved.
Usage: line_room_check.py MARQEL KIT_DIR [FILE...]   (VERBOSE=1 lists every finding)
"""
import json
import os
import sys
import tempfile
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import true_edit_share as share  # noqa: E402

KINDS = ("shuffled", "wider", "narrower")


def replacement(word, kind):
    if kind == "shuffled":
        return share.shuffled(word)
    if kind == "wider":
        return word + word[0]
    return word[:-1] if len(word) >= 3 else None


def on_line(w, box):
    """Whether word `w` stands on the line of `box` (its middle within a third of the box's
    height of the box's middle)."""
    middle = (box[1] + box[3]) / 2
    return abs((w[1] + w[3]) / 2 - middle) < (box[3] - box[1]) / 3


def overlaps(line):
    line = sorted(line, key=lambda w: w[0])
    return {(a[4], b[4]) for a, b in zip(line, line[1:]) if b[0] < a[2] - 0.5}


def check(marqel, pdf, work, rule, page_index, box, old, new, before_words, before_fonts):
    out, stdout = share.run_rule(marqel, pdf, work, rule)
    if "Rule result: own font" not in stdout or not os.path.exists(out):
        return None
    if len(share.fonts(out)) > len(before_fonts):
        return None
    after_words = share.words(out)[page_index]
    findings = []
    line_before = [w for w in before_words if on_line(w, box)]
    line_after = [w for w in after_words if on_line(w, box)]
    for pair in overlaps(line_after) - overlaps(line_before):
        findings.append(("overlap", f"{pair[0]} / {pair[1]}"))
    em = (box[3] - box[1]) / 1.1
    edited = [w for w in line_after if w[4] == new and abs(w[0] - box[0]) < em]
    following = sorted((w for w in line_before if w[0] >= box[2] - 0.15 * em),
                       key=lambda w: w[0])
    if edited and following and following[0][0] - box[2] <= 1.5 * em:
        nxt = following[0]
        now = [w for w in line_after if w[4] == nxt[4] and w[0] > edited[0][0]]
        if now:
            gap_before = nxt[0] - box[2]
            gap_after = min(now, key=lambda w: w[0])[0] - edited[0][2]
            if abs(gap_after - gap_before) > 1.0:
                what = "gap opened" if gap_after > gap_before else "gap closed"
                findings.append((what, f"{nxt[4]}: {gap_before:.2f} -> {gap_after:.2f}"))
    # Words of other lines, each still where it stood (within 0.05 point).
    others_after = [w for w in after_words if not on_line(w, box)]
    moved = []
    for w in before_words:
        if on_line(w, box):
            continue
        if not any(o[4] == w[4] and abs(o[0] - w[0]) < 0.05 and abs(o[1] - w[1]) < 0.05
                   for o in others_after):
            moved.append(w[4])
    if moved:
        findings.append(("moved line", ", ".join(sorted(moved))[:80]))
    return findings


def main():
    marqel, kit, only = sys.argv[1], sys.argv[2], set(sys.argv[3:])
    manifest = json.load(open(os.path.join(kit, "MANIFEST.json")))["files"]
    totals = {kind: Counter() for kind in KINDS}
    with tempfile.TemporaryDirectory() as work:
        for name, info in sorted(manifest.items()):
            if name.startswith("encrypted") or (only and name not in only):
                continue
            pdf = os.path.join(kit, name)
            before_fonts = share.fonts(pdf)
            for page_index, page_words in enumerate(share.words(pdf)):
                counts = Counter(w[4] for w in page_words)
                rotate = 0
                for page in info["pages"]:
                    if page["number"] == page_index + 1:
                        rotate = page.get("rotate", 0)
                for x0, y0, x1, y1, text in page_words:
                    if counts[text] != 1 or ":" in text or len(text) < 2 or rotate:
                        continue
                    height = y1 - y0
                    if height > 2 * (x1 - x0):
                        continue  # running up or down the page
                    size = height / 1.1
                    for kind in KINDS:
                        new = replacement(text, kind)
                        if new is None or new == text:
                            continue
                        rule = (f"{page_index + 1}-{share.pixels(x0)}-"
                                f"{share.pixels(y0 - 0.08 * size)}-{share.pixels(x1 - x0)}-"
                                f"{share.pixels(size)}:{text}:{new}\r\n")
                        findings = check(marqel, pdf, work, rule, page_index,
                                         (x0, y0, x1, y1), text, new, page_words, before_fonts)
                        totals[kind]["rules"] += 1
                        if findings is None:
                            continue
                        totals[kind]["in-font edits"] += 1
                        for what, detail in findings:
                            totals[kind][what] += 1
                            if os.environ.get("VERBOSE"):
                                print(kind, name, page_index + 1, text, "->", new, what, detail,
                                      file=sys.stderr)
    print(f"{'edit':10} {'rules':>6} {'in font':>8} {'overlap':>8} {'gap opened':>11} "
          f"{'gap closed':>11} {'moved line':>11}")
    for kind in KINDS:
        c = totals[kind]
        print(f"{kind:10} {c['rules']:6} {c['in-font edits']:8} {c['overlap']:8} "
              f"{c['gap opened']:11} {c['gap closed']:11} {c['moved line']:11}")
    print(f"overlaps in all: {sum(totals[k]['overlap'] for k in KINDS)}")


if __name__ == "__main__":
    main()
