#!/usr/bin/env bash
# The screen-reader walk: the program in a copy of its folder, under Xvfb
# with its own session bus and accessibility bus, read by atspi_walk.py.
# usage: atspi_walk.sh PROGRAM_DIR FILL_HELPER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${DISPLAY:-} || ${ATSPI_INNER:-} != 1 ]]; then
  exec env ATSPI_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; [[ -n ${DBUS_SESSION_BUS_PID:-} ]] && kill $DBUS_SESSION_BUS_PID 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$1" "$work/program"
rm -f "$work/program/zvData.zvb"*
"$2" "$work/program"
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
sleep 1
mkdir -p "$work/tmp"
TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C TZ=UTC \
  "$work/program/tasquel" >"$work/program.log" 2>&1 &
/usr/bin/python3 "$here/atspi_walk.py"
