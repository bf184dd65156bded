#!/usr/bin/env bash
# ShowTiketFormular from a C host on a real X server (Xvfb): the dialog opens,
# a person presses "&Zrušit" (Alt+Z), the host's call returns, and the
# last-used state is written to the format list file.
set -euo pipefail
host=$1
forms=$2
rm -rf "$forms"
mkdir -p "$forms"
work=$(mktemp -d)
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export DISPLAY=$display
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME=$work/config
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$work" && timeout 60 "$host" > "$work/host.out" 2>&1) &
hostpid=$!
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name "KORVAL" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "FAILED: the dialog did not open"; cat "$work/host.out"; exit 1; }
sleep 0.5
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --window "$window" alt+z
wait "$hostpid" || { echo "FAILED: the host did not return"; cat "$work/host.out"; exit 1; }
grep -q "dialog closed" "$work/host.out" || { echo "FAILED: no return"; exit 1; }
grep -q "^\[SetLast\]" "$forms/TiketFrm.ini" || { echo "FAILED: no SetLast written"; exit 1; }
grep -q "^\[Saves\]" "$forms/TiketFrm.ini" && { echo "FAILED: the list was touched"; exit 1; }
echo "1 passed, 0 failed"
