#!/usr/bin/env bash
# Builds the walk benchmark's tree in DIR (which must not exist yet): 20,000 folders up to six
# levels deep and 200,000 empty files, ten per folder, with mixed extensions and case. The
# names depend on nothing but their number, so every run builds the same tree. FOLDERS and
# FILES give other sizes (the memory benchmark's million entries); FILES is a multiple of FOLDERS.
# With --irregular the tree looks as a disk does after years of use: every folder is made below
# a random earlier one (so that some branches run many levels deep) and every file is put in a
# random folder in turn, so that no folder's entries lie together on the disk. SEED (default
# 20261209) makes every run with it build the same tree; DEPTH and FANOUT give its shape: a
# folder gets subfolders only while it lies fewer than DEPTH levels below DIR and has fewer than
# FANOUT of them (0, the default: no limit).
#   make_tree.sh [--irregular [SEED [DEPTH FANOUT]]] DIR [FOLDERS FILES]
set -euo pipefail
irregular=0
seed=20261209
maxDepth=0
maxFanout=0
if [ "${1:-}" = --irregular ]; then
    irregular=1
    shift
    if [[ ${1:-} =~ ^[0-9]+$ ]]; then
        seed=$1
        shift
        if [[ ${1:-} =~ ^[0-9]+$ ]] && [[ ${2:-} =~ ^[0-9]+$ ]]; then
            maxDepth=$1
            maxFanout=$2
            shift 2
        fi
    fi
fi
if [ $# -ne 1 ] && [ $# -ne 3 ]; then
    echo "usage: $0 [--irregular [SEED [DEPTH FANOUT]]] DIR [FOLDERS FILES]" >&2
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
    -v folderCount="$folderCount" -v fileCount="$fileCount" -v irregular="$irregular" \
    -v seed="$seed" -v maxDepth="$maxDepth" -v maxFanout="$maxFanout" 'BEGIN {
    srand(seed)
    split("Projekt archiv Bilder daten Berichte src Musik Dokumente", stem, " ")
    path[0] = root
    # The folders that may still get subfolders, in the order they were made (without limits,
    # every earlier folder).
    open[0] = 0
    openCount = 1
    for (i = 1; i <= folderCount; i++) {
        if (!irregular) {
            above = int((i - 1) / 8)
        } else if (openCount == 0) {
            print "no folder may take another subfolder: the shape is too small" > "/dev/stderr"
            exit 1
        } else {
            k = int(rand() * openCount)
            above = open[k]
            if (maxFanout > 0 && ++subfolders[above] >= maxFanout)
                open[k] = open[--openCount]
        }
        path[i] = path[above] "/" stem[i % 8 + 1] "_" i
        level[i] = level[above] + 1
        if (maxDepth == 0 || level[i] < maxDepth)
            open[openCount++] = i
        print path[i] > folders
    }
    # Twenty endings; the ones the benchmark pattern "*.doc" is after (.doc, .DOC, .Doc and
    # names ending in "doc" without a dot) sit beside near misses such as .docx and .doc.bak.
    n = split(".doc .DOC .Doc xdoc .docx .DOCX .txt .pdf .jpg .JPG .png .mp3 .xls .xlsx .ppt" \
              " .odt .c .log .doc.bak _Ä", ending, " ")
    split("Brief Rechnung notiz IMG Bericht .versteckt Neuer_Entwurf Protokoll", name, " ")
    perFolder = fileCount / folderCount
    for (k = 0; k < fileCount; k++) {
        h = (k * 7919 + 13) % 97
        folder = irregular ? 1 + int(rand() * folderCount) : int(k / perFolder) + 1
        print path[folder] "/" name[h % 8 + 1] "_" k ending[h % n + 1] > files
    }
}'
xargs -d '\n' mkdir -p < "$work/folders"
xargs -d '\n' touch < "$work/files"
echo "built $(wc -l < "$work/folders") folders and $(wc -l < "$work/files") files in $dir"
