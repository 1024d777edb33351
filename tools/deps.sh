#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need
# (with --run: the build and the program only).
# Safe to run again: it asks apt only for what is missing. Arguments name
# further packages (the fuzzing script's compiler).
set -euo pipefail
# --run: only what building and running the program needs.
run_only=false
if [[ ${1:-} == --run ]]; then
  run_only=true
  shift
fi
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev libsqlcipher-dev libpugixml-dev zlib1g-dev libical-dev libssl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n qtkeychain-qt6-dev
  libgl-dev fonts-dejavu-core xdg-utils
  "$@" # what a caller needs besides
)
# The tests, the benchmarks and the checks of the running program.
$run_only || packages+=(libbenchmark-dev xvfb xauth xdotool imagemagick python3-icalendar
  python3-pyatspi at-spi2-core dbus-x11 radicale python3-caldav xandikos vdirsyncer todoman openssl dunst)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
