#!/usr/bin/env bash
# Capture by dragging, for real: quillmar.exe and a fixture dialog under Wine
# on one X display; command 5001 is posted to Quillmar, then xdotool presses
# the mouse on the fixture's disabled button, holds it and releases it. The
# tree's first line must then name that button's handle.
# Usage: capture_drag.sh quillmar.exe fixture_dialog.exe tree_reader.exe source-dir
set -u
quillmar=$1 fixture=$2 reader=$3 src=$4
source "$src/tests/e2e/session.sh"

start_with_fixture || exit 1
before=$(run "$reader" root | tr -d '\r')
echo "before: $before"
[[ $before == "No se ha capturado ninguna ventana" ]] || { echo "unexpected start state"; exit 1; }

run "$reader" command 5001 || { echo "could not post 5001"; exit 1; }
sleep 1
press_and_release "$x" "$y"
expected=$(printf 'HWND: [0x%08x]' "$button")
root_until "$expected"
ok=$?
echo "after: $root_text"
echo "expected: $expected"
((ok == 0))
