// Cost of document chaining: the text rewrite of one page in memory, and the rewrite of a
// folder of pages on disk as a writing run with LinkDocuments does it (every page changes, so
// every page is written anew and moved into place). Beside it, the plain copy of the same
// pages into new files, the least any rewrite of them costs.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "indexer/engine/document_chaining.h"
#include "platform/file_replacement.h"
#include "platform/whole_file.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMinPageBytes = 2 * 1024;
constexpr std::size_t kMaxPageBytes = 20 * 1024;
constexpr int kPagesPerFolder = 1000;
constexpr const char* kLinks =
    "<A $PREVURL:>Previous</A> <A $INDEXURL:>Index</A> <A $NEXTURL:>Next</A>\n";

// A page of the given size with the link placeholders at its top and bottom.
std::string MakePage(std::size_t bytes, unsigned seed) {
  std::string page = "<HTML><HEAD><META NAME=\"DESCRIPTION\" CONTENT=\"Story\"></HEAD><BODY>\n" +
                     std::string(kLinks);
  std::minstd_rand random(seed);
  while (page.size() + 80 < bytes) {
    page += "<P>Lorem ipsum dolor sit amet " + std::to_string(random()) + ", consectetur.</P>\n";
  }
  return page + kLinks + "</BODY></HTML>\n";
}

// A temporary folder of pages of 2 to 20 KB, removed at the end.
class PageFolder {
 public:
  explicit PageFolder(int pages) {
    std::string pattern = (fs::temp_directory_path() / "chain_benchXXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    std::minstd_rand random(42);
    for (int n = 0; n < pages; ++n) {
      const std::size_t size = kMinPageBytes + random() % (kMaxPageBytes - kMinPageBytes);
      const fs::path path = root_ / ("a" + std::to_string(n)) / "page.htm";
      fs::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary) << MakePage(size, static_cast<unsigned>(n));
      paths_.push_back(path.string());
      bytes_ += size;
    }
  }
  PageFolder(const PageFolder&) = delete;
  PageFolder& operator=(const PageFolder&) = delete;
  ~PageFolder() { fs::remove_all(root_); }

  const std::vector<std::string>& paths() const { return paths_; }
  std::size_t bytes() const { return bytes_; }

 private:
  fs::path root_;
  std::vector<std::string> paths_;
  std::size_t bytes_ = 0;
};

void BM_ChainText(benchmark::State& state) {
  const std::string page = MakePage(static_cast<std::size_t>(state.range(0)), 1);
  const indexer::ChainLinks links =
      indexer::MakeChainLinks("../../", "index.htm", "News/a/a.htm", "News/c/c.htm");
  std::string chained = indexer::ChainText(page, links);
  for (auto _ : state) {
    benchmark::DoNotOptimize(indexer::ChainText(chained, links));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ChainText)->Arg(2 * 1024)->Arg(20 * 1024);

void BM_ChainFolder(benchmark::State& state) {
  PageFolder folder(kPagesPerFolder);
  int round = 0;
  for (auto _ : state) {
    // Another neighbour each round, so that every page really changes.
    const std::string previous = "r" + std::to_string(++round) + "/page.htm";
    for (const std::string& path : folder.paths()) {
      if (indexer::ChainDocument(path, "../", "index.htm", previous, "") != indexer::kNoErr) {
        state.SkipWithError("chaining failed");
        return;
      }
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPagesPerFolder);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.bytes()));
}
BENCHMARK(BM_ChainFolder)->Unit(benchmark::kMillisecond);

void BM_CopyFolder(benchmark::State& state) {
  PageFolder folder(kPagesPerFolder);
  for (auto _ : state) {
    for (const std::string& path : folder.paths()) {
      std::string content;
      if (!platform::ReadWholeFile(path, content).ok() ||
          !platform::ReplaceFile(path, content).ok()) {
        state.SkipWithError("copy failed");
        return;
      }
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kPagesPerFolder);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.bytes()));
}
BENCHMARK(BM_CopyFolder)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
