#!/usr/bin/env bash
# Runs each fuzz target for a while on its committed corpus (fuzz/corpus/<target>/, read only:
# new inputs go to a scratch folder), several at a time.
#
#   fuzz/run_fuzzers.sh <build folder> [seconds per target] [targets at a time] [target ...]
#
# A finding (crash, sanitizer report, leak, timeout of 10 s, more than 2 GB) fails the run; its
# input is kept in <build folder>/fuzz-findings/<target>/ and the end of the report is printed.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
seconds="${2:-30}"
parallel="${3:-$(nproc)}"
shift $(($# < 3 ? $# : 3))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=($(cd "$here/corpus" && ls))
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/../scripts/lsan.supp:print_suppressions=0"

run_one() {
  local target="$1"
  local work="$scratch/$target"
  local dict=()
  case "$target" in
    cmap_fuzzer) dict=(-dict="$here/dict/cmap.dict") ;;
    content_fuzzer | engine_run_fuzzer | hevrit_page_fuzzer) dict=(-dict="$here/dict/pdf.dict") ;;
  esac
  mkdir -p "$work/new"
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$work/" "${dict[@]}" \
      "$work/new" "$here/corpus/$target" > "$work/log" 2>&1; then
    echo "fuzz: $target: $(grep -E '^stat::number_of_executed_units' "$work/log" | awk '{print $2}') runs, no finding"
  else
    mkdir -p "$build/fuzz-findings/$target"
    cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* \
       "$build/fuzz-findings/$target/" 2>/dev/null || true
    echo "fuzz: $target: FINDING (inputs in $build/fuzz-findings/$target/)"
    grep -v '^#' "$work/log" | tail -n 40
    return 1
  fi
}
export -f run_one
export here build seconds scratch

printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} bash -c 'run_one "$@"' _ {}
