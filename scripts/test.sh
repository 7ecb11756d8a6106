#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: once with warnings as errors
# (preset dev), once under the address and undefined-behaviour sanitizers (preset asan), the core
# and platform tests under the thread sanitizer (preset tsan: the walk lists ahead on threads),
# and the whole program with its core, platform and window tests as Windows programs under Wine
# (preset windows-qt, with a static Qt for MinGW that scripts/qt-mingw-kit.sh builds once), and
# last the Windows installer under Wine (scripts/windows-installer-test.sh).
# Run as root (as CI does), each suite runs a second time as an ordinary user, since root's
# permission checks stop nothing and a test that passes only as root would go unnoticed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
TILGOMAT_QT_KIT=$(scripts/qt-mingw-kit.sh)
export TILGOMAT_QT_KIT

# The test programs are copied to a folder of the user's own, so that the checkout may lie
# where that user cannot reach (under /root, say). Windows programs run under Wine in a prefix
# of that user's own.
run_as_ordinary_user() {
    local preset=$1 user=tilgomat-test dir program
    id -u "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user"
    dir=$(mktemp -d)
    find build/"$preset"/tests -maxdepth 1 -name 'tests_*' -type f -perm -u+x -exec cp {} "$dir"/ \;
    cp cmake/wine-run.sh "$dir"/
    chown -R "$user" "$dir"
    for program in "$dir"/tests_*; do
        echo "--- $(basename "$program") as $user"
        local emulator=()
        [[ $program == *.exe ]] && emulator=("$dir/wine-run.sh")
        runuser -u "$user" -- env HOME="$(getent passwd "$user" | cut -d: -f6)" \
            QT_QPA_PLATFORM=offscreen TILGOMAT_WINEPREFIX="$dir/wineprefix" \
            ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 TSAN_OPTIONS=halt_on_error=1 \
            timeout 1800 "${emulator[@]}" "$program" --gtest_brief=1
    done
    [ -d "$dir/wineprefix" ] && runuser -u "$user" -- env WINEPREFIX="$dir/wineprefix" wineserver -k || true
    rm -rf "$dir"
}

for preset in dev asan tsan windows-qt; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
    if [ "$(id -u)" -eq 0 ]; then
        run_as_ordinary_user "$preset"
    fi
done
# Wine's server of the Windows tests outlives them by a few seconds; it ends now.
WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true
scripts/windows-package.sh
scripts/windows-installer-test.sh
