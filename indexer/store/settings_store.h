// SettingsStore: the indexer's keyed preference store, a map from a 32-bit SettingId to a small
// byte blob (a string with its NUL, a boolean, a short or a long). The same store, with the same
// block layout, also serves as the header blocks of the collection file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/file_stream.h"
#include "indexer/store/mmore_err.h"

namespace indexer {

// 0x0101GGII: group GG, index II within the group.
using SettingId = std::uint32_t;

// The block format version written before the entries.
inline constexpr std::uint32_t kSettingsBlockVersion = 0x00010000;

class SettingsStore {
 public:
  using Blob = std::vector<std::uint8_t>;

  // The characters up to the first NUL (or the whole blob); kNotFound and "" when absent.
  MMoreErr GetString(SettingId id, std::string& value) const;
  MMoreErr SetString(SettingId id, std::string_view value);
  // Two bytes in machine order (little-endian); true when not 0.
  MMoreErr GetBool(SettingId id, bool& value) const;
  MMoreErr SetBool(SettingId id, bool value);
  // Two bytes, big-endian.
  MMoreErr GetShort(SettingId id, std::uint16_t& value) const;
  MMoreErr SetShort(SettingId id, std::uint16_t value);
  // Four bytes, big-endian.
  MMoreErr GetLong(SettingId id, std::uint32_t& value) const;
  MMoreErr SetLong(SettingId id, std::uint32_t value);
  // Copies at most `width` stored bytes; the rest of the buffer, if the blob is shorter, is
  // zeroed, so a getter never reads past a blob.
  MMoreErr Get(SettingId id, void* buffer, std::size_t width) const;
  MMoreErr Set(SettingId id, const void* bytes, std::size_t size);
  MMoreErr Remove(SettingId id);
  void Clear();

  // Block layout: u32 version, u32 count, then per entry u32 id, u32 size, size bytes. Read
  // replaces the whole content; a size beyond the bytes left in the file is a read error.
  MMoreErr Read(FileStream& stream);
  MMoreErr Write(FileStream& stream) const;

  bool Contains(SettingId id) const;
  // Null when absent.
  const Blob* Find(SettingId id) const;
  std::size_t size() const { return blobs_.size(); }
  bool operator==(const SettingsStore& other) const = default;

 private:
  // Ids compare as signed 32-bit numbers.
  std::map<std::int32_t, Blob> blobs_;
};

}  // namespace indexer
