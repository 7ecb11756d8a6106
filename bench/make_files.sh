#!/usr/bin/env bash
# Builds the bulk benchmarks' template in DIR (which must not exist yet): FILES (default 10,000,
# a multiple of 100) small files of 100 to 4,095 bytes in 100 folders, every name unique across
# the folders so that all of them can land side by side in one target folder. Deterministic,
# like make_tree.sh.
#   make_files.sh DIR [FILES]
set -euo pipefail
if [ $# -ne 1 ] && [ $# -ne 2 ]; then
    echo "usage: $0 DIR [FILES]" >&2
    exit 2
fi
dir=$1
perFolder=$(( ${2:-10000} / 100 ))
if [ -e "$dir" ]; then
    echo "$dir exists already" >&2
    exit 1
fi
mkdir -p "$dir"
LC_ALL=C awk -v root="$dir" -v perFolder="$perFolder" 'BEGIN {
    split("Projekt archiv Bilder daten Berichte src Musik Dokumente", stem, " ")
    split(".doc .DOC .txt .pdf .jpg .xls .odt .log", ending, " ")
    line = "Tilgomat Testinhalt 0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
    for (f = 0; f < 100; f++) {
        folder = root "/" stem[f % 8 + 1] "_" f
        system("mkdir -p \"" folder "\"")
        for (i = 0; i < perFolder; i++) {
            k = f * perFolder + i
            file = folder "/Datei_" k ending[k % 8 + 1]
            size = 100 + (k * 7919) % 3996
            text = ""
            while (length(text) < size)
                text = text line
            printf "%s", substr(text, 1, size) > file
            close(file)
        }
    }
}'
echo "built $(find "$dir" -type f | wc -l) files in $dir"
