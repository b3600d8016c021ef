// Feeds arbitrary bytes to the category file reader: no crash, no over-read, no huge allocation;
// a table that loads saves and loads back the same, and every row splits into name and heading.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "indexer/engine/index_engine.h"

namespace {

std::string InputPath(const char* name) {
  return "/tmp/" + std::string(name) + "-" + std::to_string(::getpid());
}

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = InputPath("category_reader_fuzz");
  WriteInput(path, data, size);
  indexer::IndexEngine engine;
  if (engine.LoadCategories(path) != indexer::kNoErr) return 0;
  for (std::size_t n = 0; n < engine.categories().size(); ++n) {
    std::string name;
    std::string heading;
    if (engine.CategoryAt(n, name, &heading) != indexer::kNoErr) std::abort();
  }
  if (engine.SaveCategories() != indexer::kNoErr) std::abort();
  indexer::IndexEngine again;
  if (again.LoadCategories(path) != indexer::kNoErr) std::abort();
  if (!(again.categories() == engine.categories())) std::abort();
  return 0;
}
