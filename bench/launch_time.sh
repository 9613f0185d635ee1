#!/usr/bin/env bash
# Time from launch to the first shown main window, in milliseconds: starts
# the program in a fresh copy of the factory data tree and polls the X
# server until a mapped window with the main window's caption appears.
# Runs under its own Xvfb when no display is set. Usage:
#   bench/launch_time.sh [build-dir] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-5}
program=$build/horary
[ -x "$program" ] || { echo "no program at $program (build the horary target first)"; exit 1; }
command -v xwininfo >/dev/null || { echo "xwininfo is missing (Debian package x11-utils)"; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "Xvfb is missing (Debian package xvfb)"; exit 1; }
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1400x900x24 3>"$displayfile" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null' EXIT
  until [ -s "$displayfile" ]; do sleep 0.05; done
  export DISPLAY=:$(cat "$displayfile")
  rm -f "$displayfile"
fi

caption=$(head -n 1 "$here/data/Options/LangH.lan" | tr -d '\r' | iconv -f CP1251 -t UTF-8)
work=$(mktemp -d)
total=0
for i in $(seq "$runs"); do
  rm -rf "$work/run" && cp -r "$here/data" "$work/run"
  start=$(date +%s%N)
  (cd "$work/run" && exec "$program" >/dev/null 2>&1) &
  pid=$!
  until xwininfo -root -tree 2>/dev/null | grep "\"$caption" | grep -qv " 1x1+"; do sleep 0.002; done
  end=$(date +%s%N)
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  ms=$(( (end - start) / 1000000 ))
  echo "run $i: ${ms} ms"
  total=$((total + ms))
done
rm -rf "$work"
echo "mean: $((total / runs)) ms to the first shown main window"
