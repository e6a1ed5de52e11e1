"""Share of true in-font edits, fallbacks and failures per font kind and per producer.

For every word that occurs once on its page of the test-PDF kit (pdftotext -bbox), a position
rule replaces it by a word of the same length made of the same letters in another order (so a
subset font holds them), one rule per run. Each result is judged by independent readers:
  true edit  - the new word stands at the old place and no font was added (pdffonts); a form
               field's value written anew in the font its default appearance names is one too,
               even where its old appearance drew no text with that font (pdffonts then lists
               the font as new);
  fallback   - the new word stands there, the fallback font was added, the old word is gone;
  not done   - the engine changed nothing and said why ("Rule result: not done: ..."), as for a
               form field's value; the old word stays, nothing is claimed;
  failure    - anything else (the old word still extractable there, or the new word missing).
Usage: true_edit_share.py MARQEL KIT_DIR [FILE...]   (only the named kit files, when given)
With VERBOSE=1 in the environment, every word that was not a true edit is listed on standard
error with the engine's "Rule result:" line.
"""
import html
import json
import os
import re
import subprocess
import sys
import tempfile
from collections import Counter, defaultdict

WORD = re.compile(r'xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">(.*)</word>')


def words(pdf):
    out = subprocess.run(["pdftotext", "-bbox", "-cropbox", pdf, "-"], capture_output=True,
                         text=True).stdout
    pages = []
    for line in out.splitlines():
        if "<page " in line:
            pages.append([])
        m = WORD.search(line)
        if m and pages:
            pages[-1].append((float(m[1]), float(m[2]), float(m[3]), float(m[4]),
                              html.unescape(m[5])))
    return pages


def fonts(pdf):
    out = subprocess.run(["pdffonts", pdf], capture_output=True, text=True).stdout
    return [line[:37].strip() for line in out.splitlines()[2:]]


def raw_text(pdf, page):
    """The page's text in content order (pdftotext -raw), white space made single spaces."""
    out = subprocess.run(["pdftotext", "-raw", "-f", str(page), "-l", str(page), pdf, "-"],
                         capture_output=True, text=True).stdout
    return " ".join(out.split())


def replaced_once(before, old, new, after):
    """Whether `after` is `before` with one occurrence of `old` replaced by `new`."""
    at = before.find(old)
    while at >= 0:
        if before[:at] + new + before[at + len(old):] == after:
            return True
        at = before.find(old, at + 1)
    return False


def shuffled(word):
    letters = [c for c in word]
    for shift in range(1, len(letters)):
        candidate = "".join(letters[shift:] + letters[:shift])
        if candidate != word:
            return candidate
    return None


def pixels(points):
    return int(round(points * 150 / 72)) + 1


def run_rule(marqel, pdf, work, rule):
    """Runs the engine on one rule line in `work`; returns the output's path (it may not
    exist) and what the engine printed."""
    rules = os.path.join(work, "rules.txt")
    out = os.path.join(work, "out.pdf")
    with open(rules, "w", encoding="utf-8", newline="") as f:
        f.write(rule)
    if os.path.exists(out):
        os.remove(out)
    run = subprocess.run([marqel, pdf, "-tesome", out, rules], capture_output=True, text=True,
                         errors="replace")
    return out, run.stdout


def judge_edit(marqel, pdf, work, rule, page_index, old, new, box, before_fonts):
    """Runs the engine on one rule line and judges the result by independent readers.
    box is the old word's (x0, y0, x1, y1) in points. Returns the verdict ("true edit",
    "fallback", "not done" or "failure"), why a failure failed, and the engine's
    "Rule result:" lines."""
    x0, y0, x1, y1 = box
    out, stdout = run_rule(marqel, pdf, work, rule)
    said = [line for line in stdout.splitlines() if line.startswith("Rule result:")]
    if said and said[-1].startswith("Rule result: not done:") and "change success? 0" in stdout:
        return "not done", "", said
    if not os.path.exists(out):
        return "failure", "no output", said
    after = words(out)[page_index]
    span = y1 - y0
    near = lambda w: abs(w[1] - y0) < span and w[0] < x1 + 2 and w[2] > x0 - 2
    new_there = any(new in w[4] and near(w) for w in after)
    old_there = any(old in w[4] and near(w) for w in after)
    added = len(fonts(out)) > len(before_fonts)
    in_field_font = bool(said) and said[-1].startswith("Rule result: own font: form field")
    if new_there and not old_there:
        return ("fallback" if added and not in_field_font else "true edit"), "", said
    # Readers cut text set at an angle into pieces as they find them, and cut it otherwise once
    # its glyphs moved: read in content order, the page must then hold its old text with the
    # word replaced.
    if not added and replaced_once(raw_text(pdf, page_index + 1), old, new,
                                   raw_text(out, page_index + 1)):
        return "true edit", "", said
    return "failure", ("old word still there" if old_there else "new word not found"), said


