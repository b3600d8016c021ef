// The layout document that layouthost keeps in memory: pages of boxes (text, picture, group and
// other boxes), the stories the text boxes show, fonts, colours, the current item and the per-box
// records a plug-in attaches. Text is held in Windows-1252 bytes, as the plug-in receives it;
// conversion from and to UTF-8 happens only when the document is read or written (see
// layout_document_json.h). Geometry is in points (1/72 inch).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace layout {

struct Rect {
  double top = 0, left = 0, bottom = 0, right = 0;
  bool operator==(const Rect&) const = default;
};

enum class BoxKind { kOther, kText, kPicture, kGroup };

// Character attributes of a stretch of a story.
struct CharStyle {
  int font = 0;
  std::uint16_t style =
      0;             // style word: bold 0x1, italic 0x2, underline 0x4, word underline 0x1000
  double size = 12;  // points
  int color = 1;     // colour index
  bool operator==(const CharStyle&) const = default;
};

// A stretch of a story with one set of character attributes.
struct StyleSpan {
  int start = 0;
  int length = 0;
  CharStyle style;
  bool operator==(const StyleSpan&) const = default;
};

enum TabAlignment { kTabLeft = 0, kTabCenter = 1, kTabRight = 2, kTabDecimal = 3 };

struct TabStop {
  double position = 0;  // points from the box's left edge
  int alignment = kTabLeft;
  bool operator==(const TabStop&) const = default;
};

struct ParagraphStyle {
  double left_indent = 0;  // points
  bool drop_cap = false;
  std::vector<TabStop> tabs;
  bool operator==(const ParagraphStyle&) const = default;
};

// A linked stretch [start, end) of a story; `type` is the plug-in's link type byte.
struct TextLink {
  int start = 0;
  int end = 0;
  std::uint8_t type = 0;
  std::string target;  // Windows-1252
  bool operator==(const TextLink&) const = default;
};

// Byte 13 ends a paragraph; paragraph n's attributes are paragraphs[n] (defaults when absent).
struct Story {
  int id = 0;
  std::string text;              // Windows-1252, the whole story
  std::vector<StyleSpan> spans;  // cover text in order, no gaps
  std::vector<ParagraphStyle> paragraphs;
  std::vector<TextLink> links;
  int selection_start = 0;
  int selection_end = 0;

  int Length() const { return static_cast<int>(text.size()); }
  // Index of the paragraph that holds character `offset`.
  int ParagraphAt(int offset) const;
  const ParagraphStyle& Paragraph(int index) const;
  // The span that holds character `offset` (the last span for offsets at the end).
  const StyleSpan* SpanAt(int offset) const;
  bool operator==(const Story&) const = default;
};

// An opaque data block a plug-in keeps with a box under a four-byte key.
struct Record {
  std::uint32_t key = 0;
  std::vector<std::uint8_t> data;
  bool operator==(const Record&) const = default;
};

// The picture imported into a picture box, placed at `offset` (points from the box's top left
// corner) and drawn at `scale` (1.0 = the image's own size at 72 pixels per inch).
struct PictureContent {
  std::string file;  // as written in the document, UTF-8; relative to the document's folder
  double offset_x = 0, offset_y = 0;
  double scale_x = 1, scale_y = 1;
  bool operator==(const PictureContent&) const = default;
};

struct Box {
  int id = 0;
  BoxKind kind = BoxKind::kOther;
  int page = 0;
  Rect bounds;
  int background = 0;  // colour index, 0 none
  int columns = 1;
  double gutter = 0;
  // Text boxes: the story shown and the part of it this box holds.
  int story = 0;
  int text_start = 0;
  int text_end = 0;
  bool explicit_range = false;  // the document gave the range (else the whole story)
  PictureContent picture;
  std::vector<int> members;  // groups: member ids in order
  int group = 0;             // the group that holds this box, 0 none
  std::vector<Record> records;

  const Record* FindRecord(std::uint32_t key) const;
  void SetRecord(std::uint32_t key, std::vector<std::uint8_t> data);
  bool operator==(const Box&) const = default;
};

struct Font {
  int id = 0;
  std::string name;  // Windows-1252
  bool operator==(const Font&) const = default;
};

struct Color {
  int index = 0;
  std::string name;  // Windows-1252
  std::uint16_t red = 0, green = 0, blue = 0;
  bool operator==(const Color&) const = default;
};

class Document {
 public:
  std::string name;  // Windows-1252
  std::vector<Font> fonts;
  std::vector<Color> colors;
  int page_count = 1;
  std::vector<Box> boxes;  // ordered by page, then in the host's order on the page
  std::vector<Story> stories;
  int current = 0;             // the current item (box or group id), 0 none
  std::vector<int> selection;  // selected item ids

  Box* FindBox(int id);
  const Box* FindBox(int id) const;
  Story* FindStory(int id);
  const Story* FindStory(int id) const;
  const Font* FindFont(int id) const;
  const Color* FindColor(int index) const;

  // Dissolves a group: its members stay on the page and belong to the group's own group.
  bool Ungroup(int group_id);

  bool operator==(const Document&) const = default;
};

}  // namespace layout
