#!/usr/bin/env python3
"""Writes the layout documents of the example issue (examples/1998-01/*.json) and the list of
export jobs that the pipeline runs on them (examples/1998-01/jobs.tsv).

The documents are kept in the repository as they are written here; this script is their
readable source: it counts the link ranges and packs the 600-byte box records that would be
tedious and error-prone to keep by hand. With --check it only compares and exits 1 when a
committed file differs from what it would write.

"@ARCHIVE@" in the target of a story's link stands for the archive's main folder; the pipeline
fills it in, so that a file link can be given as the absolute path an editor would pick (the
plug-in makes it relative to the page). Records are base64, so their texts cannot use it.
"""

import argparse
import base64
import json
import pathlib
import struct
import sys

OUT = pathlib.Path(__file__).resolve().parent / "1998-01"

# Box record fields: offset and struct format (little-endian).
RECORD_SIZE = 600
RECORD_FIELDS = {
    "flags": (0, "<I"),
    "alt": (36, 256),
    "target_width": (292, "<i"),
    "target_height": (296, "<i"),
    "align": (300, "<h"),
    "scale": (302, "<i"),
    "link_target": (306, 256),
    "link_type": (562, "<I"),
    "picture_format": (566, "<I"),
    "vspace": (570, "<h"),
    "hspace": (572, "<h"),
    "quality": (574, "<h"),
    "kind": (576, "<h"),
    "border": (580, "<h"),  # multicolumn: column width
    "padding": (582, "<h"),
    "spacing": (584, "<h"),  # multicolumn: gutter
    "columns": (588, "<h"),
    "table_align": (590, "<h"),
    "width_mode": (592, "<h"),
    "width_value": (594, "<h"),
    "caption_id": (596, "<I"),
}

# Flag bits and picture formats of a record.
SEND_COLOR = 0x01  # text: FONT COLOR; picture: one-cell table around it
IS_CAPTION = 0x08  # text: caption box; picture: image-and-caption mode
SEND_FACE = 0x10
JPEG, GIF, INTERLACED, TRANSPARENT = 0x1, 0x2, 0x4, 0x8

# Export kinds of a text box.
NORMAL, AS_PICTURE, TABLE, TYPEWRITER, UNORDERED, ORDERED, DIRECTORY, MULTICOLUMN = range(8)

# Picture link types (text links use 1 file, 2 URL, 3 anchor, 4 link to anchor).
PIC_LINK_URL, PIC_LINK_ANCHOR_NAME, PIC_LINK_ANCHOR, PIC_LINK_FILE = 1, 2, 3, 4
TEXT_LINK_FILE, TEXT_LINK_URL, TEXT_LINK_ANCHOR_NAME, TEXT_LINK_TO_ANCHOR = 1, 2, 3, 4


def record(key, **fields):
    data = bytearray(RECORD_SIZE)
    for name, value in fields.items():
        offset, form = RECORD_FIELDS[name]
        if isinstance(form, int):
            text = value.encode("cp1252")
            assert len(text) < form, name
            data[offset:offset + len(text)] = text
        else:
            struct.pack_into(form, data, offset, value)
    # Trailing zero bytes need not be stored: the plug-in extends a short record with zeros.
    used = len(data.rstrip(b"\0")) or 4
    return {"key": key, "data": base64.b64encode(bytes(data[:used])).decode("ascii")}


def text_record(**fields):
    return record("42465601", **fields)


def picture_record(**fields):
    fields.setdefault("hspace", 6)
    fields.setdefault("vspace", 4)
    return record("42465600", **fields)


FONTS = [
    {"id": 1, "name": "Times New Roman"},
    {"id": 2, "name": "Arial Bold"},
    {"id": 3, "name": "Courier New"},
    {"id": 4, "name": "Georgia Italic"},
    {"id": 5, "name": "Verdana"},
    {"id": 6, "name": "Helvetica Black"},
]
TIMES, ARIAL_BOLD, COURIER, GEORGIA_ITALIC, VERDANA, HELVETICA_BLACK = 1, 2, 3, 4, 5, 6


def rgb(hex_colour):
    return [int(hex_colour[i:i + 2], 16) * 257 for i in (0, 2, 4)]


