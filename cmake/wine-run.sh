#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in a throw-away prefix of the build (the
# variable TILGOMAT_WINEPREFIX, else build/windows/wineprefix beside this script's project).
# The CMake toolchain of the Windows build names it as the emulator of its programs.
set -euo pipefail
export WINEDEBUG=-all
export WINEPREFIX=${TILGOMAT_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/windows/wineprefix}
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
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
exec wine "$@"
