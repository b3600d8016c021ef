// The output writer the text converter installs with the host while a text box is exported into
// a page: the host hands it the converter's output in chunks, and it writes them into the page,
// breaking a line inside a chunk (at its first blank) once the page's line has grown too long.
#pragma once

#include <cstdint>
#include <string_view>

namespace xt {

class ExportSettings;

inline constexpr std::size_t kNoLineBreak = std::string_view::npos;

// Where a CR LF goes into `chunk` (kNoLineBreak: nowhere) when the page's line already holds
// `column` characters; updates `column` to what the line holds after the chunk.
std::size_t LineBreakPosition(std::string_view chunk, std::int32_t& column);

// Writes one chunk into the page of `settings` (an ExportSettings*), keeping its column counter.
// An XtWriterProc.
std::int32_t WritePageChunk(void* settings, const char* bytes, std::int32_t count);

}  // namespace xt
