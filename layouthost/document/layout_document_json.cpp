#include "layouthost/document/layout_document_json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include <nlohmann/json.hpp>

#include "layouthost/document/base64.h"
#include "platform/cp1252.h"
#include "platform/file_replacement.h"
#include "platform/whole_file.h"

namespace layout {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kFormatVersion = 1;
constexpr int kMaxNesting = 32;            // the format itself needs 6 levels
constexpr double kMaxCoordinate = 16384;   // points; keeps 16.16 values and pixels in range
constexpr double kMaxSize = 32767;         // font sizes and indents, points
constexpr double kMaxPictureScale = 1000;  // 100000 %
constexpr int kMaxId = 1000000000;
constexpr int kMaxShortId = 32767;                // font ids and colour indexes are 16-bit
constexpr std::size_t kMaxStoryLength = 1 << 24;  // characters
constexpr std::size_t kMaxRecordSize = 1 << 20;   // bytes
constexpr int kMaxGroupDepth = 128;

// Thrown inside the reader only; ParseDocument turns it into the error text.
struct Failure {
  std::string message;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw Failure{where.empty() ? what : where + ": " + what};
}

// Rejects nesting deeper than the format uses before the parser recurses into it.
bool NestingWithin(std::string_view text, int limit) {
  int depth = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

std::string Member(const std::string& where, const char* key) {
  return where.empty() ? key : where + "." + key;
}
std::string Element(const std::string& where, std::size_t index) {
  return where + "[" + std::to_string(index) + "]";
}

// One JSON object being read: checks that only known keys appear and reads typed members.
class ObjectReader {
 public:
  ObjectReader(const Json& value, std::string where, std::set<std::string> known)
      : value_(value), where_(std::move(where)) {
    if (!value_.is_object()) Fail(where_, "expected an object");
    for (const auto& item : value_.items()) {
      if (!known.count(item.key())) Fail(Member(where_, item.key().c_str()), "unknown member");
    }
  }

  const std::string& where() const { return where_; }
  bool Has(const char* key) const { return value_.contains(key); }
  const Json& At(const char* key) const { return value_.at(key); }

  double Number(const char* key, double fallback, double min, double max) const {
    if (!Has(key)) return fallback;
    return CheckedNumber(At(key), Member(where_, key), min, max);
  }
  int Integer(const char* key, int fallback, int min, int max) const {
    if (!Has(key)) return fallback;
    return CheckedInteger(At(key), Member(where_, key), min, max);
  }
  int RequiredInteger(const char* key, int min, int max) const {
    if (!Has(key)) Fail(where_, std::string("missing \"") + key + "\"");
    return Integer(key, 0, min, max);
  }
  bool Boolean(const char* key, bool fallback) const {
    if (!Has(key)) return fallback;
    if (!At(key).is_boolean()) Fail(Member(where_, key), "expected true or false");
    return At(key).get<bool>();
  }
  std::string Utf8(const char* key, const std::string& fallback) const {
    if (!Has(key)) return fallback;
    if (!At(key).is_string()) Fail(Member(where_, key), "expected a string");
    return At(key).get<std::string>();
  }
  std::string Text(const char* key) const {
    const std::string utf8 = Utf8(key, "");
    auto bytes = platform::Utf8ToCp1252(utf8);
    if (!bytes) Fail(Member(where_, key), "not UTF-8 text that Windows-1252 can hold");
    return std::move(*bytes);
  }
  const Json& Array(const char* key) const {
    static const Json kEmpty = Json::array();
    if (!Has(key)) return kEmpty;
    if (!At(key).is_array()) Fail(Member(where_, key), "expected an array");
    return At(key);
  }
  std::vector<double> Numbers(const char* key, std::size_t count, double min, double max) const {
    const Json& array = Array(key);
    if (array.size() != count) {
      Fail(Member(where_, key), "expected " + std::to_string(count) + " numbers");
    }
    std::vector<double> out;
    for (std::size_t i = 0; i < count; ++i) {
      out.push_back(CheckedNumber(array[i], Element(Member(where_, key), i), min, max));
    }
    return out;
  }

  static double CheckedNumber(const Json& value, const std::string& where, double min, double max) {
    if (!value.is_number()) Fail(where, "expected a number");
    const double number = value.get<double>();
    if (!std::isfinite(number) || number < min || number > max) {
      Fail(where, "out of range");
    }
    return number;
  }
  static int CheckedInteger(const Json& value, const std::string& where, int min, int max) {
    if (!value.is_number_integer()) Fail(where, "expected a whole number");
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() > static_cast<std::uint64_t>(max)) {
      Fail(where, "out of range");
    }
    const std::int64_t number = value.get<std::int64_t>();
    if (number < min || number > max) Fail(where, "out of range");
    return static_cast<int>(number);
  }

 private:
  const Json& value_;
  std::string where_;
};

const std::map<std::string, std::uint16_t> kStyleWords = {
    {"bold", 0x0001}, {"italic", 0x0002}, {"underline", 0x0004}, {"word_underline", 0x1000}};
const std::map<std::string, int> kTabAlignments = {
    {"left", kTabLeft}, {"center", kTabCenter}, {"right", kTabRight}, {"decimal", kTabDecimal}};
const std::map<std::string, BoxKind> kBoxKinds = {{"text", BoxKind::kText},
                                                  {"picture", BoxKind::kPicture},
                                                  {"group", BoxKind::kGroup},
                                                  {"other", BoxKind::kOther}};

std::uint16_t ReadStyle(const Json& value, const std::string& where) {
  if (value.is_number()) return ObjectReader::CheckedInteger(value, where, 0, 0xFFFF);
  if (!value.is_array()) Fail(where, "expected a list of style names or a style word");
  std::uint16_t style = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto it =
        value[i].is_string() ? kStyleWords.find(value[i].get<std::string>()) : kStyleWords.end();
    if (it == kStyleWords.end()) {
      Fail(Element(where, i), "expected bold, italic, underline or word_underline");
    }
    style |= it->second;
  }
  return style;
}

