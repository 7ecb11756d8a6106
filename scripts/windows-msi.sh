#!/usr/bin/env bash
# Makes a Windows Installer package of the program in FOLDER (Tilgomat.exe and LIESMICH.txt)
# under the version given, with wixl, from the WiX source that CMake generates into the
# windows-qt build from packaging/windows/tilgomat.wxs.in.
#
#   scripts/windows-msi.sh VERSION FOLDER OUT.msi
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$1
folder=$(realpath "$2")
out=$(realpath -m "$3")

# wixl takes the files from the folder it runs in.
inputs=$(mktemp -d)
trap 'rm -rf "$inputs"' EXIT
ln -s "$folder/Tilgomat.exe" "$folder/LIESMICH.txt" "$root/resources/icons/tilgomat.ico" "$inputs"/
(cd "$inputs" && wixl --arch x64 --define Version="$version" --output "$out" \
    "$root/build/windows-qt/generated/tilgomat.wxs")
# wixl writes English (1033) into the summary as the package's language, whatever the source says.
summary=$(msiinfo suminfo "$out")
msibuild "$out" -s "$(sed -n 's/^Subject: //p' <<<"$summary")" \
    "$(sed -n 's/^Author: //p' <<<"$summary")" "x64;1031"
