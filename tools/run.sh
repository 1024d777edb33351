#!/usr/bin/env bash
# Builds the program, prepares its folder (build/program) and starts it.
# An existing database is never replaced.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTASQUEL_TESTS=OFF >/dev/null
cmake --build build -j"${TASQUEL_JOBS:-$(nproc)}" --target tasquel tasquel-mkdb
build/tasquel-mkdb build/program
# The menu entry for this user; only this one file is written.
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
program="$(pwd)/build/program"
sed -e "s|@PROGRAM@|$program/tasquel|" -e "s|@ICON@|$program/Images/appIcon.png|" \
  data/zarvik-tasquel.desktop >"$apps/zarvik-tasquel.desktop.tmp"
mv -f "$apps/zarvik-tasquel.desktop.tmp" "$apps/zarvik-tasquel.desktop"
exec build/program/tasquel "$@"
