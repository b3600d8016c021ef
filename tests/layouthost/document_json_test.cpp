#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "layouthost/document/base64.h"
#include "layouthost/document/layout_document_json.h"
#include "sample_document.h"

namespace layout {
namespace {

Document LoadSample() {
  LoadResult result = ParseDocument(layouthost::test::SampleJson());
  EXPECT_TRUE(result.document) << result.error;
  return result.document ? *result.document : Document{};
}

// The error of a sample document with one member replaced (a JSON pointer and a value).
std::string ErrorWith(const std::string& pointer, const nlohmann::json& value) {
  auto json = nlohmann::json::parse(layouthost::test::SampleJson());
  json[nlohmann::json::json_pointer(pointer)] = value;
  LoadResult result = ParseDocument(json.dump());
  EXPECT_FALSE(result.document) << pointer;
  return result.error;
}

TEST(LayoutDocumentTest, ReadsTheModel) {
  const Document doc = LoadSample();
  EXPECT_EQ(doc.name, "Intro");
  ASSERT_EQ(doc.boxes.size(), 5u);
  EXPECT_EQ(doc.page_count, 2);
  EXPECT_EQ(doc.current, 4);
  EXPECT_EQ(doc.selection, std::vector<int>{4});
  EXPECT_EQ(doc.FindFont(2)->name, "Courier");
  EXPECT_EQ(doc.FindColor(5)->red, 65535);
  EXPECT_EQ(doc.FindColor(5)->blue, 4096);

  const Story& story = *doc.FindStory(1);
  EXPECT_EQ(story.text,
            "Titel\rBody text\tcol\r\xDC"
            "ber end");  // Ü is 0xDC
  EXPECT_EQ(story.Length(), 28);
  ASSERT_EQ(story.spans.size(), 3u);
  EXPECT_EQ(story.spans[1].start, 6);
  EXPECT_EQ(story.spans[1].style.color, 5);
  EXPECT_EQ(story.spans[2].style.style, 0x0006);
  EXPECT_DOUBLE_EQ(story.spans[2].style.size, 10.5);
  EXPECT_EQ(story.ParagraphAt(5), 0);
  EXPECT_EQ(story.ParagraphAt(6), 1);
  EXPECT_EQ(story.ParagraphAt(27), 2);
  EXPECT_TRUE(story.Paragraph(1).drop_cap);
  EXPECT_EQ(story.Paragraph(1).tabs[0].alignment, kTabRight);
  EXPECT_FALSE(story.Paragraph(2).drop_cap);  // beyond the list: defaults
  EXPECT_EQ(story.links[0].target, "top");
  EXPECT_EQ(story.selection_start, 6);

  const Box& first = *doc.FindBox(1);
  EXPECT_EQ(first.text_end, 20);
  EXPECT_EQ(first.columns, 2);
  EXPECT_EQ(first.group, 4);
  EXPECT_EQ(first.FindRecord(0x42465601)->data, (std::vector<std::uint8_t>{0, 1, 2, 3}));
  EXPECT_EQ(doc.FindBox(3)->picture.file, "images/photo.png");
  EXPECT_EQ(doc.FindBox(7)->page, 1);
}

TEST(LayoutDocumentTest, GroupWithoutBoundsSpansItsMembers) {
  const Document doc = LoadSample();
  EXPECT_EQ(doc.FindBox(4)->bounds, (Rect{0, 0, 300, 200}));
  EXPECT_EQ(doc.FindBox(4)->members, (std::vector<int>{1, 3, 2}));
}

TEST(LayoutDocumentTest, TextBoxWithoutRangeShowsTheWholeStory) {
  auto json = nlohmann::json::parse(layouthost::test::SampleJson());
  json["pages"][0]["boxes"][2].erase("range");
  const LoadResult result = ParseDocument(json.dump());
  ASSERT_TRUE(result.document) << result.error;
  EXPECT_EQ(result.document->FindBox(2)->text_start, 0);
  EXPECT_EQ(result.document->FindBox(2)->text_end, 28);
}

TEST(LayoutDocumentTest, SaveAndLoadGiveTheSameDocument) {
  Document doc = LoadSample();
  doc.FindBox(3)->SetRecord(0x42465600, std::vector<std::uint8_t>(600, 0xA5));
  doc.FindBox(1)->SetRecord(0x42465601, {9});
  const std::string saved = SerializeDocument(doc);
  const LoadResult again = ParseDocument(saved);
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_EQ(*again.document, doc);
  EXPECT_EQ(SerializeDocument(*again.document), saved);
  EXPECT_NE(saved.find("\"\xC3\x9C"
                       "ber end\""),
            std::string::npos);  // UTF-8 again
}

TEST(LayoutDocumentTest, TextOutsideWindows1252IsRefused) {
  EXPECT_EQ(ErrorWith("/stories/0/runs/0/text", "\xE2\x82\xAC and \xE4\xB8\xAD"),
            "stories[0].runs[0].text: not UTF-8 text that Windows-1252 can hold");
  // The euro sign alone is fine: it is byte 0x80.
  auto json = nlohmann::json::parse(layouthost::test::SampleJson());
  json["name"] = "\xE2\x82\xAC";
  EXPECT_EQ(ParseDocument(json.dump()).document->name, "\x80");
}

TEST(LayoutDocumentTest, ErrorsSayWhatAndWhere) {
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/colour", 1), "pages[0].boxes[0].colour: unknown member");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/range", nlohmann::json::array({0, 40})),
            "box 1: range goes beyond the story's 28 characters");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/range", nlohmann::json::array({5, 2})),
            "pages[0].boxes[0].range[1]: out of range");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/story", 9), "box 1: no story with that id");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/kind", "line"),
            "pages[0].boxes[0].kind: expected text, picture, group or other");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/bounds", nlohmann::json::array({0, 0, 1e300, 1})),
            "pages[0].boxes[0].bounds[2]: out of range");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/bounds", nlohmann::json::array({50, 0, 10, 1})),
            "pages[0].boxes[0].bounds: bottom above top or right left of left");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/1/id", 1), "pages[0].boxes[1]: duplicate box id");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/id", 2.5), "pages[0].boxes[0].id: expected a whole number");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/records/0/data", "AAE"),
            "pages[0].boxes[0].records[0].data: not base64");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/0/records/0/key", "BFV1"),
            "pages[0].boxes[0].records[0].key: expected 8 hexadecimal digits");
  EXPECT_EQ(ErrorWith("/stories/0/runs/1/style", nlohmann::json::array({"bold", "shadow"})),
            "stories[0].runs[1].style[1]: expected bold, italic, underline or word_underline");
  EXPECT_EQ(ErrorWith("/stories/0/links/0/range", nlohmann::json::array({3, 3})),
            "stories[0].links[0]: a link needs at least one character");
  EXPECT_EQ(ErrorWith("/stories/0/paragraphs/3", nlohmann::json::object()),
            "stories[0].paragraphs: more entries than the story's 3 paragraphs");
  EXPECT_EQ(ErrorWith("/current", 99), "current: no box with that id");
  EXPECT_EQ(ErrorWith("/layout_document", 2), "layout_document: unsupported version");
  EXPECT_EQ(ErrorWith("/colors/1/rgb", nlohmann::json::array({1, 2, 70000})),
            "colors[1].rgb[2]: out of range");
}

