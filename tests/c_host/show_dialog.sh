#!/usr/bin/env bash
# ShowTiketFormular from a C host on a real X server (Xvfb): the dialog opens,
# a person presses "&Zrušit" (Alt+Z), the host's call returns, and the
# last-used state is written to the format list file.
#
# With a mode (see show_host.c) the host calls from two threads in turn, over
# a copy of the given formats: every dialog that opens must take the person's
# keys and return, whichever thread asked for it.
set -euo pipefail
host=$1
forms=$2
mode=${3:-}
source_forms=${4:-}
rm -rf "$forms"
mkdir -p "$forms"
[ -n "$source_forms" ] && cp "$source_forms"/* "$forms"/
work=$(mktemp -d)
printf '[SETUP]\r\nHostitel_TISKARNA=PDF\r\n' > "$work/etikety.ini"
# The X server picks a free display number and says it once it takes
# clients: a number of our own choosing may be another test's, and a host
# started before the server is up finds no display.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "FAILED: Xvfb did not start"; exit 1; }
  sleep 0.1
done
read -r number <"$work/display" || { echo "FAILED: Xvfb named no display in 30 s"; exit 1; }
export DISPLAY=:$number
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME=$work/config

dialogs=1
[ "$mode" = "show-then-worker" ] && dialogs=2

(cd "$work" && timeout 60 "$host" $mode > "$work/host.out" 2>&1) &
hostpid=$!
for n in $(seq "$dialogs"); do
  window=""
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name "KORVAL" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "FAILED: dialog $n did not open"; cat "$work/host.out"; exit 1; }
  sleep 0.5
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool key --window "$window" alt+z
  # The dialog must go: a window on a thread without its event loop stays.
  shown() { xdotool search --onlyvisible --name "KORVAL" 2>/dev/null | grep -qx "$window"; }
  for _ in $(seq 100); do
    shown || break
    sleep 0.1
  done
  if shown; then
    echo "FAILED: dialog $n took no keys"
    kill "$hostpid" 2>/dev/null || true
    cat "$work/host.out"
    exit 1
  fi
done
wait "$hostpid" || { echo "FAILED: the host did not return"; cat "$work/host.out"; exit 1; }
[ "$(grep -c "dialog closed" "$work/host.out")" -eq "$dialogs" ] || { echo "FAILED: no return"; exit 1; }
grep -q "^\[SetLast\]" "$forms/TiketFrm.ini" || { echo "FAILED: no SetLast written"; exit 1; }
if [ -z "$mode" ]; then
  grep -q "^\[Saves\]" "$forms/TiketFrm.ini" && { echo "FAILED: the list was touched"; exit 1; }
fi
if [ "$mode" = "print-then-show" ]; then
  grep -q "printed" "$work/host.out" || { echo "FAILED: no print"; exit 1; }
  [ -s "$work/labels.pdf" ] || { echo "FAILED: no labels.pdf"; exit 1; }
fi
echo "1 passed, 0 failed"
