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
tree=$data/tree           # 20,000 folders, 200,000 files: the walk and "List"
irregular=$data/irregular # the same sizes, folders under random earlier ones, files scattered
million=$data/million     # 50,000 folders, 1,000,000 files: "List" on a big tree, peak memory
files=$data/files         # 10,000 small files: delete, copy, move
shared=$data/shared       # 2,000 folders, 20,000 files, served by bench/slow_share.py
share=$data/share         # where it is mounted while its row runs
work=$data/work

install() {
    if [ "$(id -u)" -eq 0 ]; then apt-get install -y "$@"; else sudo apt-get install -y "$@"; fi
}
need() {
    command -v "$1" >/dev/null || install "$2"
}
need fdfind fd-find
need fusermount3 fuse3
/usr/bin/python3 -c 'import fusepy' 2>/dev/null || install python3-fusepy

cmake --preset release >/dev/null
cmake --build --preset release --target bench_walk bench_bulk bench_list bench_logview
bin=build/release/bench

[ -d "$tree" ] || bench/make_tree.sh "$tree"
[ -d "$irregular" ] || bench/make_tree.sh --irregular "$irregular"
[ -d "$shared" ] || bench/make_tree.sh "$shared" 2000 20000
[ -d "$million" ] || bench/make_tree.sh "$million" 50000 1000000
[ -d "$files" ] || bench/make_files.sh "$files"

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
"$bin/bench_walk" "$tree" "$rounds" >>"$rows"
"$bin/bench_list" list "$tree" "$rounds" >>"$rows"
"$bin/bench_list" cold "$tree" "$rounds" >>"$rows"
"$bin/bench_list" list "$irregular" "$rounds" "irregular tree" >>"$rows"
"$bin/bench_list" cold "$irregular" "$rounds" "irregular tree" >>"$rows"
# The share row, where a FUSE file system can be mounted (/dev/fuse, and root or fusermount3).
mkdir -p "$share"
bench/slow_share.py "$shared" "$share" 1 2>/dev/null &
for _ in $(seq 50); do mountpoint -q "$share" && break; sleep 0.1; done
if mountpoint -q "$share"; then
    "$bin/bench_list" share "$share" "$rounds" >>"$rows"
    fusermount3 -u "$share" 2>/dev/null || umount "$share"
else
    printf 'ROW\t"List" end to end, share answering after 1 ms\tskipped\tfdfind -u -j 8\t0.00\t<= 1.0x\tskipped: no FUSE mount here\n' >>"$rows"
fi
wait || true
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
    if ($3 == "skipped" && $7 !~ /^skipped/) $7 = "skipped: not root"
    printf "| %s | %s | %s | %s | %s | %s |\n", $2, $3, $4, ratio, $6, $7
}' "$rows"
