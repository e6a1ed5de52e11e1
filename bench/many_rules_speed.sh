#!/usr/bin/env bash
# 4000 text rules on one page of 4000 words (make_dense_page.py: in-font edits a letter wider,
# narrower or as wide, every twentieth one in the fallback font) against the QPDF copy of the
# same file and the MuPDF redaction peer doing the same rules. Goal: the engine's run within 1.0 s.
source "$(dirname "$0")/lib.sh"
build_tools
need_mutool
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
count="${RULE_COUNT:-4000}"
/usr/bin/python3 "$bench_dir/make_dense_page.py" "$count" "$work/in.pdf" "$work/rules.txt"

t_qpdf=$(best_time qpdf --stream-data=preserve "$work/in.pdf" "$work/out-qpdf.pdf")
t_marqel=$(best_time "$marqel" "$work/in.pdf" -tesome "$work/out-marqel.pdf" "$work/rules.txt")
t_peer=$(best_time mutool run "$top/../shared/bench/peer-redact-mutool.js" "$work/in.pdf" "$work/out-peer.pdf" "$work/rules.txt")
# The engine ends a finished run with 1.
results=$({ "$marqel" "$work/in.pdf" -tesome "$work/out-marqel.pdf" "$work/rules.txt" || true; } |
  grep '^Rule result: ' | sed 's/: the font .* has no glyph for.*/: no glyph/' | sort | uniq -c)
echo "$count rules on one page: marqel ${t_marqel}s, qpdf copy ${t_qpdf}s, mutool peer ${t_peer}s"
echo "$results"
echo "ratio marqel/qpdf: $(ratio "$t_marqel" "$t_qpdf")"
echo "ratio marqel/peer: $(ratio "$t_marqel" "$t_peer")"
echo "marqel within 1.0 s: $(awk -v t="$t_marqel" 'BEGIN {print (t <= 1.0) ? "yes" : "no"}')"
