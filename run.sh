#!/usr/bin/env bash
# Installs what is missing, builds, then does the main job: with a display it starts the front
# end of the run folder (with the files given, from the folder run.sh was called in); without one
# it runs the engine on the bundled samples and says what it wrote where.
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")"
top=$PWD

scripts/setup
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

run_dir="$top/build/run"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$run_dir/relettra" ]; then
  # The window finds its child programs beside itself, so it starts from any folder; the files
  # given to run.sh are listed in it.
  cd "$caller"
  exec "$run_dir/relettra" "$@"
fi

out="$top/out"
mkdir -p "$out"
engine="$run_dir/marqel"
samples="$top/samples"
echo "No display: running the engine on the samples in $samples"
"$engine" "$samples/sample.pdf" -tesome "$out/sample-text.pdf" "$samples/rules.txt" >"$out/sample-text.log" || true
# Image rules name their image files; this one is written with the sample's full path.
printf '1:600:300:(%s):150:0\r\n' "$samples/stamp.png" >"$out/imagerule.txt"
"$engine" "$samples/sample.pdf" -pisome "$out/sample-images.pdf" "$out/imagerule.txt" >"$out/sample-images.log" || true
"$engine" "$samples/sample.pdf" -piall "$out/sample-stamped.pdf" STAMPME "$samples/stamp.png" 60 20 >"$out/sample-stamped.log" || true
for f in sample-text sample-images sample-stamped; do
  if [ -f "$out/$f.pdf" ]; then
    echo "wrote $out/$f.pdf (console: $out/$f.log)"
  else
    echo "no output for $f (console: $out/$f.log)"
  fi
done
