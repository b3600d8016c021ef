// --categories, --categories-reset, --category-add NAME [HEADING], --category-remove KEY.
#include <optional>
#include <string>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
#include "indexer/engine/index_engine.h"
#include "indexer/startup/indexer_files.h"
#include "indexer/store/category_table.h"

namespace indexer::cli {
namespace {

int SaveOrFail(IndexEngine& engine) {
  if (engine.SaveCategories() != kNoErr)
    return FailWithDetail(kExitFailure,
                          "cannot save the categories to \"" + CategoryFilePath() + "\"");
  return kExitOk;
}

// A display name ends at the first carriage return and is listed between tabs, so it may hold
// no control characters.
bool IsUsableName(const std::string& name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

std::string DefaultHeading(const std::string& name) {
  return "<H2><IMG SRC=\"../../GIFs/" + name + ".gif\" ALT=\"" + name + "\"></H2>";
}

}  // namespace

int RunCategories(const Arguments& args) {
  if (!args.empty()) return UsageError("--categories takes no arguments");
  IndexEngine engine;
  if (LoadFilesTelling(engine).save_status != kNoErr)
    FailWithDetail(kExitOk, "warning: cannot write the default files");
  const CategoryTable& table = engine.categories();
  for (std::size_t n = 0; n < table.size(); ++n) {
    std::string key;
    std::string value;
    table.At(n, value, &key);
    std::string name;
    std::string heading;
    engine.CategoryAt(n, name, &heading);
    PrintLine(key + "\t" + name + "\t" + heading);
  }
  return kExitOk;
}

int RunCategoriesReset(const Arguments& args) {
  if (!args.empty()) return UsageError("--categories-reset takes no arguments");
  IndexEngine engine;
  LoadFilesTelling(engine);
  engine.setDefaultCategories();
  return SaveOrFail(engine);
}

int RunCategoryAdd(const Arguments& args) {
  if (args.empty() || args.size() > 2) return UsageError("usage: --category-add NAME [HEADING]");
  const std::optional<std::string> name = ArgumentText(args[0]);
  if (!name || !IsUsableName(*name)) return UsageError("bad category name \"" + args[0] + "\"");
  std::optional<std::string> heading = DefaultHeading(*name);
  if (args.size() == 2) heading = ArgumentText(args[1]);
  if (!heading) return UsageError("bad heading: not representable in Windows-1252");
  IndexEngine engine;
  LoadFilesTelling(engine);
  if (engine.categories().Add(CategoryKeyFor(*name), *name + kCategorySeparator + *heading) !=
      kNoErr)
    return UsageError("the category is too long to be stored");
  return SaveOrFail(engine);
}

int RunCategoryRemove(const Arguments& args) {
  if (args.size() != 1) return UsageError("usage: --category-remove KEY");
  const std::optional<std::string> key = ArgumentText(args[0]);
  IndexEngine engine;
  LoadFilesTelling(engine);
  if (!key || key->empty() || engine.categories().Remove(*key) != kNoErr)
    return Fail(kExitFailure, "no category with the key \"" + args[0] + "\"");
  return SaveOrFail(engine);
}

}  // namespace indexer::cli
