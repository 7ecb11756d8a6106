#!/usr/bin/env bash
# The one entry point of the benchmarks: builds the release preset, makes the data under /tmp
# once, runs the rows and prints one table of figures, references, ratios and goals.
#   bench/run.sh [--only GROUP[,GROUP...]] [ROUNDS]
# Median of ROUNDS rounds (default 5), warm cache unless a row says "cold": those rows empty the
# page cache before each side, which only root may; run as another user they say "skipped".
# The machine and its load are printed with the table. The groups of rows, all by default:
#   walk          the walk against find and fdfind
#   list          "List" end to end on the ordered tree, warm and cold
#   irregular     the same on irregular trees: the one made as before, and three seeds of each
#                 of two shapes (make_tree.sh --irregular SEED DEPTH FANOUT)
#   share         "List" on a share answering after 1 ms (bench/slow_share.py), once keeping
#                 nothing between requests and once keeping what the kernel keeps by default
#   big           "List" on the 1,000,000-file tree, with the longest event gap
#   bulk          delete, copy and move of 10,000 small files, on the disk and in memory
#   logview       the log viewer
#   peak          peak memory of a window listing a million entries
#   share-passes  delete, move and copy of 2,000 listed files on a writable share answering
#                 after 1 ms, with the share's requests per file (e.g. --only share-passes)
# The share rows need a FUSE mount (/dev/fuse, and root or fusermount3); without one they say
# "skipped".
set -euo pipefail
cd "$(dirname "$0")/.."
groups=walk,list,irregular,share,big,bulk,logview,peak,share-passes
if [ "${1:-}" = --only ]; then
    groups=$2
    shift 2
fi
rounds=${1:-5}
data=/tmp/tilgomat-bench
tree=$data/tree           # 20,000 folders, 200,000 files: the walk and "List"
irregular=$data/irregular # the same sizes, folders under random earlier ones, files scattered
million=$data/million     # 50,000 folders, 1,000,000 files: "List" on a big tree, peak memory
files=$data/files         # 10,000 small files: delete, copy, move
shared=$data/shared       # 2,000 folders, 20,000 files, served by bench/slow_share.py
share=$data/share         # where it is mounted while its rows run
sharefiles=$data/sharefiles # 2,000 small files in 100 folders: the passes on a share
sharehost=$data/sharehost # the writable share's folder, refilled each round
work=$data/work
# The irregular trees' seeds, and their shapes: a name, the most levels and the most subfolders
# a folder gets (0: no limit).
seeds="1 2 3"
shapes="deep:0:2 wide:4:60"

wanted() {
    [[ ,$groups, == *,$1,* ]]
}

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
cmake --build --preset release --target bench_walk bench_bulk bench_list bench_logview \
    bench_rename_each
bin=build/release/bench

irregularTrees=()
if wanted irregular; then
    for seed in $seeds; do
        for shape in $shapes; do
            IFS=: read -r name depth fanout <<<"$shape"
            irregularTrees+=("$data/irregular-$seed-$name:$seed:$depth:$fanout")
        done
    done
fi
if wanted walk || wanted list; then [ -d "$tree" ] || bench/make_tree.sh "$tree"; fi
if wanted irregular; then
    [ -d "$irregular" ] || bench/make_tree.sh --irregular "$irregular"
    for entry in "${irregularTrees[@]}"; do
        IFS=: read -r dir seed depth fanout <<<"$entry"
        [ -d "$dir" ] || bench/make_tree.sh --irregular "$seed" "$depth" "$fanout" "$dir"
    done
fi
if wanted share; then [ -d "$shared" ] || bench/make_tree.sh "$shared" 2000 20000; fi
if wanted big || wanted peak; then
    [ -d "$million" ] || bench/make_tree.sh "$million" 50000 1000000
