// Throughput of the HTML text filter: a 10 MB story of mixed styled runs (headings, bold,
// italic, underline, font faces, colours, entities, paragraph marks) goes through the filter's
// begin, run and end calls into a page file through the page writer's chunk writer, as a text
// box of a page export does. Beside it, a plain copy of the same bytes into a file.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "hostapi/host_tables.h"
#include "xt/export/export_settings.h"
#include "xt/export/text_converter.h"

namespace {

constexpr std::size_t kStoryBytes = 10 * 1024 * 1024;
constexpr const char* kFontNames[] = {"Times", "Helvetica Bold", "Garamond Italic", "Courier"};
constexpr const char* kWords[] = {"the",
                                  "archive",
                                  "Fish & Chips",
                                  "<b>",
                                  "Stra\xDF"
                                  "e",
                                  "caf\xE9",
                                  "page",
                                  "export",
                                  "100%",
                                  "\"quoted\""};

// The smallest host the filter needs: a writer slot, fonts, colours and no tab stops.
struct BenchHost {
  XtWriterProc writer = nullptr;
  void* context = nullptr;
} host;

XtErr Write(const char* bytes, int32_t count) {
  return host.writer(host.context, bytes, count);
}

XtErr Discard(void*, const char*, int32_t) {
  return 0;
}

void ReplaceWriter(XtWriterProc writer, void* context, XtWriterProc* old_writer,
                   void** old_context) {
  if (old_writer) *old_writer = host.writer;
  if (old_context) *old_context = host.context;
  host.writer = writer;
  host.context = context;
}

int32_t FontName(int16_t id, char* name, int32_t capacity) {
  const std::string text = kFontNames[static_cast<std::size_t>(id) % 4];
  const auto n = static_cast<int32_t>(std::min<std::size_t>(text.size(), capacity - 1));
  text.copy(name, static_cast<std::size_t>(n));
  name[n] = '\0';
  return n;
}

XtErr ColorRgb(int16_t index, XtRgb* rgb) {
  *rgb = {static_cast<uint16_t>(index * 0x1111), 0x8000, 0xFFFF};
  return 0;
}

int32_t TabStops(XtTabStop*, int32_t) {
  return 0;
}

void InstallHost() {
  host = {&Discard, nullptr};
  auto& text = xt::Host().text;
  text.write = &Write;
  text.replace_writer = &ReplaceWriter;
  text.font_name = &FontName;
  text.color_rgb = &ColorRgb;
  text.tab_stops = &TabStops;
}

struct Story {
  std::string bytes;
  std::vector<XtTextRun> runs;
};

// Paragraphs of 3 to 12 runs; a paragraph starts with a heading now and then; runs never span a
// paragraph mark, as the host sends them.
const Story& TheStory() {
  static const Story story = [] {
    Story s;
    std::mt19937 random(1998);
    struct Piece {
      std::size_t start, count;
      XtTextRun run;
    };
    std::vector<Piece> pieces;
    while (s.bytes.size() < kStoryBytes) {
      const int runs = 3 + static_cast<int>(random() % 10);
      const bool heading = random() % 8 == 0;
      for (int r = 0; r < runs; ++r) {
        XtTextRun run{};
        run.file_type = XT_FILE_TYPE_HTML;
        run.font_id = static_cast<int16_t>(random() % 4);
        run.style = static_cast<uint16_t>(random() % 3 == 0 ? random() % 8 : 0);
        run.size = (heading && r == 0 ? 18 : 12) << 16;
        run.color_index = static_cast<int16_t>(1 + random() % 3);
        const std::size_t start = s.bytes.size();
        const int words = 2 + static_cast<int>(random() % 12);
        for (int w = 0; w < words; ++w) {
          s.bytes += kWords[random() % 10];
          s.bytes += ' ';
        }
        if (r == runs - 1) s.bytes += '\r';
        pieces.push_back({start, s.bytes.size() - start, run});
      }
    }
    for (Piece& piece : pieces) {
      piece.run.bytes = reinterpret_cast<const uint8_t*>(s.bytes.data()) + piece.start;
      piece.run.count = static_cast<int32_t>(piece.count);
      s.runs.push_back(piece.run);
    }
    return s;
  }();
  return story;
}

std::string TempPath(const char* name) {
  const char* folder = std::getenv("TMPDIR");
  return std::string(folder ? folder : "/tmp") + "/" + name + std::to_string(getpid());
}

void BM_FilterIntoPage(benchmark::State& state) {
  const Story& story = TheStory();
  InstallHost();
  const std::string page = TempPath("xt_filter_bench_page");
  xt::ExportSettings settings(TempPath("xt_filter_bench_missing.ini"));
  xt::SetActiveSettings(&settings);
  settings.box_format.flags = xt::kFlagSendFace | xt::kFlagSendColor;
  for (auto _ : state) {
    settings.output.reset(std::fopen(page.c_str(), "wb"));
    settings.column = 0;
    settings.inside_page_export = true;
    xt::FilterBegin({XT_FILE_TYPE_HTML});
    for (const XtTextRun& run : story.runs)
      xt::FilterRun(run);
    xt::FilterEnd({XT_FILE_TYPE_HTML});
    settings.inside_page_export = false;
    settings.output.reset();
  }
  xt::SetActiveSettings(nullptr);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * story.bytes.size()));
  std::remove(page.c_str());
}
BENCHMARK(BM_FilterIntoPage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PlainCopy(benchmark::State& state) {
  const Story& story = TheStory();
  const std::string page = TempPath("xt_copy_bench_page");
  for (auto _ : state) {
    std::FILE* file = std::fopen(page.c_str(), "wb");
    for (const XtTextRun& run : story.runs) {
      std::fwrite(run.bytes, 1, static_cast<std::size_t>(run.count), file);
    }
    std::fclose(file);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * story.bytes.size()));
  std::remove(page.c_str());
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
