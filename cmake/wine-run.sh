#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in a throw-away prefix of the build (the
# variable TILGOMAT_WINEPREFIX, else build/windows/wineprefix beside this script's project).
# The CMake toolchain of the Windows build names it as the emulator of its programs.
set -euo pipefail
export WINEDEBUG=-all
export WINEPREFIX=${TILGOMAT_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/windows/wineprefix}
# No Gecko, no Mono, and no menu entries written into the host user's own menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
# Wine keeps the caller's QT_* variables from Windows programs and passes WINEQT_* as QT_* instead.
if [ -n "${QT_QPA_PLATFORM:-}" ]; then
    export WINEQT_QPA_PLATFORM=$QT_QPA_PLATFORM
fi
# Qt's offscreen platform on Windows reads its fonts from one folder; the tests' windows are laid
# out in the same fonts as on Linux (Wine shows the host's root as drive Z:).
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
# Wine makes a prefix only in a folder its user owns.
mkdir -p "$WINEPREFIX"
# Tests run in parallel: the first to come makes the prefix while the others wait.
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
fi
# A server that stays up a few seconds after its last program makes each start take a tenth of a
# second. Its helper processes are started here, with nothing of ours open: they outlive the
# program, and a pipe they held would never close for whoever reads the program's output.
wineserver -p5 </dev/null >/dev/null 2>&1 || true
wine cmd.exe /c rem </dev/null >/dev/null 2>&1 || true
flock -u 9

# Wine's own start and end can fail under load: a program that never starts prints nothing, and
# the loader may abort after the program has ended ("Inconsistency detected by ld.so:
# dl-fini.c", seen about once in 200 runs with two test runs at once), which loses only the
# exit status. Either way the program runs again, at most twice more; any other failure stands.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
    status=0
    wine "$@" </dev/null >"$out" 2>"$err" || status=$?
    if [ "$status" -eq 0 ]; then
        break
    fi
    if [ -s "$out" ] && ! grep -q "Inconsistency detected by ld.so" "$err"; then
        break
    fi
    [ "$attempt" -lt 3 ] && echo "wine-run: Wine failed around the program (exit $status); again" >&2
done
cat "$out"
cat "$err" >&2
exit "$status"