COLORS = [
    {"index": 1, "name": "Black", "rgb": rgb("000000")},
    {"index": 2, "name": "White", "rgb": rgb("ffffff")},
    {"index": 3, "name": "Harbour blue", "rgb": rgb("13507a")},
    {"index": 4, "name": "Signal red", "rgb": rgb("c0392b")},
    {"index": 5, "name": "Sea green", "rgb": rgb("1c7b3b")},
    {"index": 6, "name": "Sand", "rgb": rgb("f4e6c8")},
    {"index": 7, "name": "Plum", "rgb": rgb("7b2d6b")},
]
BLACK, WHITE, BLUE, RED, GREEN, SAND, PLUM = range(1, 8)

HEADLINE = {"font": ARIAL_BOLD, "size": 18}  # 16 points and more: level 1
SUBHEAD = {"font": GEORGIA_ITALIC, "size": 15}  # level 2
SECTION = {"font": ARIAL_BOLD, "size": 14}  # level 3
BODY = {"font": TIMES, "size": 11}


class Story:
    """A story built run by run; paragraph attributes and links are placed where the text is."""

    def __init__(self, story_id):
        self.id = story_id
        self.runs = []
        self.paragraphs = []
        self.links = []
        self.length = 0

    def add(self, text, look=None, **attributes):
        """Appends a run: body text, changed by a preset `look` and then by `attributes`."""
        run = {"text": text, **BODY, **(look or {}), **attributes}
        self.runs.append(run)
        self.length += len(text)
        return self

    def paragraph(self, **attributes):
        """Attributes of the paragraph that the next text starts."""
        index = sum(run["text"].count("\r") for run in self.runs)
        while len(self.paragraphs) <= index:
            self.paragraphs.append({})
        self.paragraphs[index].update(attributes)
        return self

    def link(self, text, link_type, target, look=None, **attributes):
        start = self.length
        self.add(text, look, **attributes)
        self.links.append({"range": [start, self.length], "type": link_type, "target": target})
        return self

    def json(self):
        story = {"id": self.id, "runs": self.runs}
        if self.paragraphs:
            story["paragraphs"] = self.paragraphs
        if self.links:
            story["links"] = self.links
        return story


def text_box(box_id, bounds, story, records=(), **extra):
    box = {"id": box_id, "kind": "text", "bounds": bounds, "story": story.id, **extra}
    if records:
        box["records"] = list(records)
    return box


def picture_box(box_id, file, size, records=(), top=0, left=0):
    width, height = size
    box = {"id": box_id, "kind": "picture", "bounds": [top, left, top + height, left + width],
           "picture": {"file": "pictures/" + file}}
    if records:
        box["records"] = list(records)
    return box


def group(box_id, members, boxes):
    top = min(b["bounds"][0] for b in boxes)
    left = min(b["bounds"][1] for b in boxes)
    bottom = max(b["bounds"][2] for b in boxes)
    right = max(b["bounds"][3] for b in boxes)
    return {"id": box_id, "kind": "group", "bounds": [top, left, bottom, right],
            "members": members}


def document(name, stories, boxes, members):
    group_id = max(b["id"] for b in boxes) + 1
    all_boxes = boxes + [group(group_id, members, boxes)]
    return {
        "layout_document": 1,
        "name": name,
        "fonts": FONTS,
        "colors": COLORS,
        "stories": [s.json() for s in stories],
        "pages": [{"boxes": all_boxes}],
        "current": group_id,
        "selection": [group_id],
    }


# --- The articles -------------------------------------------------------------------------


def harbour():
    s = Story(1)
    s.add("A day at the harbour\r", HEADLINE)
    s.add("Fish, ferries and the old lighthouse\r", SUBHEAD)
    s.paragraph(drop_cap=True)
    s.add("Early in the morning the boats come in. At Café Ångström on the quay the fishmonger "
          "sells ")
    s.add("smoked herring", style=["bold"])
    s.add(" and ")
    s.add("crème brûlée", style=["italic"])
    s.add(" at 4,50 € a plate, and the harbour master's ")
    s.add("red", color=RED)
    s.add(" and ")
    s.add("blue", color=BLUE)
    s.add(" flags tell the ferries where to berth, and this line is set in ")
    s.add("Verdana", font=VERDANA, color=GREEN)
    s.add(".\r")
    s.paragraph(left_indent=18)
    s.add("The old lighthouse has stood at the end of the pier since 1887. Its lamp still turns "
          "every night, and on Sundays the keeper's grandson shows visitors the 112 steps to "
          "the top.\r")
    s.add("Read about the ")
    s.link("new ferry timetable", TEXT_LINK_URL, "../../News/Ferry/Ferry.htm")
    s.add(" or about the ")
    s.link("midsummer concert", TEXT_LINK_FILE,
           "@ARCHIVE@/1998/01/Culture/Concert/Concert.htm")
    s.add(" in the park.")
    # A box that sends neither face nor colour, so that the font names alone set the style.
    signs = Story(2)
    signs.add("On the quay the fish stall's sign is painted in ")
    signs.add("Helvetica Black", font=HELVETICA_BLACK)
    signs.add(", which comes out bold, and the café's menu in ")
    signs.add("Georgia Italic", font=GEORGIA_ITALIC)
    signs.add(", which comes out italic.")
    boxes = [
        text_box(1, [0, 0, 400, 300], s,
                 [text_record(flags=SEND_COLOR | SEND_FACE, kind=NORMAL)]),
        picture_box(2, "harbour.png", (240, 160),
                    [picture_record(picture_format=JPEG, align=2, hspace=10,
                                    alt="The harbour at dawn")], left=310),
        text_box(3, [410, 0, 450, 300], signs),
    ]
    return document("Harbour", [s, signs], boxes, [2, 1, 3])


