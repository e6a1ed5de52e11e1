#!/usr/bin/env python3
"""Makes the seed corpora of the fuzz targets from the test-PDF kit and the test images.

    fuzz/make_corpus.py            # writes fuzz/corpus/<target>/ afresh

Only small files are taken, so the committed corpora stay small. PDF objects are read with
`qpdf --json` (package qpdf)."""

import base64
import hashlib
import json
import pathlib
import re
import shutil
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent
KIT = ROOT.parent / "tests" / "data" / "kit"
IMAGES = ROOT.parent / "tests" / "data" / "images"
CORPUS = ROOT / "corpus"
LARGEST_PDF = 16 * 1024
LARGEST_PART = 16 * 1024


def put(target, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(data).hexdigest()[:16]).write_bytes(data)


def objects(pdf):
    out = subprocess.run(["qpdf", "--json=2", "--json-stream-data=inline",
                          "--decode-level=generalized", str(pdf), "-"],
                         capture_output=True, check=False).stdout
    return json.loads(out)["qpdf"][1] if out else {}


def stream_data(objs, ref):
    entry = objs.get("obj:" + ref, {})
    return base64.b64decode(entry["stream"]["data"]) if "stream" in entry else None


def value(objs, ref):
    return objs.get("obj:" + ref, {}).get("value")


def pdf_syntax(objs, v, depth=0):
    """A JSON value as PDF syntax, references resolved (streams and deep ones left out)."""
    if isinstance(v, bool):
        return "true" if v else "false"
    if v is None:
        return "null"
    if isinstance(v, (int, float)):
        return repr(v)
    if isinstance(v, list):
        return "[" + " ".join(pdf_syntax(objs, x, depth) for x in v) + "]"
    if isinstance(v, dict):
        return "<<" + " ".join(k + " " + pdf_syntax(objs, x, depth) for k, x in v.items()) + ">>"
    if re.fullmatch(r"\d+ \d+ R", v):
        target = value(objs, v)
        return pdf_syntax(objs, target, depth + 1) if target is not None and depth < 3 else "null"
    if v.startswith("u:"):
        return "(" + v[2:].replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)") + ")"
    if v.startswith("b:"):
        return "<" + v[2:] + ">"
    return v  # a name


def fonts(objs):
    for key, entry in objs.items():
        v = entry.get("value")
        if isinstance(v, dict) and v.get("/Type") == "/Font":
            yield v


def font_program(objs, font):
    descriptor = font.get("/FontDescriptor")
    if descriptor is None and font.get("/DescendantFonts"):
        kids = font["/DescendantFonts"]
        kids = value(objs, kids) if isinstance(kids, str) else kids
        first = value(objs, kids[0]) if kids and isinstance(kids[0], str) else None
        descriptor = first.get("/FontDescriptor") if isinstance(first, dict) else None
    descriptor = value(objs, descriptor) if isinstance(descriptor, str) else descriptor
    for key in ("/FontFile", "/FontFile2", "/FontFile3"):
        if isinstance(descriptor, dict) and key in descriptor:
            return stream_data(objs, descriptor[key])
    return None


def pdf_seeds():
    for pdf in sorted(KIT.glob("*.pdf")):
        data = pdf.read_bytes()
        small = len(data) <= LARGEST_PDF
        if small:
            put("engine_run_fuzzer", data)
            put("hevrit_page_fuzzer", data)
        objs = objects(pdf)
        contents = [stream_data(objs, k[4:]) for k, e in objs.items()
                    if "stream" in e and "/Subtype" not in e["stream"].get("dict", {})
                    and "/Length1" not in e["stream"].get("dict", {})]
        content = next((c for c in contents if c and b"Tj" in c or c and b"TJ" in c), None)
        for font in fonts(objs):
            unicode_map = (stream_data(objs, font["/ToUnicode"]) if "/ToUnicode" in font else b"") or b""
            program = font_program(objs, font) or b""
            if unicode_map:
                put("cmap_fuzzer", unicode_map)
            encoding = font.get("/Encoding")
            if isinstance(encoding, str) and encoding.endswith(" R"):
                put("cmap_fuzzer", stream_data(objs, encoding) or b"")
            if program and len(program) <= LARGEST_PART:
                put("font_program_fuzzer", program)
            if small and content and len(content) <= LARGEST_PART:
                parts = [pdf_syntax(objs, font).encode(), content, unicode_map]
                if program and len(program) <= LARGEST_PART:
                    parts.append(program)
                put("content_fuzzer", b"\0".join(parts))


def image_seeds():
    for image in sorted(IMAGES.iterdir()):
        if image.suffix in (".jpg", ".png", ".bmp", ".gif"):
            put("image_decoder_fuzzer", image.read_bytes())


def rule_line_seeds():
    for line in ["1-150-100-400-50:Hello:Howdy", "2-0-0-0-0:Total::Sum", "3-1-2-3-4:a::b:c",
                 "1:100:100:(/tmp/stamp.png):50:50", "4:1.5:2e3:(D:\\pics\\a.jpg):0:0",
                 "-7-+8- 9-1e9-99999999999:x:y\r", "1:.5:-.5:(a)b):1.:2.e5"]:
        put("rule_lines_fuzzer", line.encode())


if __name__ == "__main__":
    shutil.rmtree(CORPUS, ignore_errors=True)
    pdf_seeds()
    image_seeds()
    rule_line_seeds()
    for folder in sorted(CORPUS.iterdir()):
        files = list(folder.iterdir())
        print(f"{folder.name}: {len(files)} files, {sum(f.stat().st_size for f in files)} bytes")
