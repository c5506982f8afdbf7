# The checks of an HTML test report in headless Chromium, sourced after
# tests/support/chromium.sh:
#   check_html_report REPORT PROBES FIGURES MARKERS PAGES
# It loads without a console message, every plot and every marker is in the
# rendered DOM, and it prints to an A4 PDF of exactly PAGES pages with every
# section's heading. Sets `failed` as `check` does.
check_html_report() {
  local report=$1 probes=$2 figures=$3 markers=$4 pages=$5
  browse dom "$report" --enable-logging=stderr --v=0 --dump-dom >"$work/dom.html"
  check "console messages" "" "$(console_errors "$work/dom.log")"
  check "plots in the DOM" "$figures" "$(count svg "$work/dom.html")"
  check "markers with their hover text in the DOM" "$markers" "$(grep -o '<circle[^>]*><title>' "$work/dom.html" | wc -l)"
  check "verdicts in the DOM" "$(grep -o 'class="verdict verdict-' "$report" | wc -l)" \
        "$(grep -o 'class="verdict verdict-' "$work/dom.html" | wc -l)"

  browse pdf "$report" --no-pdf-header-footer --print-to-pdf="$work/report.pdf"
  [ -s "$work/report.pdf" ] || { echo "no PDF made"; tail -20 "$work/pdf.log"; exit 1; }
  local info text
  info=$(pdfinfo "$work/report.pdf")
  check "pages: 2 front pages, 1 per probe, 1 closing" "$pages" "$(sed -n 's/^Pages: *//p' <<<"$info")"
  check "paper" "(A4)" "$(grep -o '(A4)' <<<"$info" || true)"
  text=$(pdftotext "$work/report.pdf" -)
  local headings=("Test conditions" "Results" "Between the probes" "Validity checklist" "Truncation sensitivity"
                  "Basis and assumptions")
  for p in $(seq 1 "$probes"); do headings+=("Probe $p: DO against time" "Probe $p: residuals"); done
  for expected in "${headings[@]}"; do
    if grep -qF "$expected" <<<"$text"; then echo "ok: printed \"$expected\""; else echo "FAIL: not printed: \"$expected\""; failed=1; fi
  done
}
