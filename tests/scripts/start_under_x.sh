#!/usr/bin/env bash
# Starts the program under a real X server with COM2 on a simulated analyser and checks that
# its main window appears with the caption "QTX  -  Comm 2".
set -euo pipefail
qtx=$(realpath "$1")
sim=$(realpath "$2")
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --no-stdin </dev/null >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do
  grep -q '^PTY ' "$work/sim.out" 2>/dev/null && break
  sleep 0.1
done
pty=$(awk '/^PTY /{print $2; exit}' "$work/sim.out")
[ -n "$pty" ] || { echo "the simulator gave no pseudo-terminal"; cat "$work/sim.err"; exit 1; }

export QTX_COM1="$work/absent1" QTX_COM2="$pty" QTX_COM3="$work/absent3" QTX_COM4="$work/absent4"
export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
cd "$work"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$0" &
  app=$!
  found=no
  for _ in $(seq 150); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"QTX  -  Comm 2\""; then found=yes; break; fi
    sleep 0.1
  done
  xwininfo -root -tree | grep -i qtx || true
  kill $app 2>/dev/null || true
  wait $app 2>/dev/null || true
  [ "$found" = yes ]
' "$qtx"
