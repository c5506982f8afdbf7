#!/usr/bin/env bash
# The campaign report the batch tool writes for a folder of workbooks (the
# shipped campaign, a workbook without an air flow and one that faults), in
# headless Chromium: it loads without a console message, every plot is drawn
# with every workbook's point on the curves, and it prints to A4 on the
# campaign's pages plus every test's. Its JSON follows the schema.
# Usage: campaign_html_browser_test.sh VELM_KALIX_BATCH WRITE_HTML_REPORT SOURCE_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(dirname "$0")
source "$here/../support/chromium.sh"
batch=$1 writer=$2 source=$3

mkdir -p "$work/books" "$work/copies"
cp "$source"/templates/campaign/*.xlsx "$source/tests/data/e2e/airflow-zero.xlsx" \
   "$source/tests/data/e2e/text-condition.xlsx" "$work/books/"
set +e
"$batch" --output-dir "$work/copies" --html "$work/campaign.html" --json "$work/campaign.json" "$work/books" \
  >"$work/out.txt" 2>"$work/err.txt"
status=$?
set -e
check "exit status: one workbook faulted" 1 "$status"
python3 "$here/../export/validate_json.py" "$source/docs/assessment.schema.json" "$work/campaign.json" >/dev/null ||
  { echo "FAIL: the campaign's JSON does not follow the schema"; failed=1; }

# What the report must show, counted from the JSON of the same run: two
# campaign plots and the tests' own, the workbooks with an air flow on both
# curves, the pages of the campaign and of every test.
read -r workbooks analysed onCurve figures probesList < <(python3 - "$work/campaign.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
c = doc["campaign"]
probes = [len(t["sets"]) for t in doc["tests"]]
on = sum(1 for r in c["summary"] if r["on_curve"])
print(c["workbooks"], c["analysed"], on, 2 + sum(2 * p + 2 for p in probes), ",".join(map(str, probes)))
PY
)
pages=$("$writer" campaign-pages)
for p in ${probesList//,/ }; do pages=$((pages + $("$writer" pages "$p"))); done

report="$work/campaign.html"
browse dom "$report" --enable-logging=stderr --v=0 --dump-dom >"$work/dom.html"
check "console messages" "" "$(console_errors "$work/dom.log")"
check "plots in the DOM" "$figures" "$(count svg "$work/dom.html")"
curvePoints=$(python3 - "$work/dom.html" <<'PY'
import sys
from html.parser import HTMLParser
# The points of the error-bar series, each with its hover text (the legend
# draws a marker of its own, without one).
class Points(HTMLParser):
    def __init__(self):
        super().__init__(); self.plot = None; self.groups = []; self.points = {}
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "figure" and a.get("data-plot", "").startswith("campaign-"): self.plot = a["data-plot"]
        if tag == "g": self.groups.append("plot-bars" in (a.get("class") or "").split())
        bars = any(self.groups)
        if self.plot and bars and tag == "title": self.points[self.plot] = self.points.get(self.plot, 0) + 1
    def handle_endtag(self, tag):
        if tag == "figure": self.plot = None
        if tag == "g" and self.groups: self.groups.pop()
p = Points(); p.feed(open(sys.argv[1]).read())
print(p.points.get("campaign-sote", 0), p.points.get("campaign-sotr", 0))
PY
)
check "every workbook with an air flow on both curves" "$onCurve $onCurve" "$curvePoints"
check "verdicts in the DOM" "$(grep -o 'class="verdict verdict-' "$report" | wc -l)" \
      "$(grep -o 'class="verdict verdict-' "$work/dom.html" | wc -l)"

browse pdf "$report" --no-pdf-header-footer --print-to-pdf="$work/campaign.pdf"
[ -s "$work/campaign.pdf" ] || { echo "no PDF made"; tail -20 "$work/pdf.log"; exit 1; }
info=$(pdfinfo "$work/campaign.pdf")
check "pages: the campaign's, then every test's" "$pages" "$(sed -n 's/^Pages: *//p' <<<"$info")"
check "paper" "(A4)" "$(grep -o '(A4)' <<<"$info" || true)"
text=$(pdftotext "$work/campaign.pdf" -)
for expected in "Test campaign: $workbooks workbooks" "$analysed analysed" "Performance curve" \
                "SOTE against the air flow" "SOTR against the air flow" "diffuser-400scfm.xlsx" \
                "text-condition.xlsx" "Truncation sensitivity" "Basis and assumptions"; do
  if grep -qF "$expected" <<<"$text"; then echo "ok: printed \"$expected\""; else echo "FAIL: not printed: \"$expected\""; failed=1; fi
done
exit $failed
