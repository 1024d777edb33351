#!/usr/bin/env bash
# A desktop notification server for the tests: dunst under Xvfb on a
# session bus of its own. Its menu of actions is answered by a script that
# picks the line named in $NOTIFY_WANT_FILE, so a test can press a button.
# usage: notify_session.sh TEST_PROGRAM [ARGS...]
set -euo pipefail
if ! command -v dunst >/dev/null || ! command -v xvfb-run >/dev/null; then
  echo "dunst or xvfb-run is missing" >&2
  exit 77
fi
if [[ ${NOTIFY_INNER:-} != 1 ]]; then
  exec env NOTIFY_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" \
    dbus-run-session -- bash "$0" "$@"
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cat >"$work/choose" <<'CHOOSE'
#!/bin/sh
# dunst's menu: one line per action, ending "[id,key]".
grep -m1 -F "$(cat "$NOTIFY_WANT_FILE")"
CHOOSE
chmod +x "$work/choose"
printf '[global]\n    dmenu = %s\n    font = DejaVu Sans 10\n' "$work/choose" >"$work/dunstrc"
export NOTIFY_WANT_FILE="$work/want"
: >"$NOTIFY_WANT_FILE"
dunst -config "$work/dunstrc" >"$work/dunst.log" 2>&1 &
export NOTIFY_SERVER_PID=$!
for _ in $(seq 50); do
  dunstctl count >/dev/null 2>&1 && break
  sleep 0.1
done
"$@"
