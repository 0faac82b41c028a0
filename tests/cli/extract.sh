#!/usr/bin/env bash
# quillmar-cli extract: each module into DIR/FILE with NAME.rc and res/, the
# summary on stdout, damage as warnings with exit code 0, and nothing written
# over existing files without --force.
set -euo pipefail
cli=$1 source=$2 fixtures=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Two modules with one stem: the folder carries the extension.
cp "$fixtures/x86_64/images.dll" "$work/images.dll"
cp "$fixtures/x86_64/images.dll" "$work/images.tlb"
out=$("$cli" extract "$work/images.dll" "$work/images.tlb" "$fixtures/x86_64/resources.dll" -o "$work/out" 2>"$work/err")
[[ -f $work/out/images.dll/images.rc && -f $work/out/images.tlb/images.rc ]] || fail "folders: $(ls -R "$work/out")"
grep -qx "$work/images.dll: $work/out/images.dll/images.rc" <<<"$out" || fail "summary head: $out"
grep -qx '  4 statements, 19 files, 0 raw fallbacks, 1 damaged' <<<"$out" || fail "images.dll counts: $out"
grep -q 'damaged: RT_GROUP_ICON/#50 (0x0409): image 1 (ID 99) is missing' <<<"$out" || fail "damaged line: $out"
grep -q 'warning: RT_GROUP_ICON/#50 (0x0409) left out' "$work/err" || fail "warning: $(cat "$work/err")"
cmp -s "$work/out/images.dll/res/icon_1_0409.ico" "$source/tests/fixtures/images/multi.ico" || fail "icon file"
cmp -s "$work/out/images.dll/res/cursor_1_0409.cur" "$source/tests/fixtures/images/pointer.cur" || fail "cursor file"
cmp -s "$work/out/images.dll/res/bitmap_24_0409.bmp" "$source/tests/fixtures/images/bmp_24.bmp" || fail "bitmap file"
head -c 2 "$work/out/images.dll/images.rc" | grep -q '//' || fail "script head"
grep -q $'^#pragma code_page(65001)\r$' "$work/out/images.dll/images.rc" || fail "script is UTF-8 with CR LF"
grep -q $'^// Left out, damaged:\r$' "$work/out/images.dll/images.rc" || fail "damage comment"

# Again without --force: nothing is written over, exit 1; with it, all is.
printf 'keep' >"$work/out/images.dll/images.rc"
if "$cli" extract "$work/images.dll" -o "$work/out" >/dev/null 2>"$work/err"; then fail "wrote over existing files"; fi
[[ $(cat "$work/out/images.dll/images.rc") == keep ]] && grep -q -- '--force' "$work/err" || fail "kept: $(cat "$work/err")"
out=$("$cli" extract "$work/images.dll" -o "$work/out" --force --json 2>/dev/null)
[[ $out == '[{"file": "'"$work"'/images.dll", "script": "'"$work"'/out/images.dll/images.rc", "statements": 4, "files": 19, "rawFallbacks": [], "damaged": [{"resource": "RT_GROUP_ICON/#50 (0x0409)", "reason": "image 1 (ID 99) is missing"}]}]' ]] || fail "json: $out"
grep -q $'^LANGUAGE' "$work/out/images.dll/images.rc" || fail "--force did not write"

# A module that cannot be read fails alone; usage errors are exit 2.
printf 'MZ' >"$work/broken.dll"
set +e
"$cli" extract "$work/broken.dll" "$work/images.tlb" -o "$work/other" >/dev/null 2>&1
rc=$?
set -e
[[ $rc -eq 1 && -f $work/other/images.tlb/images.rc ]] || fail "broken module: $rc"
if "$cli" extract "$work/images.dll" 2>/dev/null; then fail "missing -o accepted"; else [[ $? -eq 2 ]] || fail "usage exit"; fi
# A module without resources: said so, no folder, no failure.
out=$("$cli" extract "$fixtures/x86_64/empty.dll" -o "$work/none")
[[ $out == "$fixtures/x86_64/empty.dll: no resources" && ! -e $work/none/empty.dll ]] || fail "no resources: $out"
out=$("$cli" extract "$fixtures/x86_64/empty.dll" -o "$work/none" --json)
[[ $out == '[{"file": "'"$fixtures"'/x86_64/empty.dll", "script": null, "statements": 0, "files": 0, "rawFallbacks": [], "damaged": []}]' ]] || fail "no resources json: $out"
echo ok
