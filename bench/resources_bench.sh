#!/bin/bash
# Times `quillmar-cli resources` over every .dll and .exe of Wine's x86_64
# folder in one call, warm cache, best of several runs. Target: < 80 ms.
# Usage: bash bench/resources_bench.sh <quillmar-cli> [runs]
set -eu
cli=$1
runs=${2:-7}
dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
mapfile -t files < <(find "$dir" -maxdepth 1 \( -name '*.dll' -o -name '*.exe' \) | sort)
echo "${#files[@]} modules"
"$cli" resources "${files[@]}" >/dev/null 2>&1 || true  # warm the cache
best=
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  "$cli" resources "${files[@]}" >/dev/null 2>&1 || true
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "resources: best of $runs runs: ${best} ms"
