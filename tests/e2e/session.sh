# Sourced by the end-to-end scripts: a scratch directory, an X display of our
# own when none is set, `run` for Windows programs under Wine, and a cleanup
# that closes Quillmar through its Exit command and stops what was started.
# Expects $src (the source tree) and $reader (tree_reader.exe) to be set.
run() { "$src/tools/wine-run" "$@"; }
work=$(mktemp -d)
pids=()
cleanup() {
  run "$reader" command 57665 >/dev/null 2>&1
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

if [[ -z "${DISPLAY:-}" ]]; then
  for n in $(seq 141 180); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
    break
  done
fi

# Presses the mouse at x y, holds it, lets go: the end of a capture drag.
press_and_release() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.3
  xdotool mouseup 1
}

# Waits up to ten seconds for the tree's first line to read $1.
root_until() {
  for _ in $(seq 50); do
    root_text=$(run "$reader" root | tr -d '\r')
    [[ $root_text == "$1" ]] && return 0
    sleep 0.2
  done
  return 1
}

# Starts the fixture dialog ($fixture) and Quillmar ($quillmar); sets button,
# x and y (the disabled button's handle and centre) once both answer.
start_with_fixture() {
  run "$fixture" "Z:$work/button.txt" >/dev/null 2>&1 &
  pids+=($!)
  run "$quillmar" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 300); do [[ -s $work/button.txt ]] && break; sleep 0.1; done
  read -r button x y <"$work/button.txt" || { echo "the fixture did not start"; return 1; }
  for _ in $(seq 300); do run "$reader" root >/dev/null 2>&1 && return 0; sleep 0.2; done
  echo "Quillmar did not start"
  return 1
}