std::pair<int, int> ReadRange(const ObjectReader& object, const char* key, int length) {
  const auto where = Member(object.where(), key);
  const Json& array = object.Array(key);
  if (array.size() != 2) Fail(where, "expected [start, end]");
  const int start = ObjectReader::CheckedInteger(array[0], Element(where, 0), 0, length);
  const int end = ObjectReader::CheckedInteger(array[1], Element(where, 1), start, length);
  return {start, end};
}

void ReadRuns(const ObjectReader& object, Story& story) {
  const Json& runs = object.Array("runs");
  for (std::size_t i = 0; i < runs.size(); ++i) {
    ObjectReader run(runs[i], Element(Member(object.where(), "runs"), i),
                     {"text", "font", "size", "style", "color"});
    std::string text = run.Text("text");
    if (story.text.size() + text.size() > kMaxStoryLength) Fail(run.where(), "story too long");
    CharStyle style;
    style.font = run.Integer("font", 0, 0, kMaxShortId);
    style.size = run.Number("size", style.size, 1.0 / 65536, kMaxSize);
    style.color = run.Integer("color", style.color, 0, kMaxShortId);
    if (run.Has("style")) style.style = ReadStyle(run.At("style"), Member(run.where(), "style"));
    if (text.empty()) continue;  // an empty run styles nothing
    const int start = story.Length();
    story.text += text;
    if (!story.spans.empty() && story.spans.back().style == style) {
      story.spans.back().length += static_cast<int>(text.size());
    } else {
      story.spans.push_back(StyleSpan{start, static_cast<int>(text.size()), style});
    }
  }
}

void ReadParagraphs(const ObjectReader& object, Story& story) {
  const Json& paragraphs = object.Array("paragraphs");
  const std::size_t count = static_cast<std::size_t>(story.ParagraphAt(story.Length())) + 1;
  if (paragraphs.size() > count) {
    Fail(Member(object.where(), "paragraphs"),
         "more entries than the story's " + std::to_string(count) + " paragraphs");
  }
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    ObjectReader paragraph(paragraphs[i], Element(Member(object.where(), "paragraphs"), i),
                           {"left_indent", "drop_cap", "tabs"});
    ParagraphStyle style;
    style.left_indent = paragraph.Number("left_indent", 0, 0, kMaxSize);
    style.drop_cap = paragraph.Boolean("drop_cap", false);
    const Json& tabs = paragraph.Array("tabs");
    for (std::size_t t = 0; t < tabs.size(); ++t) {
      ObjectReader tab(tabs[t], Element(Member(paragraph.where(), "tabs"), t),
                       {"position", "align"});
      TabStop stop;
      stop.position = tab.Number("position", 0, 0, kMaxCoordinate);
      const auto align = kTabAlignments.find(tab.Utf8("align", "left"));
      if (align == kTabAlignments.end()) {
        Fail(Member(tab.where(), "align"), "expected left, center, right or decimal");
      }
      stop.alignment = align->second;
      style.tabs.push_back(stop);
    }
    story.paragraphs.push_back(std::move(style));
  }
}

