#!/usr/bin/env bash
# marlix-new and marlix-publish report the mistakes a user makes, each with its exit status
# (1 a failed or refused run, 2 a usage error); an issue with a failed export is not indexed.
set -euo pipefail

source_dir="${MARLIX_SOURCE_DIR:?}"
binary_dir="${MARLIX_BINARY_DIR:?}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export PATH="$binary_dir/layouthost:$binary_dir/indexer:$PATH"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/user-config"
new=$source_dir/scripts/marlix-new
publish=$source_dir/scripts/marlix-publish
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# expect STATUS MESSAGE-PART COMMAND...: the command exits with STATUS and says MESSAGE-PART.
expect() {
  local status=$1 message=$2
  shift 2
  local got=0
  "$@" >"$work/out" 2>"$work/err" || got=$?
  [ "$got" = "$status" ] || fail "$* exited with $got, not $status: $(cat "$work/err")"
  grep -qF -- "$message" "$work/err" || fail "$* did not say \"$message\": $(cat "$work/err")"
}

# marlix-new
expect 2 "no archive given" "$new"
expect 2 "unknown option --frobnicate" "$new" --frobnicate "$work/a"
expect 2 "try 'marlix-new --help'" "$new" --title
grep -q "^usage: marlix-new" <<<"$("$new" --help)" || fail "marlix-new --help shows no usage"
settings=$("$new" --title "The Test Gazette" "$work/gazette" 2>/dev/null)
[ "$settings" = "$work/gazette/Settings" ] || fail "marlix-new named $settings"
grep -q "^DestFolder=$work/gazette\$" "$settings/MarlixXT40.INI" || fail "DestFolder is not the archive"
grep -q "^OpenBrowser=0" "$settings/MarlixXT40.INI" || fail "a browser would be started"
grep -q "The Test Gazette" "$work/gazette/GIFs/header.html" || fail "the title is not in the header frame"
if grep -rq "@TITLE@" "$work/gazette"; then fail "a title placeholder is left"; fi
for category in Culture Economy Entertai News Politics Sports Technics; do
  for part in Headers Footers; do
    [ -f "$work/gazette/Standard/$part/$category.htm" ] || fail "no $part/$category.htm"
  done
  [ -f "$work/gazette/GIFs/$category.gif" ] || fail "no headline picture for $category"
done
for letter in A M Z indent; do
  [ -f "$work/gazette/initials/$letter.gif" ] || fail "no initials/$letter.gif"
done
grep -qx "CreateFrames=1" <<<"$(indexer --config-dir "$settings" --prefs)" || fail "frames are off"
[ ! -e "$work/home/user-config" ] || fail "marlix-new touched the user's settings"
expect 1 "not empty" "$new" "$work/gazette"
: >"$work/file"
expect 1 "not a folder" "$new" "$work/file"
expect 1 "Windows-1252 cannot hold" "$new" --title "☃ News" "$work/snow"

# marlix-publish
mkdir -p "$work/articles"
cp "$source_dir/examples/1998-01/harbour.json" "$work/articles/"
cp -R "$source_dir/examples/1998-01/pictures" "$work/articles/"
printf 'harbour.json\tCulture\tHarbour\tA day\tAt the quay\tCulture.htm\tAnna\n' >"$work/articles/one.tsv"
printf 'missing.json\tNews\tGone\tNothing\t\tNews.htm\tPer\n' >>"$work/articles/two.tsv"
cat "$work/articles/one.tsv" >>"$work/articles/two.tsv"
printf '# only a comment\n' >"$work/articles/none.tsv"

expect 2 "an archive and a job list are needed" "$publish" --path 2026 --issue 07 "$work/gazette"
expect 2 "--path is needed" "$publish" --issue 07 "$work/gazette" "$work/articles/one.tsv"
expect 2 "one level, without slashes" "$publish" --path 2026/x --issue 07 "$work/gazette" "$work/articles/one.tsv"
expect 2 "no letters or digits" "$publish" --path '[]' --issue 07 "$work/gazette" "$work/articles/one.tsv"
expect 1 "no such file" "$publish" --path 2026 --issue 07 "$work/gazette" "$work/articles/nothing.tsv"
expect 1 "lists no article" "$publish" --path 2026 --issue 07 "$work/gazette" "$work/articles/none.tsv"
mkdir -p "$work/other"
expect 1 "MarlixXT40.INI: no such file" "$publish" --path 2026 --issue 07 "$work/other" "$work/articles/one.tsv"
expect 1 "not into $work/other" "$publish" --config-dir "$settings" --path 2026 --issue 07 \
  "$work/other" "$work/articles/one.tsv"
# One article of two cannot be exported: the line is named, and nothing is indexed.
expect 1 "two.tsv:1: the export of News/Gone failed" "$publish" --path 2026 --issue 07 \
  "$work/gazette" "$work/articles/two.tsv"
grep -qF "1 of 2 articles were not exported" "$work/err" || fail "no count of the failed exports"
[ ! -e "$work/gazette/2026/07/index.htm" ] || fail "an issue with a failed export was indexed"

# The good article of two.tsv was exported: it is not replaced unless asked.
expect 1 "Harbour.htm exists; --replace replaces it" "$publish" --path 2026 --issue 07 \
  "$work/gazette" "$work/articles/one.tsv"
"$publish" --replace --path=2026 --issue=07 "$work/gazette" "$work/articles/one.tsv" >"$work/out" 2>"$work/err" ||
  fail "marlix-publish failed: $(cat "$work/err")"
[ "$(cat "$work/out")" = "$work/gazette/2026/07/index.htm" ] || fail "stdout is not the entry page: $(cat "$work/out")"
[ -f "$work/gazette/2026/07/Culture/Harbour/Harbour.htm" ] || fail "the article was not exported"
[ ! -e "$work/home/user-config" ] && [ ! -e "$work/home/.config" ] || fail "the user's settings were touched"
echo "starter commands: all checks passed"
