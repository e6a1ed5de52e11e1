#!/usr/bin/env bash
# Hevrit on a generated 100-page text document against peers in the same run: all pages as
# images and text layers against `mutool draw -r 150` (goal <= 0.5), one page with the process
# start (goal <= 0.3 s), and text layers only against `pdftotext -bbox` (goal <= 1.5).
# The commands take turns, run after run, so a burst of other work on a shared machine hits
# them alike; each keeps its shortest time.
source "$(dirname "$0")/lib.sh"
build_tools
cmake --build "$build" -j"$(nproc)" --target Hevrit >/dev/null
need_mutool
hevrit="$build/run/Hevrit.dll"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$kit_writer" bulk 100 "$work/in.pdf"
mkdir "$work/all" "$work/one" "$work/text" "$work/mutool"

commands=(
  "$hevrit $work/in.pdf -ht $work/all/page.png"
  "mutool draw -r 150 -o $work/mutool/p%d.png $work/in.pdf"
  "$hevrit $work/in.pdf -ht $work/one/page.png -f 50 -l 50"
  "$hevrit $work/in.pdf -ht $work/text/page.png -textonly"
  "pdftotext -bbox $work/in.pdf $work/text/words.html"
)
best=()
for _ in $(seq "$runs"); do
  for i in "${!commands[@]}"; do
    # shellcheck disable=SC2086  # the paths hold no blanks (mktemp)
    t=$(runs=1 best_time ${commands[$i]})
    best[$i]=$(awk -v a="${best[$i]:-}" -v b="$t" 'BEGIN {print (a == "" || b < a) ? b : a}')
  done
done
t_all=${best[0]} t_mutool=${best[1]} t_one=${best[2]} t_text=${best[3]} t_pdftotext=${best[4]}
written=$(find "$work/all" -name 'page_pg_*.png' | wc -l)
echo "100 pages: Hevrit ${t_all}s (${written} images), mutool draw ${t_mutool}s;" \
  "one page ${t_one}s; text layers ${t_text}s, pdftotext -bbox ${t_pdftotext}s ($(nproc) cores)"
echo "ratio all pages/mutool draw:     $(ratio "$t_all" "$t_mutool") (goal <= 0.5)"
echo "one page (-f 50 -l 50):          ${t_one}s (goal <= 0.3 s)"
echo "ratio -textonly/pdftotext -bbox: $(ratio "$t_text" "$t_pdftotext") (goal <= 1.5)"
