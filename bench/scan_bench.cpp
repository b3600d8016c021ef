// Micro-benchmarks of the scanner's per-page work: META extraction of a typical exported page
// (from memory and from a file) and the name ordering of a large folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "indexer/engine/folder_walker.h"
#include "indexer/engine/meta_extraction.h"

namespace {

// Body bytes after the head of a benchmark page: the middle of the 2-20 KB exported pages.
constexpr std::size_t kBodyBytes = 11 * 1024;
constexpr int kFolderEntries = 10000;

std::string ExportedPage() {
  std::string page =
      "<HTML><HEAD>\r\n<META NAME=\"YEAR\" CONTENT=\"1998\">\r\n"
      "<META NAME=\"CATEGORY\" CONTENT=\"Culture\">\r\n"
      "<META NAME=\"DESCRIPTION\" CONTENT=\"An article of the culture pages\">\r\n"
      "<META NAME=\"SUBDESCRIPTION\" CONTENT=\"With a subdescription\">\r\n"
      "<TITLE>Article</TITLE></HEAD>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\n";
  while (page.size() < kBodyBytes)
    page += "<P>Some text of the article, <B>bold</B> words.</P>\r\n";
  return page + "</BODY></HTML>\r\n";
}

void BM_ExtractMetaFromMemory(benchmark::State& state) {
  const std::string page = ExportedPage();
  for (auto _ : state)
    benchmark::DoNotOptimize(indexer::ExtractMeta(page));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_ExtractMetaFromMemory);

void BM_ExtractMetaFromFile(benchmark::State& state) {
  char path[] = "/tmp/scanbenchXXXXXX";
  const int fd = mkstemp(path);
  const std::string page = ExportedPage();
  if (fd < 0 || write(fd, page.data(), page.size()) != static_cast<ssize_t>(page.size())) {
    state.SkipWithError("cannot write the page");
    return;
  }
  close(fd);
  indexer::MetaMap meta;
  for (auto _ : state)
    benchmark::DoNotOptimize(indexer::ExtractMetaFromFile(path, meta));
  std::remove(path);
}
BENCHMARK(BM_ExtractMetaFromFile);

void BM_WalkOrderSort(benchmark::State& state) {
  std::vector<std::string> names;
  for (int i = 0; i < kFolderEntries; ++i) {
    names.push_back((i % 2 ? "Art" : "art") + std::to_string((i * 7919) % kFolderEntries));
  }
  for (auto _ : state) {
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end(), indexer::WalkOrderLess);
    benchmark::DoNotOptimize(sorted.data());
  }
}
BENCHMARK(BM_WalkOrderSort);

}  // namespace

BENCHMARK_MAIN();
