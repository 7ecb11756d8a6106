#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: once with warnings as errors
# (preset dev) and once under the address and undefined-behaviour sanitizers (preset asan).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
for preset in dev asan; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
