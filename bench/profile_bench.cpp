// The INI profile with many META tags: loading and saving the export settings' META section
// (4,000 and 20,000 tags) and loading the settings from a 100 KB binary file. Each stays in
// milliseconds because whole sections are read and written in one pass.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/file_replacement.h"
#include "platform/profile.h"
#include "xt/export/export_settings.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own for the profile, removed afterwards.
class ProfileFolder {
 public:
  ProfileFolder() {
    path_ = fs::temp_directory_path() / ("profile_bench_" + std::to_string(::getpid()));
    fs::create_directories(path_);
  }
  ~ProfileFolder() { fs::remove_all(path_); }
  std::string File() const { return (path_ / "MarlixXT40.INI").string(); }

 private:
  fs::path path_;
};

std::string MetaSection(int tags) {
  std::string text = "[Settings]\nHTMLSuffix=1\n[MetaTags]\n";
  for (int i = 0; i < tags; ++i)
    text += "Tag" + std::to_string(i) + "=content of tag " + std::to_string(i) + ";1\n";
  return text;
}

void BM_LoadAndSaveMetaTags(benchmark::State& state) {
  ProfileFolder folder;
  if (!platform::ReplaceFile(folder.File(), MetaSection(static_cast<int>(state.range(0)))).ok()) {
    state.SkipWithError("cannot write the profile");
    return;
  }
  for (auto _ : state) {
    xt::ExportSettings settings(folder.File());
    settings.SaveMetaTags();
    benchmark::DoNotOptimize(settings.meta_tags.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadAndSaveMetaTags)->Arg(4000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_LoadBinaryProfile(benchmark::State& state) {
  ProfileFolder folder;
  std::mt19937 random(1);
  std::string bytes(100 * 1024, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random());
  // Many short lines with keys, in the sections the settings read.
  bytes.insert(0, "[MetaTags]\n");
  for (std::size_t at = 64; at < bytes.size(); at += 64)
    bytes[at] = '\n';
  for (std::size_t at = 70; at < bytes.size(); at += 64)
    bytes[at] = '=';
  if (!platform::ReplaceFile(folder.File(), bytes).ok()) {
    state.SkipWithError("cannot write the profile");
    return;
  }
  for (auto _ : state) {
    xt::ExportSettings settings(folder.File());
    benchmark::DoNotOptimize(settings.meta_tags.size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadBinaryProfile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
