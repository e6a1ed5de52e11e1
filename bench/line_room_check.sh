#!/usr/bin/env bash
# Lines make room: overlaps, opened gaps and moved lines after in-font edits of the kit's words
# (see line_room_check.py). Goal: no overlap.
source "$(dirname "$0")/lib.sh"
build_tools
/usr/bin/python3 "$bench_dir/line_room_check.py" "$marqel" "$top/tests/data/kit" "$@"
