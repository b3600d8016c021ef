#!/usr/bin/env python3
"""Checks a published issue as a reader's browser would meet it.

Starting at the entry page (the frames document), it reads the frames, the index list, the
category frame and every article the list links to, and checks:
  - every link, frame source and picture source leads to an existing file, and every anchor
    ("#name") to a named anchor of its document;
  - every picture decodes, with the product's own decoder (xtpicture preview) and in Chromium;
  - the previous, next and index links of each article follow the order of the index list;
  - Chromium parses each page into the links and the title that the files hold.
Links with a scheme (http:, mailto:) are counted, not followed. With --screenshots DIR it
writes pictures of the framed index and of two articles into DIR.
Exit status 0 when everything holds; each fault is printed on its own line.
"""

import argparse
import html
import html.parser
import pathlib
import re
import subprocess
import sys
import tempfile
import urllib.parse

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--hide-scrollbars",
]
CHROMIUM_SECONDS = 120
# Time the browser may take to load and decode the pictures of the probe page.
PROBE_BUDGET_MS = 10000
PICTURE_SUFFIXES = (".gif", ".jpg", ".jpeg")
PAGE_ENCODING = "cp1252"


class Page(html.parser.HTMLParser):
    """The links, sources, anchors, chaining links and title of one HTML document."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.links = []  # (tag, attribute, value)
        self.anchors = set()
        self.sizes = []  # (src, "WIDTHxHEIGHT") of IMG tags that give both
        self.chain = []  # ("mxprev" / "mxnext" / "mxindex", href), in document order
        self.meta = {}
        self.title = None
        self._in_title = False
        self.feed(text)
        self.close()

    def handle_starttag(self, tag, attrs):
        a = {k: (v if v is not None else "") for k, v in attrs}
        for attribute in ("href", "src"):
            if attribute in a and tag in ("a", "frame", "iframe", "img"):
                self.links.append((tag, attribute, a[attribute]))
        if tag == "img" and "src" in a and "width" in a and "height" in a:
            self.sizes.append((a["src"], f"{a['width']}x{a['height']}"))
        if tag == "a" and "name" in a:
            self.anchors.add(a["name"])
        if tag == "a" and "href" in a:
            for marker in ("mxprev", "mxnext", "mxindex"):
                if marker in a:
                    self.chain.append((marker, a["href"]))
        if tag == "meta" and "name" in a and "content" in a:
            self.meta[a["name"].lower()] = a["content"]
        if tag == "title" and self.title is None:
            self._in_title = True
            self.title = ""

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def read_page(path):
    return Page(path.read_bytes().decode(PAGE_ENCODING, errors="replace"))


class Checker:
    def __init__(self, args):
        self.args = args
        self.faults = []
        self.pages = {}  # path -> Page
        self.external = set()

    def fault(self, text):
        self.faults.append(text)
        print("FAULT: " + text)

    def page(self, path):
        path = path.resolve()
        if path not in self.pages:
            self.pages[path] = read_page(path)
        return self.pages[path]

    def target(self, base, value):
        """The file (and anchor) a link of `base` leads to; None for a link with a scheme."""
        parts = urllib.parse.urlsplit(value)
        if parts.scheme or parts.netloc:
            self.external.add(value)
            return None, None
        if not parts.path:
            return base, parts.fragment
        return (base.parent / urllib.parse.unquote(parts.path)).resolve(), parts.fragment

    def check_links(self, path):
        page = self.page(path)
        for tag, attribute, value in page.links:
            where = f"{path}: <{tag} {attribute}=\"{value}\">"
            file, anchor = self.target(path, value)
            if file is None:
                continue
            if not file.is_file():
                self.fault(f"{where} leads to no file")
            elif anchor and file.suffix.lower() in (".htm", ".html"):
                if anchor not in self.page(file).anchors:
                    self.fault(f"{where}: no anchor {anchor!r} there")

    def pictures(self):
        found = set()
        for path, page in self.pages.items():
            for tag, _, value in page.links:
                file, _ = self.target(path, value)
                if file is not None and file.suffix.lower() in PICTURE_SUFFIXES and file.is_file():
                    found.add(file)
        return sorted(found)


# --- Pictures ---------------------------------------------------------------------------


def picture_kind(data):
    """"gif" or "jpeg", with "-interlaced", "-transparent" or "-progressive" as the file says."""
    if data[:6] in (b"GIF87a", b"GIF89a"):
        kind = "gif"
        pos = 13
        if data[10] & 0x80:
            pos += 3 * (2 << (data[10] & 7))
        while pos < len(data):
            block = data[pos]
            if block == 0x21:  # extension: label, then sub-blocks
                if data[pos + 1] == 0xF9 and data[pos + 3] & 1:
                    kind += "-transparent"
                pos += 2
                while pos < len(data) and data[pos]:
                    pos += data[pos] + 1
                pos += 1
            elif block == 0x2C:
                if data[pos + 9] & 0x40:
                    kind += "-interlaced"
                break
            else:
                break
        return kind
    if data[:2] == b"\xff\xd8":
        pos = 2
        while pos + 4 <= len(data) and data[pos] == 0xFF:
            marker = data[pos + 1]
            if marker in (0xC0, 0xC1):
                return "jpeg"
            if marker == 0xC2:
                return "jpeg-progressive"
            pos += 2 + int.from_bytes(data[pos + 2:pos + 4], "big")
        return "jpeg-unknown"
    return "unknown"


def check_pictures(checker, pictures, work):
    kinds = {}
    for number, picture in enumerate(pictures):
        kind = picture_kind(picture.read_bytes())
        kinds.setdefault(kind, []).append(picture)
        if checker.args.xtpicture:
            bmp = work / f"preview{number}.bmp"
            result = subprocess.run([checker.args.xtpicture, "preview", str(picture), str(bmp)],
                                    capture_output=True, text=True)
            if result.returncode != 0 or not bmp.is_file() or bmp.stat().st_size == 0:
                checker.fault(f"{picture}: xtpicture cannot decode it: {result.stdout.strip()} "
                              f"{result.stderr.strip()}")
    return kinds


def probe_page(pictures, work):
    """A page that loads every picture and lists the size at which the browser decoded each."""
    images = "\n".join(f'<img src="{p.as_uri()}" data-file="{html.escape(str(p))}">'
                       for p in pictures)
    script = """<script>
