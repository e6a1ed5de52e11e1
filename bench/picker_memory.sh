#!/usr/bin/env bash
# The rule picker's memory at zoom 8 on a full page (a letter page of the kit, 1275 x 1650 pixels
# at 150 dpi), offscreen: the whole picker with its page made by the real page helper, against
# the way of showing a page that scales a copy of the whole page to the factor (a label with the
# enlarged pixmap; the rest of a picker not counted). Peak (VmHWM) and resident (VmRSS) memory,
# the smallest of the runs each (goal: the picker's peak below 200 MB).
source "$(dirname "$0")/lib.sh"
build_tools
cmake --build "$build" -j"$(nproc)" --target Hevrit picker_memory >/dev/null
input="${PICKER_MEMORY_PDF:-$top/tests/data/kit/libreoffice_letter.pdf}"
zoom="${PICKER_MEMORY_ZOOM:-8}"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
# The program sits beside the child programs, and runs in their folder, so that it finds the page
# helper wherever the picker looks for it.
cp "$build/bench/picker_memory" "$work/"
for program in Hevrit.dll Tewkrun.dll; do ln -s "$build/run/$program" "$work/$program"; done
"$build/run/Hevrit.dll" "$input" -ht "$work/page.png" -f 1 -l 1 >/dev/null

# Smallest peak and resident figure over the runs of one mode.
measure() {
  local mode=$1 file=$2 line peak="" rss=""
  for _ in $(seq "$runs"); do
    line=$(cd "$work" && QT_QPA_PLATFORM=offscreen ./picker_memory "$mode" "$file" "$zoom" 2>/dev/null)
    local p=${line##*peak_mb=} r=${line##*rss_mb=}
    r=${r%% *}
    if [[ -z "$peak" ]] || awk -v a="$p" -v b="$peak" 'BEGIN {exit !(a < b)}'; then peak=$p; fi
    if [[ -z "$rss" ]] || awk -v a="$r" -v b="$rss" 'BEGIN {exit !(a < b)}'; then rss=$r; fi
  done
  echo "$peak $rss ${line%% rss_mb=*}"
}

read -r peak_ours rss_ours what_ours < <(measure picker "$input")
read -r peak_peer rss_peer what_peer < <(measure scaled-copy "$work/page_pg_0001.png")
echo "$what_ours: peak ${peak_ours} MB, resident ${rss_ours} MB"
echo "$what_peer: peak ${peak_peer} MB, resident ${rss_peer} MB"
echo "ratio picker/scaled copy (peak): $(ratio "$peak_ours" "$peak_peer") (goal: picker peak < 200 MB)"
