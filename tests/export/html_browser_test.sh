#!/usr/bin/env bash
# The HTML report of one test in headless Chromium: it loads without a
# console message, every plot and every marker is in the rendered DOM, and
# it prints to an A4 PDF of exactly the pages its layout gives (two front
# pages, one per probe, one for the truncation sensitivity and the basis)
# with every section's heading.
# Usage: html_browser_test.sh WRITE_HTML_REPORT SCENARIO
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/chromium.sh"

# "probes=6 figures=14 markers=412", counted from the record.
expected=$("$1" "$2" "$work/report.html" 2024-05-01T10:00:00Z)
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$expected"; }
probes=$(field probes)

browse dom "$work/report.html" --enable-logging=stderr --v=0 --dump-dom >"$work/dom.html"
check "console messages" "" "$(console_errors "$work/dom.log")"
check "plots in the DOM" "$(field figures)" "$(count svg "$work/dom.html")"
check "markers with their hover text in the DOM" "$(field markers)" "$(grep -o '<circle[^>]*><title>' "$work/dom.html" | wc -l)"
check "verdicts in the DOM" "$(grep -o 'class="verdict verdict-' "$work/report.html" | wc -l)" \
      "$(grep -o 'class="verdict verdict-' "$work/dom.html" | wc -l)"

browse pdf "$work/report.html" --no-pdf-header-footer --print-to-pdf="$work/report.pdf"
[ -s "$work/report.pdf" ] || { echo "no PDF made"; tail -20 "$work/pdf.log"; exit 1; }
info=$(pdfinfo "$work/report.pdf")
check "pages: 2 front pages, 1 per probe, 1 closing" "$((2 + probes + 1))" "$(sed -n 's/^Pages: *//p' <<<"$info")"
check "paper" "(A4)" "$(grep -o '(A4)' <<<"$info" || true)"
text=$(pdftotext "$work/report.pdf" -)
headings=("Test conditions" "Results" "Between the probes" "Validity checklist" "Truncation sensitivity"
          "Basis and assumptions")
for p in $(seq 1 "$probes"); do headings+=("Probe $p: DO against time" "Probe $p: residuals"); done
for expected in "${headings[@]}"; do
  if grep -qF "$expected" <<<"$text"; then echo "ok: printed \"$expected\""; else echo "FAIL: not printed: \"$expected\""; failed=1; fi
done
exit $failed
