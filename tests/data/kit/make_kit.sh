#!/usr/bin/env bash
# Regenerates the test-PDF kit in this folder:
#   tests/data/kit/make_kit.sh [PATH/TO/kit_writer]
# Without an argument, kit_writer is built in build-kit/ at the repository root
# (override with KIT_BUILD_DIR). Producers: kit_writer (exact cases), cairo and
# ReportLab through /usr/bin/python3, Ghostscript's ps2pdf, the qpdf command line
# for the encrypted variants, and the real producers LibreOffice (Writer, Calc,
# Impress, Draw), pdfLaTeX, XeLaTeX, LuaLaTeX, LaTeX with dvipdfmx, groff, pandoc,
# headless Chromium, wkhtmltopdf, WeasyPrint, matplotlib, Qt (PyQt6), FPDF (PHP),
# Inkscape, pdftocairo, MuPDF, gnuplot, enscript and a2ps (installed by
# `scripts/setup kit`). A file is replaced only when its content changed, so
# running the script again leaves the kit as it is.
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
for tool in soffice pdflatex xelatex lualatex latex dvipdfmx groff pdfroff pandoc chromium \
        wkhtmltopdf weasyprint php inkscape pdftocairo mutool gnuplot enscript a2ps iconv; do
    command -v "$tool" >/dev/null ||
        { echo "make_kit.sh: $tool is missing; run scripts/setup kit" >&2; exit 1; }
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "exact cases (kit_writer)"
"$KIT_WRITER" cases "$WORK"

echo "cairo"
"$PYTHON" "$PRODUCERS/cairo_text.py" "$WORK/cairo_text.pdf"
"$PYTHON" "$PRODUCERS/cairo_drawn.py" "$WORK/cairo_drawn.pdf"

echo "ReportLab"
"$PYTHON" "$PRODUCERS/reportlab_docs.py" "$WORK"
"$PYTHON" "$PRODUCERS/reportlab_cid.py" "$WORK/reportlab_cid.pdf"
# ReportLab writes the form's /DR with its /Font key twice; readers keep the last, which lacks
# the fonts the fields' /DA name (their appearances hold them). qpdf writes what readers see,
# warning about it (exit code 3), so that the file passes qpdf --check with that fault kept.
mkdir -p "$WORK/reportlab"
"$PYTHON" "$PRODUCERS/reportlab_form.py" "$WORK/reportlab/form.pdf"
qpdf --deterministic-id --stream-data=preserve "$WORK/reportlab/form.pdf" "$WORK/reportlab_form.pdf" 2>/dev/null ||
    [[ $? -eq 3 ]]

echo "Ghostscript"
# PDF 1.1 makes pdfwrite keep Type 1 programs (FontFile); newer levels write CFF (Type 1C).
GS_OPTIONS=(-dOmitInfoDate -dOmitID -dOmitXMP)
ps2pdf -dCompatibilityLevel=1.1 "${GS_OPTIONS[@]}" "$PRODUCERS/ghostscript_type1.ps" \
    "$WORK/ghostscript_type1.pdf"
ps2pdf "${GS_OPTIONS[@]}" "$PRODUCERS/ghostscript_type1.ps" "$WORK/ghostscript_type1c.pdf"
ps2pdf "${GS_OPTIONS[@]}" "$PRODUCERS/ghostscript_type3.ps" "$WORK/ghostscript_type3.pdf"
ps2pdf "${GS_OPTIONS[@]}" "$PRODUCERS/ghostscript_drawn.ps" "$WORK/ghostscript_drawn.pdf"

# The real producers stamp their files with the time; fixed dates (and qpdf's content-based
# file ID for LibreOffice and Chromium, which write none that stays) keep them reproducible.
export SOURCE_DATE_EPOCH=1704067200 FORCE_SOURCE_DATE=1
fix_dates() { "$PYTHON" "$PRODUCERS/fix_dates.py" "$1" "$2"; }

