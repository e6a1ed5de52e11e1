#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests through CTest; then builds the
# engine and its tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them too;
# then builds the fuzz targets with clang and runs each for 30 s on its committed corpus.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

# The sanitizer build: any report ends the test that triggered it with a failure.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DRELETTRA_SANITIZE=ON -DRELETTRA_BUILD_GUI=OFF
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
(cd build-asan && ctest --output-on-failure -j"$jobs")

# The fuzz targets, under the same sanitizers (fuzz/README.md).
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRELETTRA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DRELETTRA_BUILD_GUI=OFF -DRELETTRA_BUILD_TESTS=OFF
cmake --build build-fuzz --target fuzz_all -j"$jobs"
fuzz/run_fuzzers.sh build-fuzz 30 "$jobs"
