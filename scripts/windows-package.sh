#!/usr/bin/env bash
# Makes the Windows packages of Tilgomat.exe (one static program with its icon and version
# information) and a German read-me: build/windows-qt/Tilgomat-<version>-windows-x64.zip, to use
# without installing, and the installer Tilgomat-<version>-windows-x64.msi beside it
# (scripts/windows-msi.sh). Prints the two files' names.
# Builds the Qt kit for MinGW first when it is missing (scripts/qt-mingw-kit.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
# The kit script installs what is missing first.
TILGOMAT_QT_KIT=$(scripts/qt-mingw-kit.sh)
export TILGOMAT_QT_KIT
cmake --preset windows-qt >/dev/null
cmake --build --preset windows-qt --target Tilgomat -j "$(nproc)"

build=build/windows-qt
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Tilgomat-$version-windows-x64
stage=$build/package
rm -rf "$stage"
mkdir -p "$stage/$name"
x86_64-w64-mingw32-strip -o "$stage/$name/Tilgomat.exe" "$build/app/Tilgomat.exe"
# Notepad before Windows 10 reads UTF-8 only after a byte order mark, and lines end in CR LF.
{
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/windows/LIESMICH.txt
} >"$stage/$name/LIESMICH.txt"
rm -f "$build/$name.zip"
(cd "$stage" && cmake -E tar cf "../$name.zip" --format=zip "$name")
scripts/windows-msi.sh "$version" "$stage/$name" "$build/$name.msi"
rm -rf "$stage"
echo "$build/$name.zip"
echo "$build/$name.msi"
