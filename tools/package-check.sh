#!/usr/bin/env bash
# Builds the Debian package, installs it, checks its files with the
# desktop's validators, starts the installed program as an ordinary user
# under Xvfb, adds a task by key and finds it in that user's data folder,
# then removes the package and finds the data still there. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh desktop-file-utils appstream
build=${TASQUEL_PACKAGE_DIR:-build-package}
deb=$(bash tools/package.sh | tail -n 1)
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "$deb" >/dev/null

test "$(tasquel --version)" = "Zarvik Tasquel Lite 1.7.5.30"
desktop-file-validate /usr/share/applications/example.zarvik.Tasquel.desktop
appstreamcli validate --no-net /usr/share/metainfo/example.zarvik.Tasquel.metainfo.xml >/dev/null

user=tasquel-check
id "$user" >/dev/null 2>&1 || useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)
data="$home/.local/share/zarvik-tasquel"
rm -rf "$data"
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
# As the user: start, click the tip panel's "Click here to Add a new
# Item.", type, keep it with Ctrl+Enter, and end by File > Exit.
su "$user" -s /bin/bash -c "
  set -euo pipefail
  export DISPLAY=$display TMPDIR=\$(mktemp -d)
  cd \"\$HOME\"
  tasquel >\"\$TMPDIR/out\" 2>&1 &
  pid=\$!
  # The main window: the program's widest window of that name.
  w=
  for i in \$(seq 100); do
    for c in \$(xdotool search --onlyvisible --name 'Zarvik Tasquel' 2>/dev/null || true); do
      eval \$(xdotool getwindowgeometry --shell \"\$c\")
      ((WIDTH > 400)) && w=\$c && break
    done
    [[ -n \$w ]] && break
    sleep 0.1
  done
  sleep 1
  eval \$(xdotool getwindowgeometry --shell \"\$w\")
  xdotool mousemove \$((X + 123)) \$((Y + 477)) click 1
  sleep 0.5
  xdotool type 'typed in by the package check'
  xdotool key ctrl+Return
  sleep 0.5
  xdotool mousemove \$((X + 20)) \$((Y + 8)) click 1
  sleep 0.5
  xdotool key x
  for i in \$(seq 50); do kill -0 \$pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 \$pid 2>/dev/null; then kill \$pid; echo 'Exit did not end the program'; exit 1; fi
"
test -f "$data/zvData.zvb"
# Read as the user too: root would leave its own files beside the database.
lsdb_dir=$(mktemp -d)
chmod 755 "$lsdb_dir"
lsdb=$lsdb_dir/tasquel-lsdb
install -m 755 "$build/tasquel-lsdb" "$lsdb"
stored() { su "$user" -s /bin/bash -c "$lsdb '$data'" | grep -qx 'typed in by the package check'; }
stored

apt-get remove -y -q zarvik-tasquel >/dev/null
test ! -e /usr/bin/tasquel
stored
echo "package check: installed, validated, ran as $user, stored in $data, removed; data kept"