TEST(LayoutDocumentTest, GroupsMustBeSound) {
  EXPECT_EQ(ErrorWith("/pages/0/boxes/3/members", nlohmann::json::array({1, 8})),
            "box 4: member 8 does not exist");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/3/members", nlohmann::json::array({1, 7})),
            "box 4: members must lie on the group's page");
  EXPECT_EQ(ErrorWith("/pages/0/boxes/3/members", nlohmann::json::array({4})),
            "box 4: a group cannot hold itself");
  // Two groups holding each other.
  auto json = nlohmann::json::parse(layouthost::test::SampleJson());
  json["pages"][0]["boxes"].push_back({{"id", 5}, {"kind", "group"}, {"members", {4}}});
  json["pages"][0]["boxes"][3]["members"] = {1, 5};
  EXPECT_EQ(ParseDocument(json.dump()).error, "box 1: groups form a loop");
  json["pages"][0]["boxes"][3]["members"] = {1, 2};
  json["pages"][0]["boxes"][4]["members"] = {4, 1};
  EXPECT_EQ(ParseDocument(json.dump()).error, "box 5: box 1 is already in a group");
}

TEST(LayoutDocumentTest, MalformedInputGivesAnErrorNotACrash) {
  for (const std::string& input :
       {std::string(""), std::string("{"), std::string("[]"), std::string("null"),
        std::string(100000, '['), std::string("{\"pages\": [{\"boxes\": [{}]}]}"),
        std::string("{\"stories\": [{\"id\": 1, \"runs\": [{\"text\": \"\xFF\"}]}]}"),
        std::string("{\"pages\": 3}")}) {
    const LoadResult result = ParseDocument(input);
    EXPECT_FALSE(result.document) << input.substr(0, 40);
    EXPECT_FALSE(result.error.empty());
  }
  EXPECT_EQ(ParseDocument(std::string(100, '[')).error, "nested too deeply");
}

TEST(LayoutDocumentTest, UngroupKeepsTheMembersInTheirParent) {
  auto json = nlohmann::json::parse(layouthost::test::SampleJson());
  json["pages"][0]["boxes"].push_back({{"id", 5}, {"kind", "group"}, {"members", {4}}});
  Document doc = *ParseDocument(json.dump()).document;
  EXPECT_TRUE(doc.Ungroup(4));
  EXPECT_EQ(doc.FindBox(4), nullptr);
  EXPECT_EQ(doc.FindBox(5)->members, (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(doc.FindBox(1)->group, 5);
  EXPECT_EQ(doc.current, 0);
  EXPECT_TRUE(doc.selection.empty());
  EXPECT_FALSE(doc.Ungroup(1));  // not a group
}

TEST(Base64Test, RoundTripsAndRefusesNonCanonicalText) {
  for (std::size_t n = 0; n < 8; ++n) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < n; ++i)
      bytes.push_back(static_cast<std::uint8_t>(251 * i + 7));
    EXPECT_EQ(DecodeBase64(EncodeBase64(bytes)), bytes);
  }
  EXPECT_EQ(EncodeBase64({'M', 'a', 'n'}), "TWFu");
  EXPECT_EQ(EncodeBase64({'M'}), "TQ==");
  EXPECT_FALSE(DecodeBase64("TR=="));  // leftover bits set
  EXPECT_FALSE(DecodeBase64("T=Q="));
  EXPECT_FALSE(DecodeBase64("TQ==TQ=="));
  EXPECT_FALSE(DecodeBase64("TQ"));
  EXPECT_FALSE(DecodeBase64("T Q="));
}

}  // namespace
}  // namespace layout