fi
if wanted bulk; then [ -d "$files" ] || bench/make_files.sh "$files"; fi
if wanted share-passes; then [ -d "$sharefiles" ] || bench/make_files.sh "$sharefiles" 2000; fi

rows=$(mktemp)
sharePid=
unmountShare() {
    fusermount3 -u "$share" 2>/dev/null || umount "$share" 2>/dev/null || true
    if [ -n "$sharePid" ]; then wait "$sharePid" || true; fi
    sharePid=
}
trap 'unmountShare; rm -f "$rows"' EXIT
# Mounts bench/slow_share.py with the given options over a folder at $share, answering after
# 1 ms; false where no FUSE file system can be mounted.
mountShare() {
    mkdir -p "$share"
    bench/slow_share.py "$@" "$share" 1 2>/dev/null &
    sharePid=$!
    for _ in $(seq 50); do mountpoint -q "$share" && return 0; sleep 0.1; done
    return 1
}
skipped() {
    printf 'ROW\t%s\tskipped\t%s\t0.00\t%s\tskipped: no FUSE mount here\n' "$@" >>"$rows"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
if wanted walk; then "$bin/bench_walk" "$tree" "$rounds" >>"$rows"; fi
if wanted list; then
    "$bin/bench_list" list "$tree" "$rounds" >>"$rows"
    "$bin/bench_list" cold "$tree" "$rounds" >>"$rows"
fi
if wanted irregular; then
    "$bin/bench_list" list "$irregular" "$rounds" "irregular tree" >>"$rows"
    "$bin/bench_list" cold "$irregular" "$rounds" "irregular tree" >>"$rows"
    for entry in "${irregularTrees[@]}"; do
        IFS=: read -r dir seed depth fanout <<<"$entry"
        label="irregular tree, seed $seed, at most $fanout subfolders a folder"
        [ "$depth" -eq 0 ] || label="$label, $depth levels"
        "$bin/bench_list" list "$dir" "$rounds" "$label" >>"$rows"
        "$bin/bench_list" cold "$dir" "$rounds" "$label" >>"$rows"
    done
fi
if wanted share; then
    for cache in "" --cache; do
        kept=$([ -n "$cache" ] && echo "entries and attributes kept 1 s" || echo "nothing kept")
        if mountShare $cache "$shared"; then
            "$bin/bench_list" share "$share" "$rounds" "$kept" >>"$rows"
        else
            skipped "\"List\" end to end, share answering after 1 ms, $kept" "fdfind -u -j 8" \
                "<= 1.0x"
        fi
        unmountShare
    done
fi
if wanted big; then "$bin/bench_list" big "$million" "$rounds" >>"$rows"; fi
if wanted bulk; then
    "$bin/bench_bulk" "$files" "$work" "$rounds" >>"$rows"
    # The same in memory, where no device time hides the program's own.
    if [ -d /dev/shm ] && [ "$(stat -f -c %T /dev/shm)" = tmpfs ]; then
        "$bin/bench_bulk" "$files" /dev/shm/tilgomat-bench-work "$rounds" >>"$rows"
    fi
fi
if wanted logview; then
    "$bin/bench_logview" "$data/logview" 100000 "$rounds" >>"$rows"
    "$bin/bench_logview" "$data/logview" 1000000 "$rounds" >>"$rows"
fi
if wanted peak; then "$bin/bench_list" peak "$million" >>"$rows"; fi
if wanted share-passes; then
    rm -rf "$sharehost"
    mkdir -p "$sharehost"
    if mountShare --writable "$sharehost"; then
        "$bin/bench_bulk" share "$sharefiles" "$sharehost" "$share" "$work" "$rounds" >>"$rows"
    else
        skipped "delete the listed files on a share answering after 1 ms" \
            "find -type f -delete" "<= 1.5x"
        skipped "move them into a folder of the same share" "a rename each" "<= 1.5x"
        skipped "copy them from the share into a local folder" "cp" "<= 1.5x"
    fi
    unmountShare
fi
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
