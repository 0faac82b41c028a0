#!/bin/bash
# quillmar-cli resources, stats, strings and menu on the resources fixture.
# Usage: bash resources.sh <quillmar-cli> <source-dir> <fixture-dir>
set -u
cli=$1
fixtures=$3
dll=$fixtures/x86_64/resources.dll
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $1" >&2
  failures=$((failures + 1))
}

expect_output() {  # name, expected text, command...
  local name=$1 expected=$2
  shift 2
  local actual
  actual=$("$@" 2>"$work/stderr")
  [ "$actual" == "$expected" ] || fail "$name: got
$actual
expected
$expected"
}

expect_output "resources tree" "$dll
resources.dll
  AVI
    CLIP
  PNG
    LOGO
  Menu
    MENU_NAMED
    100
    101
  String table
    1
    2
    5
  Datos binarios
    200
    201
    202" "$cli" resources "$dll"

json=$("$cli" resources --json "$dll")
case "$json" in
  '{"file": "'"$dll"'", "tree": {"text": "resources.dll", "image": 8, "children": [{"text": "AVI", "image": 14, "children": [{"text": "CLIP", "image": 24, "type": "AVI", "name": "CLIP", "size": 4, "children": []}]}'*) ;;
  *) fail "resources --json: $json" ;;
esac
echo "$json" | grep -q '"text": "100", "image": 20, "type": 4, "name": 100, "size": ' || fail "numeric resource in JSON"

# A bad file among good ones: exit 1, one line on stderr, the others read.
"$cli" resources "$dll" "$work/missing.dll" "$fixtures/i686/resources.dll" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "missing file: exit code"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "missing.dll: cannot be read: no such file" "$work/err" ||
  fail "missing file: stderr $(cat "$work/err")"
grep -q "^$fixtures/i686/resources.dll$" "$work/out" || fail "the file after a bad one was not read"
# A module without resources: the listings say so and succeed; a named
# resource is not there.
empty=$fixtures/x86_64/empty.dll
for command in resources stats strings icons; do
  expect_output "no resources: $command" "$empty
no resources" "$cli" $command "$empty"
done
for named in "hex $empty 10 1" "menu $empty 1" "bitmap $empty 1 -o $work/x.bmp" "icons $empty 1" "dialog $empty 1"; do
  "$cli" $named >/dev/null 2>"$work/err"
  [ $? -eq 1 ] && grep -q "no .*1" "$work/err" || fail "no resources: $named: $(cat "$work/err")"
done

expect_output "module stats" "$dll
Estadísticas del módulo: $dll
Tamaño en disco: $("$cli" stats "$dll" | sed -n 's/^Tamaño en disco: //p')
Número de recursos: 11
Tipos de recursos: 5" "$cli" stats "$dll"
expect_output "type stats" "$dll
Estadísticas del módulo: $dll
Tipo de recurso: RT_MENU
Tamaño en disco: $("$cli" stats "$dll" '#4' | sed -n 's/^Tamaño en disco: //p')
Número de recursos: 3" "$cli" stats "$dll" RT_MENU
"$cli" stats "$dll" PNG | grep -qx "Tipo de recurso: PNG" || fail "named type stats"

expect_output "string list" "$dll
0	Primero
5	Comillas \"dentro\" y \\barra\\
7	Línea uno\\nLínea dos	tab$(printf '\r')fin
16	Segundo bloque
70	Ñandú 日本語 Ελληνικά" "$cli" strings "$dll"
expect_output "one block as text" "Segundo bloque" "$cli" strings "$dll" 2 --txt
"$cli" strings "$dll" 9 >/dev/null 2>"$work/err"
[ $? -eq 1 ] && grep -q "no resource RT_STRING/#9" "$work/err" || fail "missing block"
"$cli" strings "$dll" --rc -o "$work/Strings.rc" || fail "strings -o"
head -c 26 "$work/Strings.rc" | grep -q "^#pragma code_page(65001)" || fail "Strings.rc pragma"
grep -q $'\r$' "$work/Strings.rc" || fail "Strings.rc line ends"
"$cli" strings "$dll" -o "$work/x" >/dev/null 2>"$work/err"
[ $? -eq 2 ] && grep -q -- "-o needs a form" "$work/err" || fail "-o without a form is a usage error that says so"
for unknown in "resources -json $dll" "strings $dll -rc" "stats $dll -x" "hex $dll 10 200 -r"; do
  "$cli" $unknown >/dev/null 2>"$work/err"
  [ $? -eq 2 ] && grep -q "unknown option" "$work/err" || fail "unknown option: $unknown"
done

expect_output "menu tree" "$dll
Ver
  Lista
  Iconos
  <separador>
  Gris
  Derecha
  Más
    Señal \"€\"
Fin" "$cli" menu "$dll" 101
"$cli" menu "$dll" menu_named -o "$work/Menu.rc" || fail "menu -o"
grep -q 'MENUITEM "Solo",	3000, MFT_STRING, MFS_ENABLED' "$work/Menu.rc" || fail "Menu.rc content"
echo old >"$work/keep.rc"
"$cli" menu "$dll" 999 -o "$work/keep.rc" 2>/dev/null
[ $? -eq 1 ] && [ "$(cat "$work/keep.rc")" == old ] || fail "a missing menu must not touch the file"
"$cli" menu "$dll" 2>/dev/null
[ $? -eq 2 ] || fail "menu without a name is a usage error"

[ $failures -eq 0 ]
