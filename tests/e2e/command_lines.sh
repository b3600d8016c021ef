#!/usr/bin/env bash
# The three command lines keep one convention: --help and --version on stdout with exit 0; a
# usage error is one line on stderr plus where help is, exit 2; a run that fails or is refused
# (a missing input file included) exits 1 with its reason on stderr and nothing on stdout.
set -uo pipefail

binary_dir="${MARLIX_BINARY_DIR:?}"
indexer="$binary_dir/indexer/indexer"
layouthost="$binary_dir/layouthost/layouthost"
xtpicture="$binary_dir/xt/xtpicture"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export HOME="$work/home"
mkdir -p "$HOME"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect STATUS WHAT PROGRAM ARGS...: runs the program and checks its status and streams.
expect() {
  local status="$1" what="$2"
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  local name
  name="$(basename "$1")"
  [ "$got" -eq "$status" ] || fail "$name $what: exit $got, not $status ($(head -n 2 "$work/err"))"
  case "$status" in
    0)
      [ -s "$work/out" ] || fail "$name $what: nothing on stdout"
      [ ! -s "$work/err" ] || fail "$name $what: stderr has $(cat "$work/err")"
      ;;
    1)
      [ ! -s "$work/out" ] || fail "$name $what: stdout has $(cat "$work/out")"
      [ -s "$work/err" ] || fail "$name $what: no reason on stderr"
      ;;
    2)
      [ ! -s "$work/out" ] || fail "$name $what: stdout has $(cat "$work/out")"
      [ "$(wc -l <"$work/err")" -eq 2 ] || fail "$name $what: not two lines: $(cat "$work/err")"
      grep -q "^$name: " "$work/err" || fail "$name $what: the error does not name the program"
      tail -n 1 "$work/err" | grep -qx "Try '$name --help' for more information." ||
        fail "$name $what: no hint at --help"
      ;;
  esac
}

printf '{"layout_document": 1, "pages": []}\n' >"$work/doc.json"
printf 'not json' >"$work/bad.json"
printf 'P6\n1 1\n255\n\x10\x20\x30' >"$work/pixel.ppm"

for program in "$indexer" "$layouthost" "$xtpicture"; do
  expect 0 "--help" "$program" --help
  expect 0 "--version" "$program" --version
  expect 2 "without arguments" "$program"
  expect 2 "with an unknown option" "$program" --frobnicate
done
"$xtpicture" --version | grep -q "^xtpicture [0-9]" || fail "xtpicture --version: no version"

# A missing input file, and an input that is not what it should be.
expect 1 "on a missing folder" "$indexer" --batch -type=issue "$work/missing"
expect 1 "on a missing collection" "$indexer" --show "$work/missing.mlx"
expect 1 "on a missing document" "$layouthost" "$work/missing.json" --export
expect 1 "on a document that is not JSON" "$layouthost" "$work/bad.json"
grep -q "json.exception" "$work/err" && fail "layouthost shows the JSON library's own tag"
expect 1 "on a missing picture" "$xtpicture" gif "$work/missing.ppm" "$work/out.gif"
expect 1 "on an unwritable output" "$xtpicture" gif "$work/pixel.ppm" "$work/no/such/out.gif"

# Values after "=" or as the next argument.
expect 1 "with --plugin=PATH" "$layouthost" --plugin="$work/none.so" "$work/doc.json" --export
grep -q "none.so" "$work/err" || fail "layouthost --plugin=PATH was not taken: $(cat "$work/err")"
expect 2 "with a value for a flag" "$layouthost" "$work/doc.json" --export=now
expect 2 "with --type and no value" "$indexer" --batch --type
"$indexer" --prefs=DateOffset=3 || fail "indexer --prefs=KEY=VALUE failed"
"$indexer" --prefs | grep -qx "DateOffset=3" || fail "indexer --prefs=KEY=VALUE stored nothing"
expect 2 "with an option of another command" "$xtpicture" gif --progressive "$work/pixel.ppm" \
  "$work/out.gif"

# A failed menu command is a failed run.
mkdir -p "$XDG_CONFIG_HOME/Tarnby"
printf '[Settings]\nIndexer=marlix-no-such-indexer\n' >"$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI"
expect 1 "when the indexer cannot be started" "$layouthost" "$work/doc.json" \
  --menu "Launch Marlix Index"
grep -qx "Could not start Indexer" "$work/err" || fail "no message: $(cat "$work/err")"

[ "$failures" -eq 0 ] || exit 1
echo "command lines: all checks passed"
