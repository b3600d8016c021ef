#!/usr/bin/env bash
# Sets up and runs the main job on the bundled example: exports the example issue into
# out/archive, indexes it with frames and chained pages, and prints the entry page's path.
# --open also shows it in the browser when a display is present.
set -euo pipefail
cd "$(dirname "$0")"

open=0
for argument in "$@"; do
  case $argument in
    --open) open=1 ;;
    -h | --help)
      echo "usage: $0 [--open]"
      exit 0
      ;;
    *)
      echo "usage: $0 [--open]" >&2
      exit 2
      ;;
  esac
done

# Only what the programs need: the tests' tools (GoogleTest, Chromium, clang...) are not built
# nor installed here.
./scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j "$(nproc)"
# The publication keeps its settings in out/archive/Settings, so that the user's own stay as
# they are.
entry=$(MARLIX_BINARY_DIR="$PWD/build" ./scripts/example-pipeline.sh out)
echo "The example issue is ready; its entry page:"
echo "$entry"
if [ "$open" = 1 ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    xdg-open "$entry"
  else
    echo "--open: no display (DISPLAY and WAYLAND_DISPLAY are empty)" >&2
  fi
fi
