"""How well Hevrit's word boxes work as text rules, and how well its baseline estimate fits.

1. Share of true in-font edits: for every word that occurs once on its page of the test-PDF kit
   (as Hevrit's text layer lists it, read the way the front end reads it), a text rule made from
   the word's box replaces it by the same letters in another order, one rule per engine run.
   The result is judged by bench/true_edit_share.py's judge_edit():
     true edit - the new word stands at the old place and no font was added (pdffonts);
     fallback  - the new word stands there, the fallback font was added, the old word is gone;
     not done  - the engine changed nothing and said why (a form field's value, say);
     failure   - anything else.
   Shares are printed per font kind (MANIFEST.json) and writing direction.
2. Baseline estimate: the PDF library's word box spans ascent to descent around the baseline, in
   proportions that differ from font to font. For one word in every installed font family
   (embedded by cairo) and in the standard fonts (not embedded), at known baselines and sizes,
   it prints the error of estimating the baseline at a fixed share of the box thickness (the
   share Hevrit uses, and the best shares found) and, for comparison, at a fixed descent below it.

Usage: hevrit_box_share.py HEVRIT MARQEL KIT_DIR [WORD_BOX_H]
"""
import html
import json
import os
import re
import subprocess
import sys
import tempfile
from collections import Counter, defaultdict

BENCH = os.path.dirname(os.path.abspath(__file__))


sys.path.insert(0, BENCH)
from true_edit_share import fonts, judge_edit, shuffled, words  # noqa: E402


def read_layer(path):
    """Words of a text layer as the front end reads them: (left, top, width, height, text)."""
    result = []
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            values = []
            for key in ("left", "top", "width", "height"):
                at = line.find(key)
                digits = ""
                if at >= 0:
                    start = at + len(key) + 1
                    end = start
                    while end < len(line) and line[end] not in ';"':
                        end += 1
                    digits = line[start:end]
                values.append(int(digits) if digits.isdigit() else 0)
            if values[0] == 0 and values[1] == 0:
                break
            close = line.find("</span>")
            text = line[line.rfind(">", 0, close) + 1:close]
            text = html.unescape(text)
            result.append((*values, text))
    return result


def hevrit_layers(hevrit, pdf, work):
    """Hevrit's text layers of every page of `pdf`, in page order."""
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    subprocess.run([hevrit, pdf, "-ht", os.path.join(work, "page.png"), "-textonly"],
                   capture_output=True)
    layers = sorted(n for n in os.listdir(work) if n.endswith(".htm"))
    return [read_layer(os.path.join(work, n)) for n in layers]


def edit_shares(hevrit, marqel, kit):
    manifest = json.load(open(os.path.join(kit, "MANIFEST.json")))["files"]
    results = defaultdict(Counter)
    misses = []
    with tempfile.TemporaryDirectory() as work:
        layer_dir = os.path.join(work, "layers")
        os.mkdir(layer_dir)
        for name, info in sorted(manifest.items()):
            if name.startswith("encrypted"):
                continue
            pdf = os.path.join(kit, name)
            before_fonts = fonts(pdf)
            reference = words(pdf)
            for page_index, layer in enumerate(hevrit_layers(hevrit, pdf, layer_dir)):
                counts = Counter(w[4] for w in layer)
                page = next(p for p in info["pages"] if p["number"] == page_index + 1)
                kinds = {w["text"]: w.get("font_kind", info["font_kind"]) for w in page["words"]}
                boxes = {w[4]: w for w in reference[page_index]}
                for left, top, width, height, text in layer:
                    new = shuffled(text)
                    if (counts[text] != 1 or new is None or ":" in text or len(text) < 2
                            or text not in boxes):
                        continue
                    x0, y0, x1, y1, _ = boxes[text]
                    vertical = page.get("rotate", 0) in (90, 270) or y1 - y0 > 2 * (x1 - x0)
                    group = (kinds.get(text, info["font_kind"]), "vertical" if vertical else "")
                    rule = f"{page_index + 1}-{left}-{top}-{width}-{height}:{text}:{new}\r\n"
                    verdict, reason, _ = judge_edit(marqel, pdf, work, rule, page_index, text,
                                                    new, (x0, y0, x1, y1), before_fonts)
                    results[group][verdict] += 1
                    if verdict != "true edit":
                        misses.append(f"  {name} p{page_index + 1} {text} -> {new}: {verdict}"
                                      f"{' (' + reason + ')' if verdict == 'failure' else ''}"
                                      f"  rule {rule.strip()}")
    print(f"{'font kind':28} {'direction':9} {'words':>6} {'true edit':>10} {'fallback':>9} "
          f"{'not done':>9} {'failure':>8} {'true %':>7}")
    for (kind, direction), c in sorted(results.items()):
        total = sum(c.values())
        print(f"{kind:28} {direction or 'across':9} {total:6} {c['true edit']:10} "
              f"{c['fallback']:9} {c['not done']:9} {c['failure']:8} "
              f"{100.0 * c['true edit'] / total:6.1f}%")
    all_words = sum(sum(c.values()) for c in results.values())
    true_edits = sum(c["true edit"] for c in results.values())
    print(f"{'all':38} {all_words:6} {true_edits:10} {'':9} {'':8} "
          f"{100.0 * true_edits / all_words:6.1f}%")
    if misses:
        print("Words not edited in their own font:")
        print("\n".join(misses))


