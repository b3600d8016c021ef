#include "layouthost/host/export_runs.h"

#include <algorithm>

#include "hostapi/xt_host_api.h"

namespace layouthost {

namespace {

constexpr char kTab = 9;
constexpr char kParagraphEnd = 13;

bool IsLineBreak(char c) {
  return c == 7 || c == 11 || c == 12 || c == kParagraphEnd;
}

// Tabs reach the stops in order along a line; a line starts after any break character.
int TabIndexAt(const std::string& text, int offset) {
  int index = 0;
  for (int i = offset - 1; i >= 0 && !IsLineBreak(text[i]); --i) {
    if (text[i] == kTab) ++index;
  }
  return index;
}

struct ClippedLink {
  int start, end;
  std::string data;
};

}  // namespace

std::vector<ExportRun> SplitExportRuns(const layout::Story& story, int start, int end) {
  std::vector<ExportRun> runs;
  const std::string& text = story.text;
  start = std::clamp(start, 0, story.Length());
  end = std::clamp(end, start, story.Length());
  if (start == end) return runs;

  std::vector<ClippedLink> links;
  for (const layout::TextLink& link : story.links) {
    const int s = std::max(link.start, start), e = std::min(link.end, end);
    if (s < e) links.push_back({s, e, static_cast<char>(link.type) + link.target});
  }
  std::stable_sort(links.begin(), links.end(),
                   [](const ClippedLink& a, const ClippedLink& b) { return a.start < b.start; });

  int paragraph = story.ParagraphAt(start);
  auto mark_run = [&](std::uint32_t mark, const std::string& data, int at) {
    ExportRun run;
    run.bytes = data;
    run.style = story.SpanAt(at)->style;
    run.mark = mark;
    run.paragraph = story.ParagraphAt(at);
    runs.push_back(std::move(run));
  };
  auto marks_at = [&](int pos) {
    for (const ClippedLink& link : links) {
      if (link.end == pos) mark_run(XT_MARK_LINK_END, link.data, pos - 1);
    }
    for (const ClippedLink& link : links) {
      if (link.start == pos) {
        mark_run(XT_MARK_LINK_START, link.data, pos);
        mark_run(XT_MARK_LINK_DATA, link.data, pos);
      }
    }
  };

  for (int pos = start; pos < end;) {
    marks_at(pos);
    const layout::StyleSpan* span = story.SpanAt(pos);
    int next = std::min(end, span->start + span->length);
    for (const ClippedLink& link : links) {
      if (link.start > pos) next = std::min(next, link.start);
      if (link.end > pos) next = std::min(next, link.end);
    }
    for (int i = pos; i < next; ++i) {
      if (text[i] == kTab && i > pos) {
        next = i;
      } else if (text[i] == kParagraphEnd) {
        next = i + 1;
      }
    }
    ExportRun run;
    run.bytes = text.substr(pos, next - pos);
    run.style = span->style;
    run.paragraph = paragraph;
    run.tab_index = text[pos] == kTab ? TabIndexAt(text, pos) : 0;
    if (run.bytes.back() == kParagraphEnd) ++paragraph;
    runs.push_back(std::move(run));
    pos = next;
  }
  marks_at(end);
  return runs;
}

}  // namespace layouthost