echo "LibreOffice (Writer, Calc, Impress, Draw)"
mkdir -p "$WORK/libreoffice"
soffice -env:UserInstallation="file://$WORK/libreoffice/profile" --headless --norestore \
    --convert-to pdf --outdir "$WORK/libreoffice" \
    "$PRODUCERS/libreoffice_letter.fodt" "$PRODUCERS/libreoffice_sheet.fods" \
    "$PRODUCERS/libreoffice_korean.fodt" \
    "$PRODUCERS/libreoffice_slides.fodp" "$PRODUCERS/libreoffice_drawing.fodg" \
    "$PRODUCERS/libreoffice_form.fodt" >/dev/null 2>&1
for name in libreoffice_letter libreoffice_sheet libreoffice_slides libreoffice_drawing \
            libreoffice_korean libreoffice_form; do
    fix_dates "$WORK/libreoffice/$name.pdf" "$WORK/$name.pdf"
done

echo "pdfLaTeX"
mkdir -p "$WORK/latex"
(cd "$WORK/latex" && pdflatex -interaction=nonstopmode -halt-on-error \
    "$PRODUCERS/pdflatex_article.tex" >/dev/null)
cp "$WORK/latex/pdflatex_article.pdf" "$WORK/pdflatex_article.pdf"
(cd "$WORK/latex" && pdflatex -interaction=nonstopmode -halt-on-error \
    "$PRODUCERS/pdflatex_form.tex" >/dev/null)
cp "$WORK/latex/pdflatex_form.pdf" "$WORK/pdflatex_form.pdf"

# XeLaTeX (xdvipdfmx) takes its dates and file ID from SOURCE_DATE_EPOCH, LuaLaTeX its dates
# (its source leaves the ID out); both read the shared body opentype_body.tex from producers/.
echo "XeLaTeX, LuaLaTeX (fontspec), LaTeX + dvipdfmx"
for engine in xelatex lualatex; do
    (cd "$WORK/latex" && TEXINPUTS="$PRODUCERS:" $engine -interaction=nonstopmode -halt-on-error \
        "$PRODUCERS/${engine}_opentype.tex" >/dev/null)
    cp "$WORK/latex/${engine}_opentype.pdf" "$WORK/${engine}_opentype.pdf"
done
# dvipdfmx makes the file ID from the output's name as given, so that name stays relative.
(cd "$WORK/latex" && latex -interaction=nonstopmode -halt-on-error \
    "$PRODUCERS/dvipdfmx_article.tex" >/dev/null &&
    dvipdfmx -q -o dvipdfmx_article.pdf dvipdfmx_article.dvi)
cp "$WORK/latex/dvipdfmx_article.pdf" "$WORK/dvipdfmx_article.pdf"

echo "groff"
groff -ms -Tpdf -P-pletter "$PRODUCERS/groff_memo.ms" >"$WORK/groff_memo.pdf"

# pandoc writes groff ms and runs pdfroff: groff's PostScript driver, then Ghostscript.
echo "pandoc (ms, pdfroff)"
(cd "$WORK" && pandoc -s -t ms --pdf-engine=pdfroff --pdf-engine-opt=-dpaper=letter \
    --pdf-engine-opt=-P-pletter -o "$WORK/pandoc_notes.pdf" "$PRODUCERS/pandoc_notes.md")

# enscript and a2ps read Latin-1 and write PostScript, which ps2pdf turns into PDF.
echo "enscript, a2ps (ps2pdf)"
mkdir -p "$WORK/listings"
iconv -f UTF-8 -t LATIN1 "$PRODUCERS/enscript_listing.txt" |
    enscript -q -e@ -B -M Letter -f Courier10 --encoding=latin1 -p "$WORK/listings/enscript.ps"
ps2pdf "${GS_OPTIONS[@]}" "$WORK/listings/enscript.ps" "$WORK/enscript_listing.pdf"
iconv -f UTF-8 -t LATIN1 "$PRODUCERS/a2ps_listing.py" >"$WORK/listings/a2ps_listing.py"
a2ps -q -1 -B --borders=no --medium=letter --encoding=latin1 --pretty-print=python \
    -o "$WORK/listings/a2ps.ps" "$WORK/listings/a2ps_listing.py"
