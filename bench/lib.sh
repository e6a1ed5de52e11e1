# Shared by the benchmark scripts: builds what they need and times commands.
set -euo pipefail
bench_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$bench_dir/.." && pwd)"
build="${BUILD_DIR:-$top/build}"
runs="${BENCH_RUNS:-7}"

build_tools() {
  "$top/scripts/setup"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)" --target marqel kit_writer >/dev/null
  marqel="$build/run/marqel"
  kit_writer="$build/tests/data/kit_writer/kit_writer"
}

# The peers come from Debian's mupdf-tools; only the benchmarks install it.
need_mutool() {
  if ! command -v mutool >/dev/null; then
    apt-get update -qq && apt-get install -y --no-install-recommends mupdf-tools >/dev/null
  fi
}

# Shortest wall time in seconds of `runs` runs of a command (its output discarded): on a shared
# machine the shortest run is the one least disturbed by others.
best_time() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN {printf "%.4f", b - a}')")
  done
  printf '%s\n' "${times[@]}" | sort -g | head -n 1
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'
}
