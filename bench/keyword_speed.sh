#!/usr/bin/env bash
# "-piall" on a generated 1000-page text document against pdftotext of the same file: with the
# keyword on the last line of every page (search, 1000 stamps, save; goal <= 1.0) and with a
# keyword found nowhere (the search alone; goal <= 0.3).
source "$(dirname "$0")/lib.sh"
build_tools
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$kit_writer" bulk 1000 "$work/in.pdf" --keyword STAMPME
image="$top/tests/data/images/jpeg_rgb.jpg"

t_text=$(best_time pdftotext "$work/in.pdf" "$work/out.txt")
t_hits=$(best_time "$marqel" "$work/in.pdf" -piall "$work/out.pdf" STAMPME "$image" 40 20)
t_none=$(best_time "$marqel" "$work/in.pdf" -piall "$work/none.pdf" NOWHEREWORD "$image" 40 20)
hits=$("$marqel" "$work/in.pdf" -piall "$work/out.pdf" STAMPME "$image" 40 20 | grep -c 'Found string' || true)
echo "pdftotext ${t_text}s; -piall with ${hits} hits ${t_hits}s; keyword nowhere ${t_none}s"
echo "ratio hits/pdftotext:    $(ratio "$t_hits" "$t_text") (goal <= 1.0)"
echo "ratio nowhere/pdftotext: $(ratio "$t_none" "$t_text") (goal <= 0.3)"
