#!/usr/bin/env bash
# Share of true in-font edits per font kind over the test-PDF kit (see true_edit_share.py).
source "$(dirname "$0")/lib.sh"
build_tools
/usr/bin/python3 "$bench_dir/true_edit_share.py" "$marqel" "$top/tests/data/kit" "$@"
