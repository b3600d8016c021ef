#include "indexer/engine/index_engine.h"

#include "indexer/store/settings_keys.h"

namespace indexer {
namespace {

// The seven rows a fresh installation knows, in the order they are added.
constexpr const char* kDefaultCategoryNames[] = {"Culture",  "Economy", "Entertainment", "News",
                                                 "Politics", "Sports",  "Technics"};

void SplitCategoryValue(const std::string& value, std::string& name, std::string* heading) {
  const std::size_t cut = value.find(kCategorySeparator);
  name = value.substr(0, cut);
  if (heading) *heading = cut == std::string::npos ? std::string() : value.substr(cut + 1);
}

}  // namespace

MMoreErr IndexEngine::idle() {
  return kNoErr;
}

MMoreErr IndexEngine::showProgress(const std::string& /*text*/) {
  return kNoErr;
}

MMoreErr IndexEngine::step() {
  return kNoErr;
}

// Without someone to ask, the question counts as cancelled.
MMoreErr IndexEngine::askIndexType(std::uint32_t& /*type*/) {
  return kUserCancelled;
}

SettingsStore& IndexEngine::preferences() {
  return settings_;
}

CategoryTable& IndexEngine::categories() {
  return categories_;
}

std::string IndexEngine::askDestination() {
  return {};
}

void IndexEngine::setDefaultPreferences() {
  StoreDefaultSettings(settings_);
}

void IndexEngine::setDefaultCategories() {
  categories_.Clear();
  for (const char* name : kDefaultCategoryNames) {
    const std::string key = CategoryKeyFor(name);
    categories_.Add(key, std::string(name) + kCategorySeparator + "<H2><IMG SRC=\"../../GIFs/" +
                             key + ".gif\" ALT=\"" + name + "\"></H2>");
  }
}

MMoreErr IndexEngine::LoadSettings(const std::string& path) {
  return settings_.Load(path);
}

MMoreErr IndexEngine::SaveSettings(const std::string& path) {
  return settings_.Save(path);
}

MMoreErr IndexEngine::LoadCategories(const std::string& path) {
  category_stream_.SetPath(path);
  categories_.Clear();
  if (!category_stream_.Exists() || category_stream_.IsDirectory()) return kFileNotFoundErr;
  if (MMoreErr status = category_stream_.Open("rb"); status != kNoErr) return status;
  const MMoreErr status = categories_.Read(category_stream_);
  category_stream_.Close();
  return status;
}

MMoreErr IndexEngine::SaveCategories(const std::string& path) {
  if (!path.empty()) category_stream_.SetPath(path);
  return WriteReplacement(category_stream_.path(),
                          [this](FileStream& out) { return categories_.Write(out); });
}

MMoreErr IndexEngine::CategoryAt(std::size_t n, std::string& name, std::string* heading) const {
  std::string value;
  if (MMoreErr status = categories_.At(n, value); status != kNoErr) return status;
  SplitCategoryValue(value, name, heading);
  return kNoErr;
}

MMoreErr IndexEngine::CategoryFor(std::string& key, std::string* heading) const {
  key = CategoryKeyFor(key);
  std::string value;
  if (MMoreErr status = categories_.Find(key, value); status != kNoErr) return status;
  SplitCategoryValue(value, key, heading);
  return kNoErr;
}

}  // namespace indexer
