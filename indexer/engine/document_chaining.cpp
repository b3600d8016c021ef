#include "indexer/engine/document_chaining.h"

#include <algorithm>
#include <array>
#include <utility>

#include "indexer/store/file_status.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

namespace indexer {
namespace {

constexpr std::string_view kPrefixStep = "../";
constexpr std::string_view kMarkEnd = "\" MXEND";
constexpr std::string_view kChangedMeanwhile =
    ": changed while it was being chained; left as it is for the next run to chain";

// One link kind: its placeholder, the start of its marked text, and the two literal parts of
// the pattern that finds an earlier marked text ("MXPREV" up to the first following "MXEND").
struct LinkMarker {
  std::string_view placeholder;
  std::string_view markStart;
  std::string_view patternStart;
  std::string_view patternEnd;
};

constexpr std::array<LinkMarker, 3> kMarkers = {{
    {"$PREVURL:", "MXPREV HREF=\"", "MXPREV", "MXEND"},
    {"$NEXTURL:", "MXNEXT HREF=\"", "MXNEXT", "MXEND"},
    {"$INDEXURL:", "MXINDEX HREF=\"", "MXINDEX", "MXEND"},
}};

// Every run from `start` to the first following `end` (leftmost, shortest) in text becomes
// `replacement`; scanning goes on after each replacement. Text without a run is not copied.
void ReplaceRuns(std::string& text, std::string_view start, std::string_view end,
                 std::string_view replacement) {
  std::string result;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t first = text.find(start, pos);
    if (first == std::string::npos) break;
    const std::size_t last = text.find(end, first + start.size());
    if (last == std::string::npos) break;
    if (pos == 0) result.reserve(text.size() + replacement.size());
    result.append(text, pos, first - pos).append(replacement);
    pos = last + end.size();
  }
  if (pos == 0) return;
  result.append(text, pos);
  text = std::move(result);
}

}  // namespace

std::string IndexPrefixFor(std::string_view relativePath) {
  std::string prefix;
  for (std::size_t n = std::count(relativePath.begin(), relativePath.end(), '/'); n > 0; --n) {
    prefix.append(kPrefixStep);
  }
  return prefix;
}

ChainLinks MakeChainLinks(std::string_view indexPrefix, std::string_view indexName,
                          std::string_view previous, std::string_view next) {
  auto url = [indexPrefix](std::string_view relative) {
    return relative.empty() ? std::string() : std::string(indexPrefix).append(relative);
  };
  return {url(previous), url(next), std::string(indexPrefix).append(indexName)};
}

std::string ChainText(std::string_view content, const ChainLinks& links) {
  // Earlier marked texts go back to their placeholders first, then every placeholder gets the
  // new link, so a second run over a chained document finds what the first one wrote.
  std::string text(content);
  for (const LinkMarker& marker : kMarkers) {
    ReplaceRuns(text, marker.patternStart, marker.patternEnd, marker.placeholder);
  }
  const std::array<const std::string*, 3> urls = {&links.previousUrl, &links.nextUrl,
                                                  &links.indexUrl};
  for (std::size_t i = 0; i < kMarkers.size(); ++i) {
    const std::string marked = std::string(kMarkers[i].markStart).append(*urls[i]).append(kMarkEnd);
    ReplaceRuns(text, kMarkers[i].placeholder, {}, marked);
  }
  return text;
}

MMoreErr ChainDocument(const std::string& documentPath, const std::string& indexPrefix,
                       const std::string& indexName, const std::string& previous,
                       const std::string& next, std::vector<std::string>* warnings) {
  std::string content;
  platform::FileIdentity identity;
  if (const MMoreErr status = ReadStatus(platform::ReadWholeFile(documentPath, content, &identity));
      status != kNoErr) {
    return status;
  }
  const std::string chained =
      ChainText(content, MakeChainLinks(indexPrefix, indexName, previous, next));
  if (chained == content) {
    // Nothing to patch: the file stays untouched, but what a killed run left beside it goes.
    platform::RemoveStaleTemporariesOnce(platform::FolderPart(documentPath));
    return kNoErr;
  }
  return ReplaceChained(documentPath, chained, identity, warnings);
}

MMoreErr ReplaceChained(const std::string& documentPath, std::string_view chained,
                        const platform::FileIdentity& asRead, std::vector<std::string>* warnings) {
  platform::FileReplacement replacement(documentPath);
  // An export that rewrote the page since it was read must not be undone.
  replacement.RequireUnchanged(asRead);
  platform::Status status = replacement.Open();
  if (status.ok()) status = replacement.Write(chained);
  if (status.ok()) status = replacement.Commit();
  if (status.code() == platform::kFileChangedMeanwhile) {
    if (warnings) warnings->push_back(documentPath + std::string(kChangedMeanwhile));
    return kNoErr;
  }
  return WriteStatus(status);
}

}  // namespace indexer