def concert():
    s = Story(1)
    s.add("Midsummer concert in the park\r", HEADLINE)
    s.add("See the ")
    s.link("programme", TEXT_LINK_TO_ANCHOR, "programme")
    s.add(" below.\r")
    s.add("The city orchestra, the harbour brass band and the school choir played until after "
          "midnight. More than 3000 people sat on the grass between the old oaks; the ice "
          "cream van ran out of vanilla at nine.\r")
    s.link("The programme", TEXT_LINK_ANCHOR_NAME, "programme", SECTION)
    s.add("\r", SECTION)
    s.add("Overture \u2014 the harbour brass band\r")
    s.add("Serenade for strings \u2014 the city orchestra\r")
    s.add("Songs of the sea \u2014 the school choir")
    caption = Story(2)
    caption.add("The stage at sunset, shortly before the first note.", size=9, style=["italic"])
    boxes = [
        text_box(1, [0, 240, 300, 540], s),
        picture_box(2, "concert.jpg", (220, 150),
                    [picture_record(flags=IS_CAPTION, picture_format=JPEG | INTERLACED,
                                    caption_id=7, hspace=0, vspace=0,
                                    alt="The stage at sunset")]),
        text_box(4, [156, 0, 190, 220], caption, [text_record(flags=IS_CAPTION, caption_id=7)]),
    ]
    return document("Concert", [s, caption], boxes, [2, 4, 1])


def cinema():
    s = Story(1)
    s.add("Films of the week\r", HEADLINE)
    s.add("Our critic Søren Østergård saw five films this week. \u201eSmörgåsbord\u201c "
          "(Sweden, 1997) is a naïve, warm comedy \u2013 the best of the week. ")
    s.add("Les Misérables", style=["italic"])
    s.add(" returns in a new copy; ")
    s.add("Fräulein Else", style=["italic"])
    s.add(" costs ½ price on Mondays. Tickets 45\u00a0kr., students 30\u00a0kr.\r")
    s.add("Straße, façade, Æble, Œuvre, déjà vu, señor, Ærø \u2026 all the letters that a "
          "Scandinavian, German or French title needs. © The Tarnby Courier\u2122\r")
    s.add("After the film: the ")
    s.link("programme of the midsummer concert", TEXT_LINK_URL,
           "../../Culture/Concert/Concert.htm#programme")
    s.add(".")
    boxes = [
        text_box(1, [0, 130, 300, 500], s),
        picture_box(2, "filmreel.png", (120, 90),
                    [picture_record(picture_format=GIF | TRANSPARENT, hspace=12,
                                    alt="A film reel")]),
    ]
    return document("Cinema", [s], boxes, [2, 1])


def ferry():
    intro = Story(1)
    intro.add("New ferry timetable\r", HEADLINE)
    intro.add("From 1 February the ferries to the islands leave every hour, and the last one "
              "waits for the train. After the ")
    intro.link("storm warning", TEXT_LINK_URL, "../Weather/Weather.htm")
    intro.add(" for Saturday, check the board at the quay before you set out.")
    table = Story(2)
    tabs = [{"position": 100, "align": "center"}, {"position": 200, "align": "right"}]
    rows = ["Departure\tArrival\tFerry", "07:00\t07:45\tMS Tärnö", "08:00\t08:45\tMS Björkö",
            "09:30\t10:15\tMS Tärnö", "11:00\t11:45\tMS Ängsö"]
    table.add(rows[0] + "\r", font=ARIAL_BOLD)
    table.add("\r".join(rows[1:]))
    for index in range(len(rows)):
        while len(table.paragraphs) <= index:
            table.paragraphs.append({})
        table.paragraphs[index]["tabs"] = tabs
    boxes = [
        text_box(1, [0, 0, 100, 400], intro),
        text_box(2, [110, 0, 220, 300], table,
                 [text_record(kind=TABLE, border=1, padding=4, spacing=0, table_align=1,
                              align=1, width_mode=2, width_value=70)]),
        picture_box(3, "ferry.png", (200, 120),
                    [picture_record(flags=SEND_COLOR, picture_format=GIF, border=2,
                                    alt="MS Tärnö")], top=230),
    ]
    return document("Ferry", [intro, table], boxes, [1, 2, 3])


