#!/usr/bin/env bash
# Installs what is missing, builds QTX and starts it in the user's own working folder: ~/QTX, or
# the folder given by --workdir DIR or by the environment variable QTX_WORKDIR (the option
# wins). The folder and its "save" folder are created on the first start; QTX's default save and
# help folders lie in it, so nothing the user saves lands in the source tree. With no analyser
# port configured (no QTX_COM<n> and no [Ports] entry in the settings), a simulated analyser on a
# pseudo-terminal stands in for it as COM2.
set -euo pipefail

workdir="${QTX_WORKDIR:-$HOME/QTX}"
while [ $# -gt 0 ]; do
  case "$1" in
    --workdir) [ $# -ge 2 ] || { echo "run.sh: --workdir needs a folder" >&2; exit 2; }; workdir="$2"; shift 2 ;;
    --workdir=*) workdir="${1#--workdir=}"; shift ;;
    -h|--help) echo "usage: scripts/run.sh [--workdir DIR]   (default: \$QTX_WORKDIR, else ~/QTX)"; exit 0 ;;
    *) echo "run.sh: unknown argument: $1 (usage: scripts/run.sh [--workdir DIR])" >&2; exit 2 ;;
  esac
done

# A relative folder is taken from where the script was started.
case "$workdir" in /*) ;; *) workdir="$PWD/$workdir" ;; esac

cd "$(dirname "$0")/.."
repo="$(pwd)"
./scripts/install-deps.sh
# Only what this script starts (the program, its help pages and the simulated analyser), in a
# build folder of its own, so it never rebuilds what the test command built in another build type.
build=build-run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQTX_BUILD_TESTS=OFF -DQTX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target qtx qtx_help_pages qtx-analyser-sim

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
  "$repo/$build/tools/analyser-sim/qtx-analyser-sim" --no-stdin </dev/null >"$fifo" &
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

mkdir -p "$workdir/save"
cd "$workdir"
echo "QTX works in $(pwd)."
"$repo/$build/qtx"
