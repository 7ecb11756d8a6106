#!/usr/bin/env bash
# Builds a tree as a disk looks after years of use in DIR (which must not exist yet): 20,000
# folders, each made below a random earlier one (so that some branches run many levels deep),
# and 200,000 empty files, each put in a random folder in turn, so that no folder's entries lie
# together on the disk. Names and endings as in make_tree.sh; a fixed seed makes every run build
# the same tree.
#   make_irregular_tree.sh DIR [FOLDERS FILES]
set -euo pipefail
if [ $# -ne 1 ] && [ $# -ne 3 ]; then
    echo "usage: $0 DIR [FOLDERS FILES]" >&2
    exit 2
fi
dir=$1
folderCount=${2:-20000}
fileCount=${3:-200000}
if [ -e "$dir" ]; then
    echo "$dir exists already" >&2
    exit 1
fi
mkdir -p "$dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

LC_ALL=C awk -v root="$dir" -v folders="$work/folders" -v files="$work/files" \
    -v folderCount="$folderCount" -v fileCount="$fileCount" 'BEGIN {
    srand(20261209)
    split("Projekt archiv Bilder daten Berichte src Musik Dokumente", stem, " ")
    path[0] = root
    for (i = 1; i <= folderCount; i++) {
        path[i] = path[int(rand() * i)] "/" stem[i % 8 + 1] "_" i
        print path[i] > folders
    }
    n = split(".doc .DOC .Doc xdoc .docx .DOCX .txt .pdf .jpg .JPG .png .mp3 .xls .xlsx .ppt" \
              " .odt .c .log .doc.bak _Ä", ending, " ")
    split("Brief Rechnung notiz IMG Bericht .versteckt Neuer_Entwurf Protokoll", name, " ")
    for (k = 0; k < fileCount; k++) {
        h = (k * 7919 + 13) % 97
        print path[1 + int(rand() * folderCount)] "/" name[h % 8 + 1] "_" k ending[h % n + 1] > files
    }
}'
xargs -d '\n' mkdir < "$work/folders"
xargs -d '\n' touch < "$work/files"
echo "built $(wc -l < "$work/folders") folders and $(wc -l < "$work/files") files in $dir"
