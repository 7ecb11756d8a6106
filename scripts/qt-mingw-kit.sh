#!/usr/bin/env bash
# Builds a static Qt for MinGW-w64 from Debian's own qt6-base source, once, outside the checkout,
# so that the Windows build can have its front end. The kit lands in
# ${XDG_CACHE_HOME:-$HOME/.cache}/tilgomat/qt-<version>-mingw-<hash>, keyed by Qt's version and a
# hash of the configuration; a kit is taken as finished only when its stamp file exists, which is
# written last. Debian's host tools (moc, rcc, uic) of the same version do the generating.
#
#   scripts/qt-mingw-kit.sh          build the kit if it is missing, then print its folder
#   scripts/qt-mingw-kit.sh --path   print the kit's folder only (it may not exist yet)
set -euo pipefail
# Only the kit's folder goes to standard output, so that a caller can take it with $(…).
exec 3>&1 1>&2

root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
started=$SECONDS

# The kit's version is that of the host tools, so moc's output matches the libraries. The
# project's installer brings them, MinGW-w64 and the entry for Debian's source packages.
if [ "${1:-}" != --path ]; then
    "$root/scripts/install-deps.sh"
elif ! dpkg-query -W qt6-base-dev-tools >/dev/null 2>&1; then
    echo "qt-mingw-kit: qt6-base-dev-tools is missing; run without --path to install it" >&2
    exit 1
fi
source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
qt_version=${source_version%%+*}
qt_version=${qt_version#*:}

host_cmake_dir=/usr/lib/$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)/cmake
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_tabletevent=OFF
)
# isSoftwareGl() asks OpenGL whenever dynamicgl is on, which does not build without OpenGL.
software_gl_fix='/^static inline bool isSoftwareGl()/,/^}/ s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl)/'

compiler_version=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
hash=$(printf '%s\n' "$source_version" "$compiler_version" "${options[@]}" "$software_gl_fix" |
    sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tilgomat
kit=$cache/qt-$qt_version-mingw-$hash
stamp=$kit/.tilgomat-kit-complete

if [ "${1:-}" = --path ]; then
    echo "$kit" >&3
    exit 0
fi
if [ -f "$stamp" ]; then
    echo "qt-mingw-kit: reusing $kit" >&2
    echo "$kit" >&3
    exit 0
fi

# The source and the build stay beside the kit until it is finished, so an interrupted run
# resumes where it stopped.
work=$kit.work
mkdir -p "$work"
if [ ! -f "$work/.source-ready" ]; then
    rm -rf "$work/src" "$work/download"
    mkdir -p "$work/download"
    (cd "$work/download" && apt-get source qt6-base="$source_version")
    mv "$work/download/qt6-base-$qt_version"* "$work/src"
    rm -rf "$work/download"
    file=$work/src/src/plugins/platforms/windows/qwindowswindow.cpp
    sed -i "$software_gl_fix" "$file"
    if ! sed -n '/^static inline bool isSoftwareGl()/,/^}/p' "$file" |
        grep -q '^#if QT_CONFIG(opengl) && QT_CONFIG(dynamicgl)$'; then
        echo "qt-mingw-kit: isSoftwareGl() in $file is not as expected; the fix did not apply" >&2
        exit 1
    fi
    touch "$work/.source-ready"
fi

rm -rf "$kit"
cmake -G Ninja -S "$work/src" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$kit" "${options[@]}"
cmake --build "$work/build" -j "${TILGOMAT_JOBS:-2}"
cmake --install "$work/build"
touch "$stamp"
rm -rf "$work"

elapsed=$((SECONDS - started))
echo "qt-mingw-kit: built $kit in $((elapsed / 60)) min $((elapsed % 60)) s ($(du -sh "$kit" | cut -f1))" >&2
echo "$kit" >&3
