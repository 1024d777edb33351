#!/usr/bin/env bash
# Runs the test programs whose cases depend on file modes as an ordinary
# user: root ignores modes, so as root those cases only skip. Copies each
# program and the data files to a folder that user can read, runs it, and
# fails when a case fails or is still skipped.
# Usage: tools/test-as-user.sh [BUILD_DIR]   (default build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
programs=(test_faults)
if [ "$(id -u)" != 0 ]; then
  echo "test-as-user: not root, the test command already ran these cases"
  exit 0
fi
work=$(mktemp -d /tmp/tasquel-as-user.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r data "$work/data"
for p in "${programs[@]}"; do cp "$build/tests/$p" "$work/"; done
mkdir "$work/home" "$work/tmp"
chown -R 65534:65534 "$work/home" "$work/tmp"
chmod -R a+rX "$work"
status=0
for p in "${programs[@]}"; do
  log="$work/$p.log"
  if ! env -i PATH=/usr/bin:/bin HOME="$work/home" TMPDIR="$work/tmp" \
      QT_QPA_PLATFORM=offscreen QT_STYLE_OVERRIDE=Fusion LC_ALL=C TZ=UTC \
      TASQUEL_TEST_DATA="$work/data" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
      setpriv --reuid=65534 --regid=65534 --clear-groups "$work/$p" >"$log" 2>&1; then
    grep -v propagateSizeHints "$log" | tail -40
    echo "test-as-user: $p failed as an ordinary user"
    status=1
  elif grep -q '^SKIP' "$log"; then
    grep '^SKIP' "$log"
    echo "test-as-user: $p skipped cases as an ordinary user"
    status=1
  else
    grep '^Totals' "$log" | sed "s/^/$p (as nobody): /"
  fi
done
exit $status
