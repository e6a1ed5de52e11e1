#!/usr/bin/env bash
# The headless batch command over 200 kit files (copies of ten producers' files), one find text
# that stands on most pages:
# - `relettra-batch -j 2` against the window's content batch over the same files (offscreen,
#   one file after the other; goal <= 0.6), and against MuPDF's search, redact and
#   write-new-text peer run two files at a time with xargs (goal <= 1.0);
# - the same files as two shards run at once with GNU Parallel: the union of their outputs must
#   equal the single run's, byte for byte.
source "$(dirname "$0")/lib.sh"
build_tools
cmake --build "$build" -j"$(nproc)" --target Hevrit Dossaly relettra-batch content_batch_timer \
  >/dev/null
need_mutool
peer="$top/../shared/bench/peer-content-mutool.js"
[[ -f "$peer" ]] || peer="${PEER_CONTENT_SCRIPT:?set PEER_CONTENT_SCRIPT to peer-content-mutool.js}"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
runs="${BENCH_RUNS:-3}"

producers=(pdflatex_article pdftocairo_memo groff_memo fpdf_page libreoffice_letter
           xelatex_opentype chromium_page a2ps_listing pandoc_notes mupdf_page)
mkdir -p "$work/in"
for copy in $(seq -w 1 20); do
  for p in "${producers[@]}"; do
    cp "$top/tests/data/kit/$p.pdf" "$work/in/${p}_$copy.pdf"
  done
done
files=("$work"/in/*.pdf)
find=the; replace=THE
command="$build/run/relettra-batch"

t_cli=$(best_time "$command" -j 2 -q --overwrite -o "$work/cli" --find "$find" --replace "$replace" \
  "$work/in")
read -r t_window summary < <(QT_QPA_PLATFORM=offscreen "$build/bench/content_batch/content_batch_timer" \
  "${files[0]}" "$find" "$replace" "$runs" "${files[@]:1}" 2>/dev/null)
mkdir -p "$work/peer"
peer_all() {
  printf '%s\n' "${files[@]}" |
    xargs -P 2 -I{} sh -c 'mutool run "$0" "$1" "$2/$(basename "$1")" "$3" "$4"' \
      "$peer" {} "$work/peer" "$find" "$replace"
}
t_peer=$(best_time peer_all)

echo "relettra-batch -j 2: ${t_cli}s; window content batch: ${t_window}s ($summary);" \
  "MuPDF peer, 2 at a time: ${t_peer}s (${#files[@]} files, shortest of $runs runs)"
echo "ratio relettra-batch/window: $(ratio "$t_cli" "$t_window") (goal <= 0.6)"
echo "ratio relettra-batch/MuPDF peer: $(ratio "$t_cli" "$t_peer") (goal <= 1.0)"

# Two shards at once against the single run.
rm -rf "$work/cli" "$work/sharded"
"$command" -j 2 -q --overwrite -o "$work/cli" --find "$find" --replace "$replace" "$work/in"
parallel --will-cite -j 2 "$command" --shard {}/2 -j 1 -q -o "$work/sharded" \
  --find "$find" --replace "$replace" "$work/in" ::: 0 1
if diff -r "$work/cli" "$work/sharded" >/dev/null; then
  echo "shards: the union of 2 shards equals the single run ($(ls "$work/cli" | wc -l) files," \
    "byte for byte)"
else
  echo "shards: the union of 2 shards DIFFERS from the single run"
  exit 1
fi
