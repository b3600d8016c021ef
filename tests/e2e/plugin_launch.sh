#!/usr/bin/env bash
# End to end: the layout program loads the plug-in, which starts the indexer from its menu and
# shows exported pages in a running browser. Fake programs on PATH record how they were started;
# a process named "chromium" (a renamed sleep) stands for the running browser.
set -euo pipefail

layouthost="${MARLIX_BINARY_DIR:?}/layouthost/layouthost"
work="$(mktemp -d)"
browser_pid=""
cleanup() {
  [ -n "$browser_pid" ] && kill "$browser_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config"
export LC_ALL=C

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for FILE: a file written by a detached program, or failure after ten seconds.
wait_for() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  fail "$1 was never written"
}

mkdir -p "$work/bin" "$work/procs" "$XDG_CONFIG_HOME/Tarnby"
cat >"$work/bin/indexer" <<EOF
#!/bin/sh
echo "indexer \$#" >> "$work/indexer.log"
EOF
cat >"$work/bin/chromium" <<EOF
#!/bin/sh
echo "\$@" >> "$work/browser.log"
EOF
chmod +x "$work/bin/indexer" "$work/bin/chromium"
export PATH="$work/bin:$PATH"

cat >"$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI" <<EOF
[Settings]
DestFolder=$work/Archive
OpenBrowser=1
Explorer=1
Browser=false
EOF

cat >"$work/doc.json" <<'EOF'
{
  "layout_document": 1,
  "name": "Launch",
  "fonts": [{"id": 1, "name": "Times New Roman"}],
  "colors": [{"index": 1, "name": "Black", "rgb": [0, 0, 0]}],
  "stories": [{"id": 1, "runs": [{"text": "Harbour news\r", "font": 1, "size": 11}]}],
  "pages": [{"boxes": [{"id": 1, "kind": "text", "bounds": [36, 36, 136, 306], "story": 1}]}],
  "current": 1
}
EOF

# The indexer from the menu, found on PATH, started with no arguments.
"$layouthost" "$work/doc.json" --menu "Launch Marlix Index" 2>"$work/err" ||
  fail "layouthost failed: $(cat "$work/err")"
wait_for "$work/indexer.log"
[ "$(cat "$work/indexer.log")" = "indexer 0" ] || fail "indexer log: $(cat "$work/indexer.log")"

# An indexer that cannot be started is reported, and the run fails.
sed -i 's/^Explorer=1$/Explorer=1\nIndexer=no-such-indexer-program/' \
  "$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI"
if "$layouthost" "$work/doc.json" --menu "Launch Marlix Index" 2>"$work/err"; then
  fail "a failed indexer start exited 0"
fi
grep -qx "Could not start Indexer" "$work/err" || fail "no message: $(cat "$work/err")"

# With a Chromium-family browser running, a batch export still leaves it alone unless asked;
# with --open-browser the exported page goes to the browser's program.
ln -s "$(command -v sleep)" "$work/procs/chromium"
"$work/procs/chromium" 60 &
browser_pid=$!
page="$work/Archive/1998/01/Culture/Intro/Intro.htm"
job=(--item 1 --path "[1998]" --issue 01 --category Culture --file-name Intro --headline Harbour)
"$layouthost" "$work/doc.json" "${job[@]}" --export >"$work/out" 2>"$work/err" ||
  fail "export failed: $(cat "$work/err")"
[ -f "$page" ] || fail "no page $page"
[ "$(cat "$work/out")" = "$page" ] || fail "the page's path was not printed: $(cat "$work/out")"
sleep 1
[ ! -e "$work/browser.log" ] || fail "a batch export started the browser"
"$layouthost" "$work/doc.json" --yes "${job[@]}" --open-browser --export >/dev/null 2>"$work/err" ||
  fail "export failed: $(cat "$work/err")"
sed -i '/-> Yes$/d' "$work/err"
wait_for "$work/browser.log"
[ "$(head -n 1 "$work/browser.log")" = "file://$page" ] ||
  fail "browser got: $(cat "$work/browser.log")"
[ ! -s "$work/err" ] || fail "unexpected messages: $(cat "$work/err")"
grep -q "^Browser=false$" "$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI" ||
  fail "the Browser setting changed: $(cat "$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI")"

echo "plugin launch: ok"