Story ReadStory(const Json& value, const std::string& where) {
  ObjectReader object(value, where, {"id", "runs", "paragraphs", "links", "selection"});
  Story story;
  story.id = object.RequiredInteger("id", 1, kMaxId);
  ReadRuns(object, story);
  ReadParagraphs(object, story);
  const Json& links = object.Array("links");
  for (std::size_t i = 0; i < links.size(); ++i) {
    ObjectReader link(links[i], Element(Member(where, "links"), i), {"range", "type", "target"});
    TextLink mark;
    std::tie(mark.start, mark.end) = ReadRange(link, "range", story.Length());
    if (mark.start == mark.end) Fail(link.where(), "a link needs at least one character");
    mark.type = static_cast<std::uint8_t>(link.RequiredInteger("type", 0, 255));
    mark.target = link.Text("target");
    story.links.push_back(std::move(mark));
  }
  if (object.Has("selection")) {
    std::tie(story.selection_start, story.selection_end) =
        ReadRange(object, "selection", story.Length());
  }
  return story;
}

std::uint32_t ReadRecordKey(const std::string& text, const std::string& where) {
  if (text.size() != 8 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    Fail(where, "expected 8 hexadecimal digits");
  }
  return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

void ReadRecords(const ObjectReader& object, Box& box) {
  const Json& records = object.Array("records");
  for (std::size_t i = 0; i < records.size(); ++i) {
    ObjectReader record(records[i], Element(Member(object.where(), "records"), i), {"key", "data"});
    const std::uint32_t key = ReadRecordKey(record.Utf8("key", ""), Member(record.where(), "key"));
    if (box.FindRecord(key)) Fail(Member(record.where(), "key"), "duplicate key");
    const std::string data = record.Utf8("data", "");
    if (data.size() > kMaxRecordSize / 3 * 4 + 4) Fail(Member(record.where(), "data"), "too big");
    auto bytes = DecodeBase64(data);
    if (!bytes) Fail(Member(record.where(), "data"), "not base64");
    box.records.push_back(Record{key, std::move(*bytes)});
  }
}

Rect ReadBounds(const ObjectReader& object) {
  const auto v = object.Numbers("bounds", 4, -kMaxCoordinate, kMaxCoordinate);
  if (v[2] < v[0] || v[3] < v[1]) {
    Fail(Member(object.where(), "bounds"), "bottom above top or right left of left");
  }
  return Rect{v[0], v[1], v[2], v[3]};
}

Box ReadBox(const Json& value, const std::string& where, int page) {
  ObjectReader object(value, where,
                      {"id", "kind", "bounds", "background", "columns", "gutter", "story", "range",
                       "picture", "members", "records"});
  Box box;
  box.id = object.RequiredInteger("id", 1, kMaxId);
  box.page = page;
  const auto kind = kBoxKinds.find(object.Utf8("kind", ""));
  if (kind == kBoxKinds.end()) {
    Fail(Member(where, "kind"), "expected text, picture, group or other");
  }
  box.kind = kind->second;
  if (box.kind != BoxKind::kGroup || object.Has("bounds")) box.bounds = ReadBounds(object);
  box.background = object.Integer("background", 0, 0, kMaxShortId);
  box.columns = object.Integer("columns", 1, 1, kMaxShortId);
  box.gutter = object.Number("gutter", 0, 0, kMaxCoordinate);
  if (box.kind == BoxKind::kText) {
    box.story = object.Integer("story", 0, 0, kMaxId);
    if (object.Has("range")) {
      std::tie(box.text_start, box.text_end) =
          ReadRange(object, "range", static_cast<int>(kMaxStoryLength));
      box.explicit_range = true;
    }
  } else if (object.Has("story") || object.Has("range")) {
    Fail(where, "only text boxes show a story");
  }
  if (object.Has("picture")) {
    if (box.kind != BoxKind::kPicture) Fail(where, "only picture boxes hold a picture");
    ObjectReader picture(object.At("picture"), Member(where, "picture"),
                         {"file", "offset", "scale"});
    box.picture.file = picture.Utf8("file", "");
    if (picture.Has("offset")) {
      const auto v = picture.Numbers("offset", 2, -kMaxCoordinate, kMaxCoordinate);
      box.picture.offset_x = v[0];
      box.picture.offset_y = v[1];
    }
    if (picture.Has("scale")) {
      const auto v = picture.Numbers("scale", 2, 1.0 / 1024, kMaxPictureScale);
      box.picture.scale_x = v[0];
      box.picture.scale_y = v[1];
    }
  }
  if (object.Has("members") && box.kind != BoxKind::kGroup) {
    Fail(where, "only groups have members");
  }
  const Json& members = object.Array("members");
  for (std::size_t i = 0; i < members.size(); ++i) {
    box.members.push_back(
        ObjectReader::CheckedInteger(members[i], Element(Member(where, "members"), i), 1, kMaxId));
  }
  ReadRecords(object, box);
  return box;
}

// Text ranges need the stories, group links need every box: resolved after reading them all.
void ResolveTextRanges(Document& document) {
  for (Box& box : document.boxes) {
    if (box.kind != BoxKind::kText) continue;
    const std::string where = "box " + std::to_string(box.id);
    const Story* story = box.story ? document.FindStory(box.story) : nullptr;
    if (box.story && !story) Fail(where, "no story with that id");
    const int length = story ? story->Length() : 0;
    if (!box.explicit_range) {
      box.text_end = length;
    } else if (box.text_end > length) {
      Fail(where, "range goes beyond the story's " + std::to_string(length) + " characters");
    }
  }
}

Rect UnionOfMembers(const Document& document, const Box& group, const std::set<int>& unbounded,
                    int depth) {
  if (depth > kMaxGroupDepth) Fail("box " + std::to_string(group.id), "groups nested too deeply");
  Rect bounds;
  bool first = true;
  for (int id : group.members) {
    const Box* member = document.FindBox(id);
    const Rect r = unbounded.count(id) ? UnionOfMembers(document, *member, unbounded, depth + 1)
                                       : member->bounds;
    bounds = first ? r
                   : Rect{std::min(bounds.top, r.top), std::min(bounds.left, r.left),
                          std::max(bounds.bottom, r.bottom), std::max(bounds.right, r.right)};
    first = false;
  }
  return bounds;
}

void ResolveGroups(Document& document, const std::set<int>& groups_without_bounds) {
  for (const Box& group : document.boxes) {
    const std::string where = "box " + std::to_string(group.id);
    for (int id : group.members) {
      Box* member = document.FindBox(id);
      if (!member) Fail(where, "member " + std::to_string(id) + " does not exist");
      if (member->id == group.id) Fail(where, "a group cannot hold itself");
      if (member->page != group.page) Fail(where, "members must lie on the group's page");
      if (member->group) Fail(where, "box " + std::to_string(id) + " is already in a group");
      member->group = group.id;
    }
  }
  // Every box is in at most one group now, so a cycle is a chain of parents that never ends.
  for (const Box& box : document.boxes) {
    int parent = box.group;
    for (std::size_t steps = 0; parent; ++steps) {
      if (steps > document.boxes.size())
        Fail("box " + std::to_string(box.id), "groups form a loop");
      parent = document.FindBox(parent)->group;
    }
  }
  for (Box& box : document.boxes) {
    if (groups_without_bounds.count(box.id))
      box.bounds = UnionOfMembers(document, box, groups_without_bounds, 0);
  }
}

Document ReadDocument(const Json& root) {
  ObjectReader object(
      root, "",
      {"layout_document", "name", "fonts", "colors", "stories", "pages", "current", "selection"});
  if (object.Integer("layout_document", kFormatVersion, 0, 1 << 30) != kFormatVersion) {
    Fail("layout_document", "unsupported version");
  }
  Document document;
  document.name = object.Text("name");

  const Json& fonts = object.Array("fonts");
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    ObjectReader font(fonts[i], Element("fonts", i), {"id", "name"});
    Font entry{font.RequiredInteger("id", 0, kMaxShortId), font.Text("name")};
    if (document.FindFont(entry.id)) Fail(font.where(), "duplicate font id");
    document.fonts.push_back(std::move(entry));
  }
  const Json& colors = object.Array("colors");
  for (std::size_t i = 0; i < colors.size(); ++i) {
    ObjectReader color(colors[i], Element("colors", i), {"index", "name", "rgb"});
    Color entry;
    entry.index = color.RequiredInteger("index", 1, kMaxShortId);
    entry.name = color.Text("name");
    const auto rgb = color.Numbers("rgb", 3, 0, 65535);
    for (double v : rgb) {
      if (v != std::floor(v)) Fail(Member(color.where(), "rgb"), "expected whole numbers");
    }
    entry.red = static_cast<std::uint16_t>(rgb[0]);
    entry.green = static_cast<std::uint16_t>(rgb[1]);
    entry.blue = static_cast<std::uint16_t>(rgb[2]);
    if (document.FindColor(entry.index)) Fail(color.where(), "duplicate colour index");
    document.colors.push_back(std::move(entry));
  }
  const Json& stories = object.Array("stories");
  for (std::size_t i = 0; i < stories.size(); ++i) {
    Story story = ReadStory(stories[i], Element("stories", i));
    if (document.FindStory(story.id)) Fail(Element("stories", i), "duplicate story id");
    document.stories.push_back(std::move(story));
  }

  const Json& pages = object.Array("pages");
  document.page_count = std::max<int>(1, static_cast<int>(pages.size()));
  std::set<int> ids;
  std::set<int> groups_without_bounds;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    ObjectReader page(pages[p], Element("pages", p), {"boxes"});
    const Json& boxes = page.Array("boxes");
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      Box box = ReadBox(boxes[b], Element(Member(page.where(), "boxes"), b), static_cast<int>(p));
      if (!ids.insert(box.id).second) {
        Fail(Element(Member(page.where(), "boxes"), b), "duplicate box id");
      }
      if (box.kind == BoxKind::kGroup && !boxes[b].contains("bounds")) {
        groups_without_bounds.insert(box.id);
      }
      document.boxes.push_back(std::move(box));
    }
  }
  ResolveTextRanges(document);
  ResolveGroups(document, groups_without_bounds);

  document.current = object.Integer("current", 0, 0, kMaxId);
  if (document.current && !ids.count(document.current)) Fail("current", "no box with that id");
  const Json& selection = object.Array("selection");
  for (std::size_t i = 0; i < selection.size(); ++i) {
    const int id = ObjectReader::CheckedInteger(selection[i], Element("selection", i), 1, kMaxId);
    if (!ids.count(id)) Fail(Element("selection", i), "no box with that id");
    document.selection.push_back(id);
  }
  return document;
}

