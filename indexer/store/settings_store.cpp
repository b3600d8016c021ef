#include "indexer/store/settings_store.h"

#include <algorithm>
#include <cstring>

#include "indexer/store/big_endian.h"

namespace indexer {
namespace {

// Entry bytes are read in pieces of at most this size, so a size field that promises more than
// the file holds fails at the end of the file instead of allocating what it promises.
constexpr std::size_t kReadPiece = 64 * 1024;

std::int32_t Key(SettingId id) {
  return static_cast<std::int32_t>(id);
}

MMoreErr ReadBlob(FileStream& stream, std::uint32_t size, SettingsStore::Blob& blob) {
  blob.clear();
  while (blob.size() < size) {
    const std::size_t piece = std::min<std::size_t>(kReadPiece, size - blob.size());
    const std::size_t old_size = blob.size();
    blob.resize(old_size + piece);
    std::size_t count = piece;
    if (MMoreErr status = stream.ReadBytes(blob.data() + old_size, count); status != kNoErr)
      return status;
  }
  return kNoErr;
}

}  // namespace

const SettingsStore::Blob* SettingsStore::Find(SettingId id) const {
  const auto it = blobs_.find(Key(id));
  return it == blobs_.end() ? nullptr : &it->second;
}

bool SettingsStore::Contains(SettingId id) const {
  return Find(id) != nullptr;
}

MMoreErr SettingsStore::GetString(SettingId id, std::string& value) const {
  value.clear();
  const Blob* blob = Find(id);
  if (!blob) return kNotFound;
  const auto end = std::find(blob->begin(), blob->end(), std::uint8_t{0});
  value.assign(blob->begin(), end);
  return kNoErr;
}

MMoreErr SettingsStore::SetString(SettingId id, std::string_view value) {
  if (id == 0) return kBadArgument;
  Blob blob(value.begin(), value.end());
  blob.push_back(0);
  blobs_[Key(id)] = std::move(blob);
  return kNoErr;
}

MMoreErr SettingsStore::GetBool(SettingId id, bool& value) const {
  std::uint16_t stored = 0;
  const MMoreErr status = Get(id, &stored, sizeof stored);
  value = stored != 0;
  return status;
}

MMoreErr SettingsStore::SetBool(SettingId id, bool value) {
  const std::uint16_t stored = value ? 1 : 0;  // machine order, as the file has always held it
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(stored & 0xFF),
                                 static_cast<std::uint8_t>(stored >> 8)};
  return Set(id, bytes, sizeof bytes);
}

MMoreErr SettingsStore::GetShort(SettingId id, std::uint16_t& value) const {
  std::uint16_t stored = 0;
  const MMoreErr status = Get(id, &stored, sizeof stored);
  value = BigEndian(stored);
  return status;
}

MMoreErr SettingsStore::SetShort(SettingId id, std::uint16_t value) {
  const std::uint16_t stored = BigEndian(value);
  return Set(id, &stored, sizeof stored);
}

MMoreErr SettingsStore::GetLong(SettingId id, std::uint32_t& value) const {
  std::uint32_t stored = 0;
  const MMoreErr status = Get(id, &stored, sizeof stored);
  value = BigEndian(stored);
  return status;
}

MMoreErr SettingsStore::SetLong(SettingId id, std::uint32_t value) {
  const std::uint32_t stored = BigEndian(value);
  return Set(id, &stored, sizeof stored);
}

MMoreErr SettingsStore::Get(SettingId id, void* buffer, std::size_t width) const {
  if (width > 0 && buffer == nullptr) return kBadArgument;
  const Blob* blob = Find(id);
  if (!blob) return kNotFound;
  const std::size_t copied = std::min(width, blob->size());
  if (width > 0) std::memset(buffer, 0, width);
  if (copied > 0) std::memcpy(buffer, blob->data(), copied);
  return kNoErr;
}

MMoreErr SettingsStore::Set(SettingId id, const void* bytes, std::size_t size) {
  if (id == 0 || size == 0 || bytes == nullptr) return kBadArgument;
  const auto* first = static_cast<const std::uint8_t*>(bytes);
  blobs_[Key(id)] = Blob(first, first + size);
  return kNoErr;
}

MMoreErr SettingsStore::Remove(SettingId id) {
  return blobs_.erase(Key(id)) == 1 ? kNoErr : kNotFound;
}

void SettingsStore::Clear() {
  blobs_.clear();
}

MMoreErr SettingsStore::Read(FileStream& stream) {
  Clear();
  std::uint32_t version = 0;
  if (MMoreErr status = stream.ReadLong(version, true); status != kNoErr) return status;
  if (version != kSettingsBlockVersion) return kBadVersionErr;
  std::uint32_t count = 0;
  if (MMoreErr status = stream.ReadLong(count, true); status != kNoErr) return status;
  for (std::uint32_t n = 0; n < count; ++n) {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    if (MMoreErr status = stream.ReadLong(id, true); status != kNoErr) return status;
    if (id == 0) break;  // an id of 0 ends the block whatever the count says
    if (MMoreErr status = stream.ReadLong(size, true); status != kNoErr) return status;
    Blob blob;
    if (MMoreErr status = ReadBlob(stream, size, blob); status != kNoErr) return status;
    blobs_.try_emplace(Key(id), std::move(blob));  // the first entry of an id wins
  }
  return kNoErr;
}

MMoreErr SettingsStore::Write(FileStream& stream) const {
  if (MMoreErr status = stream.WriteLong(kSettingsBlockVersion, true); status != kNoErr)
    return status;
  if (MMoreErr status = stream.WriteLong(static_cast<std::uint32_t>(blobs_.size()), true);
      status != kNoErr)
    return status;
  for (const auto& [key, blob] : blobs_) {
    if (MMoreErr status = stream.WriteLong(static_cast<std::uint32_t>(key), true); status != kNoErr)
      return status;
    if (MMoreErr status = stream.WriteLong(static_cast<std::uint32_t>(blob.size()), true);
        status != kNoErr)
      return status;
    std::size_t count = blob.size();
    if (MMoreErr status = stream.WriteBytes(blob.data(), count); status != kNoErr) return status;
  }
  return kNoErr;
}

}  // namespace indexer
