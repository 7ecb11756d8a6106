#!/usr/bin/env bash
# Checks the installer of scripts/windows-package.sh under Wine in a throw-away prefix (README).
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-qt/CMakeCache.txt)
dir=$(mktemp -d)
# Wine's menu builder would copy the Start menu entry into the host's application menu.
export WINEPREFIX=$dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
trap 'wineserver -k 2>/dev/null || true; rm -rf "$dir"' EXIT
fail() { echo "installer test: $*" >&2; exit 1; }
value() { { wine reg query "$1" /s 2>/dev/null || true; } | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
code() { msiinfo export "$dir/$1.msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
resource() { strings -a -el "$exe" | grep -A1 -x "$1" | tail -n 1; }
apps='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
cp "build/windows-qt/Tilgomat-$version-windows-x64.msi" "$dir/current.msi"
msiextract -C "$dir/files" "$dir/current.msi" >/dev/null
exe=$(find "$dir/files" -name Tilgomat.exe) && name=$(resource ProductName)
scripts/windows-msi.sh "$version" "$(dirname "$exe")" "$dir/rebuilt.msi"
# Windows compares the first three parts of the version: one major version less is older.
scripts/windows-msi.sh "$((${version%%.*} - 1)).0.0" "$(dirname "$exe")" "$dir/older.msi"
# Windows has its installer's cache folder from the start; Wine makes it on first use.
mkdir -p "$WINEPREFIX/drive_c/windows/Installer" && wineboot --init >/dev/null 2>&1
# The prefix's files, and the registry's lines that name the program.
inventory() { wineserver -w; (cd "$WINEPREFIX/drive_c" && find . | LC_ALL=C sort); grep -hi "$name" "$WINEPREFIX"/*.reg || true; }
before=$(inventory)

# Each step: the package, whether msiexec takes it (0) or refuses it (1), and what "Apps" lists then.
for step in older:0:older current:0:current current:0:current rebuilt:0:rebuilt older:1:rebuilt; do
    IFS=: read -r package refused expected <<<"$step"
    status=0 && wine msiexec /i "$dir/$package.msi" /qn || status=1
    listed=$(for p in current rebuilt older; do wine reg query "$apps\\$(code "$p")" &>/dev/null && echo "$p"; done || true)
    [ "$status:$listed" = "$refused:$expected" ] || fail "msiexec /i $package.msi gives $status; \"Apps\" lists" $listed
    program=$(strings -a "$(find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/$name.lnk")" 2>/dev/null | grep -m1 -ix '[a-z]:\\.*\.exe' || true)
    [ "$program" = "$(wine cmd /c echo "%ProgramW6432%\\$name\\Tilgomat.exe" | tr -d '\r')" ] &&
        cmp -s "$exe" "$(winepath -u "$program")" || fail "after $package.msi, the Start menu entry names \"$program\""
done
entry=$apps\\$(code rebuilt)
for field in DisplayName:ProductName DisplayVersion:ProductVersion Publisher:CompanyName; do
    [ "$(value "$entry" "${field%:*}")" = "$(resource "${field#*:}")" ] || fail "\"Apps\" shows another ${field%:*}"
done
for file in "$(value "$entry" HelpLink)" "$(value 'HKLM\Software\Classes\Installer\Products' ProductIcon)"; do
    [ -s "$(winepath -u "${file:-?}")" ] || fail "\"Apps\" lacks its help link or its icon (\"$file\")"
done
# The program carries Qt's Windows platform alone, so its window goes to a virtual X display; the
# main window is painted once it is shown, and Qt says so on its painting channel.
wineserver -w
WINEQT_FORCE_STDERR_LOGGING=1 WINEQT_LOGGING_RULES=qt.widgets.painting.info=true \
    xvfb-run -a wine "$program" </dev/null >/dev/null 2>"$dir/log" &
timeout 120 sh -c 'until grep -qs "Syncing QRegion.* of ui::MainWindow" "$0"; do kill -0 "$1" || exit; sleep 1; done' "$dir/log" $! ||
    fail "the installed program shows no window: $(cat "$dir/log")"
wineserver -k && wait || true
read -ra uninstall <<<"$(value "$entry" UninstallString)"
wine "${uninstall[@]}" /qn || fail "the uninstall that \"Apps\" runs fails"
diff <(echo "$before") <(inventory) >&2 || fail "the uninstall leaves the lines marked > behind"
