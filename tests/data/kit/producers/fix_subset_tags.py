"""Makes the subset tags of a producer's fonts reproducible: wkhtmltopdf hands out the six
letters before the "+" of each /FontName in an order that changes from run to run. Each tag is
replaced by one made from the font's own name, through the qpdf command line; streams keep the
producer's bytes.
Usage: fix_subset_tags.py IN.pdf OUT.pdf"""
import hashlib
import json
import subprocess
import sys
import tempfile


def tag(name):
    digest = hashlib.sha1(name.encode("utf-8")).digest()
    return "".join(chr(ord("A") + b % 26) for b in digest[:6])


def main(source, target):
    out = subprocess.run(["qpdf", "--json-output=2", "--json-key=qpdf", source, "-"], check=True,
                         capture_output=True, text=True).stdout
    objects = json.loads(out)["qpdf"][1]
    changed = {}
    for key, entry in objects.items():
        value = entry.get("value") if isinstance(entry, dict) else None
        if not isinstance(value, dict) or value.get("/Type") != "/FontDescriptor":
            continue
        name = value.get("/FontName", "")
        if len(name) > 8 and name[7] == "+":
            value["/FontName"] = "/" + tag(name[8:]) + "+" + name[8:]
            changed[key] = {"value": value}
    header = {"jsonversion": 2, "pushedinheritedpageresources": False, "calledgetallpages": False}
    with tempfile.TemporaryDirectory() as work:
        update = work + "/update.json"
        with open(update, "w", encoding="utf-8") as f:
            json.dump({"qpdf": [header, changed]}, f)
        subprocess.run(["qpdf", "--deterministic-id", "--stream-data=preserve",
                        "--object-streams=preserve", "--update-from-json=" + update, source,
                        target], check=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
