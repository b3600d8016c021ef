#!/usr/bin/env bash
# Builds everything and runs every test: unit, end-to-end (the installed programs and the
# Debian package among them), sanitizers and a short fuzz pass.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh test

jobs=$(nproc)
export LC_ALL=C QT_QPA_PLATFORM=offscreen

echo "== layer walls"
python3 scripts/check-layers.py

echo "== build and test (release with debug info)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DMARLIX_BENCHMARKS=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== the installed programs on the example, from a temporary prefix"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install build --prefix "$prefix/usr" >/dev/null
MARLIX_PREFIX="$prefix/usr" ./scripts/example-pipeline.sh "$prefix/out" >/dev/null

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMARLIX_SANITIZE=ON -DMARLIX_GUI=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -L core

if command -v clang++ >/dev/null; then
  echo "== fuzz targets, a short bounded run each"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMARLIX_FUZZ=ON -DMARLIX_SANITIZE=ON >/dev/null
  cmake --build build-fuzz -j "$jobs"
  ./scripts/run-fuzzers.sh build-fuzz "${FUZZ_SECONDS:-15}"
fi
echo "All tests passed."
