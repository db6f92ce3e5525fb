#!/usr/bin/env bash
# tr4tool as a shell runs it, once under an English locale and once under C: the language comes
# from the environment alone, whether or not the locale is generated on the machine.
# Usage: idioma.sh TR4TOOL REAL_LEVELS_DIR
set -uo pipefail
tr4tool=$1
niveles=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallos=0
printf 'TR4\0' > "$tmp/corto.tr4"

comprobar() { # LOCALE EXPECTED_STDERR
  local errores estado
  errores=$(env -u LC_ALL -u LC_MESSAGES LANG="$1" "$tr4tool" info "$tmp/corto.tr4" 2>&1 >/dev/null)
  estado=$?
  if [ "$estado" -ne 1 ] || [ "$errores" != "tr4tool: $tmp/corto.tr4: $2" ]; then
    echo "FAIL under LANG=$1 (exit $estado): $errores"
    fallos=$((fallos + 1))
  fi
}
comprobar en_US.UTF-8 "the file is too short to be a level (4 bytes)"
comprobar C "el archivo es demasiado corto para ser un nivel (4 bytes)"

if [ -f "$niveles/title-a.tr4" ]; then
  for caso in "en_US.UTF-8|Texture pages:        15" "C|Páginas de textura:   15"; do
    salida=$(env -u LC_ALL -u LC_MESSAGES LANG="${caso%%|*}" "$tr4tool" info "$niveles/title-a.tr4")
    grep -qxF "${caso#*|}" <<<"$salida" || { echo "FAIL: no line '${caso#*|}' in: $salida"; fallos=$((fallos + 1)); }
  done
fi
# Each subcommand's help under C: its options under the Spanish heading alone.
for orden in info objects triggers render export pages sheet; do
  ayuda=$(env -u LC_ALL -u LC_MESSAGES LANG=C "$tr4tool" "$orden" --help)
  if grep -q '^Options' <<<"$ayuda" || ! grep -q '^Opciones' <<<"$ayuda"; then
    echo "FAIL: tr4tool $orden --help under C: $ayuda"
    fallos=$((fallos + 1))
  fi
done

[ "$fallos" -eq 0 ] && echo "tr4tool speaks English under en_US and Spanish under C"
exit $((fallos > 0))
