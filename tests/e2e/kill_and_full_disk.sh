#!/usr/bin/env bash
# End to end: no user file is ever half-written. Each writing command is killed with SIGKILL at
# random moments (KILL_ROUNDS times each, 5 by default; run with KILL_ROUNDS=30 or more by hand):
# a page export, an Append, layouthost --save, indexer --prefs K=V, --category-add, a scan and
# an index run with chaining. After every kill each file is its old version or its complete new
# one, and after the next successful run no temporary file remains. Then each command runs
# under a file size limit (a full disk as the program sees it): it fails with exit status 1 or
# 2, names the file and the reason, does not abort, and leaves the old files and nothing else.
# Last, preferences are stored while another indexer starts (RACE_ROUNDS, 200 by default):
# nothing is ever reset.
set -euo pipefail

layouthost="${MARLIX_BINARY_DIR:?}/layouthost/layouthost"
indexer="$MARLIX_BINARY_DIR/indexer/indexer"
rounds="${KILL_ROUNDS:-5}"
races="${RACE_ROUNDS:-200}"
work="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export LC_ALL=C
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
config="$XDG_CONFIG_HOME/Tarnby"
arc="$work/Archive"
issue="$arc/1998/01"
mkdir -p "$config" "$arc"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

sum() { [ -e "$1" ] && md5sum <"$1" | cut -d' ' -f1 || echo missing; }

# one_of FILE SUM...: the file's content is one of the given versions.
one_of() {
  local file="$1" actual
  actual="$(sum "$file")"
  shift
  for expected in "$@"; do
    [ "$actual" = "$expected" ] && return 0
  done
  fail "$file is neither its old nor its new version ($(stat -c %s "$file" 2>/dev/null) bytes)"
}

no_temporaries() {
  local left
  left="$(find "$work" -name '*.mlxtmp.*' -print)"
  [ -z "$left" ] || fail "temporary files left after $1: $left"
}

# killed MILLISECONDS COMMAND...: runs the command and kills it after a random part of the time.
killed() {
  local span="$1" pid
  shift
  "$@" >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v s="$span" -v r="$RANDOM" 'BEGIN { printf "%.4f", s * r / 32767 / 1000 }')"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# span COMMAND...: the command's run time in milliseconds (run once, to completion).
span() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>"$work/err" || fail "reference run failed: $*: $(cat "$work/err")"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000 + 5))
}

# ---- The layout program: export, Append, save -----------------------------------------------
printf '[Settings]\nDestFolder=%s/\nOpenBrowser=0\nDateType=3\nFixedDate=Monday, 01.01.2001\n' \
  "$arc" >"$config/MarlixXT40.INI"
document() { # document FILE TEXT: a one-box layout document
  cat >"$1" <<EOF
{
  "layout_document": 1,
  "name": "Kill",
  "fonts": [{"id": 1, "name": "Times New Roman"}],
  "colors": [{"index": 1, "name": "Black", "rgb": [0, 0, 0]}],
  "stories": [{"id": 1, "runs": [{"text": "$2\r", "font": 1, "size": 11}]},
              {"id": 2, "runs": [{"text": "Appended $2\r", "font": 1, "size": 11}]}],
  "pages": [{"boxes": [{"id": 1, "kind": "text", "bounds": [36, 36, 136, 306], "story": 1},
                       {"id": 2, "kind": "text", "bounds": [136, 36, 236, 306], "story": 2}]}],
  "current": 1
}
EOF
}
page="$issue/Culture/Story/Story.htm"
toc="$issue/Culture/Story/Story.toc"
job=(--yes --path "[1998]" --issue 01 --category Culture --file-name Story)
# A long text makes the export take long enough to be caught half-way.
long="$(head -c 300000 /dev/zero | tr '\0' 'x')"
document "$work/old.json" "Old text"
document "$work/new.json" "$long"
"$layouthost" "$work/old.json" --item 1 "${job[@]}" --headline Old --export >/dev/null 2>&1 ||
  fail "first export"
