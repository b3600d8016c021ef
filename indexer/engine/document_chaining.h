// Document chaining: links the indexed documents to each other in index order. A document
// carries the placeholders "$PREVURL:", "$NEXTURL:" and "$INDEXURL:" (from the export
// plug-in's snippets); chaining turns each into a marked attribute text such as
// MXPREV HREF="../../News/a/a.html" MXEND, and a later run finds the marked text again and
// replaces it afresh, so chaining the same documents twice gives the same files as once.
//
// The document is rewritten as a whole into a new file beside it that replaces it only when
// complete (platform/file_replacement.h): a marked text is found wherever it lies in the
// file, and the document is never lost or half-written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/mmore_err.h"
#include "platform/file_replacement.h"

namespace indexer {

// The three addresses a chained document gets; previous and next are empty at the ends.
struct ChainLinks {
  std::string previousUrl;
  std::string nextUrl;
  std::string indexUrl;
};

// "../" once per "/" in a relative path: the way from a document back to the index folder.
std::string IndexPrefixFor(std::string_view relativePath);

// The links of a document: previous and next are relative paths from the index folder (each
// empty at the ends of the chain), indexName is "index" + the output extension.
ChainLinks MakeChainLinks(std::string_view indexPrefix, std::string_view indexName,
                          std::string_view previous, std::string_view next);

// The content with every placeholder and every earlier marked text replaced by the new links.
std::string ChainText(std::string_view content, const ChainLinks& links);

// Patches the document at documentPath in place. 3 for a folder, a file error code when the
// document cannot be read or replaced (it then keeps its old content), else 0. A document
// that another program changed since it was read is left as it is, with a line in `warnings`.
MMoreErr ChainDocument(const std::string& documentPath, const std::string& indexPrefix,
                       const std::string& indexName, const std::string& previous,
                       const std::string& next, std::vector<std::string>* warnings = nullptr);

// The second half of ChainDocument: replaces the document with `chained` unless it is no longer
// the file `asRead` describes, in which case it stays and `warnings` gets a line.
MMoreErr ReplaceChained(const std::string& documentPath, std::string_view chained,
                        const platform::FileIdentity& asRead, std::vector<std::string>* warnings);

}  // namespace indexer
