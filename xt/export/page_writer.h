// The page writer: the frame of every exported page (document type, head with the META block
// that the indexer reads, header, separators between elements, footer) and the output writer
// through which everything of a page is written, with its rule for breaking long lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hostapi/xt_host_api.h"

namespace xt {

class ExportSettings;

// A line is broken after a write that leaves more than this many characters on it.
inline constexpr std::int32_t kPageLineLength = 80;

// Writes `text` to the page and keeps the column counter; breaks the line after it when the
// counter is then over kPageLineLength.
void WriteText(ExportSettings& settings, std::string_view text);

// Writes `text` to the page as it is, leaving the column counter alone.
void WriteRaw(ExportSettings& settings, std::string_view text);

// Document type, head start, generator, META block and head end.
void WriteHead(ExportSettings& settings);

// The header snippet: the external header file, else the inline "Header" setting.
void WriteHeader(ExportSettings& settings);

// The separator before the next element when an element was written before it.
void WriteSeparator(ExportSettings& settings);

// The text-box step: separator, record, table start, the text export through the plug-in's
// filter, table end, library attachments. `as_caption` is set when a caption is written with
// its picture.
void ExportTextBox(ExportSettings& settings, XtBox box, bool as_caption);

// The TABLE start tag of a table-format box (settings.box_format); `background` is the box's
// colour index (0 none).
void WriteTableStart(ExportSettings& settings, std::int16_t background);

// The library attachments of `box` (0: those that belong to the page).
void WriteAttachments(ExportSettings& settings, XtBox box);

// Footer, end of document, close. Returns 0, 1 when an external footer was wanted but could
// not be used, or -1 when the page could not be written whole.
int FinishPage(ExportSettings& settings);

// Copies the external header (`footer` false) or footer snippet `name` into the page; 0 when
// it was written, 1 otherwise.
int ReadExternalSnippet(ExportSettings& settings, std::string_view name, bool footer);

}  // namespace xt