old_page="$(sum "$page")" old_toc="$(sum "$toc")"
cp "$page" "$work/page.old" && cp "$toc" "$work/toc.old"
export_new=("$layouthost" "$work/new.json" --item 1 "${job[@]}" --headline New --export)
ms="$(span "${export_new[@]}")"
new_page="$(sum "$page")" new_toc="$(sum "$toc")"
[ "$new_page" != "$old_page" ] && [ "$new_toc" != "$old_toc" ] || fail "export changed nothing"
for _ in $(seq "$rounds"); do
  cp "$work/page.old" "$page" && cp "$work/toc.old" "$toc"
  killed "$ms" "${export_new[@]}"
  one_of "$page" "$old_page" "$new_page"
  one_of "$toc" "$old_toc" "$new_toc"
done
sleep 1.1 # a left-over is taken for abandoned only when it is not brand new
"${export_new[@]}" >/dev/null 2>&1 || fail "export after the kills"
no_temporaries "export"

# Append: an Export and an Append in one run (the Append needs the page of an Export).
append_new=("$layouthost" "$work/new.json" --item 1 "${job[@]}" --headline New --export
  --item 2 --append)
ms="$(span "${append_new[@]}")"
appended="$(sum "$page")"
[ "$appended" != "$new_page" ] || fail "append changed nothing"
for _ in $(seq "$rounds"); do
  cp "$work/page.old" "$page" && cp "$work/toc.old" "$toc"
  killed "$ms" "${append_new[@]}"
  one_of "$page" "$old_page" "$new_page" "$appended"
done
sleep 1.1
"${append_new[@]}" >/dev/null 2>&1 || fail "append after the kills"
no_temporaries "append"

# --save: the document written back with the plug-in's box records.
cp "$work/new.json" "$work/save.json"
save=("$layouthost" "$work/save.json" --item 1 "${job[@]}" --headline New --export --save)
ms="$(span "${save[@]}")"
saved="$(sum "$work/save.json")"
unsaved="$(sum "$work/new.json")"
[ "$saved" != "$unsaved" ] || fail "--save changed nothing"
for _ in $(seq "$rounds"); do
  cp "$work/new.json" "$work/save.json"
  killed "$ms" "${save[@]}"
  one_of "$work/save.json" "$unsaved" "$saved"
done
sleep 1.1
"${save[@]}" >/dev/null 2>&1 || fail "--save after the kills"
no_temporaries "--save"

# ---- The indexer: preferences, categories, scan, index with chaining ------------------------
"$indexer" --prefs LinkDocuments=1 CreateFrames=1 >/dev/null || fail "--prefs"
for key in 0 1; do
  "$indexer" --prefs CreateDOSEnding=$key >/dev/null
  eval "prefs_$key=$(sum "$config/mlxindex.hpr")"
done
for _ in $(seq "$rounds"); do
  key=$((RANDOM % 2))
  killed 15 "$indexer" --prefs CreateDOSEnding=$key
  one_of "$config/mlxindex.hpr" "$prefs_0" "$prefs_1"
done
"$indexer" --categories >/dev/null
old_categories="$(sum "$config/mlxindex.hcg")"
cp "$config/mlxindex.hcg" "$work/hcg.old"
"$indexer" --category-add Sports "Sport pages" >/dev/null
new_categories="$(sum "$config/mlxindex.hcg")"
for _ in $(seq "$rounds"); do
  cp "$work/hcg.old" "$config/mlxindex.hcg"
  killed 15 "$indexer" --category-add Sports "Sport pages"
  one_of "$config/mlxindex.hcg" "$old_categories" "$new_categories"
done
sleep 1.1
"$indexer" --prefs CreateDOSEnding=0 >/dev/null
"$indexer" --category-add Sports "Sport pages" >/dev/null
no_temporaries "--prefs and --category-add"
[ -z "$(find "$config" -name '*.bad')" ] || fail "a settings file was taken for unreadable"

# A scan of an issue of many pages, then an index run that chains them.
for n in $(seq 200); do
  dir="$issue/Culture/A$n"
  mkdir -p "$dir"
  printf '<HTML><HEAD><META NAME="DESCRIPTION" CONTENT="Article %s"></HEAD><BODY>\r\n' "$n" \
    >"$dir/a$n.html"
  printf '<A $PREVURL:>Back</A> <A $INDEXURL:>Index</A> <A $NEXTURL:>On</A></BODY></HTML>\r\n' \
    >>"$dir/a$n.html"
