# Headless Chromium for the tests of the HTML reports, sourced by their
# scripts after `work` names a fresh temporary folder:
#   browse NAME FILE [OPTION...]   Chromium on file://FILE, its log in $work/NAME.log
#   console_errors LOG             the page's console messages and failed loads
#   check DESCRIPTION EXPECTED ACTUAL
#   count TAG FILE                 elements <TAG ...> in FILE
# Chromium, pdfinfo and pdftotext (poppler-utils) must be there, as
# scripts/install-deps installs them: a missing one fails the test.
chromium=/usr/bin/chromium
[ -x "$chromium" ] || { echo "no $chromium: scripts/install-deps installs chromium"; exit 1; }
for tool in pdfinfo pdftotext; do
  command -v $tool >/dev/null || { echo "$tool is missing: scripts/install-deps installs poppler-utils"; exit 1; }
done

# A fresh profile and home for every run, nothing from the network, and no
# reliance on a large /dev/shm, as in a container.
browse() {
  local name=$1 file=$2; shift 2
  if ! HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
       timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
       --disable-background-networking --disable-component-update --disable-sync --disable-dev-shm-usage \
       --user-data-dir="$work/profile-$name" "$@" "file://$file" 2>"$work/$name.log"; then
    echo "chromium failed ($name):"; tail -20 "$work/$name.log"; exit 1
  fi
}

# Console messages (script errors among them) and resources that failed to
# load, from a run with --enable-logging=stderr --v=0.
console_errors() {
  grep -E 'CONSOLE|Uncaught|Failed to load resource|net::ERR_' "$1" || true
}

failed=0
check() {
  if [ "$2" != "$3" ]; then echo "FAIL: $1: expected $2, got $3"; failed=1; else echo "ok: $1: $3"; fi
}

count() { grep -o "<$1[ >]" "$2" | wc -l; }
