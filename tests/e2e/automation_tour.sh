#!/usr/bin/env bash
# The two tools of the "Otros" menu from the real program: both servers are
# registered, Quillmar starts, and each command opens its tool's window on
# its first use. The directory check walks the fixture tree before its
# picture is taken. With QM_E2E_SHOTS set, the pictures are written there
# (the README's). The tools are unregistered again at the end.
# Usage: automation_tour.sh quillmar.exe turmidex.exe palvexi.exe tree_reader.exe source-dir fixture-tree
set -u
quillmar=$1 turmidex=$2 palvexi=$3 reader=$4 src=$5 tree=$6
source "$src/tests/e2e/session.sh"
shots=${QM_E2E_SHOTS:-$work}

unregister() {
  run "$turmidex" /UnregServer >/dev/null 2>&1
  run "$palvexi" /UnregServer >/dev/null 2>&1
}
trap 'unregister; cleanup' EXIT
run "$turmidex" /RegServer || { echo "turmidex.exe /RegServer failed"; exit 1; }
run "$palvexi" /RegServer || { echo "palvexi.exe /RegServer failed"; exit 1; }

run "$quillmar" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 300); do run "$reader" root >/dev/null 2>&1 && break; sleep 0.2; done

# Posts a command and waits for a window with this caption; sets id.
open_tool() {  # command caption
  id=""
  run "$reader" command "$1" || { echo "could not post $1"; return 1; }
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -n 1)
    [[ -n $id ]] && { echo "$1: \"$2\" opened on the first use"; return 0; }
    sleep 0.2
  done
  echo "$1: no window \"$2\""
  return 1
}

status=0
if open_tool 30058 "Comprobar directorio"; then
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
  # The folder edit has the focus; Enter runs "Comprobar".
  xdotool type --delay 20 "Z:${tree//\//\\}"
  xdotool key Return
  sleep 3
  import -window root "$shots/dir_check.png"
  xdotool key --clearmodifiers Escape
else
  status=1
fi
if open_tool 30070 "Gestor de servicios"; then
  sleep 1
  import -window root "$shots/services.png"
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key --clearmodifiers Escape
else
  status=1
fi
exit $status
