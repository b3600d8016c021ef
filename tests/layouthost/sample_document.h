// A small layout document for the tests: a two-box text chain, a picture box, a group, fonts,
// colours, paragraph attributes, a link and a record.
#pragma once

#include <string>

namespace layouthost::test {

// Story 1 ("Titel\r" + "Body text\tcol\r" + "Über end"): 28 characters; box 1 shows [0, 20),
// box 2 continues it with [20, 28). Box 3 is a picture box, group 4 holds 1, 3 and 2.
inline std::string SampleJson() {
  return R"({
  "layout_document": 1,
  "name": "Intro",
  "fonts": [{"id": 1, "name": "Times Bold"}, {"id": 2, "name": "Courier"}],
  "colors": [{"index": 1, "name": "Black", "rgb": [0, 0, 0]},
             {"index": 5, "name": "Red", "rgb": [65535, 0, 4096]}],
  "stories": [{
    "id": 1,
    "runs": [{"text": "Titel\r", "font": 1, "size": 16, "style": ["bold"]},
             {"text": "Body text\tcol\r", "font": 2, "size": 12, "color": 5},
             {"text": "Über end", "font": 2, "size": 10.5, "style": ["italic", "underline"]}],
    "paragraphs": [{}, {"left_indent": 12, "drop_cap": true,
                        "tabs": [{"position": 72, "align": "right"}]}],
    "links": [{"range": [11, 15], "type": 4, "target": "top"}],
    "selection": [6, 10]
  }],
  "pages": [{"boxes": [
    {"id": 1, "kind": "text", "bounds": [0, 0, 100, 200], "story": 1, "range": [0, 20],
     "columns": 2, "gutter": 6,
     "records": [{"key": "42465601", "data": "AAECAw=="}]},
    {"id": 3, "kind": "picture", "bounds": [110, 0, 160, 80], "background": 5,
     "picture": {"file": "images/photo.png", "offset": [4, 2], "scale": [0.5, 0.5]}},
    {"id": 2, "kind": "text", "bounds": [200, 0, 300, 200], "story": 1, "range": [20, 28]},
    {"id": 4, "kind": "group", "members": [1, 3, 2]}
  ]}, {"boxes": [
    {"id": 7, "kind": "other", "bounds": [0, 0, 10, 10]}
  ]}],
  "current": 4,
  "selection": [4]
})";
}

}  // namespace layouthost::test