// Synchronous, so that the list is in the page when the browser hands out its DOM.
window.addEventListener("load", () => {
  const out = document.createElement("pre");
  out.id = "probe";
  out.textContent = [...document.images].map(i => (i.complete ? "" : "unfinished ") +
    i.naturalWidth + "x" + i.naturalHeight + "\\t" + i.dataset.file).join("\\n");
  document.body.appendChild(out);
});
</script>"""
    path = work / "probe.html"
    # UTF-8 and said so: the file names in the page may lie above 127.
    path.write_text(f'<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>\n{images}\n'
                    f'{script}\n</body></html>\n', encoding="utf-8")
    return path


def check_pictures_in_browser(checker, chromium, pictures, work):
    """Chromium must decode every picture at the size that the IMG tags give it."""
    dom = chromium.dom(probe_page(pictures, work), PROBE_BUDGET_MS)
    match = re.search(r'<pre id="probe">(.*?)</pre>', dom, re.S)
    if not match:
        checker.fault("Chromium did not finish the picture probe")
        return
    decoded = {}
    for line in html.unescape(match.group(1)).splitlines():
        size, _, file = line.partition("\t")  # a file name may hold blanks
        decoded[pathlib.Path(file)] = size
    tagged = {}
    for path, page in checker.pages.items():
        for src, size in page.sizes:
            file, _ = checker.target(path, src)
            if file is not None:
                tagged.setdefault(file, set()).add(size)
    for picture in pictures:
        size = decoded.get(picture, "missing")
        if not re.fullmatch(r"[1-9]\d*x[1-9]\d*", size):
            checker.fault(f"{picture}: Chromium cannot decode it ({size})")
        elif any(want != size for want in tagged.get(picture, ())):
            checker.fault(f"{picture}: Chromium decodes {size}, the page says {tagged[picture]}")


# --- Chromium ---------------------------------------------------------------------------


class Chromium:
    def __init__(self, program, work):
        self.program = program
        self.profile = pathlib.Path(tempfile.mkdtemp(prefix="profile", dir=work))

    def run(self, *arguments):
        command = [self.program, *CHROMIUM_FLAGS, f"--user-data-dir={self.profile}", *arguments]
        return subprocess.run(command, capture_output=True, timeout=CHROMIUM_SECONDS)

    def dom(self, path, budget_ms=0):
        extra = [f"--virtual-time-budget={budget_ms}"] if budget_ms else []
        result = self.run(*extra, "--dump-dom", path.as_uri())
        return result.stdout.decode("utf-8", errors="replace")

    def screenshot(self, path, out, width, height):
        self.run(f"--window-size={width},{height}", f"--screenshot={out}", path.as_uri())
        return out.is_file() and out.stat().st_size > 0


def check_in_browser(checker, chromium, documents, articles):
    """Chromium must see the same links, and in articles the headline as title."""
    for path in documents:
        page = checker.page(path)
        dom = Page(chromium.dom(path))
        # A browser that shows frames keeps the NOFRAMES part as text: compare the frames only.
        frames_only = any(tag == "frame" for tag, _, _ in page.links)
        want = sorted(v for t, _, v in page.links if t == "frame" or not frames_only)
        got = sorted(v for t, _, v in dom.links if t == "frame" or not frames_only)
        if want != got:
            checker.fault(f"{path}: Chromium sees the links {got}, the file holds {want}")
        if path in articles:
            headline = html.unescape(page.meta.get("description", ""))
            if (dom.title or "").strip() != headline:
                checker.fault(f"{path}: Chromium shows the title {dom.title!r}, not {headline!r}")


# --- The issue --------------------------------------------------------------------------


def check_chain(checker, entry, articles):
    index_file = entry.resolve()
    for number, article in enumerate(articles):
        chain = checker.page(article).chain
        expected = {
            "mxprev": articles[number - 1] if number > 0 else None,
            "mxnext": articles[number + 1] if number + 1 < len(articles) else None,
            "mxindex": index_file,
        }
        for marker in expected:
            if marker not in (m for m, _ in chain):
                checker.fault(f"{article}: no {marker} link")
        for marker, href in chain:
            want = expected[marker]
            if want is None:
                if href != "":
                    checker.fault(f"{article}: {marker} leads to {href!r} at the end of the chain")
                continue
            got, _ = checker.target(article, href)
            if got != want:
                checker.fault(f"{article}: {marker} leads to {got}, the index order says {want}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("entry", type=pathlib.Path, help="the entry page (frames document)")
    parser.add_argument("--chromium", required=True)
    parser.add_argument("--xtpicture", help="the product's picture tool, for decoding")
    parser.add_argument("--expect-articles", type=int)
    parser.add_argument("--expect-kinds", default="",
                        help="comma-separated picture kinds that must occur")
    parser.add_argument("--screenshots", type=pathlib.Path)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="check_site") as work:
        return check(args, pathlib.Path(work))


def check(args, work):
    checker = Checker(args)
    entry = args.entry.resolve()
    chromium = Chromium(args.chromium, work)

    # The entry page and its frames; the list frame is the one named IndexList.
    frames = [checker.target(entry, v)[0] for t, _, v in checker.page(entry).links if t == "frame"]
    if not frames:
        checker.fault(f"{entry}: no frames")
    documents = [entry] + [f for f in frames if f is not None and f.is_file()]
    lists = [f for f in documents if f.name.startswith("content.")]
    if len(lists) != 1:
        checker.fault(f"{entry}: no single index list frame among {frames}")
        return 1
    list_page = checker.page(lists[0])
    articles = []
    for tag, _, value in list_page.links:
        file, _ = checker.target(lists[0], value)
        if tag == "a" and file is not None and file.parent.parent.parent == lists[0].parent:
            articles.append(file)
    if args.expect_articles is not None and len(articles) != args.expect_articles:
        checker.fault(f"the index lists {len(articles)} articles, not {args.expect_articles}")
    documents += [a for a in articles if a.is_file()]

    for path in documents:
        checker.check_links(path)
    check_chain(checker, entry, [a for a in articles if a.is_file()])

    pictures = checker.pictures()
    for article in articles:
        for file in article.parent.iterdir():
            if file.suffix.lower() in PICTURE_SUFFIXES and file.resolve() not in pictures:
                checker.fault(f"{file}: a picture that its article does not show")
    kinds = check_pictures(checker, pictures, work)
    for kind in filter(None, args.expect_kinds.split(",")):
        if kind not in kinds:
            checker.fault(f"no picture of the kind {kind} (found: {', '.join(sorted(kinds))})")
    check_pictures_in_browser(checker, chromium, pictures, work)

    check_in_browser(checker, chromium, documents, set(articles))

    if args.screenshots:
        args.screenshots.mkdir(parents=True, exist_ok=True)
        shots = [(entry, "framed-index.png", 1200, 860)]
        shots += [(a, f"article-{a.stem.lower()}.png", 900, 700) for a in articles[:2]]
        for page, name, width, height in shots:
            if not chromium.screenshot(page, args.screenshots / name, width, height):
                checker.fault(f"no screenshot of {page}")

    print(f"{len(documents)} documents, {len(articles)} articles, {len(pictures)} pictures "
          f"({', '.join(f'{k} {len(v)}' for k, v in sorted(kinds.items()))}), "
          f"{len(checker.external)} external links not followed: "
          f"{' '.join(sorted(checker.external))}")
    return 1 if checker.faults else 0


if __name__ == "__main__":
    sys.exit(main())
