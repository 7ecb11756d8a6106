#!/usr/bin/env bash
# The one entry point of the benchmarks: builds the release preset, makes the data under /tmp
# once, runs every row and prints one table of figures, references, ratios and goals.
#   bench/run.sh [ROUNDS]
# Median of ROUNDS rounds (default 5), warm cache unless a row says "cold": those rows empty the
# page cache before each side, which only root may; run as another user they say "skipped".
# The machine and its load are printed with the table.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}
data=/tmp/tilgomat-bench
tree=$data/tree        # 20,000 folders, 200,000 files: the walk and "List"
million=$data/million  # 50,000 folders, 1,000,000 files: "List" on a big tree, peak memory
files=$data/files      # 10,000 small files: delete, copy, move
work=$data/work

need() {
    command -v "$1" >/dev/null && return
    if [ "$(id -u)" -eq 0 ]; then apt-get install -y "$2"; else sudo apt-get install -y "$2"; fi
}
need fdfind fd-find

cmake --preset release >/dev/null
cmake --build --preset release --target bench_walk bench_bulk bench_list bench_logview
bin=build/release/bench

[ -d "$tree" ] || bench/make_tree.sh "$tree"
[ -d "$million" ] || bench/make_tree.sh "$million" 50000 1000000
[ -d "$files" ] || bench/make_files.sh "$files"

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
"$bin/bench_walk" "$tree" "$rounds" >>"$rows"
"$bin/bench_list" list "$tree" "$rounds" >>"$rows"
"$bin/bench_list" cold "$tree" "$rounds" >>"$rows"
"$bin/bench_list" big "$million" "$rounds" >>"$rows"
"$bin/bench_bulk" "$files" "$work" "$rounds" >>"$rows"
# The same in memory, where no device time hides the program's own.
if [ -d /dev/shm ] && [ "$(stat -f -c %T /dev/shm)" = tmpfs ]; then
    "$bin/bench_bulk" "$files" /dev/shm/tilgomat-bench-work "$rounds" >>"$rows"
fi
"$bin/bench_logview" "$data/logview" 100000 "$rounds" >>"$rows"
"$bin/bench_logview" "$data/logview" 1000000 "$rounds" >>"$rows"
"$bin/bench_list" peak "$million" >>"$rows"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
    "kernel $(uname -r), $(df -T "$data" | awk 'NR == 2 { print $2 }') under $data;" \
    "median of $rounds rounds"
echo
echo "| Path | Tilgomat | Reference | Ratio | Goal | Met |"
echo "|---|---|---|---|---|---|"
awk -F'\t' '$1 == "ROW" {
    ratio = $5 == "0.00" ? "-" : $5 "x"
    if ($3 == "skipped") $7 = "skipped: not root"
    printf "| %s | %s | %s | %s | %s | %s |\n", $2, $3, $4, ratio, $6, $7
}' "$rows"
