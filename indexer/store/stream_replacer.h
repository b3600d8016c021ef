// StreamReplacer: applies substitution pairs, one after the other, to a text that arrives in
// blocks of any size. Each pair keeps back only the few bytes that could still begin a match, so
// an occurrence split across two blocks is found and memory stays bounded by the block size.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/file_stream.h"

namespace indexer {

class StreamReplacer {
 public:
  explicit StreamReplacer(std::span<const Replacement> pairs);

  // Appends to `out` everything of the text so far that no later block can change.
  void Feed(std::string_view block, std::string& out);
  // Appends the rest; the replacer is then ready for a new text.
  void Finish(std::string& out);
  // How many occurrences were replaced so far, over all pairs.
  std::size_t replacements() const { return replacements_; }

 private:
  struct Stage {
    std::string find;  // copies, so the pairs need not outlive the replacer
    std::string replacement;
    std::string pending;  // bytes that may still start an occurrence
    std::string output;   // reused buffer for the stage's result
  };

  void Process(Stage& stage, std::string_view input, bool final_block);

  std::vector<Stage> stages_;
  std::size_t replacements_ = 0;
};

}  // namespace indexer
