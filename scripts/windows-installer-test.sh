#!/usr/bin/env bash
# Checks the installer that scripts/windows-package.sh made, under Wine in a throw-away prefix:
# it replaces an older package and puts the program and its Start menu entry in place, listed
# under "Apps" with name, version, publisher, icon and help link; the program the entry names
# starts and shows its window (on Qt's offscreen platform); the same package again, a rebuild of
# the same version and an older package leave one entry and the program as they were; the
# uninstall that "Apps" runs leaves nothing behind. The rebuild and the older package are made
# with wixl from the package's own files. Run as root, the checks run again as an ordinary user.
set -euo pipefail

# Ends what still runs in the prefix (the program after a failed check), then removes the folder.
work=
clean_up() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap clean_up EXIT

fail() {
    echo "installer test: $*" >&2
    exit 1
}

# A value of a package's Property table.
property() {
    msiinfo export "$packages/$1.msi" Property | tr -d '\r' | sed -n "s/^$2\t//p"
}

# A value of a registry key, as Wine's reg prints it; nothing when there is none.
registry_value() {
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

# A value of the version resource of the packaged program.
resource_value() {
    strings -a -el "$packages/Tilgomat.exe" | grep -A1 -x "$1" | tail -n 1
}

# A product code as the installer's registry keys write it.
packed() {
    local g=${1//[\{\}-]/}
    echo "$(rev <<<"${g:0:8}")$(rev <<<"${g:8:4}")$(rev <<<"${g:12:4}")$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${g:16}")"
}

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The product codes of the three packages that "Apps" lists now.
installed() {
    local code
    for code in "${codes[@]}"; do
        if wine reg query "$uninstall_key\\$code" >/dev/null 2>&1; then
            echo "$code"
        fi
    done
}

install() {
    wine msiexec /i "$packages/$1" /qn
}

# What the prefix holds: its files, and the registry's lines that name the product.
inventory() {
    wineserver -w
    (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 | LC_ALL=C sort)
    cat "$WINEPREFIX"/*.reg | grep -i -F -e "$name" "${codes[@]/#/-e}" || true
}

# The installed program the Start menu entry names, after the checks that it is in place.
expect_installed() {
    local code=$1 shortcut target
    [ "$(installed)" = "$code" ] || fail "\"Apps\" lists $(installed | wc -l) entries, not $code alone"
    shortcut=$(find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/$name.lnk")
    [ -n "$shortcut" ] || fail "no Start menu entry \"$name\""
    target=$(strings -a "$shortcut" | grep -m1 -i -x '[a-z]:\\.*\.exe' || true)
    [ "$target" = "$(wine cmd /c echo %ProgramW6432%\\"$name"\\Tilgomat.exe | tr -d '\r')" ] ||
        fail "the Start menu entry names \"$target\", not the program under Program Files"
    cmp -s "$packages/Tilgomat.exe" "$(winepath -u "$target")" || fail "$target is not the packaged program"
    echo "$target"
}

# Runs the checks on the packages in DIR/packages, in a Wine prefix in DIR/prefix.
check() {
    packages=$1/packages
    # Wine's menu builder would copy the Start menu entry into the host's application menu.
    export WINEPREFIX=$1/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    unset DISPLAY
    name=$(resource_value ProductName)
    local program entry field shown help icon before after
    codes=()
    for package in current rebuilt older; do
        codes+=("$(property "$package" ProductCode)")
    done
    wineboot --init >/dev/null 2>&1
    # Windows has its installer's cache folder from the start; Wine makes it on first use.
    mkdir -p "$WINEPREFIX/drive_c/windows/Installer"
    before=$(inventory)

    install older.msi || fail "the older package does not install"
    [ "$(installed)" = "${codes[2]}" ] || fail "the older package is not listed alone"
    install current.msi || fail "the package does not install over the older one"
    program=$(expect_installed "${codes[0]}")
    entry="$uninstall_key\\${codes[0]}"
    # "Apps" shows what the program's own version resource says.
    for field in DisplayName:ProductName DisplayVersion:ProductVersion Publisher:CompanyName; do
        shown=$(registry_value "$entry" "${field%:*}")
        [ "$shown" = "$(resource_value "${field#*:}")" ] ||
            fail "\"Apps\" shows ${field%:*} \"$shown\", the program's $(resource_value "${field#*:}")"
    done
    help=$(registry_value "$entry" HelpLink)
    [ -n "$help" ] && [ -s "$(winepath -u "$help")" ] || fail "the help link \"$help\" leads to no file"
    icon=$(registry_value "HKLM\Software\Classes\Installer\Products\\$(packed "${codes[0]}")" ProductIcon)
    [ -n "$icon" ] && [ -s "$(winepath -u "$icon")" ] || fail "\"Apps\" has no icon"

    # The window is painted once it is shown; Qt says so on its painting channel.
    local log=$1/program.log waited=0
    WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1 \
        WINEQT_LOGGING_RULES='qt.widgets.painting.info=true' wine "$program" </dev/null >/dev/null 2>"$log" &
    local running=$!
    until grep -q 'Flushing top level' "$log"; do
        kill -0 "$running" 2>/dev/null || fail "the installed program ended without a window: $(cat "$log")"
        [ $((waited++)) -lt 120 ] || fail "the installed program shows no window within two minutes"
        sleep 1
    done
    wineserver -k
    wait || true

    install current.msi || fail "the same package again fails"
    expect_installed "${codes[0]}" >/dev/null
    install rebuilt.msi || fail "a rebuild of the same version does not replace the package"
    expect_installed "${codes[1]}" >/dev/null
    if install older.msi; then
        fail "an older package installs over a newer one"
    fi
    expect_installed "${codes[1]}" >/dev/null

    local uninstall
    read -ra uninstall <<<"$(registry_value "$uninstall_key\\${codes[1]}" UninstallString)"
    wine "${uninstall[@]}" /qn || fail "the uninstall that \"Apps\" runs fails"
    after=$(inventory)
    diff <(echo "$before") <(echo "$after") >&2 || fail "the uninstall leaves the lines marked > behind"
}

if [ "${1:-}" = --check ]; then
    check "$2"
    exit
fi

cd "$(dirname "$0")/.."
build=build/windows-qt
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
mkdir "$work/packages"
cp "$build/Tilgomat-$version-windows-x64.msi" "$work/packages/current.msi"
msiextract -C "$work/files" "$work/packages/current.msi" >/dev/null
program=$(dirname "$(find "$work/files" -name Tilgomat.exe)")
cp "$program/Tilgomat.exe" "$work/packages/"
scripts/windows-msi.sh "$version" "$program" "$work/packages/rebuilt.msi"
# Windows compares the first three parts of the version: one major version less is older.
scripts/windows-msi.sh "$((${version%%.*} - 1)).0.0" "$program" "$work/packages/older.msi"

echo "--- installer as $(id -un)"
check "$work"
if [ "$(id -u)" -eq 0 ]; then
    user=tilgomat-test
    id -u "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user"
    dir=$(mktemp -d)
    cp -r "$work/packages" "$0" "$dir"/
    chown -R "$user" "$dir"
    echo "--- installer as $user"
    runuser -u "$user" -- env HOME="$(getent passwd "$user" | cut -d: -f6)" \
        bash "$dir/$(basename "$0")" --check "$dir"
    rm -rf "$dir"
fi
echo "installer test: passed"
