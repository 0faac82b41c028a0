#!/usr/bin/env bash
# Docking the toolbar by hand: quillmar.exe under Wine, xdotool presses the
# mouse on the toolbar strip's gripper, drags it to the frame's left edge and
# lets go; the strip must then stand down the left side. A second drag takes
# it back to the top.
# Usage: dock_drag.sh quillmar.exe tree_reader.exe source-dir
set -u
quillmar=$1 reader=$2 src=$3
source "$src/tests/e2e/session.sh"

run "$quillmar" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 300); do run "$reader" toolbar >/dev/null 2>&1 && break; sleep 0.2; done

strip() { read -r l t r b cl ct cr cb < <(run "$reader" toolbar | tr -d '\r'); }
# Reads the strip until the condition holds or ten seconds have passed: a
# loaded machine may take a moment to lay the frame out again.
strip_until() {
  for _ in $(seq 50); do
    strip && eval "(($1))" && return 0
    sleep 0.2
  done
  return 1
}
drag() {  # from the gripper to x y, in steps as a hand moves
  local gx gy
  if ((b - t < r - l)); then gx=$((l + 4)) gy=$(((t + b) / 2)); else gx=$(((l + r) / 2)) gy=$((t + 4)); fi
  xdotool mousemove "$gx" "$gy" sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove $(((gx + $1) / 2)) $(((gy + $2) / 2)) sleep 0.2 mousemove "$1" "$2" sleep 0.3 mouseup 1
  sleep 0.5
}

strip || { echo "Quillmar's toolbar did not show"; exit 1; }
strip_until 't == ct && l == cl && r == cr'
ok=$?
echo "start: strip $l $t $r $b in client $cl $ct $cr $cb"
((ok == 0)) || { echo "the toolbar does not start docked at the top"; exit 1; }

drag $((cl + 3)) $(((ct + cb) / 2))
strip_until 'l == cl && t == ct && b - t > r - l'
ok=$?
echo "after the drag left: strip $l $t $r $b"
((ok == 0)) || { echo "the toolbar is not docked on the left"; exit 1; }

drag $(((cl + cr) / 2)) $((ct + 2))
strip_until 't == ct && l == cl && r == cr'
ok=$?
echo "after the drag up: strip $l $t $r $b"
((ok == 0))
