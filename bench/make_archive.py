#!/usr/bin/env python3
"""Writes a synthetic archive for the indexer benchmarks: YEAR/ISSUE/CATEGORY/ARTICLE/page.htm,
each page with the META head the export plug-in writes and the $PREVURL: / $NEXTURL: /
$INDEXURL: placeholders of its link snippets, padded with text to a random size."""

import argparse
import os
import random
import sys

WORDS = ("archive issue article story page layout culture news sport review index frame "
         "chain link column print edition reader editor weekly daily report").split()


def page(rng, category, article, size):
    head = (
        "<HTML><HEAD>\r\n"
        f'<META NAME="YEAR" CONTENT="1998">\r\n'
        f'<META NAME="CATEGORY" CONTENT="{category}">\r\n'
        f'<META NAME="DESCRIPTION" CONTENT="Article {article} of {category}">\r\n'
        f'<META NAME="SUBDESCRIPTION" CONTENT="{" ".join(rng.choices(WORDS, k=5))}">\r\n'
        "<TITLE>Article</TITLE></HEAD>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\n"
        "<A $PREVURL:>Back</A> | <A $INDEXURL:>Index</A> | <A $NEXTURL:>Next</A><HR>\r\n"
    )
    foot = "<HR><A $PREVURL:>Back</A> | <A $INDEXURL:>Index</A> | <A $NEXTURL:>Next</A>\r\n" \
           "</BODY></HTML>\r\n"
    body = []
    length = len(head) + len(foot)
    while length < size:
        line = "<P>" + " ".join(rng.choices(WORDS, k=14)) + "</P>\r\n"
        body.append(line)
        length += len(line)
    return (head + "".join(body) + foot).encode("cp1252")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("folder", help="the main folder to write the archive into")
    parser.add_argument("--issues", type=int, default=1)
    parser.add_argument("--categories", type=int, default=10)
    parser.add_argument("--articles", type=int, default=1000, help="per category")
    parser.add_argument("--min-kb", type=int, default=2)
    parser.add_argument("--max-kb", type=int, default=20)
    parser.add_argument("--seed", type=int, default=1998)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    total = 0
    for issue in range(1, args.issues + 1):
        issue_folder = os.path.join(args.folder, "1998", f"{issue:02d}")
        for c in range(args.categories):
            category = f"Category{c:02d}"
            for a in range(args.articles):
                folder = os.path.join(issue_folder, category, f"Art{a:05d}")
                os.makedirs(folder, exist_ok=True)
                size = rng.randint(args.min_kb * 1024, args.max_kb * 1024)
                with open(os.path.join(folder, "page.htm"), "wb") as out:
                    total += out.write(page(rng, category, a, size))
        print(issue_folder)
    print(f"{args.issues * args.categories * args.articles} pages, {total // (1024 * 1024)} MB",
          file=sys.stderr)


if __name__ == "__main__":
    main()