def main():
    marqel, kit, only = sys.argv[1], sys.argv[2], set(sys.argv[3:])
    manifest = json.load(open(os.path.join(kit, "MANIFEST.json")))["files"]
    results = defaultdict(Counter)
    by_producer = defaultdict(Counter)
    causes = Counter()  # why the words that were not true edits were not
    with tempfile.TemporaryDirectory() as work:
        for name, info in sorted(manifest.items()):
            if name.startswith("encrypted") or (only and name not in only):
                continue
            pdf = os.path.join(kit, name)
            before_fonts = fonts(pdf)
            for page_index, page_words in enumerate(words(pdf)):
                counts = Counter(w[4] for w in page_words)
                kinds = {}
                rotate = 0
                for page in info["pages"]:
                    if page["number"] == page_index + 1:
                        kinds = {w["text"]: w.get("font_kind", info["font_kind"]) for w in page["words"]}
                        rotate = page.get("rotate", 0)
                for x0, y0, x1, y1, text in page_words:
                    new = shuffled(text)
                    if counts[text] != 1 or new is None or ":" in text or len(text) < 2:
                        continue
                    kind = kinds.get(text, info["font_kind"])
                    height = y1 - y0
                    vertical = rotate in (90, 270) or height > 2 * (x1 - x0)
                    if not vertical:
                        # Horizontal: the rule's height is the text's size (about the box height
                        # / 1.1), its top about 0.08 em above the box.
                        size = height / 1.1
                        top, rule_width, rule_height = y0 - 0.08 * size, x1 - x0, size
                    else:
                        # Vertical: the box's own extent; the rule's width is the text's size.
                        top, rule_width, rule_height = y0, (x1 - x0) / 1.1, height
                    rule = (f"{page_index + 1}-{pixels(x0)}-{pixels(top)}-{pixels(rule_width)}-"
                            f"{pixels(rule_height)}:{text}:{new}\r\n")
                    verdict, reason, said = judge_edit(marqel, pdf, work, rule, page_index, text,
                                                       new, (x0, y0, x1, y1), before_fonts)
                    results[kind][verdict] += 1
                    by_producer[info.get("producer", "?")][verdict] += 1
                    if verdict != "true edit":
                        causes[cause_of(verdict, reason, said)] += 1
                    if verdict != "true edit" and os.environ.get("VERBOSE"):
                        print(name, page_index + 1, text, "->", new, verdict,
                              reason if verdict == "failure" else "", rule.strip(),
                              said[-1] if said else "", file=sys.stderr)
    table("font kind", results)
    print()
    table("producer", by_producer)
    print()
    total = sum(sum(c.values()) for c in results.values())
    true_edits = sum(c["true edit"] for c in results.values())
    print(f"all {total} words: {true_edits} true edits, {100.0 * true_edits / total:.1f}%")
    print("not true edits, by cause:")
    for cause, count in causes.most_common():
        print(f"  {count:4}  {cause}")


def cause_of(verdict, reason, said):
    """The verdict and the engine's reason, without the names of fonts and characters."""
    line = said[-1] if said else "no rule result"
    line = line.replace("Rule result: ", "")
    line = re.sub(r'the font \S+ has no glyph for ".*', "the page's font has no glyph for a "
                  "character of the new text", line)
    return f"failure ({reason}): {line}" if verdict == "failure" else line


def table(title, results):
    print(f"{title:28} {'words':>6} {'true edit':>10} {'fallback':>9} {'not done':>9} "
          f"{'failure':>8} {'true %':>7}")
    for key, c in sorted(results.items()):
        total = sum(c.values())
        print(f"{key:28} {total:6} {c['true edit']:10} {c['fallback']:9} {c['not done']:9} "
              f"{c['failure']:8} "
              f"{100.0 * c['true edit'] / total:6.1f}%")

if __name__ == "__main__":
    main()
