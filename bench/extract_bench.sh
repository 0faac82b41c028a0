#!/bin/bash
# Times `quillmar-cli extract` of Wine's shell32.dll alone (target < 1 s)
# and of every module of Wine's x86_64 folder in one call (target < 15 s),
# each into a fresh folder, warm cache, best of several runs.
# Usage: bash bench/extract_bench.sh <quillmar-cli> [runs]
set -eu
cli=$1
runs=${2:-3}
dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
mapfile -t files < <(find "$dir" -maxdepth 1 \( -name '*.dll' -o -name '*.exe' -o -name '*.drv' -o -name '*.ocx' \
  -o -name '*.cpl' \) | sort)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
best_of() {  # label, files...
  local label=$1 best= ms start i
  shift
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/out"
    start=$(date +%s%N)
    "$cli" extract "$@" -o "$work/out" >/dev/null 2>&1 || true
    ms=$(( ($(date +%s%N) - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$label: best of $runs runs: ${best} ms"
}
best_of "extract shell32.dll" "$dir/shell32.dll"
best_of "extract ${#files[@]} modules" "${files[@]}"