ps2pdf -sPAPERSIZE=letter "${GS_OPTIONS[@]}" "$WORK/listings/a2ps.ps" "$WORK/a2ps_listing.pdf"

# pdftocairo re-writes groff's memo, whose Times fonts are not embedded, through cairo.
echo "pdftocairo"
pdftocairo -pdf "$WORK/groff_memo.pdf" "$WORK/listings/pdftocairo_memo.pdf"
fix_dates "$WORK/listings/pdftocairo_memo.pdf" "$WORK/pdftocairo_memo.pdf"

echo "Chromium"
mkdir -p "$WORK/chromium"
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$WORK/chromium/profile" \
    --no-pdf-header-footer --print-to-pdf="$WORK/chromium/chromium_page.pdf" \
    "file://$PRODUCERS/chromium_page.html" >/dev/null 2>&1
fix_dates "$WORK/chromium/chromium_page.pdf" "$WORK/chromium_page.pdf"
chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$WORK/chromium/profile" \
    --no-pdf-header-footer --print-to-pdf="$WORK/chromium/chromium_drawn.pdf" \
    "file://$PRODUCERS/drawn_text.html" >/dev/null 2>&1
fix_dates "$WORK/chromium/chromium_drawn.pdf" "$WORK/chromium_drawn.pdf"

echo "wkhtmltopdf"
mkdir -p "$WORK/wkhtmltopdf"
wkhtmltopdf --quiet --page-size Letter -T 0.75in -B 0.75in -L 0.75in -R 0.75in \
    "$PRODUCERS/drawn_text.html" "$WORK/wkhtmltopdf/drawn.pdf" >/dev/null 2>&1
# wkhtmltopdf also hands out its subset tags in a changing order.
"$PYTHON" "$PRODUCERS/fix_subset_tags.py" "$WORK/wkhtmltopdf/drawn.pdf" "$WORK/wkhtmltopdf/tagged.pdf"
fix_dates "$WORK/wkhtmltopdf/tagged.pdf" "$WORK/wkhtmltopdf_drawn.pdf"

echo "WeasyPrint"
weasyprint "$PRODUCERS/weasyprint_page.html" "$WORK/weasyprint_page.pdf"

echo "matplotlib (fonttype 3 and 42)"
"$PYTHON" "$PRODUCERS/matplotlib_page.py" "$WORK"

echo "Qt (QTextDocument on QPdfWriter)"
mkdir -p -m 700 "$WORK/qt"
XDG_RUNTIME_DIR="$WORK/qt" "$PYTHON" "$PRODUCERS/qt_textdocument.py" "$WORK/qt/qt.pdf"
fix_dates "$WORK/qt/qt.pdf" "$WORK/qt_textdocument.pdf"

echo "FPDF (PHP)"
mkdir -p "$WORK/fpdf"
php "$PRODUCERS/fpdf_page.php" "$WORK/fpdf/fpdf.pdf" "$WORK/fpdf"
fix_dates "$WORK/fpdf/fpdf.pdf" "$WORK/fpdf_page.pdf"

echo "Inkscape"
mkdir -p "$WORK/inkscape"
HOME="$WORK/inkscape" inkscape --export-type=pdf --export-filename="$WORK/inkscape_drawing.pdf" \
    "$PRODUCERS/inkscape_drawing.svg" >/dev/null 2>&1

echo "MuPDF (mutool convert)"
mutool convert -W 612 -H 792 -O compress -o "$WORK/mupdf_page.pdf" "$PRODUCERS/mupdf_page.xhtml"

echo "gnuplot (pdfcairo)"
mkdir -p "$WORK/gnuplot"
gnuplot -c "$PRODUCERS/gnuplot_chart.gp" "$WORK/gnuplot/chart.pdf"
fix_dates "$WORK/gnuplot/chart.pdf" "$WORK/gnuplot_chart.pdf"
unset SOURCE_DATE_EPOCH FORCE_SOURCE_DATE

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
