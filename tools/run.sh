#!/usr/bin/env bash
# Builds the program, prepares its folder (build/program) and starts it.
# An existing database is never replaced.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTASQUEL_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tasquel tasquel-mkdb
build/tasquel-mkdb build/program
exec build/program/tasquel "$@"
