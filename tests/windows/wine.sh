#!/usr/bin/env bash
# tr4tool.exe under wine held to the Linux tr4tool on the shared levels: info, objects --json,
# animations --json, triggers --json and sounds --json byte for byte; an exported level the same
# model as Linux's and valid glTF, the pages and the decoded samples the same bytes; Windows paths
# (drive letter, backslashes, spaces) for the level and the output; a damaged or foreign file refused with the same reason
# and exit status; render and sheet refused there.
#   tests/windows/wine.sh TR4TOOL.exe TR4TOOL LEVELS_FOLDER
set -uo pipefail
exe="$1" linux="$2" niveles="$3"
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
export WINEDEBUG=-all
export WINEPREFIX="${TMPDIR:-/tmp}/tr4visor-wine-$(id -u)"
command -v wine >/dev/null || { echo "wine: not installed (scripts/setup installs it)" >&2; exit 1; }
[ -f "$exe" ] || { echo "wine: $exe is missing (scripts/windows builds it)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallos=0
falla() { echo "FAIL: $*" >&2; fallos=$((fallos + 1)); }
win() { timeout 300 wine "$exe" "$@"; }
ruta() { winepath -w "$1" 2>/dev/null; }
# A file's text with a path taken out.
sin() { local t; t=$(cat "$1"); printf '%s' "${t//"$2"/NIVEL}"; }

niv=()
for f in "$niveles"/*.tr4 "$niveles"/classic/*; do [ -f "$f" ] && niv+=("$f"); done
[ ${#niv[@]} -gt 0 ] || { echo "wine: no levels in $niveles, nothing checked"; exit 0; }

# A folder with a space in its name, reached through Z: and backslashes.
carpeta="$tmp/con espacios"
mkdir -p "$carpeta/w" "$carpeta/l"
for f in "${niv[@]}"; do
  nombre=$(basename "$f")
  ln -s "$f" "$carpeta/$nombre"
  for orden in info "objects --json" "animations --json" "triggers --json" "sounds --json"; do
    # shellcheck disable=SC2086
    win $orden "$(ruta "$carpeta/$nombre")" >"$tmp/w" 2>"$tmp/we"; rw=$?
    # shellcheck disable=SC2086
    "$linux" $orden "$carpeta/$nombre" >"$tmp/l" 2>"$tmp/le"; rl=$?
    [ $rw -eq $rl ] || falla "$orden $nombre: exit $rw on Windows, $rl on Linux"
    cmp -s "$tmp/w" "$tmp/l" || falla "$orden $nombre: the output differs"
    # A refusal names the file as the user wrote it, and says the same of it.
    [ "$(sin "$tmp/we" "$(ruta "$carpeta/$nombre")")" = "$(sin "$tmp/le" "$carpeta/$nombre")" ] ||
      falla "$orden $nombre: the reason differs"
  done
done

# The whole level exported, and its pages, into the folder with spaces.
nivel="${niv[0]}" nombre=$(basename "${niv[0]}")
win export "$(ruta "$carpeta/$nombre")" --level --out "$(ruta "$carpeta/w/nivel.glb")" >/dev/null ||
  falla "export --level failed on Windows"
"$linux" export "$nivel" --level --out "$carpeta/l/nivel.glb" >/dev/null
node "$raiz/tests/windows/EstructuraGLB.mjs" "$carpeta/w/nivel.glb" "$carpeta/l/nivel.glb" ||
  falla "export: the .glb is not the model Linux's is"
if [ -d "$raiz/tools/validador/node_modules/gltf-validator" ]; then
  informe=$(node "$raiz/tools/validador/validar.mjs" "$carpeta/w/nivel.glb")
  echo "$informe" | grep -q '"numErrors": 0' || falla "export: the validator finds errors"
else
  falla "the glTF validator is missing (scripts/setup installs it)"
fi
mkdir -p "$carpeta/w/paginas" "$carpeta/l/paginas"
win pages "$(ruta "$carpeta/$nombre")" --out "$(ruta "$carpeta/w/paginas")" >/dev/null || falla "pages failed"
"$linux" pages "$nivel" --out "$carpeta/l/paginas" >/dev/null
diff -r "$carpeta/w/paginas" "$carpeta/l/paginas" >/dev/null || falla "pages: the PNGs differ"

# Every sample decoded to PCM WAVE, from the level of each kind that stores them (PCM in ours,
# MS-ADPCM in the fifth game's).
for f in "${niv[@]}"; do
  n=$(basename "$f")
  mkdir -p "$carpeta/w/son-$n" "$carpeta/l/son-$n"
  win sounds "$(ruta "$carpeta/$n")" --out "$(ruta "$carpeta/w/son-$n")" >/dev/null 2>&1; rw=$?
  "$linux" sounds "$f" --out "$carpeta/l/son-$n" >/dev/null 2>&1; rl=$?
  [ $rw -eq $rl ] || falla "sounds --out $n: exit $rw on Windows, $rl on Linux"
  diff -r "$carpeta/w/son-$n" "$carpeta/l/son-$n" >/dev/null || falla "sounds --out $n: the WAVE files differ"
done

# Damaged: empty, cut short, and a file that is not there.
: >"$carpeta/vacio.tr4"
head -c 5000 "$nivel" >"$carpeta/corto.tr4"
for f in vacio.tr4 corto.tr4 falta.tr4; do
  win info "$(ruta "$carpeta/$f")" >/dev/null 2>"$tmp/we"; rw=$?
  "$linux" info "$carpeta/$f" >/dev/null 2>"$tmp/le"; rl=$?
  [ $rw -eq $rl ] && [ $rw -ne 0 ] || falla "info $f: exit $rw on Windows, $rl on Linux"
  [ "$(sin "$tmp/we" "$(ruta "$carpeta/$f")")" = "$(sin "$tmp/le" "$carpeta/$f")" ] ||
    falla "info $f: the reason differs: $(cat "$tmp/we") / $(cat "$tmp/le")"
done

# What needs OpenGL says so, and --help tells it first.
win render "$(ruta "$carpeta/$nombre")" --mesh 0 --out x.png >/dev/null 2>"$tmp/we"; rw=$?
[ $rw -eq 1 ] && grep -q "OpenGL" "$tmp/we" || falla "render on Windows: exit $rw, $(cat "$tmp/we")"
win --help | grep -q "render" || falla "--help does not name what Windows lacks"

[ $fallos -eq 0 ] && echo "wine: tr4tool.exe matches tr4tool on ${#niv[@]} levels" || exit 1
