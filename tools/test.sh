#!/usr/bin/env bash
# Builds everything with the tests and runs them.
# TASQUEL_BUILD_DIR and TASQUEL_CMAKE_ARGS choose another build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
dir=${TASQUEL_BUILD_DIR:-build-test}
# shellcheck disable=SC2086
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DTASQUEL_TESTS=ON ${TASQUEL_CMAKE_ARGS:-} >/dev/null
cmake --build "$dir" -j"${TASQUEL_JOBS:-$(nproc)}"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${TASQUEL_JOBS:-$(nproc)}"
