#include "indexer/store/stream_replacer.h"

namespace indexer {

StreamReplacer::StreamReplacer(std::span<const Replacement> pairs) {
  for (const Replacement& pair : pairs) {
    // An empty find text matches nowhere useful and would never advance.
    if (!pair.find.empty()) stages_.push_back({pair.find, pair.replacement, {}, {}});
  }
}

void StreamReplacer::Process(Stage& stage, std::string_view input, bool final_block) {
  stage.pending.append(input);
  stage.output.clear();
  const std::string_view text = stage.pending;
  std::size_t start = 0;
  for (std::size_t hit = text.find(stage.find); hit != std::string_view::npos;
       hit = text.find(stage.find, start)) {
    stage.output.append(text.substr(start, hit - start));
    stage.output.append(stage.replacement);
    start = hit + stage.find.size();
    ++replacements_;
  }
  // Keep back the bytes that could be the beginning of an occurrence the next block completes.
  std::size_t keep_from = text.size();
  if (!final_block) {
    const std::size_t held = stage.find.size() - 1;
    keep_from = text.size() > held ? text.size() - held : 0;
    if (keep_from < start) keep_from = start;
  }
  stage.output.append(text.substr(start, keep_from - start));
  stage.pending.erase(0, keep_from);
}

void StreamReplacer::Feed(std::string_view block, std::string& out) {
  std::string_view data = block;
  for (Stage& stage : stages_) {
    Process(stage, data, false);
    data = stage.output;
  }
  out.append(data);
}

void StreamReplacer::Finish(std::string& out) {
  // Each stage flushes what it held back into the next one, which then flushes in turn.
  std::string carried;
  for (Stage& stage : stages_) {
    Process(stage, carried, true);
    carried = stage.output;
  }
  out.append(carried);
}

}  // namespace indexer
