#!/usr/bin/env bash
# Checks the Debian package as the README promises it, on a fresh Debian 12 root (debootstrap
# minbase): it installs with its dependencies, quvtool check runs on the installed catalogue,
# the window appears under Xvfb, "Export Antenna Matches" remembers its folder across two runs of
# a non-root user, and apt remove leaves nothing of the package behind. Needs root and network.
# usage: scripts/check-package.sh [PACKAGE.deb]   (default: the one scripts/package.sh built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls "$root"/build-package/quvselect_*.deb 2>/dev/null | head -1)}
[ -f "$deb" ] || { echo "no package: run scripts/package.sh first" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap, mount, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap

work=$(mktemp -d /var/tmp/quvselect-root.XXXXXX)
fresh=$work/root
cleanup() {
  for m in dev sys proc; do
    mountpoint -q "$fresh/$m" && umount "$fresh/$m"
  done
  # Never delete through a mount: a bound /dev would take the machine's devices with it.
  if findmnt -rn -o TARGET | grep -q "^$work"; then
    echo "still mounted under $work; left in place" >&2
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT

echo "== debootstrap bookworm minbase into $fresh"
debootstrap --variant=minbase bookworm "$fresh" http://deb.debian.org/debian >"$work/debootstrap.log"
cp /etc/resolv.conf "$fresh/etc/resolv.conf"
cp "$deb" "$fresh/tmp/"
mount -t proc proc "$fresh/proc"
mount -t sysfs sys "$fresh/sys"
mount --bind /dev "$fresh/dev"

cat >"$fresh/tmp/check.sh" <<'INSIDE'
set -uo pipefail
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
passed=0 failed=0
check() { if eval "$2"; then echo "ok: $1"; passed=$((passed + 1)); else echo "FAILED: $1"; failed=$((failed + 1)); fi; }
apt-get update -qq
check "apt install of the package with its dependencies" \
  "apt-get install -y -qq ./tmp/quvselect_*.deb >/tmp/install.log 2>&1"
dpkg -L quvselect >/tmp/files.txt
useradd -m -s /bin/bash planner
su - planner -c 'quvtool check' >/tmp/check.out 2>&1
cat /tmp/check.out
check "quvtool check on the installed catalogue" "grep -qx '80 loaded, 0 failed' /tmp/check.out"
apt-get install -y -qq --no-install-recommends xvfb xauth xdotool openbox >/tmp/tools.log 2>&1

cat >/home/planner/run.sh <<'RUN'
# One run of the window: open Export Antenna Matches, type the folder when given, press OK,
# close the message that follows and end the program.
export DISPLAY=$1
quvselect TD0865-14 >/dev/null 2>&1 &
pid=$!
for i in $(seq 30); do
  w=$(xdotool search --onlyvisible --name '^QUV Select$' | head -1) && [ -n "$w" ] && break
  sleep 1
done
# The splash window carries the same title; take the window that is left once it has gone.
sleep 3
w=$(xdotool search --onlyvisible --name '^QUV Select$' | tail -1)
[ -n "${w:-}" ] && echo "window $w"
xdotool windowactivate --sync "$w" key ctrl+m
sleep 2
if [ -n "${2:-}" ]; then xdotool key ctrl+a type "$2"; fi
xdotool key Return
sleep 3
xdotool key Return
sleep 1
kill "$pid"
RUN
chown planner: /home/planner/run.sh
# A display number that no other X server on this machine uses.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/display >/dev/null 2>&1 &
xserver=$!
for i in $(seq 20); do [ -s /tmp/display ] && break; sleep 0.5; done
display=:$(cat /tmp/display)
wm=$(su planner -c "DISPLAY=$display openbox >/dev/null 2>&1 & echo \$!")
sleep 2
su - planner -c 'mkdir -p out'
check "the window appears under Xvfb" \
  "su - planner -c 'bash run.sh $display /home/planner/out' | grep -q '^window '"
check "the export folder is stored in the user's settings" \
  "tr -d '\\r' <'/home/planner/.config/QUV Select/quvselect.ini' | grep -qx 'path=/home/planner/out'"
check "nothing is written beside the installed program" "[ ! -e /usr/lib/quvselect/quvselect.ini ]"
rm -f /home/planner/out/*
# The second run only presses OK: the export lands in the folder only if it was remembered.
su - planner -c "bash run.sh $display" >/dev/null
check "the second run exports into the remembered folder" "ls /home/planner/out/*.pln >/dev/null 2>&1"
kill "$wm" "$xserver"
check "apt remove" "apt-get remove -y -qq quvselect >/tmp/remove.log 2>&1"
left=0
while read -r f; do
  [ "$f" = /. ] && continue
  [ -d "$f" ] && [ ! -L "$f" ] && [ -n "$(dpkg -S "$f" 2>/dev/null)" ] && continue
  [ -e "$f" ] || [ -L "$f" ] && { echo "left behind: $f"; left=$((left + 1)); }
done </tmp/files.txt
check "apt remove leaves nothing of the package" "[ $left -eq 0 ] && [ ! -e /usr/lib/quvselect ]"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
INSIDE
echo "== checks in the fresh root"
chroot "$fresh" /bin/bash /tmp/check.sh
