#!/usr/bin/env bash
# Runs the test command as a newcomer would: on a fresh Debian 12 root file system (made with
# debootstrap), with the committed tree cloned into root's home (mode 0700), as root in a
# chroot. Not part of CI; it needs root and the network, and takes about half an hour on 2 idle
# cores (the packages, two builds from scratch, the tests).
#   scripts/check-fresh-debian.sh [--with PACKAGE]... [--quick] [--again] [FOLDER]
# --with installs a package before the run (dbus-x11: what a desktop has); --quick runs
# scripts/test.sh --quick; --again runs once more in the last run's machine, its packages and
# builds kept, on the committed tree of now. FOLDER (default /var/tmp/tollwen-fresh-debian) keeps
# the pristine file system between runs, each run starting from a copy of it, and test.log.
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
folder=/var/tmp/tollwen-fresh-debian
with=()
test_args=()
again=0
while [ $# -gt 0 ]; do
  case $1 in
    --with) with+=("$2"); shift 2 ;;
    --quick) test_args=(--quick); shift ;;
    --again) again=1; shift ;;
    -*) sed -n '6,10s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
    *) folder=$1; shift ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "debootstrap and chroot need root" >&2; exit 2; }
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
pristine="$folder/pristine"
machine="$folder/machine"
name=$(basename "$checkout")
commit=$(git -C "$checkout" rev-parse HEAD)

if [ ! -e "$folder/pristine.done" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
  echo "== Making a fresh Debian 12 in $pristine (a few minutes; log in $folder/debootstrap.log)"
  rm -rf --one-file-system "$pristine"
  debootstrap bookworm "$pristine" http://deb.debian.org/debian >"$folder/debootstrap.log" 2>&1
  # The sources an installed Debian 12 has: the release, its updates and security updates.
  {
    echo "deb http://deb.debian.org/debian bookworm main"
    echo "deb http://deb.debian.org/debian bookworm-updates main"
    echo "deb http://deb.debian.org/debian-security bookworm-security main"
  } >"$pristine/etc/apt/sources.list"
  touch "$folder/pristine.done"
fi

mounted() {
  grep -q " $machine/" /proc/mounts
}
# Ends what the run left running inside the machine (noting it), then unmounts.
leave_machine() {
  local left=()
  for process in /proc/[0-9]*; do
    if [ "$(readlink "$process/root" 2>/dev/null)" = "$machine" ]; then
      left+=("${process#/proc/} $(tr '\0' ' ' <"$process/cmdline")")
    fi
  done
  if [ "${#left[@]}" -gt 0 ]; then
    printf 'Left running in the machine, now ended: %s\n' "${left[@]}"
    for entry in "${left[@]}"; do kill "${entry%% *}" 2>/dev/null || true; done
    sleep 1
  fi
  for point in dev/shm dev/pts dev sys proc; do
    umount "$machine/$point" 2>/dev/null || umount -l "$machine/$point" 2>/dev/null || true
  done
}

# The previous run's machine goes first; never while anything is mounted in it.
if mounted; then leave_machine; fi
if mounted; then echo "still mounted below $machine; not removing it" >&2; exit 1; fi
if [ "$again" -eq 0 ] || [ ! -d "$machine/root/$name" ]; then
  rm -rf --one-file-system "$machine"
  cp -a "$pristine" "$machine"
  cp /etc/resolv.conf "$machine/etc/resolv.conf"
  # Services that packages install are not started in the chroot (a real machine runs them).
  printf '#!/bin/sh\nexit 101\n' >"$machine/usr/sbin/policy-rc.d"
  chmod 755 "$machine/usr/sbin/policy-rc.d"
  git clone -q --no-checkout "$checkout" "$machine/root/$name"
fi
git -C "$machine/root/$name" fetch -q "$checkout" "$commit"
git -C "$machine/root/$name" checkout -q "$commit"

trap leave_machine EXIT
trap 'exit 130' INT TERM
mount -t proc proc "$machine/proc"
mount -t sysfs sys "$machine/sys"
mount --bind /dev "$machine/dev"
mount --bind /dev/pts "$machine/dev/pts"
mount -t tmpfs -o mode=1777 shm "$machine/dev/shm"

in_machine() {
  chroot "$machine" /usr/bin/env -i HOME=/root USER=root LOGNAME=root SHELL=/bin/bash \
    TERM="${TERM:-dumb}" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "$1"
}
if [ "${#with[@]}" -gt 0 ]; then
  echo "== Installing ${with[*]} (with what they recommend, as a desktop has them)"
  in_machine "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    ${with[*]} >/dev/null"
fi
echo "== $(stat -c '%A' "$machine/root") /root; running scripts/test.sh${test_args[*]:+ ${test_args[*]}} in" \
  "/root/$name at $(git -C "$checkout" log -1 --format='%h %s' "$commit")"
ls -A "$machine/tmp" >"$folder/tmp-before"
started=$SECONDS
set +e
in_machine "cd /root/$name && scripts/test.sh ${test_args[*]}" 2>&1 | tee "$folder/test.log"
status=${PIPESTATUS[0]}
set -e
minutes=$(((SECONDS - started) / 60))
echo "== scripts/test.sh ended with status $status after $minutes min ($(nproc) cores)"
left=$(ls -A "$machine/tmp" | comm -13 "$folder/tmp-before" -)
echo "Left in /tmp: ${left:-nothing}"
exit "$status"
