#!/usr/bin/env bash
# The Wine tools against a stand-in for wine and wineserver: a prefix whose
# making was interrupted is made again and only a complete one is put in
# place; a program that Wine never started is started once more and counted,
# one that started and failed is not run again.
# Usage: wine_tools_test.sh source-dir
set -u
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# The stand-in wine. "wineboot --init" writes system.reg, then stops where
# $work/boot says: "hang" (until killed), "fail", or anything else to finish
# with a kernel32.dll. Any other program: the first line of $work/plan says
# how this start goes ("nostart", "fallback" to start.exe, or "started N"),
# and is removed.
cat >"$work/wine" <<'EOF'
#!/usr/bin/env bash
if [[ $1 == wineboot ]]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/system32"
  echo registry >"$WINEPREFIX/system.reg"
  case $(cat "$WORK/boot" 2>/dev/null) in
    hang) exec sleep 1000 ;;
    fail) echo "wineboot: broken" >&2; exit 1 ;;
  esac
  echo dll >"$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
  exit 0
fi
step=$(head -n 1 "$WORK/plan")
sed -i 1d "$WORK/plan"
case $step in
  nostart) echo "wine client error:0: recvmsg: Connection reset by peer" >&2; exit 0 ;;
  fallback)
    echo "0030:trace:loaddll:build_module Loaded L\"C:\\windows\\system32\\start.exe\" at 0000000140000000: builtin" >&2
    echo "ShellExecuteEx failed: Internal error." >&2
    exit 1
    ;;
  started*)
    echo "0024:trace:loaddll:build_module Loaded L\"Z:\\prog.exe\" at 0000000140000000: native" >&2
    echo "program output"
    echo "program complaint" >&2
    exit "${step#started }"
    ;;
esac
EOF
printf '#!/bin/sh\nexit 0\n' >"$work/wineserver"
chmod +x "$work/wine" "$work/wineserver"
export WORK=$work QM_WINE_BIN=$work/wine QM_WINESERVER_BIN=$work/wineserver DISPLAY=:999
prefix=$work/prefix

# Interrupted while Wine makes the prefix: nothing half-made takes its place.
# Like an interrupt from the terminal, the signal reaches the whole group.
echo hang >"$work/boot"
setsid "$src/tools/wine-prefix" "$prefix" 2>"$work/interrupted.err" &
maker=$!
for _ in $(seq 100); do [[ -f $prefix.new/system.reg ]] && break; sleep 0.05; done
kill -TERM -- "-$maker"
wait "$maker" 2>/dev/null
check "an interrupted prefix is not put in place" test ! -e "$prefix"
check "making the prefix is announced" grep -q "making the Wine prefix" "$work/interrupted.err"

# The next run makes it again and marks it complete.
echo finish >"$work/boot"
check "the next run makes the prefix" "$src/tools/wine-prefix" "$prefix" 2>/dev/null
check "the made prefix is complete" test -f "$prefix/drive_c/windows/system32/kernel32.dll" -a \
  -f "$prefix/.quillmar-prefix-complete" -a ! -e "$prefix.new"

# A half-made prefix left by an earlier set-up (no mark) is made again.
rm -rf "$prefix"
mkdir -p "$prefix/drive_c/windows/system32"
echo registry >"$prefix/system.reg"
"$src/tools/wine-prefix" "$prefix" 2>"$work/halfmade.err"
check "a half-made prefix is made again" test -f "$prefix/drive_c/windows/system32/kernel32.dll"
check "and says so" grep -q "half-made" "$work/halfmade.err"

# A failed wineboot reports its words and leaves no prefix in place.
rm -rf "$prefix"
echo fail >"$work/boot"
"$src/tools/wine-prefix" "$prefix" 2>"$work/failed.err"
rc=$?
check "a failed wineboot fails" test "$rc" -ne 0 -a ! -e "$prefix"
check "with wineboot's words" grep -q "wineboot: broken" "$work/failed.err"

echo finish >"$work/boot"
"$src/tools/wine-prefix" "$prefix" 2>/dev/null
export QM_WINEPREFIX=$prefix QM_WINE_RETRY_LOG=$work/retries

run() { # plan lines...; runs wine-run, sets rc, out, err
  printf '%s\n' "$@" >"$work/plan"
  : >"$work/retries"
  "$src/tools/wine-run" prog.exe --flag >"$work/out" 2>"$work/err"
  rc=$?
}

# Not started, then started: one retry, said and counted; the exit code and
# the output are the program's; the loaddll line stays out of the output.
run nostart "started 0"
check "a program that never started is started once more" test "$rc" -eq 0
check "its output comes through" grep -q "program output" "$work/out"
check "its stderr comes through without the loaddll line" \
  bash -c "grep -q 'program complaint' '$work/err' && ! grep -q loaddll '$work/err'"
check "Wine's words and the exit code are reported" \
  bash -c "grep -q 'exit code 0 without starting prog.exe' '$work/err' && grep -q 'Connection reset by peer' '$work/err'"
check "the wineserver and the display are reported" \
  bash -c "grep -q 'no wineserver running' '$work/err' && grep -q 'display :999' '$work/err'"
check "the retry is said and logged" \
  bash -c "grep -q 'starting prog.exe once more' '$work/err' && [[ \$(cat '$work/retries') == 'prog.exe --flag' ]]"

# Wine handed the program to start.exe, which could not start it either.
run fallback "started 0"
check "a program that Wine handed to start.exe is started once more" \
  bash -c "[[ $rc -eq 0 && \$(wc -l <'$work/retries') -eq 1 ]] && grep -q 'Internal error' '$work/err'"

# Started and failed: never run again.
run "started 3" "started 0"
check "a program that started and failed keeps its exit code" test "$rc" -eq 3
check "and is not run again" bash -c "[[ ! -s '$work/retries' && \$(cat '$work/plan') == 'started 0' ]]"

# Never started twice: a failure even though Wine said 0.
run nostart nostart
check "a program that never starts fails" test "$rc" -eq 125
check "after one retry" bash -c "[[ \$(wc -l <'$work/retries') -eq 1 ]] && grep -q 'did not start twice' '$work/err'"

((failures == 0))