// ---- writing ----

std::string Utf8(const std::string& cp1252) {
  return platform::Cp1252ToUtf8(cp1252);
}

Json StyleJson(std::uint16_t style) {
  Json names = Json::array();
  std::uint16_t named = 0;
  for (const auto& [name, bit] : kStyleWords) {
    if (style & bit) {
      names.push_back(name);
      named |= bit;
    }
  }
  return named == style ? names : Json(style);
}

Json StoryJson(const Story& story) {
  Json runs = Json::array();
  for (const StyleSpan& span : story.spans) {
    runs.push_back({{"text", Utf8(story.text.substr(span.start, span.length))},
                    {"font", span.style.font},
                    {"size", span.style.size},
                    {"style", StyleJson(span.style.style)},
                    {"color", span.style.color}});
  }
  Json out = {{"id", story.id}, {"runs", runs}};
  if (!story.paragraphs.empty()) {
    Json paragraphs = Json::array();
    for (const ParagraphStyle& paragraph : story.paragraphs) {
      Json tabs = Json::array();
      for (const TabStop& tab : paragraph.tabs) {
        const char* align = "left";
        for (const auto& [name, value] : kTabAlignments) {
          if (value == tab.alignment) align = name.c_str();
        }
        tabs.push_back({{"position", tab.position}, {"align", align}});
      }
      paragraphs.push_back({{"left_indent", paragraph.left_indent},
                            {"drop_cap", paragraph.drop_cap},
                            {"tabs", tabs}});
    }
    out["paragraphs"] = paragraphs;
  }
  if (!story.links.empty()) {
    Json links = Json::array();
    for (const TextLink& link : story.links) {
      links.push_back(
          {{"range", {link.start, link.end}}, {"type", link.type}, {"target", Utf8(link.target)}});
    }
    out["links"] = links;
  }
  if (story.selection_start || story.selection_end) {
    out["selection"] = {story.selection_start, story.selection_end};
  }
  return out;
}

