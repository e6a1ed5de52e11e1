"""Makes a producer's PDF reproducible: sets /CreationDate and /ModDate of the document
information to a fixed date and replaces the producer's file ID (often made from the time) by
one computed from the content, through the qpdf command line. Streams keep the producer's bytes (--stream-data=preserve); qpdf numbers
the objects anew and writes its own cross-reference table.
Usage: fix_dates.py IN.pdf OUT.pdf"""
import json
import subprocess
import sys
import tempfile

FIXED_DATE = "u:D:20240101000000Z"


def qpdf_json(path, *options):
    out = subprocess.run(["qpdf", "--json-output=2", "--json-key=qpdf", *options, path, "-"],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)["qpdf"][1]


def main(source, target):
    trailer = qpdf_json(source, "--json-object=trailer")["trailer"]["value"]
    info_ref = trailer.get("/Info")
    options = ["--deterministic-id", "--stream-data=preserve", "--object-streams=preserve"]
    # Without an /ID in the trailer, qpdf makes both parts of the new one from the content.
    # LibreOffice's /DocChecksum changes from run to run too, and no reader needs it.
    kept = {k: v for k, v in trailer.items() if k not in ("/ID", "/DocChecksum")}
    objects = {"trailer": {"value": kept}}
    if info_ref:
        key = "obj:" + info_ref
        info = qpdf_json(source, "--json-object=" + info_ref.split()[0])[key]["value"]
        for date in ("/CreationDate", "/ModDate"):
            if date in info:
                info[date] = FIXED_DATE
        objects[key] = {"value": info}
    header = {"jsonversion": 2, "pushedinheritedpageresources": False, "calledgetallpages": False}
    with tempfile.TemporaryDirectory() as work:
        update = work + "/update.json"
        with open(update, "w", encoding="utf-8") as f:
            json.dump({"qpdf": [header, objects]}, f)
        options.append("--update-from-json=" + update)
        subprocess.run(["qpdf", *options, source, target], check=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
