#!/usr/bin/env bash
# quillmar-cli bitmap, icons, hex and dialog on the image fixture module.
set -euo pipefail
cli=$1 source=$2 fixtures=$3
module=$fixtures/x86_64/images.dll
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# icons: the group page's lines, every group without GROUP.
out=$("$cli" icons "$module" APPICON)
expected="$module
APPICON
  32 x 32 - 16 colors (744 bytes)"
[[ $out == "$expected" ]] || fail "icons APPICON gave: $out"
out=$("$cli" icons "$fixtures/i686/images.dll" 1)
[[ $(sed -n 3p <<<"$out") == "  16 x 16 - 16 colors (296 bytes)" ]] || fail "icons 1 gave: $out"
out=$("$cli" icons "$module")
[[ $(grep -cE ' (colors|bits) \(' <<<"$out") -eq 9 ]] || fail "all groups gave: $out"
grep -qx '  256 x 256 - 32 bits (666 bytes)' <<<"$out" || fail "a 32-bit image's depth: $out"
grep -qx '  48 x 48 - 16 colors (1644 bytes)' <<<"$out" || fail "cursor group missing: $out"
if "$cli" icons "$module" NOSUCH >/dev/null 2>"$work/err"; then fail "a missing group succeeded"; fi
[[ $(wc -l <"$work/err") -eq 1 ]] && grep -q 'NOSUCH' "$work/err" || fail "missing group message: $(cat "$work/err")"

# icons -o: one group as a .ico/.cur file, the generator's file byte for
# byte; never over an existing file without --force, and a failed write
# keeps what was there.
"$cli" icons "$module" 1 -o "$work/g1.ico"
cmp -s "$work/g1.ico" "$source/tests/fixtures/images/multi.ico" || fail "icons -o .ico differs"
"$cli" icons "$module" 1 --cursor -o "$work/g1.cur"
cmp -s "$work/g1.cur" "$source/tests/fixtures/images/pointer.cur" || fail "icons -o .cur differs"
printf 'keep' >"$work/keep.ico"
if "$cli" icons "$module" APPICON -o "$work/keep.ico" 2>"$work/err"; then fail "wrote over an existing file"; fi
[[ $(cat "$work/keep.ico") == keep ]] && grep -q -- '--force' "$work/err" || fail "existing file: $(cat "$work/err")"
if "$cli" icons "$module" 50 -o "$work/keep.ico" --force 2>"$work/err"; then fail "a group missing an image was written"; fi
[[ $(cat "$work/keep.ico") == keep ]] && grep -q 'ID 99) is missing' "$work/err" || fail "missing image: $(cat "$work/err")"
"$cli" icons "$module" APPICON -o "$work/keep.ico" --force
cmp -s "$work/keep.ico" "$source/tests/fixtures/images/small.ico" || fail "--force did not write the group"
if "$cli" icons "$module" 1 -o "$work/no/such/dir.ico" 2>/dev/null; then fail "unwritable path succeeded"; fi
if "$cli" icons "$module" -o "$work/x.ico" 2>/dev/null; then fail "-o without GROUP"; else [[ $? -eq 2 ]] || fail "usage exit"; fi
if "$cli" icons "$module" 1 --force 2>/dev/null; then fail "--force without -o"; else [[ $? -eq 2 ]] || fail "usage exit"; fi

# hex: dump rows and the size line.
out=$("$cli" hex "$module" RT_BITMAP 24)
# The character part holds the control bytes 0x01-0x1F themselves.
row=$(printf '28 00 00 00 03 00 00 00 02 00 00 00 01 00 18 00 (   \003   \002   \001 \030 ')
[[ $(sed -n 2p <<<"$out") == "$row" ]] || fail "hex first row: $(sed -n 2p <<<"$out" | od -c)"
[[ $(tail -n 1 <<<"$out") == "Tamaño: 64 bytes (~1 Kb)" ]] || fail "hex total: $(tail -n 1 <<<"$out")"
[[ $(wc -l <<<"$out") -eq 6 ]] || fail "hex rows: $out"
"$cli" hex "$module" 2 '#24' | cmp -s - <(printf '%s\n' "$out") || fail "#24 and RT_BITMAP differ"
if "$cli" hex "$module" RT_BITMAP 25 >/dev/null 2>&1; then fail "a missing resource succeeded"; fi

# bitmap: the written file is the generator's file with biSizeImage stated.
"$cli" bitmap "$module" 24 -o "$work/b24.bmp"
cmp <(head -c 34 "$work/b24.bmp") <(head -c 34 "$source/tests/fixtures/images/bmp_24.bmp") || fail "bmp header"
[[ $(stat -c %s "$work/b24.bmp") -eq 78 ]] || fail "bmp size"
"$cli" bitmap "$module" LOGO -o "$work/logo.bmp"
cmp -s "$work/b24.bmp" "$work/logo.bmp" || fail "named bitmap differs"
# A failed export keeps what was there.
printf 'keep' >"$work/keep.bmp"
if "$cli" bitmap "$module" 999 -o "$work/keep.bmp" 2>/dev/null; then fail "missing bitmap succeeded"; fi
[[ $(cat "$work/keep.bmp") == keep ]] || fail "existing file was touched"
if "$cli" bitmap "$module" 24 -o "$work/no/such/dir.bmp" 2>/dev/null; then fail "unwritable path succeeded"; fi
if "$cli" bitmap "$module" 24 2>/dev/null; then fail "missing -o accepted"; else [[ $? -eq 2 ]] || fail "usage exit"; fi

# dialog: caption, font and controls.
out=$("$cli" dialog "$module" 101)
grep -qx 'Caption: "Diálogo extendido"' <<<"$out" || fail "dialog caption: $out"
grep -qx 'Font: 9 "Segoe UI", weight 700, italic, charset 0' <<<"$out" || fail "dialog font: $out"
grep -qx 'Controls: 3' <<<"$out" || fail "dialog controls: $out"
# dialog --rc: the script on standard output, or written with CR LF by -o
# (an existing file survives a failed write); -o alone is a usage error.
out=$("$cli" dialog "$module" 101 --rc)
grep -q '^101 DIALOGEX 0, 0, 180, 90' <<<"$out" || fail "dialog script: $out"
grep -qx 'CAPTION "Diálogo extendido"' <<<"$out" || fail "dialog script caption: $out"
"$cli" dialog "$module" OPTIONS --rc -o "$work/Dialog.rc" || fail "dialog -o"
grep -q $'^"OPTIONS" DIALOG 0, 0, 100, 50\r$' "$work/Dialog.rc" || fail "dialog file: $(cat "$work/Dialog.rc")"
if "$cli" dialog "$module" 101 -o "$work/x.rc" 2>/dev/null; then fail "-o without --rc accepted"; else [[ $? -eq 2 ]] || fail "usage exit"; fi

# A file that is not a module: one line naming it, exit 1.
printf 'MZ' >"$work/broken.dll"
set +e
"$cli" icons "$work/broken.dll" >/dev/null 2>"$work/err"
rc=$?
set -e
[[ $rc -eq 1 && $(wc -l <"$work/err") -eq 1 ]] && grep -q broken.dll "$work/err" || fail "broken module: $rc $(cat "$work/err")"
echo ok