Json BoxJson(const Box& box) {
  const char* kind = "other";
  for (const auto& [name, value] : kBoxKinds) {
    if (value == box.kind) kind = name.c_str();
  }
  Json out = {{"id", box.id}, {"kind", kind}};
  out["bounds"] = {box.bounds.top, box.bounds.left, box.bounds.bottom, box.bounds.right};
  out["background"] = box.background;
  out["columns"] = box.columns;
  out["gutter"] = box.gutter;
  if (box.kind == BoxKind::kText) {
    out["story"] = box.story;
    if (box.explicit_range) out["range"] = {box.text_start, box.text_end};
  }
  if (box.kind == BoxKind::kPicture && box.picture != PictureContent{}) {
    out["picture"] = {{"file", box.picture.file},
                      {"offset", {box.picture.offset_x, box.picture.offset_y}},
                      {"scale", {box.picture.scale_x, box.picture.scale_y}}};
  }
  if (box.kind == BoxKind::kGroup) out["members"] = box.members;
  if (!box.records.empty()) {
    Json records = Json::array();
    for (const Record& record : box.records) {
      char key[9];
      std::snprintf(key, sizeof key, "%08x", record.key);
      records.push_back({{"key", key}, {"data", EncodeBase64(record.data)}});
    }
    out["records"] = records;
  }
  return out;
}

