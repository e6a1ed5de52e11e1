#!/usr/bin/env bash
# A run with an empty rule file against the fastest faithful copies: QPDF with stream data kept
# and MuPDF's clean, on a generated 1000-page text document. Goal: 1.1 or less against QPDF.
source "$(dirname "$0")/lib.sh"
build_tools
need_mutool
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$kit_writer" bulk 1000 "$work/in.pdf"
: >"$work/empty.txt"

t_marqel=$(best_time "$marqel" "$work/in.pdf" -tesome "$work/out-marqel.pdf" "$work/empty.txt")
t_qpdf=$(best_time qpdf --stream-data=preserve "$work/in.pdf" "$work/out-qpdf.pdf")
t_mutool=$(best_time mutool clean "$work/in.pdf" "$work/out-mutool.pdf")
echo "1000-page copy: marqel ${t_marqel}s, qpdf ${t_qpdf}s, mutool clean ${t_mutool}s"
echo "ratio marqel/qpdf:   $(ratio "$t_marqel" "$t_qpdf") (goal <= 1.1)"
echo "ratio marqel/mutool: $(ratio "$t_marqel" "$t_mutool")"
