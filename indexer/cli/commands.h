// The indexer's command-line commands. Each takes the arguments that follow its option and
// returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace indexer::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure =
    1;                                // the work could not be done (a file not saved, a run failed)
inline constexpr int kExitUsage = 2;  // bad command line, unknown key, bad value

using Arguments = std::vector<std::string>;

int RunPrefs(const Arguments& args);
int RunPrefsReset(const Arguments& args);
int RunCategories(const Arguments& args);
int RunCategoriesReset(const Arguments& args);
int RunCategoryAdd(const Arguments& args);
int RunCategoryRemove(const Arguments& args);
int RunBatch(const Arguments& args);
int RunShow(const Arguments& args);

}  // namespace indexer::cli
