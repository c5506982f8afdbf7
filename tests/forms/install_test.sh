#!/usr/bin/env bash
# cmake --install puts both programs, the desktop entry, the icon and the
# AppStream metadata in place, and the installed entry and metadata validate.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
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
