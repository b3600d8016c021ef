#!/usr/bin/env bash
# End to end, as a new user meets the programs: installs the build into a prefix and the
# Debian package into a throw-away root, and with each installation alone (no build tree, no
# source tree on PATH) starts a publication with marlix-new, publishes two articles written
# here from scratch with marlix-publish, and checks the site in headless Chromium: every link
# and frame resolves, the drop caps show, no browser was started, the user's settings folder
# stays untouched.
set -euo pipefail

source_dir="${MARLIX_SOURCE_DIR:?}"
binary_dir="${MARLIX_BINARY_DIR:?}"
chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
  echo "skipped: chromium missing"
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
version=$(sed -n 's/^project(Marlix VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$version" ] || fail "no project version in CMakeLists.txt"

# Every browser a program could start is a stand-in that leaves a mark; the desktop's
# handler list is empty.
mkdir -p "$work/fake-bin" "$work/no-desktop-files"
for browser in xdg-open sensible-browser x-www-browser www-browser chromium chromium-browser \
  firefox google-chrome; do
  printf '#!/bin/sh\necho "$0 $*" >>"%s/browser-started"\n' "$work" >"$work/fake-bin/$browser"
  chmod +x "$work/fake-bin/$browser"
done

# The two articles, written from scratch: a headline, a drop-cap paragraph, a link and a
# picture drawn as a PPM file.
write_articles() { # FOLDER
  mkdir -p "$1"
  python3 - "$1" <<'EOF'
import json, pathlib, sys
folder = pathlib.Path(sys.argv[1])
width, height = 60, 40
pixels = bytearray()
for y in range(height):
    for x in range(width):
        pixels += bytes((200, 40 + 4 * y, 40 + 3 * x))
(folder / "lamp.ppm").write_bytes(b"P6\n%d %d\n255\n" % (width, height) + bytes(pixels))
articles = [("lamps.json", "New lamps on the pier", "Wind and waves bring the lamps down. ",
             "the harbour office"),
            ("budget.json", "The town's budget", "Every krone of the budget is counted. ",
             "the council")]
for name, headline, sentence, place in articles:
    text = headline + "\r" + sentence * 4 + "Ask " + place + " for more."
    start = text.index(place)
    document = {
        "layout_document": 1, "name": name[:-5],
        "fonts": [{"id": 1, "name": "Times New Roman"}, {"id": 2, "name": "Arial Bold"}],
        "colors": [{"index": 1, "name": "Black", "rgb": [0, 0, 0]}],
        "stories": [{"id": 1,
                     "runs": [{"text": headline + "\r", "font": 2, "size": 18},
                              {"text": text[len(headline) + 1:], "font": 1, "size": 11}],
                     "paragraphs": [{}, {"drop_cap": True}],
                     "links": [{"range": [start, start + len(place)], "type": 2,
                                "target": "http://example.org/"}]}],
        "pages": [{"boxes": [
            {"id": 1, "kind": "text", "bounds": [0, 80, 200, 400], "story": 1},
            {"id": 2, "kind": "picture", "bounds": [0, 0, 40, 60],
             "picture": {"file": "lamp.ppm"}},
            {"id": 3, "kind": "group", "bounds": [0, 0, 200, 400], "members": [2, 1]}]}],
        "current": 3, "selection": [3]}
    (folder / name).write_text(json.dumps(document, indent=1, ensure_ascii=False))
jobs = ["# document\tcategory\tfile name\theadline\tsub-headline\theader/footer\tauthor",
        "lamps.json\tNews\tLamps\tNew lamps on the pier\tThe harbour is lit again\tNews.htm\tAnna",
        "budget.json\tEconomy\tBudget\tThe town's budget\tWhere the money goes\tEconomy.htm\tPer"]
(folder / "jobs.tsv").write_text("\n".join(jobs) + "\n")
EOF
}

# Runs one installation's commands with nothing else of this project in reach.
publish_with() { # NAME BIN
  local name=$1 bin=$2
  local home="$work/$name/home" archive="$work/$name/Gazette"
  mkdir -p "$home"
  write_articles "$work/$name/articles"
  local -a env_line=(env -i HOME="$home" XDG_CONFIG_HOME="$home/user-config"
    XDG_DATA_HOME="$work/no-desktop-files" XDG_DATA_DIRS="$work/no-desktop-files"
    BROWSER="$work/fake-bin/x-www-browser" LC_ALL=C.UTF-8
    PATH="$work/fake-bin:/usr/bin:/bin")
  # layouthost reads PNG, JPEG, GIF and BMP pictures: the installed picture tool makes the PPM
  # a GIF.
  "${env_line[@]}" "$bin/xtpicture" gif "$work/$name/articles/lamp.ppm" \
    "$work/$name/articles/lamp.gif" || fail "$name: xtpicture could not write the picture"
  sed -i 's/lamp\.ppm/lamp.gif/' "$work/$name/articles/"*.json

  for command in indexer layouthost marlix-new marlix-publish; do
    grep -qx "$command $version" <<<"$("${env_line[@]}" "$bin/$command" --version)" ||
      fail "$name: $command --version does not say $version"
  done
  "${env_line[@]}" "$bin/marlix-new" --title "The Test Gazette" "$archive" >"$work/$name/settings" \
    2>"$work/$name/new.log" || {
    cat "$work/$name/new.log" >&2
    fail "$name: marlix-new failed"
  }
  [ "$(cat "$work/$name/settings")" = "$archive/Settings" ] || fail "$name: marlix-new named no settings"
  "${env_line[@]}" "$bin/marlix-publish" --path 2026 --issue 07 "$archive" \
    "$work/$name/articles/jobs.tsv" >"$work/$name/entry" 2>"$work/$name/publish.log" || {
    cat "$work/$name/publish.log" >&2
    fail "$name: marlix-publish failed"
  }
  local entry issue
  entry=$(cat "$work/$name/entry")
  issue="$archive/2026/07"
  [ "$entry" = "$issue/index.htm" ] || fail "$name: unexpected entry page: $entry"

  [ ! -e "$work/browser-started" ] || fail "$name: a browser was started: $(cat "$work/browser-started")"
  [ ! -e "$home/user-config" ] && [ ! -e "$home/.config" ] || fail "$name: the user's settings were touched"
  [ -f "$archive/Settings/MarlixXT40.INI" ] && [ -f "$archive/Settings/mlxindex.hpr" ] ||
    fail "$name: the publication's settings are not in its settings folder"

  for article in News/Lamps/Lamps.htm Economy/Budget/Budget.htm; do
    [ -f "$issue/$article" ] || fail "$name: $article was not exported"
    grep -q 'initials/W\.gif\|initials/E\.gif' "$issue/$article" || fail "$name: $article has no drop cap"
    if grep -q 'missed drop char' "$issue/$article"; then fail "$name: $article lost its drop cap"; fi
    grep -q '<STYLE>KBD' "$issue/$article" || fail "$name: $article has not the starter header"
  done
  if grep -rl --include='*.htm' -e '\$PREVURL:' -e '\$NEXTURL:' -e '\$INDEXURL:' "$issue"; then
    fail "$name: placeholders left in the pages above"
  fi
  python3 "$source_dir/tests/e2e/check_site.py" "$entry" --chromium "$chromium" \
    --xtpicture "$bin/xtpicture" --expect-articles 2 ||
    fail "$name: the published issue has faults"
}

echo "== install into a prefix"
prefix="$work/prefix"
cmake --install "$binary_dir" --prefix "$prefix" >/dev/null
plugin=$(find "$prefix/lib" -name libMarlixXT40.so)
case $plugin in
  "$prefix"/lib/*/marlix/libMarlixXT40.so) ;;
  *) fail "the plug-in is not in a private lib/<triplet>/marlix/: ${plugin:-missing}" ;;
esac
for file in bin/indexer bin/layouthost bin/xtpicture bin/marlix-new bin/marlix-publish \
  share/marlix/archive-skeleton/GIFs/Start.html share/marlix/archive-skeleton/initials/indent.gif \
  share/man/man1/indexer.1.gz share/man/man1/layouthost.1.gz share/man/man1/xtpicture.1.gz \
  share/man/man1/marlix-new.1.gz share/man/man1/marlix-publish.1.gz; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
publish_with prefix "$prefix/bin"

echo "== the Debian package"
cpack -G DEB -B "$work/package" --config "$binary_dir/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack failed"
}
deb=$(find "$work/package" -maxdepth 1 -name 'marlix_*.deb')
[ -f "$deb" ] || fail "no .deb made"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libjpeg62-turbo libqt6gui6 libstdc++6; do
  grep -q "\b$library\b" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
# Every dependency is a package this machine has: dpkg-shlibdeps named real ones.
for package in $(tr ',' '\n' <<<"$depends" | sed 's/(.*//; s/ //g'); do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    fail "the dependency $package is no installed package"
done
contents=$(dpkg-deb --contents "$deb")
grep -q " \./usr/lib/[^/]*/marlix/libMarlixXT40\.so$" <<<"$contents" ||
  fail "the package has no private plug-in folder"
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
# Its dependencies are those of this machine, not of the empty root.
dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null \
  -i "$deb" >"$work/dpkg.log" 2>&1 || {
  cat "$work/dpkg.log" >&2
  fail "dpkg could not install the package"
}
publish_with package "$root/usr/bin"

echo "install and publish: all checks passed"
