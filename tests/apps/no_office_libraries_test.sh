#!/usr/bin/env bash
# The programs map none of LibreOffice's libraries unless its engine is
# used: the batch tool through a whole analysis on the embedded engine, and
# the wizard through its start (its LibreOffice engine loads at the first
# Open). The dynamic loader reports every library it maps (LD_DEBUG=files).
# Usage: no_office_libraries_test.sh BATCH_TOOL WIZARD WORKBOOK
set -euo pipefail
batch=$1
wizard=$2
workbook=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

LD_DEBUG=files LD_DEBUG_OUTPUT="$work/batch" "$batch" --output "$work/out.xlsx" "$workbook" >/dev/null 2>&1
[ -s "$work/out.xlsx" ] || { echo "the batch tool wrote nothing"; exit 1; }
set +e
LD_DEBUG=files LD_DEBUG_OUTPUT="$work/wizard" QT_QPA_PLATFORM=offscreen timeout 3 "$wizard" >/dev/null 2>&1
set -e
failed=0
for log in batch wizard; do
  ls "$work/$log".* >/dev/null 2>&1 || { echo "no loader report of the $log"; failed=1; continue; }
  if grep -h "file=" "$work/$log".* | grep -E "libuno_|velm-kalix-libreoffice"; then
    echo "the $log mapped LibreOffice's libraries"
    failed=1
  fi
done
exit $failed
