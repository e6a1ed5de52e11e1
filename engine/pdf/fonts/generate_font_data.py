#!/usr/bin/env python3
"""Writes the C++ tables of the font layer from data shipped by Debian packages.

Inputs (all read at build time, nothing typed in):
  - the Adobe Glyph List and the ZapfDingbats list (package aglfn),
  - the Adobe Glyph List For New Fonts, for the preferred glyph name of a code point (aglfn),
  - the AFM metrics of the metric-compatible standard 14 fonts (package fonts-urw-base35),
    which also give StandardEncoding and the built-in encodings of Symbol and ZapfDingbats,
  - Python's own cp1252 and mac_roman codec tables, for WinAnsiEncoding and MacRomanEncoding.

Usage: generate_font_data.py <aglfn dir> <afm dir> <output .cpp>
"""
import codecs
import os
import sys

STANDARD_14 = [
    ("Helvetica", "NimbusSans-Regular"),
    ("Helvetica-Bold", "NimbusSans-Bold"),
    ("Helvetica-Oblique", "NimbusSans-Italic"),
    ("Helvetica-BoldOblique", "NimbusSans-BoldItalic"),
    ("Times-Roman", "NimbusRoman-Regular"),
    ("Times-Bold", "NimbusRoman-Bold"),
    ("Times-Italic", "NimbusRoman-Italic"),
    ("Times-BoldItalic", "NimbusRoman-BoldItalic"),
    ("Courier", "NimbusMonoPS-Regular"),
    ("Courier-Bold", "NimbusMonoPS-Bold"),
    ("Courier-Oblique", "NimbusMonoPS-Italic"),
    ("Courier-BoldOblique", "NimbusMonoPS-BoldItalic"),
    ("Symbol", "StandardSymbolsPS"),
    ("ZapfDingbats", "D050000L"),
]


def read_glyph_list(path):
    """name;XXXX[ XXXX...] lines -> {name: [code points]}"""
    result = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            name, codes = line.split(";")[:2]
            result[name] = [int(c, 16) for c in codes.split()]
    return result


def read_aglfn(path):
    """XXXX;name;description lines -> {code point: preferred name}"""
    result = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            code, name = line.split(";")[:2]
            result[int(code, 16)] = name
    return result


def read_afm(path):
    """-> (list of (name, width)), {code: name} of the AFM's own encoding"""
    widths = {}
    encoding = {}
    with open(path, encoding="latin-1") as f:
        in_metrics = False
        for line in f:
            if line.startswith("StartCharMetrics"):
                in_metrics = True
                continue
            if line.startswith("EndCharMetrics"):
                break
            if not in_metrics:
                continue
            fields = {}
            for part in line.split(";"):
                words = part.split()
                if len(words) >= 2:
                    fields.setdefault(words[0], words[1])
            if "N" not in fields or "WX" not in fields:
                continue
            name = fields["N"]
            widths.setdefault(name, int(round(float(fields["WX"]))))
            code = int(fields.get("C", "-1"))
            if 0 <= code <= 255:
                encoding[code] = name
    return sorted(widths.items()), encoding


def codec_encoding(codec, aglfn):
    """Byte -> glyph name through a codec table and the preferred names of AGLFN."""
    encoding = {}
    for byte in range(256):
        try:
            text = bytes([byte]).decode(codec)
        except UnicodeDecodeError:
            continue
        if len(text) != 1:
            continue
        cp = ord(text)
        if cp < 0x20 or cp == 0x7F or 0xE000 <= cp <= 0xF8FF:
            continue  # control characters and private-use glyphs are not part of the font encoding
        encoding[byte] = aglfn.get(cp, "uni%04X" % cp)
    return encoding


def c_string(text):
    """A C++ string literal for arbitrary text, every non-ASCII byte as an octal escape."""
    out = []
    for b in text.encode("utf-8"):
        if 0x20 <= b < 0x7F and b not in (0x22, 0x5C, 0x3F):
            out.append(chr(b))
        else:
            out.append("\\%03o" % b)
    return '"' + "".join(out) + '"'


def write_glyph_list(out, symbol, glyphs):
    out.append("const GlyphListEntry %s[] = {" % symbol)
    for name in sorted(glyphs):
        text = "".join(chr(cp) for cp in glyphs[name])
        out.append("    {%s, %s}," % (c_string(name), c_string(text)))
    out.append("};")
    out.append("const std::size_t %sSize = sizeof(%s) / sizeof(%s[0]);" % (symbol, symbol, symbol))
    out.append("")


def write_encoding(out, symbol, encoding):
    out.append("const char* const %s[256] = {" % symbol)
    for code in range(256):
        name = encoding.get(code)
        out.append("    %s," % (c_string(name) if name else "nullptr"))
    out.append("};")
    out.append("")


def main():
    if len(sys.argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    aglfn_dir, afm_dir, output = sys.argv[1:]
    glyphs = read_glyph_list(os.path.join(aglfn_dir, "glyphlist.txt"))
    dingbats = read_glyph_list(os.path.join(aglfn_dir, "zapfdingbats.txt"))
    preferred = read_aglfn(os.path.join(aglfn_dir, "aglfn.txt"))

    out = [
        "// Generated at build time by generate_font_data.py from the aglfn and fonts-urw-base35",
        "// packages and Python's codec tables. Do not edit.",
        '#include "pdf/fonts/font_data.h"',
        "",
        "namespace relettra::pdf::fontdata {",
        "",
    ]
    write_glyph_list(out, "kGlyphList", glyphs)
    write_glyph_list(out, "kZapfDingbatsList", dingbats)

    metrics = []
    for pdf_name, afm_name in STANDARD_14:
        widths, encoding = read_afm(os.path.join(afm_dir, afm_name + ".afm"))
        metrics.append((pdf_name, widths, encoding))

    write_encoding(out, "kStandardEncoding", metrics[0][2])
    write_encoding(out, "kWinAnsiEncoding", codec_encoding("cp1252", preferred))
    write_encoding(out, "kMacRomanEncoding", codec_encoding("mac_roman", preferred))
    write_encoding(out, "kSymbolEncoding", metrics[12][2])
    write_encoding(out, "kZapfDingbatsEncoding", metrics[13][2])

    for index, (pdf_name, widths, _) in enumerate(metrics):
        out.append("static const GlyphWidth kWidths%d[] = {" % index)
        for name, width in widths:
            out.append("    {%s, %d}," % (c_string(name), width))
        out.append("};")
        out.append("")
    out.append("const StandardFontMetrics kStandardFonts[] = {")
    for index, (pdf_name, widths, _) in enumerate(metrics):
        builtin = "kStandardEncoding"
        if pdf_name == "Symbol":
            builtin = "kSymbolEncoding"
        elif pdf_name == "ZapfDingbats":
            builtin = "kZapfDingbatsEncoding"
        out.append("    {%s, kWidths%d, %d, %s}," % (c_string(pdf_name), index, len(widths), builtin))
    out.append("};")
    out.append("const std::size_t kStandardFontsSize = %d;" % len(metrics))
    out.append("")
    out.append("}  // namespace relettra::pdf::fontdata")
    text = "\n".join(out) + "\n"

    # Only touch the output when it changes, so a re-run does not force a rebuild.
    try:
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
