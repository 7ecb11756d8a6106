#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset release -DTILGOMAT_BUILD_TESTS=OFF -DTILGOMAT_BUILD_BENCH=OFF >/dev/null
cmake --build --preset release --target Tilgomat
exec build/release/app/Tilgomat "$@"
