#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing: with "run", only what building and starting
# the program needs; without it, also what the tests, the Windows build under Wine and its
# installer need. Runs apt-get as root, or through sudo for an ordinary user.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n libgl-dev)
tests=1
if [ "${1:-}" = run ]; then
    tests=0
else
    packages+=(
        libgtest-dev libgmock-dev googletest attr fonts-dejavu-core
        # The Windows build and its tests under Wine; dpkg-dev fetches Qt's source for its kit.
        g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev
        # The Windows installer: wixl builds it, msitools' msibuild, msiinfo and msiextract finish
        # and take apart packages for the installer's test, which shows the program's window on
        # Xvfb.
        wixl msitools xvfb xauth
    )
fi
if [ "${TILGOMAT_WITH_BENCH:-0}" = 1 ]; then
    packages+=(fd-find findutils coreutils)
fi
# scripts/package.sh: the Debian package (dpkg-shlibdeps needs file) and its validators.
if [ "${TILGOMAT_WITH_PACKAGING:-0}" = 1 ]; then
    packages+=(dpkg-dev file desktop-file-utils appstream)
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

# scripts/qt-mingw-kit.sh builds Qt for MinGW from Debian's source package, which apt lists only
# with a deb-src entry; it is added here so that one update serves both.
update=0
if [ "$tests" = 1 ] && ! grep -Eqs '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*; then
    "${sudo[@]}" tee /etc/apt/sources.list.d/tilgomat-debian-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    update=1
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && [ "$update" = 0 ] && exit 0

"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