done
rm -rf "$issue/Culture/Story"
"$indexer" --batch -type=issue --scan-only "$issue" >/dev/null || fail "first scan"
old_collection="$(sum "$issue/index.mlx")"
cp "$issue/index.mlx" "$work/mlx.old"
mkdir -p "$issue/Culture/Late" &&
  printf '<HTML><HEAD><META NAME="DESCRIPTION" CONTENT="Late"></HEAD></HTML>\r\n' \
    >"$issue/Culture/Late/late.html"
scan=("$indexer" --batch -type=issue --scan-only "$issue")
ms="$(span "${scan[@]}")"
new_collection="$(sum "$issue/index.mlx")"
[ "$new_collection" != "$old_collection" ] || fail "the scan changed nothing"
for _ in $(seq "$rounds"); do
  cp "$work/mlx.old" "$issue/index.mlx"
  killed "$ms" "${scan[@]}"
  one_of "$issue/index.mlx" "$old_collection" "$new_collection"
done
sleep 1.1
"${scan[@]}" >/dev/null || fail "scan after the kills"
no_temporaries "a scan"

# The index run: every page and every index file is old or new.
cp -a "$issue" "$work/issue.old"
index=("$indexer" --batch "$issue/index.mlx")
ms="$(span "${index[@]}")"
cp -a "$issue" "$work/issue.new"
versions() { # versions FILE: the file's old and new sums
  local relative="${1#"$issue"/}"
  echo "$(sum "$work/issue.old/$relative") $(sum "$work/issue.new/$relative")"
}
for _ in $(seq "$rounds"); do
  rm -rf "$issue" && cp -a "$work/issue.old" "$issue"
  killed "$ms" "${index[@]}"
  while IFS= read -r file; do
    # shellcheck disable=SC2046
    one_of "$file" $(versions "$file")
  done < <(find "$issue" -type f ! -name '*.mlxtmp.*')
done
sleep 1.1
"${index[@]}" >/dev/null || fail "index run after the kills"
no_temporaries "an index run with chaining"

# ---- A full disk: a file size limit of zero ----------------------------------------------
# full_disk FILE COMMAND...: the command fails cleanly and FILE keeps its content.
full_disk() {
  local file="$1" before status=0
  shift
  before="$(sum "$file")"
  # The messages go through a pipe: the limit binds files only.
  (ulimit -f 0 && exec "$@") 2>&1 >/dev/null | cat >"$work/err" || status=$?
  [ "$status" -eq 1 ] || [ "$status" -eq 2 ] || fail "full disk: exit $status from $*"
  grep -q "File too large" "$work/err" || fail "full disk: no reason given by $*: $(cat "$work/err")"
  grep -q "$(basename "$file")" "$work/err" || fail "full disk: no file named by $*"
  [ "$(sum "$file")" = "$before" ] || fail "full disk: $file changed"
  no_temporaries "a full disk ($*)"
}
full_disk "$config/mlxindex.hpr" "$indexer" --prefs CreateDOSEnding=1
full_disk "$config/mlxindex.hcg" "$indexer" --category-add Weather "Weather pages"
full_disk "$issue/index.mlx" "$indexer" --batch -type=issue "$issue"
cp "$work/page.old" "$work/keep.htm"
mkdir -p "$issue/Culture/Story" && cp "$work/page.old" "$page"
full_disk "$page" "${export_new[@]}"
full_disk "$work/save.json" "$layouthost" "$work/save.json" --save

# ---- A race: preferences stored while another indexer starts ---------------------------------
"$indexer" --prefs LinkDocuments=1 CreateFrames=1 >/dev/null
for n in $(seq "$races"); do
  "$indexer" --prefs "CreateDOSEnding=$((n % 2))" >/dev/null &
  "$indexer" --categories >/dev/null
  wait
done
"$indexer" --prefs | grep -qx "LinkDocuments=1" || fail "the preferences were reset"
"$indexer" --prefs | grep -qx "CreateFrames=1" || fail "the preferences were reset"
[ -z "$(find "$config" -name '*.bad')" ] || fail "a settings file was taken for unreadable"
no_temporaries "the race"
echo "kill rounds: $rounds each, races: $races: every file old or new, nothing left behind"
