#!/usr/bin/env bash
# The content batch of the window (offscreen, from the press of "Replace" to "Conversion
# Finished.": page helper, text-layer reads, analysis, engine) against MuPDF's search, redact and
# write-new-text peer, on a generated 100-page document with the find text on every page
# (goal <= 1.5).
source "$(dirname "$0")/lib.sh"
build_tools
cmake --build "$build" -j"$(nproc)" --target Hevrit Dossaly content_batch_timer >/dev/null
need_mutool
peer="$top/../shared/bench/peer-content-mutool.js"
[[ -f "$peer" ]] || peer="${PEER_CONTENT_SCRIPT:?set PEER_CONTENT_SCRIPT to peer-content-mutool.js}"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$kit_writer" bulk 100 "$work/in.pdf" --keyword STAMPME

t_peer=$(best_time mutool run "$peer" "$work/in.pdf" "$work/peer.pdf" STAMPME MARKED)
read -r t_ours result summary < <(QT_QPA_PLATFORM=offscreen \
    "$build/bench/content_batch/content_batch_timer" "$work/in.pdf" STAMPME MARKED "$runs" 2>/dev/null)
echo "content batch ${t_ours}s ($result: $summary); MuPDF peer ${t_peer}s"
echo "ratio content batch/MuPDF peer: $(ratio "$t_ours" "$t_peer") (goal <= 1.5)"
