#!/usr/bin/env bash
# quillmar-cli version: exact lines on the version fixtures, the separation
# of several files, and the exit codes 0, 1 and 2.
set -u
cli=$1 fixtures=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The file date is shown in local time, as the C library's locale of the
# user writes a date and a time; date(1) is the reference.
export TZ=UTC
font_date=$(date -d '2009-07-14 12:34:56 UTC' '+%x %X')

expect_output() {  # name, expected text, actual text
  if [[ "$2" != "$3" ]]; then
    fail "$1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") >&2
  fi
}

for arch in x86_64 i686; do
  two=$fixtures/$arch/version_two.exe
  font=$fixtures/$arch/version_font.dll
  out=$("$cli" version "$two") rc=$?
  [[ $rc == 0 ]] || fail "$arch: version_two exit code $rc"
  expected="$two
Estadísticas del módulo: $two
Tipo de recurso: RT_VERSION
Tamaño en disco: 1.308 bytes (~2 Kb)
Versión del archivo (cabecera): v5.1.2600.0
Versión del producto (cabecera): v1.2.3.4
Máscara de los flags del archivo: 0x3f
Flags del archivo: 0xa
Sistema operativo del archivo: VOS_NT_WINDOWS32
Tipo de archivo: VFT_APP
Subtipo de archivo: VFT2_UNKNOWN [0x00000000]
Fecha de creación del archivo: null
Lenguaje del bloque: English (United States) [0x040904b0]
Nombre del producto: Version Fixture
Versión del producto: 1.2.3.4
Nombre interno: version_two
Nombre original del archivo: version_two.exe
Descripción del archivo: Two translations
Versión del archivo: 5.1.2600.0
Comentarios: http://quillmar.karvonel.example/fixtures
Nombre de la compañía: Karvonel
Copyright: Copyright (C) 2026 Karvonel
Marcas registradas: 
Información privada: 
Información especial: special
Lenguaje del bloque: Spanish (Spain, International Sort) [0x0c0a04e4]
Nombre del producto: Programa de versión
Versión del producto: 
Nombre interno: 
Nombre original del archivo: 
Descripción del archivo: Dos traducciones, año 2026
Versión del archivo: 5.1.2600.0
Comentarios: 
Nombre de la compañía: Karvonel España
Copyright: 
Marcas registradas: Quillmar™
Información privada: 
Información especial: "
  expect_output "$arch: version_two output" "$expected" "$out"

  # Two files: one empty line between the blocks, each headed by its path;
  # a file that cannot be read or has no version data is named on stderr
  # and the others are still shown.
  out=$("$cli" version "$font" "$fixtures/$arch/empty.dll" "$fixtures/$arch/no-such.dll" "$two" 2>/tmp/qm-version-err.$$)
  rc=$?
  err=$(cat /tmp/qm-version-err.$$)
  rm -f /tmp/qm-version-err.$$
  [[ $rc == 1 ]] || fail "$arch: exit code $rc with unreadable files, expected 1"
  [[ $(grep -c . <<<"$err") == 2 ]] || fail "$arch: expected two error lines, got: $err"
  grep -q "empty.dll: no version information" <<<"$err" || fail "$arch: empty.dll not reported: $err"
  grep -q "no-such.dll: cannot be read: no such file" <<<"$err" || fail "$arch: missing file not reported: $err"
  [[ $(head -1 <<<"$out") == "$font" ]] || fail "$arch: first block not headed by its path"
  grep -qxF "Fecha de creación del archivo: $font_date" <<<"$out" || fail "$arch: font date"
  grep -qxF "Subtipo de archivo: VFT2_FONT_TRUETYPE" <<<"$out" || fail "$arch: font subtype"
  [[ $(grep -c '^$' <<<"$out") == 1 ]] || fail "$arch: expected exactly one empty line between two blocks"
  grep -A1 '^$' <<<"$out" | tail -1 | grep -qxF "$two" || fail "$arch: second block not headed by its path"

  # A block without translations shows its fixed rows as the reader gives them.
  out=$("$cli" version "$fixtures/$arch/version_notrans.dll") rc=$?
  [[ $rc == 0 ]] || fail "$arch: version_notrans exit code $rc"
  [[ $(wc -l <<<"$out") == 12 ]] || fail "$arch: version_notrans should print its path and 3 + 8 rows"
  grep -q "Lenguaje del bloque" <<<"$out" && fail "$arch: version_notrans has no language block"
done

# Usage errors.
"$cli" version >/dev/null 2>&1
[[ $? == 2 ]] || fail "no file: expected exit code 2"
"$cli" version -complete "$fixtures/x86_64/version_two.exe" >/dev/null 2>&1
[[ $? == 2 ]] || fail "an unknown one-dash option is a usage error"

# A folder reads the same for version and headers.
v=$("$cli" version "$fixtures" 2>&1 >/dev/null)
h=$("$cli" headers "$fixtures" 2>&1 >/dev/null)
[[ "$v" == "quillmar-cli: $fixtures: cannot be read: a folder, not a file" && "$v" == "$h" ]] ||
  fail "a folder: version says '$v', headers says '$h'"

((failures == 0)) && echo "version.sh: all checks passed"
exit $((failures > 0))
