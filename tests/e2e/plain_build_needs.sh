#!/usr/bin/env bash
# A build of the programs alone configures without the tests' and benchmarks' libraries
# (GoogleTest, Google Benchmark, Qt Test).
set -euo pipefail

source_dir="${MARLIX_SOURCE_DIR:?}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake -S "$source_dir" -B "$work/build" -DBUILD_TESTING=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON >"$work/log" 2>&1 || {
  cat "$work/log" >&2
  echo "FAIL: the programs cannot be configured without the tests' libraries" >&2
  exit 1
}
cmake --build "$work/build" --target help >"$work/targets"
for target in indexer layouthost xtpicture MarlixXT40; do
  grep -q "^\.\.\. $target\$\|^$target:" "$work/targets" || {
    echo "FAIL: no target $target in a plain build" >&2
    exit 1
  }
done
if grep -q "_tests\|_bench" "$work/targets"; then
  echo "FAIL: a plain build has test or benchmark targets" >&2
  exit 1
fi
echo "plain build: configures with the programs' needs only"
