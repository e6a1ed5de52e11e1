#!/usr/bin/env bash
# A run with an empty rule file against the fastest faithful copies, QPDF with stream data kept
# and MuPDF's clean: on a generated 1000-page text document (goal: 1.1 or less against QPDF), and
# file by file over the test-PDF kit (goal: 1.5 or less against MuPDF's clean, for the sum of the
# shortest times and for the geometric mean of the ratios per file). The kit's files take a few
# milliseconds each, so they are timed with the shell's own clock instead of a `date` process,
# whose start would count into every run.
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

# Shortest wall time in microseconds of `runs` runs of a command (output discarded).
best_us() {
  local best=""
  for _ in $(seq "$runs"); do
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    local end=$EPOCHREALTIME
    local us=$(( (${end/./} - ${start/./}) ))
    if [[ -z $best || $us -lt $best ]]; then best=$us; fi
  done
  echo "$best"
}

# The kit: every file the engine opens (a file that needs an open password or forbids changes
# is refused by the engine, so it is left out).
echo
printf '%-30s %10s %10s %10s %8s\n' "kit file" "marqel us" "mutool us" "qpdf us" "ratio"
sum_marqel=0; sum_mutool=0; sum_qpdf=0; log_sum=0; files=0
for pdf in "$top"/tests/data/kit/*.pdf; do
  name=$(basename "$pdf")
  case "$name" in encrypted_user_password.pdf|encrypted_no_modify.pdf) continue ;; esac
  a=$(best_us "$marqel" "$pdf" -tesome "$work/kit-marqel.pdf" "$work/empty.txt")
  b=$(best_us mutool clean "$pdf" "$work/kit-mutool.pdf")
  c=$(best_us qpdf --stream-data=preserve "$pdf" "$work/kit-qpdf.pdf")
  r=$(ratio "$a" "$b")
  printf '%-30s %10d %10d %10d %8s\n' "$name" "$a" "$b" "$c" "$r"
  sum_marqel=$((sum_marqel + a)); sum_mutool=$((sum_mutool + b)); sum_qpdf=$((sum_qpdf + c))
  log_sum=$(awk -v s="$log_sum" -v r="$r" 'BEGIN {printf "%.6f", s + log(r)}')
  files=$((files + 1))
done
echo "kit ($files files): marqel ${sum_marqel}us, mutool clean ${sum_mutool}us, qpdf ${sum_qpdf}us"
echo "kit ratio marqel/mutool, sums:           $(ratio "$sum_marqel" "$sum_mutool") (goal <= 1.5)"
echo "kit ratio marqel/mutool, geometric mean: $(awk -v s="$log_sum" -v n="$files" 'BEGIN {printf "%.3f", exp(s / n)}') (goal <= 1.5)"
echo "kit ratio marqel/qpdf, sums:             $(ratio "$sum_marqel" "$sum_qpdf")"
