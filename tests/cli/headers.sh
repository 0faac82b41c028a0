#!/bin/bash
# quillmar-cli headers: the summary and complete trees of the fixture modules,
# JSON output, and a bad file among good ones.
set -u
cli=$1
fixtures=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

dll64=$fixtures/x86_64/exports_lib.dll
dll32=$fixtures/i686/exports_lib.dll

out=$("$cli" headers "$dll64") || fail "summary exit $?"
[ "$(printf '%s\n' "$out" | head -1)" = "$dll64" ] || fail "first line is not the path"
printf '%s\n' "$out" | grep -qx '  Tipo de máquina: IMAGE_FILE_MACHINE_AMD64' || fail "machine line"
printf '%s\n' "$out" | grep -qx '    0008 - \[0x[0-9a-f]\{8\}:kernel32.Sleep\] ForwardedSleep' || fail "forwarder line"
printf '%s\n' "$out" | grep -qx '    0007 - \[0x[0-9a-f]\{8\}\]' || fail "unnamed ordinal line"
printf '%s\n' "$out" | grep -qx '  Librerías que importa' || fail "import node"

out=$("$cli" headers --complete "$dll32") || fail "complete exit $?"
printf '%s\n' "$out" | grep -qx '        BaseOfData = 0x[0-9a-f]\{8\}' || fail "PE32 BaseOfData"
printf '%s\n' "$out" | grep -qx '            NumberOfFunctions = 10' || fail "NumberOfFunctions"
out=$("$cli" headers --complete "$dll64") || fail "complete exit $?"
printf '%s\n' "$out" | grep -q 'BaseOfData' && fail "PE32+ shows BaseOfData"
printf '%s\n' "$out" | grep -qx '        ImageBase = [0-9]* \[0x[0-9a-f]\{8,\}\]' || fail "PE32+ ImageBase"

# Two files: blocks separated by one empty line; a bad file in between is
# reported on stderr alone and the exit code is 1.
bad=$(mktemp)
printf 'not a module at all, just text\n' > "$bad"
err=$(mktemp)
out=$("$cli" headers "$dll64" "$bad" "$dll32" 2>"$err")
rc=$?
[ $rc -eq 1 ] || fail "bad file exit $rc"
[ "$(wc -l < "$err")" -eq 1 ] || fail "stderr lines: $(cat "$err")"
grep -q "$bad" "$err" || fail "stderr does not name the file"
[ "$(printf '%s\n' "$out" | grep -c '^$')" -eq 1 ] || fail "blocks not separated by one empty line"
printf '%s\n' "$out" | grep -qx "$dll32" || fail "later file not read"
"$cli" headers /nonexistent/file.dll 2>/dev/null && fail "missing file accepted"
"$cli" headers 2>/dev/null; [ $? -eq 2 ] || fail "usage exit"

# JSON: one object per line with the tree's nodes and images.
json=$("$cli" headers --json "$dll64" "$dll32") || fail "json exit"
[ "$(printf '%s\n' "$json" | wc -l)" -eq 2 ] || fail "json lines"
printf '%s\n' "$json" | head -1 | grep -q "^{\"file\": \"$dll64\", \"tree\": {\"text\": \"$dll64\", \"image\": 27, \"children\": \[{\"text\": \"Firma de cabecera DOS: 0x5a4d \[MZ\]\", \"image\": 25, \"children\": \[\]}" || fail "json shape"
if command -v python3 >/dev/null; then
  printf '%s\n' "$json" | python3 -c 'import json,sys; [json.loads(l) for l in sys.stdin]' || fail "invalid JSON"
fi
rm -f "$bad" "$err"
echo ok
