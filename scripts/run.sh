#!/usr/bin/env bash
# Installs what is missing, builds QTX and starts it. With no analyser port configured (no
# QTX_COM<n> and no [Ports] entry in the settings), a simulated analyser on a pseudo-terminal
# stands in for it as COM2.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build

config="${XDG_CONFIG_HOME:-$HOME/.config}/qtx/qtx.ini"
configured=no
for n in 1 2 3 4; do
  var="QTX_COM$n"
  [ -n "${!var:-}" ] && configured=yes
done
if [ -f "$config" ] && grep -qi '^\[ports\]' "$config"; then configured=yes; fi

sim_pid=
if [ "$configured" = no ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  build/tools/analyser-sim/qtx-analyser-sim --no-stdin </dev/null >"$fifo" &
  sim_pid=$!
  exec 3<"$fifo"
  rm -f "$fifo"
  read -r _ pty <&3
  # Keep reading what the simulator says so it never blocks on a full pipe.
  cat <&3 >/dev/null &
  export QTX_COM2="$pty"
  echo "No analyser port configured: a simulated analyser on $pty serves as COM2."
  trap 'kill $sim_pid 2>/dev/null || true' EXIT
fi

build/qtx
