#!/bin/bash
# Times `quillmar-cli headers --complete` over every .dll and .exe of Wine's
# x86_64 directory in one call, warm cache, and prints the best of several runs.
# usage: bench/headers_bench.sh [quillmar-cli] [runs]
set -euo pipefail
cli=${1:-build/host/quillmar-cli}
runs=${2:-7}
dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
shopt -s nullglob
files=("$dir"/*.dll "$dir"/*.exe)
if [ ${#files[@]} -eq 0 ]; then
  echo "no modules under $dir" >&2
  exit 1
fi
"$cli" headers --complete "${files[@]}" >/dev/null 2>&1 || true  # warm the cache
best=""
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$cli" headers --complete "${files[@]}" >/dev/null 2>&1 || true
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "headers --complete over ${#files[@]} modules: best of $runs runs ${best} ms (target < 400 ms)"
