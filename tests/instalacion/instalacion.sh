#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the files and how a desktop reads them, then
# builds the Debian package and checks its control fields and contents.
# Usage: instalacion.sh BUILD_DIR REAL_LEVELS_DIR
set -euo pipefail
build=$1
niveles=$2

for herramienta in desktop-file-validate update-mime-database xdg-mime mimetype dpkg-deb \
                   dpkg-shlibdeps cpack man; do
  command -v "$herramienta" >/dev/null || { echo "SKIP: $herramienta is missing"; exit 77; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallos=0
fallar() { echo "FAIL: $*"; fallos=$((fallos + 1)); }

# --- the installed tree ---
prefijo=$tmp/prefijo
cmake --install "$build" --prefix "$prefijo" >/dev/null
esperados=(
  bin/tr4visor
  bin/tr4tool
  share/applications/tr4visor.desktop
  share/mime/packages/tr4visor.xml
  share/icons/hicolor/scalable/apps/tr4visor.svg
  share/icons/hicolor/scalable/mimetypes/application-x-tr4-level.svg
  share/man/man1/tr4tool.1.gz
  share/man/en/man1/tr4tool.1.gz
  share/doc/tr4visor/copyright
)
for f in "${esperados[@]}"; do
  [ -f "$prefijo/$f" ] || fallar "not installed: $f"
done
for f in bin/tr4visor bin/tr4tool; do
  [ -x "$prefijo/$f" ] || fallar "not executable: $f"
done
# Nothing but what is listed: no test programs, libraries or headers slip in.
sobran=$(cd "$prefijo" && find . -type f | sed 's|^\./||' | sort |
         comm -23 - <(printf '%s\n' "${esperados[@]}" | sort))
[ -z "$sobran" ] || fallar "installed but not expected: $sobran"

"$prefijo/bin/tr4tool" --help >/dev/null || fallar "the installed tr4tool does not run"
[ "$(file --brief --mime-type "$prefijo/share/icons/hicolor/scalable/apps/tr4visor.svg")" = \
  image/svg+xml ] || fallar "the icon is not an SVG"
grep -q '^Copyright (c) 2026 the tr4visor developers$' "$prefijo/share/doc/tr4visor/copyright" ||
  fallar "copyright without its holder"
for pagina in man1 en/man1; do
  avisos=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$prefijo/share/man/$pagina/tr4tool.1.gz" 2>&1 >/dev/null)
  [ -z "$avisos" ] || fallar "man page $pagina: $avisos"
  for orden in info objects triggers render pages sheet export sounds; do
    zgrep -q "^\.B tr4tool $orden" "$prefijo/share/man/$pagina/tr4tool.1.gz" ||
      fallar "man page $pagina does not show $orden"
  done
done

entrada=$prefijo/share/applications/tr4visor.desktop
salida=$(desktop-file-validate "$entrada" 2>&1) || fallar "desktop-file-validate: $salida"
[ -z "$salida" ] || fallar "desktop-file-validate warns: $salida"
grep -qx 'Exec=tr4visor %f' "$entrada" || fallar "the entry does not open one file with %f"
grep -qx 'MimeType=application/x-tr4-level;' "$entrada" || fallar "the entry does not name the level type"

# --- the level type, as a desktop without its own file-type service sees it ---
datos=$tmp/datos
mkdir -p "$datos/mime/packages"
cp "$prefijo/share/mime/packages/tr4visor.xml" "$datos/mime/packages/"
XDG_DATA_HOME="$datos" update-mime-database "$datos/mime"
tipo() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
      XDG_DATA_HOME="$datos" xdg-mime query filetype "$1"
}
muestras=$tmp/muestras
mkdir -p "$muestras"
printf 'TR4\0' > "$muestras/solo-magia"                      # named nothing, found by its bytes
head -c 64 /dev/zero > "$muestras/NIVEL.TR4"                 # found by its name alone
printf 'TR5\0' > "$muestras/otra-version"                    # neither
declare -A esperado=(
  ["$muestras/solo-magia"]=application/x-tr4-level
  ["$muestras/NIVEL.TR4"]=application/x-tr4-level
)
if [ -f "$niveles/title-a.tr4" ]; then
  esperado["$niveles/title-a.tr4"]=application/x-tr4-level
else
  echo "note: no real level at $niveles, checked on the made-up files only"
fi
for archivo in "${!esperado[@]}"; do
  visto=$(tipo "$archivo")
  [ "$visto" = "${esperado[$archivo]}" ] || fallar "xdg-mime says $visto for $archivo"
done
visto=$(tipo "$muestras/otra-version")
[ "$visto" != application/x-tr4-level ] || fallar "a TR5 version word is taken for a TR4 level"

# --- the Debian package ---
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/paquete" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fallar "cpack failed"; }
deb=$(find "$tmp/paquete" -maxdepth 1 -name 'tr4visor_*.deb' | head -n 1)
if [ -z "$deb" ]; then
  fallar "no .deb was built"
else
  campo() { dpkg-deb --field "$deb" "$1"; }
  [ "$(campo Package)" = tr4visor ] || fallar "Package: $(campo Package)"
  [ "$(campo Section)" = graphics ] || fallar "Section: $(campo Section)"
  [ -n "$(campo Maintainer)" ] || fallar "no Maintainer"
  [ -n "$(campo Description)" ] || fallar "no Description"
  # dpkg-shlibdeps found these from the programs themselves.
  depende=$(campo Depends)
  for paquete in libc6 libstdc++6 zlib1g libqt6widgets6 libqt6gui6 libqt6core6 libopengl0 libegl1 libtinygltf2d libsndfile1 libqt6multimedia6; do
    [[ ",$depende," == *[\ ,]$paquete[\ ,\(]* ]] || fallar "Depends lacks $paquete: $depende"
  done
  contenido=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./||')
  for f in "${esperados[@]}"; do
    grep -qx "usr/$f" <<<"$contenido" || fallar "the package lacks /usr/$f"
  done
fi

[ "$fallos" -eq 0 ] || { echo "$fallos check(s) failed"; exit 1; }
echo "install, desktop entry, level type and package: all checks passed"
