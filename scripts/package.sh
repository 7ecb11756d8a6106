#!/usr/bin/env bash
# Installs what is missing (the packaging tools included), checks the desktop file and the
# AppStream metainfo, builds the optimised program and makes the Debian package
# build/release/tilgomat_<version>_<architecture>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
TILGOMAT_WITH_PACKAGING=1 scripts/install-deps.sh run
desktop-file-validate packaging/*.desktop
appstreamcli validate --no-net packaging/*.metainfo.xml
# Only the program goes into the package, so only the program is built; the tests and
# benchmarks that the same build folder may hold are left as they are.
cmake --preset release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build --preset release --target Tilgomat
(cd build/release && cpack)
ls build/release/tilgomat_*.deb
