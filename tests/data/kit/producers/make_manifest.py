"""Writes MANIFEST.json for the test-PDF kit from what poppler's pdftotext and
pdfinfo report for each file, so tests read positions instead of hard-coding
them.

Word boxes are those of `pdftotext -cropbox -bbox`: points, origin at the upper
left corner of the displayed page (the CropBox, else the MediaBox, with /Rotate
applied), y growing downward."""
import html
import json
import re
import subprocess
import sys

# Per file: producer, font kind of the file, and font kinds of the words that
# use another font than the file's main one.
FILES = {
    "std14_helvetica.pdf": ("kit_writer", "std14", {}),
    "differences.pdf": ("kit_writer", "truetype-differences",
                        {w: "std14-differences" for w in ("Zebra", "stripes", "plain", "567", "digits")}),
    "truetype_winansi.pdf": ("kit_writer", "truetype-winansi", {}),
    "tj_kerning.pdf": ("kit_writer", "std14", {}),
    "rotated_text.pdf": ("kit_writer", "std14", {}),
    "multipage.pdf": ("kit_writer", "std14",
                      {w: "std14-times" for w in ("bong", "0001", "hypo", "0002")}),
    "rotate90.pdf": ("kit_writer", "std14", {}),
    "rotate270.pdf": ("kit_writer", "std14", {}),
    "offset_mediabox.pdf": ("kit_writer", "std14", {}),
    "form_xobject.pdf": ("kit_writer", "std14", {}),
    "rich_structure.pdf": ("kit_writer", "std14", {}),
    "cairo_text.pdf": ("cairo", "truetype-subset-winansi",
                       dict({w: "cid-identity-h" for w in (
                           "\u0391\u03bb\u03c6\u03b1", "\u0392\u03ae\u03c4\u03b1",
                           "\u041f\u0440\u0438\u0432\u0435\u0442", "\u043c\u0438\u0440",
                           "\u0414\u0430\u043d\u043d\u044b\u0435")},
                           Serif="truetype-subset-winansi", Heading="truetype-subset-winansi")),
    "reportlab_std.pdf": ("reportlab", "std14", {}),
    "reportlab_ttf.pdf": ("reportlab", "truetype-subset-tounicode", {}),
    "ghostscript_type1.pdf": ("ghostscript", "type1-subset", {}),
    "ghostscript_type1c.pdf": ("ghostscript", "type1c-subset", {}),
    "libreoffice_letter.pdf": ("libreoffice", "truetype-subset-tounicode", {}),
    "libreoffice_sheet.pdf": ("libreoffice", "truetype-subset-tounicode", {}),
    "pdflatex_article.pdf": ("pdflatex", "type1-subset-tounicode", {}),
    "groff_memo.pdf": ("groff", "std14-times-differences", {}),
    "chromium_page.pdf": ("chromium", "cid-identity-h",
                          {w: "type3-tounicode" for w in ("Office", "Affairs", "Weekly")}),
    "drawn_pieces.pdf": ("kit_writer", "std14", {}),
    "turned_by_matrix.pdf": ("kit_writer", "std14", {}),
    "annotation_text.pdf": ("kit_writer", "std14", {}),
    "form_fields.pdf": ("kit_writer", "std14", {}),
    "form_signed.pdf": ("kit_writer", "std14", {}),
    "reportlab_form.pdf": ("reportlab", "std14", {w: "std14-times" for w in ("Berlin", "Mitte")}),
    "libreoffice_form.pdf": ("libreoffice", "truetype-subset-tounicode",
                             {w: "std14" for w in ("Meyer", "Lindenweg", "14", "Parcel", "left",
                                                   "with", "the", "neighbour")}),
    "pdflatex_form.pdf": ("pdflatex", "type1-subset-tounicode",
                          {w: "std14" for w in ("Jonas", "Berger", "Garden", "hose", "25", "m",
                                                "3", "pieces")}),
    "chromium_drawn.pdf": ("chromium", "cid-identity-h", {}),
    "wkhtmltopdf_drawn.pdf": ("wkhtmltopdf", "cid-identity-h", {}),
    "ghostscript_drawn.pdf": ("ghostscript", "type1c-subset", {}),
    "cairo_drawn.pdf": ("cairo", "truetype-subset-winansi", {}),
    "tounicode_identity.pdf": ("kit_writer", "cid-tounicode-identity", {}),
    "type3_numbered_names.pdf": ("kit_writer", "type3-numbered-names", {}),
    "type3_uni_names.pdf": ("kit_writer", "type3-uni-names", {}),
    "truetype_cmap_only.pdf": ("kit_writer", "truetype-cmap-only",
                               {w: "cid-cmap-only" for w in ("Glyph", "map", "reading",
                                                             "Identity", "Collection")}),
    "cid_collections.pdf": ("kit_writer", "cid-cjk-no-tounicode", {}),
    "reportlab_cid.pdf": ("reportlab", "cid-cjk-not-embedded", {}),
    "ghostscript_type3.pdf": ("ghostscript", "type3-numbered-names", {}),
    "libreoffice_slides.pdf": ("libreoffice", "truetype-subset-tounicode", {}),
    "libreoffice_drawing.pdf": ("libreoffice", "truetype-subset-tounicode", {}),
    "xelatex_opentype.pdf": ("xelatex", "cid-cff-identity-h", {}),
    "lualatex_opentype.pdf": ("lualatex", "cid-cff-identity-h", {}),
    "dvipdfmx_article.pdf": ("dvipdfmx", "type1c-subset-tounicode", {}),
    "pandoc_notes.pdf": ("pandoc", "type1c-subset", {}),
    "enscript_listing.pdf": ("enscript", "type1c-subset", {}),
    "a2ps_listing.pdf": ("a2ps", "type1c-subset", {}),
    "pdftocairo_memo.pdf": ("pdftocairo", "type1c-subset-tounicode", {}),
    "weasyprint_page.pdf": ("weasyprint", "cid-identity-h", {}),
    "matplotlib_type3.pdf": ("matplotlib", "type3-glyph-names", {}),
    "matplotlib_type42.pdf": ("matplotlib", "cid-identity-h", {}),
    "qt_textdocument.pdf": ("qt", "cid-identity-h", {}),
    "fpdf_page.pdf": ("fpdf", "truetype-subset-winansi",
                      dict({w: "std14" for w in (
                          "Weather Station Log Monthly means Quantity Value Unit Temperature 14.2 "
                          "degC Rainfall 63.8 mm Pressure 1,012.6 hPa Calibrated by M\u00e9t\u00e9o "
                          "team \u2014 sensors checked twice.").split()},
                           **{w: "truetype-subset-differences" for w in (
                               "\u0420\u0443\u0441\u0441\u043a\u0438\u0439: \u044f\u0441\u043d\u0430\u044f "
                               "\u043f\u043e\u0433\u043e\u0434\u0430, \u0432\u0435\u0442\u0435\u0440 "
                               "\u0441\u043b\u0430\u0431\u044b\u0439.").split()})),
    "inkscape_drawing.pdf": ("inkscape", "truetype-subset-winansi",
                             {w: "cid-identity-h" for w in (
                                 "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac: "
                                 "\u03c6\u03b5\u03c3\u03c4\u03b9\u03b2\u03ac\u03bb \u2014 "
                                 "\u0420\u0443\u0441\u0441\u043a\u0438\u0439: "
                                 "\u043f\u0440\u0430\u0437\u0434\u043d\u0438\u043a "
                                 "\u0441\u0430\u0434\u0430").split()}),
    "mupdf_page.pdf": ("mupdf", "cid-cff-identity-h", {}),
    "gnuplot_chart.pdf": ("gnuplot", "truetype-subset-winansi",
                          {w: "cid-identity-h" for w in (
                              "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac: "
                              "\u03c0\u03bf\u03c4\u03b1\u03bc\u03cc\u03c2 \u2014 "
                              "\u0420\u0443\u0441\u0441\u043a\u0438\u0439: "
                              "\u0440\u0435\u043a\u0430").split()}),
    "encrypted_owner_only.pdf": ("qpdf", "std14", {}),
    "encrypted_no_modify.pdf": ("qpdf", "std14", {}),
    "encrypted_user_password.pdf": ("qpdf", "std14", {}),
}

