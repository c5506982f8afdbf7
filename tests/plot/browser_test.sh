#!/usr/bin/env bash
# The sample page of plots in headless Chromium: every plot and every marker
# is in the rendered DOM, and printing makes an A4 PDF of two pages (the page
# breaks after its first two plots) whose text holds the plots' titles, axis
# titles and the thinning note. Skipped (77) without Chromium.
# Usage: browser_test.sh SAMPLE_PAGE_PROGRAM
set -euo pipefail
chromium=/usr/bin/chromium
[ -x "$chromium" ] || { echo "no $chromium: skipped"; exit 77; }
for tool in pdfinfo pdftotext; do
  command -v $tool >/dev/null || { echo "$tool is missing: scripts/install-deps installs poppler-utils"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1" "$work/plots.html"

# A fresh profile and home for every run, nothing from the network, and no
# reliance on a large /dev/shm, as in a container.
browse() {
  local name=$1; shift
  if ! HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
       timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
       --disable-background-networking --disable-component-update --disable-sync --disable-dev-shm-usage \
       --user-data-dir="$work/profile-$name" "$@" "file://$work/plots.html" 2>"$work/$name.log"; then
    echo "chromium failed ($name):"; tail -20 "$work/$name.log"; exit 1
  fi
}

failed=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then echo "FAIL: $1: expected $2, got $3"; failed=1; else echo "ok: $1: $3"; fi
}

browse dom --dump-dom >"$work/dom.html"
count() { grep -o "<$1[ >]" "$2" | wc -l; }
check "plots in the DOM" 4 "$(count svg "$work/dom.html")"
check "markers in the DOM" "$(count circle "$work/plots.html")" "$(count circle "$work/dom.html")"
check "hover texts in the DOM" "$(count title "$work/plots.html")" "$(count title "$work/dom.html")"

browse pdf --no-pdf-header-footer --print-to-pdf="$work/plots.pdf"
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