# ---- baseline estimate -------------------------------------------------------------------

SAMPLE = "Hxgy"
STANDARD_FONTS = ["Helvetica", "Helvetica-Bold", "Times-Roman", "Times-Bold", "Courier"]


def write_standard_font_pdf(path, rows):
    """One page, one line per standard font (not embedded) at a known baseline and size."""
    content, fonts_dict = [], []
    for i, (font, size, baseline) in enumerate(rows):
        content.append(f"BT /F{i} {size} Tf 40 {792 - baseline} Td ({SAMPLE}{i}) Tj ET")
        fonts_dict.append(f"/F{i} << /Type /Font /Subtype /Type1 /BaseFont /{font} "
                          f"/Encoding /WinAnsiEncoding >>")
    stream = "\n".join(content)
    objects = ["<< /Type /Catalog /Pages 2 0 R >>",
               "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
               f"/Resources << /Font << {' '.join(fonts_dict)} >> >> >>",
               f"<< /Length {len(stream)} >>\nstream\n{stream}\nendstream"]
    data = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(data))
        data += f"{number} 0 obj\n{body}\nendobj\n".encode("latin-1")
    xref = len(data)
    data += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    data += b"".join(f"{o:010d} 00000 n \n".encode() for o in offsets)
    data += (f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n"
             "%%EOF\n").encode()
    open(path, "wb").write(data)


def write_cairo_pdf(path, rows):
    import cairo
    surface = cairo.PDFSurface(path, 612, 792)
    context = cairo.Context(surface)
    for i, (family, size, baseline) in enumerate(rows):
        context.select_font_face(family, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
        context.set_font_size(size)
        context.move_to(40, baseline)
        context.show_text(f"{SAMPLE}{i}")
    surface.finish()


def sample_boxes(pdf, rows):
    """(font, ascent share of the size, thickness share of the size) per sample word."""
    found = []
    for page in words(pdf):
        for x0, y0, x1, y1, text in page:
            if text.startswith(SAMPLE) and text[len(SAMPLE):].isdigit():
                name, size, baseline = rows[int(text[len(SAMPLE):])]
                found.append((name, (baseline - y0) / size, (y1 - y0) / size))
    return found


def text_font_families():
    out = subprocess.run(["fc-list", ":", "family"], capture_output=True, text=True).stdout
    families = sorted({line.split(",")[0].strip() for line in out.splitlines() if line.strip()})
    # Symbol and dingbat fonts hold no letters.
    return [f for f in families if not re.search(r"Symbol|D050000L|Math", f)]


def baseline_fit(word_box_header):
    share = float(re.search(r"kBaselineShare = ([\d.]+)", open(word_box_header).read())[1])
    samples = []
    with tempfile.TemporaryDirectory() as work:
        families = text_font_families()
        for batch in range(0, len(families), 25):
            rows = [(f, 9 + (i % 4) * 4, 40 + 28 * i) for i, f in enumerate(families[batch:batch + 25])]
            pdf = os.path.join(work, f"cairo{batch}.pdf")
            write_cairo_pdf(pdf, rows)
            samples += [(f"{n} (embedded)", a, t) for n, a, t in sample_boxes(pdf, rows)]
        rows = [(f, 10 + 3 * i, 60 + 40 * i) for i, f in enumerate(STANDARD_FONTS)]
        pdf = os.path.join(work, "standard.pdf")
        write_standard_font_pdf(pdf, rows)
        samples += [(f"{n} (standard, not embedded)", a, t) for n, a, t in sample_boxes(pdf, rows)]
    if not samples:
        print("no samples")
        return
    print(f"\n{'font':44} {'ascent':>7} {'box':>6} {'share':>6} {'error at ' + str(share):>14}")
    for name, ascent, thickness in samples:
        print(f"{name:44} {ascent:7.3f} {thickness:6.3f} {ascent / thickness:6.3f} "
              f"{share * thickness - ascent:+14.3f}")

    def errors(estimate):
        return [abs(estimate(t) - a) for _, a, t in samples]

    def summary(label, estimate):
        e = errors(estimate)
        print(f"{label:44} mean {sum(e) / len(e):.3f}  worst {max(e):.3f}  (font sizes)")

    candidates = [k / 1000 for k in range(600, 901)]
    minimax = min(candidates, key=lambda k: max(errors(lambda t: k * t)))
    mean_best = min(candidates, key=lambda k: sum(errors(lambda t: k * t)))
    descents = [d / 1000 for d in range(100, 401)]
    descent_best = min(descents, key=lambda d: sum(errors(lambda t: t - d)))
    print(f"\nBaseline errors over {len(samples)} fonts (the engine accepts half the font size):")
    summary(f"share {share} of the box (Hevrit)", lambda t: share * t)
    summary(f"share {mean_best} (least mean error)", lambda t: mean_best * t)
    summary(f"share {minimax} (least worst error)", lambda t: minimax * t)
    summary(f"descent {descent_best} of the size below it", lambda t: t - descent_best)


def main():
    hevrit, marqel, kit = sys.argv[1:4]
    header = sys.argv[4] if len(sys.argv) > 4 else os.path.join(
        BENCH, "..", "helpers", "hevrit", "word_box.h")
    edit_shares(hevrit, marqel, kit)
    baseline_fit(header)


if __name__ == "__main__":
    main()
