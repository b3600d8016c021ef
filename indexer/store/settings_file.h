// SettingsFile: a SettingsStore bound to a file path, with the magic "mPrf" in front of the block.
#pragma once

#include <string>

#include "indexer/store/file_stream.h"
#include "indexer/store/settings_store.h"

namespace indexer {

inline constexpr std::uint32_t kSettingsMagic = 0x6D507266;  // "mPrf"

class SettingsFile : public SettingsStore {
 public:
  SettingsFile() = default;
  explicit SettingsFile(std::string path);

  // Rebinds to `path` with an empty store, then reads it: kFileNotFoundErr when missing,
  // kFileOpenErr, kBadMagicErr, kBadVersionErr or a read error otherwise.
  MMoreErr Load(const std::string& path);
  // Saves to `path`, or to the bound path when `path` is empty (rebinding first otherwise).
  MMoreErr Save(const std::string& path = {});

  const std::string& path() const { return stream_.path(); }

 private:
  FileStream stream_;
};

}  // namespace indexer
