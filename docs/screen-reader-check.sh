#!/usr/bin/env bash
# Drives the program as a screen reader does, over AT-SPI (the accessibility bus Orca uses), under
# Xvfb: docs/screen_reader_check.py reads the status panels, the about box's version and the
# attributes dialog's file and date and the log viewer's lines, and toggles "Ausgeblendete Dateien anzeigen" and
# "Versteckt" through their accessibility action; the toggled attribute must reach the file.
# Needs xvfb, dbus, at-spi2-core, python3-pyatspi, gir1.2-atspi-2.0 and attr.
# Usage: docs/screen-reader-check.sh [program]   (default: build/release/app/Tilgomat)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/release/app/Tilgomat}")
demo=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$demo"' EXIT
mkdir -p "$demo/Dokumente" "$demo/.config" "$demo/run"
chmod 700 "$demo/run"
echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$demo/.config/user-dirs.dirs"
echo "Brief" >"$demo/Dokumente/brief.txt"
echo "geheim" >"$demo/Dokumente/geheim.txt"
logLine='01.02.2024 10:00:01;"c:\dokumente\alt.txt";1/1'
printf 'erste Zeile\r\n%s\r\n' "$logLine" >"$demo/Dokumente/Tilgomat.txt"
setfattr -n user.DOSATTRIB -v '"0x22"' "$demo/Dokumente/geheim.txt"
export HOME=$demo XDG_CONFIG_HOME=$demo/.config XDG_RUNTIME_DIR=$demo/run
Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp &
xvfb=$!
export DISPLAY=:97
sleep 1
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" &
    app=$!
    rc=0
    /usr/bin/python3 docs/screen_reader_check.py geheim.txt brief.txt "$2" || rc=$?
    stored=$(getfattr --only-values -n user.DOSATTRIB "$HOME/Dokumente/brief.txt" 2>/dev/null || true)
    if [ "$stored" = "0x22" ]; then
        echo "ok   brief.txt is hidden now (user.DOSATTRIB $stored)"
    else
        echo "MISS brief.txt is not hidden (user.DOSATTRIB \"$stored\")"
        rc=1
    fi
    kill "$app"
    exit $rc' check "$program" "$logLine"
