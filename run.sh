#!/usr/bin/env bash
# Sets up and runs the main job on the bundled example.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
# A private config folder, so that the user's own settings stay as they are.
export XDG_CONFIG_HOME="$PWD/out/config"
./build/indexer/indexer --prefs
./build/indexer/indexer --categories
