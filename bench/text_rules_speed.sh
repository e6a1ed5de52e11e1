#!/usr/bin/env bash
# 200 text rules spread over a generated 1000-page document against the QPDF copy (goal <= 1.5)
# and the MuPDF redaction peer doing the same rules (goal: not slower).
source "$(dirname "$0")/lib.sh"
build_tools
need_mutool
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$kit_writer" bulk 1000 "$work/in.pdf"
# One rule on every fifth page, on the first line's first word, in 150-dpi pixels.
/usr/bin/python3 "$bench_dir/make_spread_rules.py" "$work/in.pdf" 200 >"$work/rules.txt"

t_qpdf=$(best_time qpdf --stream-data=preserve "$work/in.pdf" "$work/out-qpdf.pdf")
t_marqel=$(best_time "$marqel" "$work/in.pdf" -tesome "$work/out-marqel.pdf" "$work/rules.txt")
t_peer=$(best_time mutool run "$top/../shared/bench/peer-redact-mutool.js" "$work/in.pdf" "$work/out-peer.pdf" "$work/rules.txt")
changed=$("$marqel" "$work/in.pdf" -tesome "$work/out-marqel.pdf" "$work/rules.txt" | grep -c 'change success? 1' || true)
echo "200 rules ($changed applied): marqel ${t_marqel}s, qpdf copy ${t_qpdf}s, mutool peer ${t_peer}s"
echo "ratio marqel/qpdf: $(ratio "$t_marqel" "$t_qpdf") (goal <= 1.5)"
echo "ratio marqel/peer: $(ratio "$t_marqel" "$t_peer") (goal <= 1.0)"
