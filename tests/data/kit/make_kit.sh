#!/usr/bin/env bash
# Regenerates the test-PDF kit in this folder:
#   tests/data/kit/make_kit.sh [PATH/TO/kit_writer]
# Without an argument, kit_writer is built in build-kit/ at the repository root
# (override with KIT_BUILD_DIR). Producers: kit_writer (exact cases), cairo and
# ReportLab through /usr/bin/python3, Ghostscript's ps2pdf, and the qpdf command
# line for the encrypted variants. A file is replaced only when its content
# changed, so running the script again leaves the kit as it is.
set -euo pipefail

KIT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$KIT_DIR/../../.." && pwd)
PRODUCERS="$KIT_DIR/producers"
PYTHON=/usr/bin/python3
OWNER_PASSWORD=kitowner
USER_PASSWORD=secret

if [[ $# -ge 1 ]]; then
    KIT_WRITER=$(realpath "$1")
else
    BUILD_DIR=${KIT_BUILD_DIR:-$ROOT/build-kit}
    cmake -S "$ROOT" -B "$BUILD_DIR" -DRELETTRA_BUILD_GUI=OFF >/dev/null
    cmake --build "$BUILD_DIR" --target kit_writer >/dev/null
    KIT_WRITER=$(find "$BUILD_DIR" -type f -name kit_writer -perm -u+x | head -n 1)
fi
[[ -x "$KIT_WRITER" ]] || { echo "make_kit.sh: kit_writer not found" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "exact cases (kit_writer)"
"$KIT_WRITER" cases "$WORK"

echo "cairo"
"$PYTHON" "$PRODUCERS/cairo_text.py" "$WORK/cairo_text.pdf"

echo "ReportLab"
"$PYTHON" "$PRODUCERS/reportlab_docs.py" "$WORK"

echo "Ghostscript"
# PDF 1.1 makes pdfwrite keep Type 1 programs (FontFile); newer levels write CFF (Type 1C).
GS_OPTIONS=(-dOmitInfoDate -dOmitID -dOmitXMP)
ps2pdf -dCompatibilityLevel=1.1 "${GS_OPTIONS[@]}" "$PRODUCERS/ghostscript_type1.ps" \
    "$WORK/ghostscript_type1.pdf"
ps2pdf "${GS_OPTIONS[@]}" "$PRODUCERS/ghostscript_type1.ps" "$WORK/ghostscript_type1c.pdf"

echo "encrypted variants of multipage.pdf (qpdf)"
qpdf --encrypt "" "$OWNER_PASSWORD" 256 -- "$WORK/multipage.pdf" "$WORK/encrypted_owner_only.pdf"
qpdf --encrypt "" "$OWNER_PASSWORD" 256 --modify=none -- \
    "$WORK/multipage.pdf" "$WORK/encrypted_no_modify.pdf"
qpdf --encrypt "$USER_PASSWORD" "$OWNER_PASSWORD" 256 -- \
    "$WORK/multipage.pdf" "$WORK/encrypted_user_password.pdf"

# Every file must pass qpdf's structural check.
for file in "$WORK"/*.pdf; do
    qpdf --password="$OWNER_PASSWORD" --check "$file" >/dev/null ||
        { echo "make_kit.sh: qpdf --check failed for $(basename "$file")" >&2; exit 1; }
done

# What an encrypted file holds, independent of its random keys and salts.
encrypted_form() {
    qpdf --password="$OWNER_PASSWORD" --show-encryption "$1" | grep -v -i "key"
    qpdf --password="$OWNER_PASSWORD" --decrypt --deterministic-id "$1" -
}

changed=0
for file in "$WORK"/*.pdf; do
    name=$(basename "$file")
    target="$KIT_DIR/$name"
    if [[ -f "$target" ]]; then
        if [[ $name == encrypted_* ]]; then
            cmp -s <(encrypted_form "$file") <(encrypted_form "$target") && continue
        else
            cmp -s "$file" "$target" && continue
        fi
    fi
    cp "$file" "$target"
    echo "  updated $name"
    changed=$((changed + 1))
done

"$PYTHON" "$PRODUCERS/make_manifest.py" "$KIT_DIR" "$WORK/MANIFEST.json"
if ! cmp -s "$WORK/MANIFEST.json" "$KIT_DIR/MANIFEST.json"; then
    cp "$WORK/MANIFEST.json" "$KIT_DIR/MANIFEST.json"
    echo "  updated MANIFEST.json"
    changed=$((changed + 1))
fi
echo "kit in $KIT_DIR: $changed file(s) changed"