def weather():
    head = Story(1)
    head.add("Storm warning for the coast\r", HEADLINE)
    head.add("Gusts of up to 9 Beaufort on Saturday", SUBHEAD)
    columns = Story(2)
    columns.add("A deep low moves in from the west on Friday night. On Saturday morning the wind "
                "turns north-west and rises to storm force along the coast; in gusts it reaches "
                "9 Beaufort. The harbour office asks boat owners to check their moorings on "
                "Friday.\r")
    columns.add("The ferries to the outer islands do not sail on Saturday between 10:00 and "
                "18:00. The 07:00 and 08:00 departures sail as planned; the ferry company "
                "decides about the evening departures at noon.\r")
    columns.add("On Sunday the wind drops to a fresh breeze and the sun comes back, just in time "
                "for the regatta.")
    boxes = [
        text_box(1, [0, 0, 60, 500], head),
        picture_box(2, "stormmap.png", (260, 160),
                    [picture_record(picture_format=GIF | INTERLACED, align=2,
                                    alt="Weather map with the low")], top=70),
        text_box(3, [70, 0, 400, 500], columns,
                 [text_record(kind=MULTICOLUMN, columns=2, spacing=20, border=480)],
                 columns=2, gutter=20),
    ]
    return document("Weather", [head, columns], boxes, [1, 2, 3])


def regatta():
    intro = Story(1)
    intro.add("Regatta results\r", HEADLINE)
    intro.add("Eighty boats sailed the autumn regatta round the islands in bright sunshine "
              "and a steady breeze.")
    starters = Story(2)
    starters.add("Starters by class:\rDinghies: 34\rKeelboats: 28\rMultihulls: 18")
    winners = Story(3)
    winners.add("Winners of the keelboat class:\rSeglar Vind (Tärnö SK)\r"
                "Måsen II (Harbour YC)\rBlue Note (Björkö)")
    evening = Story(4)
    evening.add("Prize-giving at the town hall:\r18:00 Welcome\r18:30 Prizes\r19:00 Dinner")
    boxes = [
        text_box(1, [0, 0, 60, 400], intro),
        picture_box(2, "sailboat.png", (180, 140),
                    [picture_record(picture_format=GIF, align=1, alt="The winning boat")],
                    top=70),
        text_box(3, [220, 0, 300, 200], starters, [text_record(kind=UNORDERED)]),
        text_box(4, [220, 210, 300, 400], winners, [text_record(kind=ORDERED)]),
        text_box(5, [310, 0, 390, 200], evening, [text_record(kind=DIRECTORY)]),
    ]
    return document("Regatta", [intro, starters, winners, evening], boxes, [1, 2, 3, 4, 5])


def printing():
    s = Story(1)
    s.add("How the new press works\r", HEADLINE)
    s.paragraph(drop_cap=True)
    s.add("Since January the Courier is printed on a new press in the old boat shed. It takes "
          "one roll of paper an hour and prints both sides at once. The ")
    s.add("plates", font=HELVETICA_BLACK)
    s.add(" are made from the pages overnight, and the ")
    s.add("ink", font=GEORGIA_ITALIC)
    s.add(" is mixed on the spot. The print shop sends each issue to the press like this:")
    console = Story(2)
    console.add("$ lpr -P press1 issue01.ps\rjob 4711 queued on press1\r$ lpq -P press1\r"
                "press1 is ready and printing", font=COURIER, size=10)
    badge = Story(3)
    badge.add("PRESS 1\r", font=ARIAL_BOLD, size=24, color=BLUE)
    badge.add("32 000 copies an hour", font=VERDANA, size=12, color=RED)
    boxes = [
        text_box(1, [0, 0, 200, 400], s),
        picture_box(2, "press.gif", (160, 100),
                    [picture_record(picture_format=GIF, align=2, alt="The press")], top=210),
        text_box(3, [210, 170, 280, 400], console, [text_record(kind=TYPEWRITER)]),
        text_box(4, [290, 0, 350, 210], badge,
                 [text_record(kind=AS_PICTURE, picture_format=GIF, hspace=4, vspace=4,
                              alt="Press 1: 32 000 copies an hour")],
                 background=SAND),
    ]
    return document("Printing", [s, console, badge], boxes, [1, 2, 3, 4])


