// Reading and writing layout documents as JSON (UTF-8). The reader accepts any input: it either
// gives a document whose every reference and range is valid, or a message that says what is
// wrong and where ("stories[0].runs[2].text: ..."). Text is converted to Windows-1252 on
// reading and back to UTF-8 on writing. The format is described in docs/layout-document.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "layouthost/document/layout_document.h"

namespace layout {

struct LoadResult {
  std::optional<Document> document;
  std::string error;  // set when document is empty
};

LoadResult ParseDocument(std::string_view json);
std::string SerializeDocument(const Document& document);

// File forms; ReadDocumentFile names the file in its error message.
LoadResult ReadDocumentFile(const std::string& path);
bool WriteDocumentFile(const Document& document, const std::string& path, std::string* error);

}  // namespace layout
