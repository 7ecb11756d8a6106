#!/usr/bin/env bash
# Builds the release preset, makes the benchmark tree once, and runs the walk benchmark.
#   bench/run.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
tree=/tmp/tilgomat-bench-tree
if ! command -v fdfind >/dev/null; then
    if [ "$(id -u)" -eq 0 ]; then apt-get install -y fd-find; else sudo apt-get install -y fd-find; fi
fi
cmake --preset release >/dev/null
cmake --build --preset release --target bench_walk
[ -d "$tree" ] || bench/make_tree.sh "$tree"
exec build/release/bench/bench_walk "$tree" "${1:-7}"
