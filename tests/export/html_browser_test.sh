#!/usr/bin/env bash
# The HTML report of one test in headless Chromium (html_report_checks.sh):
# it loads without a console message, every plot and marker is drawn, and it
# prints to A4 on exactly htmlTestPages(probes) pages.
# Usage: html_browser_test.sh WRITE_HTML_REPORT SCENARIO
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/chromium.sh"
source "$(dirname "$0")/html_report_checks.sh"

# "probes=6 figures=14 markers=412 pages=9", counted from the record.
expected=$("$1" "$2" "$work/report.html" 2024-05-01T10:00:00Z)
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$expected"; }
check_html_report "$work/report.html" "$(field probes)" "$(field figures)" "$(field markers)" "$(field pages)"
exit $failed
