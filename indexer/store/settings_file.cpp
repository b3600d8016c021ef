#include "indexer/store/settings_file.h"

namespace indexer {

SettingsFile::SettingsFile(std::string path) : stream_(std::move(path)) {}

MMoreErr SettingsFile::Load(const std::string& path) {
  stream_.SetPath(path);
  Clear();
  if (!stream_.Exists() || stream_.IsDirectory()) return kFileNotFoundErr;
  if (MMoreErr status = stream_.Open("rb"); status != kNoErr) return status;
  std::uint32_t magic = 0;
  MMoreErr status = stream_.ReadLong(magic, true);
  if (status == kNoErr && magic != kSettingsMagic) status = kBadMagicErr;
  if (status == kNoErr) status = Read(stream_);
  stream_.Close();
  return status;
}

MMoreErr SettingsFile::Save(const std::string& path) {
  if (!path.empty()) stream_.SetPath(path);
  return WriteReplacement(stream_.path(), [this](FileStream& out) {
    MMoreErr status = out.WriteLong(kSettingsMagic, true);
    if (status == kNoErr) status = Write(out);
    return status;
  });
}

}  // namespace indexer
