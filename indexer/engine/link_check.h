// The CheckLinks preference: after an index is written, every local HREF and SRC of the indexed
// pages and of the index pages is followed on disk, and the ones that lead nowhere are listed.
// Remote links (any URL with a scheme other than file:) and anchors within a page are not
// checked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

struct BrokenLink {
  std::string page;    // the page's path on disk
  std::string link;    // the link as the page writes it (Windows-1252)
  std::string reason;  // why it leads nowhere

  bool operator==(const BrokenLink&) const = default;
};

// The values of the HREF and SRC attributes of a page's tags, in page order.
std::vector<std::string> PageLinks(std::string_view html);

// The broken local links of one page. `rootPath` stands for the server root that links
// beginning with "/" start from; when it is empty such links are not checked.
std::vector<BrokenLink> CheckPageLinks(const std::string& pagePath, const std::string& rootPath);

// The broken local links of every page of the collection and of the .htm and .html pages in the
// collection's folder (the index pages written there). kNoErr, or the collection's error.
MMoreErr CheckCollectionLinks(const std::string& collectionPath, const std::string& rootPath,
                              std::vector<BrokenLink>& broken);

}  // namespace indexer
