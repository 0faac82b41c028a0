#!/usr/bin/env bash
# quillmar-cli windows/window/processes/modules/threads/messages on a system without windows:
# one line on stderr saying so and exit 1; malformed arguments exit 2 first.
set -u
cli=$1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

expect() {  # expected exit code, expected stderr pattern, arguments...
  local code=$1 pattern=$2
  shift 2
  local out err rc
  err=$("$cli" "$@" 2>&1 >/dev/null)
  rc=$?
  out=$("$cli" "$@" 2>/dev/null)
  [[ $rc -eq $code ]] || fail "$* exited $rc, not $code"
  [[ -z "$out" ]] || fail "$* wrote to stdout: $out"
  [[ $(printf '%s\n' "$err" | wc -l) -eq 1 ]] || fail "$* wrote more than one line on stderr: $err"
  [[ "$err" == $pattern ]] || fail "$* said '$err'"
}

expect 1 "*window*needs Windows*" window 0x00010010
expect 1 "*window*needs Windows*" window 65552
expect 1 "*processes*needs Windows*" processes
expect 1 "*modules*needs Windows*" modules 4
expect 1 "*threads*needs Windows*" threads 4
expect 2 "*0xZZ*" window 0xZZ
expect 2 "*-5*" window -5
expect 2 "usage:*" window
expect 2 "usage:*" window 1 2
expect 2 "usage:*" modules
expect 2 "usage:*" modules 4x
expect 2 "usage:*" threads 99999999999
expect 2 "usage:*" processes extra
expect 1 "*windows*needs Windows*" windows
expect 1 "*windows*needs Windows*" windows --all --tree --json
expect 1 "*window*needs Windows*" window 0x00010010 --json
expect 1 "*processes*needs Windows*" processes --json
expect 1 "*modules*needs Windows*" modules 4 --json
expect 1 "*threads*needs Windows*" threads --json 4
expect 2 "usage:*" windows extra
expect 2 "usage:*" processes --json extra
expect 2 "usage:*" window --json
expect 1 "*messages*needs Windows*" messages 0x00010010 --seconds 1 --children --json
expect 2 "*0xZZ*" messages 0xZZ
expect 2 "*--seconds*" messages 65552 --seconds 0
expect 2 "*--seconds*" messages 65552 --seconds 5s
expect 2 "usage:*" messages
expect 2 "usage:*" messages 1 2

exit $((failures > 0))
