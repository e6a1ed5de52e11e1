#!/usr/bin/env bash
# Hevrit's word boxes as text rules: the share of true in-font edits per font kind over the
# test-PDF kit, and the fit of its baseline estimate across fonts (see hevrit_box_share.py).
source "$(dirname "$0")/lib.sh"
build_tools
cmake --build "$build" -j"$(nproc)" --target Hevrit >/dev/null
/usr/bin/python3 "$bench_dir/hevrit_box_share.py" "$build/run/Hevrit.dll" "$marqel" "$top/tests/data/kit"
