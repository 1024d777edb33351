#!/usr/bin/env bash
# Builds the Debian package into build-package/ (or $TASQUEL_PACKAGE_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh --run dpkg-dev
build=${TASQUEL_PACKAGE_DIR:-build-package}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTASQUEL_TESTS=OFF >/dev/null
cmake --build "$build" -j"${TASQUEL_JOBS:-$(nproc)}" --target tasquel tasquel-lsdb
(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
ls "$(pwd)/$build"/zarvik-tasquel_*.deb
