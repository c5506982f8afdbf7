#!/usr/bin/env bash
# The sample page of plots in headless Chromium: every plot and every marker
# is in the rendered DOM, and printing makes an A4 PDF of two pages (the page
# breaks after its first two plots) whose text holds the plots' titles, axis
# titles and the thinning note.
# Usage: browser_test.sh SAMPLE_PAGE_PROGRAM
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/chromium.sh"
"$1" "$work/plots.html"

browse dom "$work/plots.html" --dump-dom >"$work/dom.html"
check "plots in the DOM" 4 "$(count svg "$work/dom.html")"
check "markers in the DOM" "$(count circle "$work/plots.html")" "$(count circle "$work/dom.html")"
check "hover texts in the DOM" "$(count title "$work/plots.html")" "$(count title "$work/dom.html")"

browse pdf "$work/plots.html" --no-pdf-header-footer --print-to-pdf="$work/plots.pdf"
[ -s "$work/plots.pdf" ] || { echo "no PDF made"; tail -20 "$work/pdf.log"; exit 1; }
info=$(pdfinfo "$work/plots.pdf")
check "pages" 2 "$(sed -n 's/^Pages: *//p' <<<"$info")"
check "paper" "(A4)" "$(grep -o '(A4)' <<<"$info" || true)"
text=$(pdftotext "$work/plots.pdf" -)
for expected in "Probe 1 <DO1 & DO2>: DO against time" "Probe 1: residuals" "SOTE against air flow" \
                "KLa20 against the start threshold" "Time (min)" "Air flow (scfm)" \
                "Showing 2,000 of 5,000 readings, thinned evenly"; do
  if grep -qF "$expected" <<<"$text"; then echo "ok: printed \"$expected\""; else echo "FAIL: not printed: \"$expected\""; failed=1; fi
done
exit $failed
