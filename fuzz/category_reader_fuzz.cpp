// Feeds arbitrary bytes to the category file reader: no crash, no over-read, no huge allocation;
// a table that loads saves and loads back the same, and every row splits into name and heading.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "indexer/engine/index_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz::InputPath("category_reader_fuzz");
  fuzz::WriteInput(path, data, size);
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
