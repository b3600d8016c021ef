// Drives the HTML text filter with arbitrary runs: any format kind and flags, styles, sizes,
// fonts, colours, link marks, drop caps, indents, tab indexes and bytes. Nothing may crash, and
// a stand-alone export is always one whole document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/host_tables.h"
#include "xt/export/export_settings.h"
#include "xt/export/text_converter.h"

namespace {

constexpr std::string_view kDocumentStart = "<HTML>\r\n<HEAD>";
constexpr std::string_view kDocumentEnd = "</BODY>\r\n</HTML>";
constexpr std::uint32_t kMarks[] = {0, XT_MARK_LINK_START, XT_MARK_LINK_DATA, XT_MARK_LINK_END};

std::string output;
XtWriterProc writer = nullptr;
void* writer_context = nullptr;

XtErr Capture(void*, const char* bytes, int32_t count) {
  output.append(bytes, static_cast<std::size_t>(count));
  return 0;
}

void InstallHost() {
  auto& text = xt::Host().text;
  text.write = [](const char* bytes, int32_t count) {
    return writer(writer_context, bytes, count);
  };
  text.replace_writer = [](XtWriterProc w, void* c, XtWriterProc* old_w, void** old_c) {
    *old_w = writer;
    *old_c = writer_context;
    writer = w;
    writer_context = c;
  };
  text.font_name = [](int16_t id, char* name, int32_t capacity) -> int32_t {
    static const std::string names[] = {"", "Futura Bold Oblique", "Times", "A \"quoted\" font"};
    const std::string& n = names[static_cast<std::uint16_t>(id) % 4];
    const auto length = std::min<std::size_t>(n.size(), static_cast<std::size_t>(capacity - 1));
    n.copy(name, length);
    name[length] = '\0';
    return static_cast<int32_t>(length);
  };
  text.color_rgb = [](int16_t index, XtRgb* rgb) -> XtErr {
    if (index % 3 == 0) return 1;
    *rgb = {static_cast<uint16_t>(index * 977), 0x1234, 0xFFFF};
    return 0;
  };
  text.tab_stops = [](XtTabStop* stops, int32_t capacity) -> int32_t {
    for (int32_t i = 0; i < capacity && i < 3; ++i)
      stops[i] = {i << 16, static_cast<int16_t>(i * 2)};
    return 3;
  };
}

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string_view Bytes(std::size_t n) {
    n = std::min(n, size_ - at_);
    std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return bytes;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static xt::ExportSettings settings("/nonexistent/MarlixXT40.INI");
  static bool installed = (InstallHost(), true);
  (void)installed;
  xt::SetActiveSettings(&settings);
  settings.DestFolder = "/nonexistent";
  settings.page_path = "/nonexistent/a/b.htm";

  Input in(data, size);
  const std::uint8_t setup = in.Byte();
  settings.inside_page_export = (setup & 0x80) != 0;
  settings.box_format.kind = setup & 0x0F;
  settings.box_format.flags = in.Byte();
  settings.box_format.table.columns = in.Byte();
  std::FILE* page = std::fopen("/dev/null", "wb");
  settings.output.reset(page);
  settings.column = 0;
  output.clear();
  writer = &Capture;
  writer_context = nullptr;

  if (xt::FilterBegin({XT_FILE_TYPE_HTML}) != 0) std::abort();
  while (!in.empty()) {
    XtTextRun run{};
    run.file_type = XT_FILE_TYPE_HTML;
    run.style = static_cast<uint16_t>(in.Byte() | in.Byte() << 8);
    run.size = (in.Byte() % 40) << 16;
    run.font_id = static_cast<int16_t>(in.Byte());
    run.color_index = static_cast<int16_t>(in.Byte());
    const std::uint8_t attributes = in.Byte();
    run.mark = kMarks[attributes & 3];
    run.drop_cap = (attributes >> 2) & 1;
    run.left_indent = ((attributes >> 3) & 1) << 16;
    run.tab_index = static_cast<int16_t>(static_cast<int8_t>(in.Byte()));
    const std::string bytes(in.Bytes(in.Byte()));
    run.bytes = reinterpret_cast<const uint8_t*>(bytes.data());
    run.count = static_cast<int32_t>(bytes.size());
    if (xt::FilterRun(run) != 0) std::abort();
  }
  if (xt::FilterEnd({XT_FILE_TYPE_HTML}) != 0) std::abort();

  if (writer != &Capture) std::abort();  // the host's writer is back
  if (!settings.inside_page_export &&
      (!output.starts_with(kDocumentStart) || !output.ends_with(kDocumentEnd))) {
    std::abort();
  }
  if (settings.inside_page_export && !output.empty()) std::abort();  // all went into the page
  settings.output.reset();
  return 0;
}
