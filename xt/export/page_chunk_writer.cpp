#include "xt/export/page_chunk_writer.h"

#include "xt/export/export_settings.h"
#include "xt/export/page_writer.h"

namespace xt {

std::size_t LineBreakPosition(std::string_view chunk, std::int32_t& column) {
  std::size_t cut = kNoLineBreak;
  if (column > kPageLineLength) {
    cut = chunk.find_first_of(" \t");
    if (cut == std::string_view::npos) cut = chunk.size();
    column = 0;
  }
  // A line feed in the first byte does not count: the converter's own line ends are CR LF.
  const std::size_t last_feed = chunk.rfind('\n');
  if (last_feed != std::string_view::npos && last_feed > 0) {
    column = static_cast<std::int32_t>(chunk.size() - last_feed - 1);
  } else {
    column += static_cast<std::int32_t>(chunk.size());
  }
  return cut;
}

std::int32_t WritePageChunk(void* settings, const char* bytes, std::int32_t count) {
  if (settings == nullptr || bytes == nullptr || count <= 0) return 0;
  auto& target = *static_cast<ExportSettings*>(settings);
  const std::string_view chunk(bytes, static_cast<std::size_t>(count));
  const std::size_t cut = LineBreakPosition(chunk, target.column);
  if (cut == kNoLineBreak) {
    WriteRaw(target, chunk);
  } else {
    WriteRaw(target, chunk.substr(0, cut));
    WriteRaw(target, "\r\n");
    WriteRaw(target, chunk.substr(cut));
  }
  return 0;
}

}  // namespace xt