// The JSON library's message without its own "[json.exception.parse_error.101] " tag, which
// names the library's exception class rather than anything about the document.
std::string WithoutLibraryPrefix(std::string message) {
  if (message.starts_with("[json.exception.")) {
    const std::size_t end = message.find("] ");
    if (end != std::string::npos) message.erase(0, end + 2);
  }
  return message;
}

}  // namespace

LoadResult ParseDocument(std::string_view json) {
  if (!NestingWithin(json, kMaxNesting)) return {std::nullopt, "nested too deeply"};
  try {
    const Json root = Json::parse(json.begin(), json.end());
    return {ReadDocument(root), ""};
  } catch (const Failure& failure) {
    return {std::nullopt, failure.message};
  } catch (const Json::exception& error) {
    return {std::nullopt, WithoutLibraryPrefix(error.what())};
  }
}

std::string SerializeDocument(const Document& document) {
  Json fonts = Json::array();
  for (const Font& font : document.fonts) {
    fonts.push_back({{"id", font.id}, {"name", Utf8(font.name)}});
  }
  Json colors = Json::array();
  for (const Color& color : document.colors) {
    colors.push_back({{"index", color.index},
                      {"name", Utf8(color.name)},
                      {"rgb", {color.red, color.green, color.blue}}});
  }
  Json stories = Json::array();
  for (const Story& story : document.stories)
    stories.push_back(StoryJson(story));
  Json pages = Json::array();
  for (int p = 0; p < document.page_count; ++p) {
    Json boxes = Json::array();
    for (const Box& box : document.boxes) {
      if (box.page == p) boxes.push_back(BoxJson(box));
    }
    pages.push_back({{"boxes", boxes}});
  }
  const Json root = {{"layout_document", kFormatVersion},
                     {"name", Utf8(document.name)},
                     {"fonts", fonts},
                     {"colors", colors},
                     {"stories", stories},
                     {"pages", pages},
                     {"current", document.current},
                     {"selection", document.selection}};
  return root.dump(2) + "\n";
}

LoadResult ReadDocumentFile(const std::string& path) {
  std::string content;
  if (const platform::Status status = platform::ReadWholeFile(path, content); !status.ok()) {
    return {std::nullopt, path + ": cannot be opened (" + status.reason() + ")"};
  }
  LoadResult result = ParseDocument(content);
  if (!result.document) result.error = path + ": " + result.error;
  return result;
}

bool WriteDocumentFile(const Document& document, const std::string& path, std::string* error) {
  // A document cut short by a full disk would be lost: the new one replaces it only when whole.
  const platform::Status status = platform::ReplaceFile(path, SerializeDocument(document));
  if (!status.ok() && error) *error = path + ": cannot be written (" + status.reason() + ")";
  return status.ok();
}

}  // namespace layout
