#!/usr/bin/env bash
# cmake --install puts both programs, the desktop entry, the icon and the
# AppStream metadata in place, and the installed entry and metadata validate.
# With MODULE (the LibreOffice engine's module, relative to the prefix), the
# installed batch tool finds it there, and names it when it is missing.
# Usage: install_test.sh BUILD_DIR [MODULE]
set -euo pipefail
build=$1
module=${2:-}
id=org.velmkalix.VelmKalix
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
for file in bin/velm-kalix bin/velm-kalix-batch \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg; do
  if [ ! -e "$prefix/$file" ]; then echo "not installed: $file"; failed=1; fi
done
[ $failed -eq 0 ] || exit 1

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
# The entry starts the installed wizard and names the installed icon.
entry="$prefix/share/applications/$id.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$prefix/bin/${exec_line%% *}" ] || { echo "Exec=$exec_line is not an installed program"; exit 1; }
grep -qx "Icon=$id" "$entry" || { echo "the entry does not name the icon $id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  { echo "the metadata does not launch $id.desktop"; exit 1; }
echo "installed: both programs, $id.desktop, its icon and metadata"

[ -n "$module" ] || exit 0
[ -f "$prefix/$module" ] || { echo "not installed: $module"; exit 1; }
# A workbook that does not exist: the engine is loaded before it is looked for.
set +e
found=$("$prefix/bin/velm-kalix-batch" --engine libreoffice "$prefix/missing.xlsx" 2>&1)
rm "$prefix/$module"
missing=$("$prefix/bin/velm-kalix-batch" --engine libreoffice "$prefix/missing.xlsx" 2>&1)
set -e
case $found in *"does not exist"*) ;; *) echo "the installed module was not used: $found"; exit 1 ;; esac
case $missing in *"${module##*/} is not installed"*) ;; *) echo "a missing module is not named: $missing"; exit 1 ;; esac
echo "installed: the LibreOffice engine's module, found by the installed batch tool"