# Encryption of the qpdf-made files: (user password, owner password, what it allows).
ENCRYPTION = {
    "encrypted_owner_only.pdf": ("", "kitowner", "AES-256, empty user password, all permissions"),
    "encrypted_no_modify.pdf": ("", "kitowner", "AES-256, empty user password, --modify=none"),
    "encrypted_user_password.pdf": ("secret", "kitowner", "AES-256, user password needed to open"),
}

WORD = re.compile(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">(.*?)</word>')
BOX = re.compile(r"Page\s+(\d+) (MediaBox|CropBox):\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)")
ROT = re.compile(r"Page\s+(\d+) rot:\s+(-?\d+)")


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def number(text):
    value = round(float(text), 3)
    return int(value) if value == int(value) else value


def describe(path, name):
    producer, kind, word_kinds = FILES[name]
    password = []
    if name in ENCRYPTION:
        password = ["-upw", ENCRYPTION[name][0]] if ENCRYPTION[name][0] else []
    info = run(["pdfinfo"] + password + ["-f", "1", "-l", "100000", "-box", path])
    count = int(re.search(r"Pages:\s+(\d+)", info).group(1))
    pages = [{"number": n, "rotate": 0} for n in range(1, count + 1)]
    for match in BOX.finditer(info):
        page = pages[int(match.group(1)) - 1]
        page["media_box" if match.group(2) == "MediaBox" else "crop_box"] = [
            number(match.group(i)) for i in range(3, 7)]
    for match in ROT.finditer(info):
        pages[int(match.group(1)) - 1]["rotate"] = int(match.group(2)) % 360
    bbox = run(["pdftotext"] + password + ["-cropbox", "-bbox", path, "-"])
    for page, chunk in zip(pages, bbox.split("<page ")[1:]):
        box = page["crop_box"]
        width, height = number(box[2] - box[0]), number(box[3] - box[1])
        if page["rotate"] in (90, 270):
            width, height = height, width
        page["width"], page["height"] = width, height
        page["words"] = []
        for match in WORD.finditer(chunk):
            text = html.unescape(match.group(5))
            page["words"].append({
                "text": text,
                "xMin": number(match.group(1)), "yMin": number(match.group(2)),
                "xMax": number(match.group(3)), "yMax": number(match.group(4)),
                "font_kind": word_kinds.get(text, kind)})
    entry = {"producer": producer, "font_kind": kind}
    if name in ENCRYPTION:
        user, owner, what = ENCRYPTION[name]
        entry["encryption"] = {"user_password": user, "owner_password": owner, "description": what,
                               "source": "multipage.pdf"}
    entry["pages"] = pages
    return entry


def dump(manifest):
    """JSON with one word per line, so the file stays readable and diffs stay small."""
    out = ["{", '  "coordinates": %s,' % json.dumps(manifest["coordinates"]), '  "files": {']
    names = list(manifest["files"])
    for i, name in enumerate(names):
        entry = manifest["files"][name]
        out.append("    %s: {" % json.dumps(name))
        for key in entry:
            if key != "pages":
                out.append("      %s: %s," % (json.dumps(key), json.dumps(entry[key], ensure_ascii=False)))
        out.append('      "pages": [')
        for j, page in enumerate(entry["pages"]):
            head = {k: v for k, v in page.items() if k != "words"}
            out.append("        {" + json.dumps(head)[1:-1] + ', "words": [')
            words = [json.dumps(w, ensure_ascii=False) for w in page["words"]]
            out.append(",\n".join("          " + w for w in words))
            out.append("        ]}" + ("," if j + 1 < len(entry["pages"]) else ""))
        out.append("      ]")
        out.append("    }" + ("," if i + 1 < len(names) else ""))
    out.append("  }")
    out.append("}")
    return "\n".join(out) + "\n"


def main(kit_dir, output):
    manifest = {
        "coordinates": "pdftotext -cropbox -bbox: points, origin at the upper left corner of the "
                       "displayed page (CropBox, else MediaBox, turned by /Rotate), y downward; "
                       "width and height are those of the displayed page",
        "files": {name: describe(kit_dir + "/" + name, name) for name in FILES},
    }
    text = dump(manifest)
    json.loads(text)  # the hand-made layout must still be valid JSON
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