def islands():
    s = Story(1)
    s.add("Island hopping in the archipelago\r", HEADLINE)
    s.paragraph(drop_cap=True)
    s.add("With a ferry pass for 120 kr. you can visit four islands in three days. Start on "
          "Tärnö with its old pilot station, walk across Björkö, and spend the last night on "
          "Ängsö, where the only shop sells bread, fishing hooks and stamps.\r")
    s.paragraph(left_indent=18)
    s.add("Tip: the last ferry back leaves Ängsö at 17:15; the ")
    s.link("new timetable", TEXT_LINK_URL, "../../News/Ferry/Ferry.htm")
    s.add(" has all departures.\r")
    s.add("Click the picture to see who won the regatta round the islands.")
    boxes = [
        text_box(1, [0, 250, 300, 550], s),
        picture_box(2, "islands.jpg", (240, 150),
                    [picture_record(picture_format=JPEG, link_type=PIC_LINK_URL,
                                    link_target="../../Sports/Regatta/Regatta.htm",
                                    alt="Tärnö and Björkö from the ferry")]),
    ]
    return document("Islands", [s], boxes, [2, 1])


# Document, category, file name, headline, sub-headline, author. The header and footer files
# are the category's short name (the name cut to eight characters) with ".htm".
ARTICLES = [
    (harbour, "Culture", "Harbour", "A day at the harbour",
     "Fish, ferries and the old lighthouse", "Anna Lindqvist"),
    (concert, "Culture", "Concert", "Midsummer concert in the park",
     "Three orchestras, one evening", "Jonas Berg"),
    (cinema, "Entertainment", "Cinema", "Films of the week",
     "From „Smörgåsbord“ to Les Misérables", "Søren Østergård"),
    (ferry, "News", "Ferry", "New ferry timetable",
     "More departures to the islands from 1 February", "Anna Lindqvist"),
    (weather, "News", "Weather", "Storm warning for the coast",
     "Gusts of up to 9 Beaufort on Saturday", "Per Holm"),
    (regatta, "Sports", "Regatta", "Regatta results",
     "Eighty boats, three classes, one sunny day", "Jonas Berg"),
    (printing, "Technics", "Printing", "How the new press works",
     "A look inside the print shop", "Per Holm"),
    (islands, "Travel", "Islands", "Island hopping in the archipelago",
     "Three days, four islands, one ferry pass", "Anna Lindqvist"),
]


def pretty(value, indent=""):
    """JSON with every object or array on one line when it fits in 100 columns."""
    flat = json.dumps(value, ensure_ascii=False)
    if len(indent) + len(flat) <= 100 or not isinstance(value, (dict, list)) or not value:
        return flat
    inner = indent + "  "
    if isinstance(value, dict):
        items = [inner + json.dumps(k) + ": " + pretty(v, inner).lstrip() for k, v in value.items()]
        return "{\n" + ",\n".join(items) + "\n" + indent + "}"
    items = [inner + pretty(v, inner).lstrip() for v in value]
    return "[\n" + ",\n".join(items) + "\n" + indent + "]"


def outputs():
    files = {}
    jobs = ["# document\tcategory\tfile name\theadline\tsub-headline\theader/footer\tauthor"]
    for build, category, name, headline, sub, author in ARTICLES:
        doc_name = name.lower() + ".json"
        files[doc_name] = pretty(build()) + "\n"
        snippet = category[:8] + ".htm"
        jobs.append("\t".join([doc_name, category, name, headline, sub, snippet, author]))
    files["jobs.tsv"] = "\n".join(jobs) + "\n"
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed files instead of writing them")
    args = parser.parse_args()
    stale = []
    for name, text in outputs().items():
        path = OUT / name
        if args.check:
            if not path.is_file() or path.read_text(encoding="utf-8") != text:
                stale.append(name)
        else:
            OUT.mkdir(exist_ok=True)
            path.write_text(text, encoding="utf-8")
    if stale:
        print("out of date (run examples/build-documents.py): " + ", ".join(stale),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
