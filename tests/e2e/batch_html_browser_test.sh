#!/usr/bin/env bash
# The HTML report the batch tool writes for a workbook, in headless Chromium
# (tests/export/html_report_checks.sh): what it must show is counted from
# the JSON of the same run, the page count is htmlTestPages(probes).
# Skipped (77) without Chromium.
# Usage: batch_html_browser_test.sh VELM_KALIX_BATCH WRITE_HTML_REPORT WORKBOOK
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(dirname "$0")
source "$here/../support/chromium.sh"
source "$here/../export/html_report_checks.sh"

"$1" --output "$work/analysed.xlsx" --json "$work/report.json" --html "$work/report.html" "$3" 2>/dev/null >/dev/null
# Every reading on its probe's DO plot and every kept one on its residual
# plot (at most 2,000 each), every fitted threshold on both sensitivity plots.
read -r probes markers < <(python3 - "$work/report.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
markers = 0
for s in doc["sets"]:
    markers += min(s["raw_readings"], 2000) + min(s["kept_readings"], 2000)
    markers += 2 * sum(1 for p in s["truncation"]["points"] if "fit" in p)
print(len(doc["sets"]), markers)
PY
)
pages=$("$2" pages "$probes")
check_html_report "$work/report.html" "$probes" "$((2 * probes + 2))" "$markers" "$pages"
exit $failed
