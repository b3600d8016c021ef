#include "indexer/engine/index_collection.h"

#include <algorithm>
#include <vector>

namespace indexer {
namespace {

// The seven text fields of a record: their offset in the record and the bytes their text may use
// (the slot is two bytes longer, for the length).
struct TextSlot {
  std::int64_t offset;
  std::size_t capacity;
};
constexpr std::int64_t kInUseOffset = 0;
constexpr TextSlot kYearSlot{1, kShortFieldLimit};
constexpr TextSlot kIssueSlot{23, kShortFieldLimit};
constexpr TextSlot kCategorySlot{45, kShortFieldLimit};
constexpr TextSlot kPathSlot{67, kLongFieldLimit};
constexpr TextSlot kRelativePathSlot{325, kLongFieldLimit};
constexpr TextSlot kDescriptionSlot{583, kLongFieldLimit};
constexpr TextSlot kSubdescriptionSlot{841, kLongFieldLimit};

std::int64_t RecordOffset(std::uint32_t n) {
  return kCollectionHeaderSize + kRecordSize * (static_cast<std::int64_t>(n) - 1);
}

std::int64_t BlocksOffset(std::uint32_t count) {
  return kCollectionHeaderSize + kRecordSize * static_cast<std::int64_t>(count);
}

// Writes the whole slot: length, text, zero bytes up to the slot's end.
MMoreErr WriteSlot(FileStream& stream, std::int64_t record, const TextSlot& slot,
                   const std::string& text) {
  const std::size_t length = std::min(text.size(), slot.capacity);
  std::vector<std::uint8_t> bytes(2 + slot.capacity, 0);
  bytes[0] = static_cast<std::uint8_t>(length >> 8);
  bytes[1] = static_cast<std::uint8_t>(length & 0xFF);
  std::copy_n(text.begin(), length, bytes.begin() + 2);
  if (MMoreErr status = stream.Seek(record + slot.offset, kSeekStart); status != kNoErr)
    return status;
  std::size_t count = bytes.size();
  return stream.WriteBytes(bytes.data(), count);
}

// Reads a slot's text; a length beyond the slot is cut to the slot, never read past it.
MMoreErr ReadSlot(FileStream& stream, std::int64_t record, const TextSlot& slot,
                  std::string& text) {
  if (MMoreErr status = stream.Seek(record + slot.offset, kSeekStart); status != kNoErr)
    return status;
  std::uint16_t length = 0;
  if (MMoreErr status = stream.ReadShort(length, true); status != kNoErr) return status;
  std::string value(std::min<std::size_t>(length, slot.capacity), '\0');
  std::size_t count = value.size();
  if (MMoreErr status = stream.ReadBytes(value.data(), count); status != kNoErr) return status;
  text = std::move(value);
  return kNoErr;
}

}  // namespace

IndexCollection::IndexCollection(std::string path) : stream_(std::move(path)) {}

MMoreErr IndexCollection::open(const char* mode) {
  count_ = 0;
  for (SettingsStore& block : blocks_)
    block.Clear();
  if (MMoreErr status = stream_.Open(mode); status != kNoErr) return status;
  const MMoreErr status = ReadHeader();
  // A collection that cannot be read is not left open, so that no close() writes over it.
  if (status != kNoErr) stream_.Close();
  return status;
}

MMoreErr IndexCollection::ReadHeader() {
  std::uint32_t word = 0;
  if (stream_.ReadLong(word, true) != kNoErr) return kNoErr;  // a new, empty file
  if (word != kCollectionMagic) return kBadMagicErr;
  if (MMoreErr status = stream_.ReadLong(word, true); status != kNoErr) return status;
  if (word != kCollectionVersion) return kBadVersionErr;
  std::uint32_t count = 0;
  if (MMoreErr status = stream_.ReadLong(count, true); status != kNoErr) return status;
  // A count that puts the blocks past the end of the file is corrupt; checked before seeking,
  // because a seek past the end would grow the file.
  if (BlocksOffset(count) > stream_.Length()) return kFileReadErr;
  count_ = count;
  if (MMoreErr status = stream_.Seek(BlocksOffset(count_), kSeekStart); status != kNoErr)
    return status;
  if (MMoreErr status = blocks_[0].Read(stream_); status != kNoErr) return status;
  // The two further blocks are optional extras: a damaged one is dropped, not fatal.
  for (std::size_t i = 1; i < blocks_.size(); ++i) {
    if (blocks_[i].Read(stream_) != kNoErr) blocks_[i].Clear();
  }
  return kNoErr;
}

MMoreErr IndexCollection::setHeader(std::uint32_t indexType, bool flag0, bool flag1) {
  if (MMoreErr status = blocks_[0].SetLong(kCollectionIndexType, indexType); status != kNoErr)
    return status;
  return blocks_[0].SetLong(kCollectionFlags, (flag0 ? 1u : 0u) | (flag1 ? 2u : 0u));
}

MMoreErr IndexCollection::getHeader(std::uint32_t& indexType, bool& flag0, bool& flag1) const {
  if (MMoreErr status = blocks_[0].GetLong(kCollectionIndexType, indexType); status != kNoErr)
    return status;
  std::uint32_t flags = 0;
  if (MMoreErr status = blocks_[0].GetLong(kCollectionFlags, flags); status != kNoErr)
    return status;
  flag0 = (flags & 1u) != 0;
  flag1 = (flags & 2u) != 0;
  return kNoErr;
}

MMoreErr IndexCollection::appendRecord(ArticleRecord& record, std::uint32_t n) {
  if (!stream_.IsOpen()) return kFileNotOpenErr;
  if (n == 0) n = record.number;
  if (n == 0) n = count_ + 1;
  if (n > count_) count_ = n;
  record.number = n;
  const std::int64_t offset = RecordOffset(n);
  if (stream_.Length() < offset + kRecordSize) {
    if (MMoreErr status = stream_.ExtendTo(offset + kRecordSize); status != kNoErr) return status;
  }
  if (MMoreErr status = stream_.Seek(offset + kInUseOffset, kSeekStart); status != kNoErr)
    return status;
  if (MMoreErr status = stream_.WriteBool(record.inUse); status != kNoErr) return status;
  const std::pair<const TextSlot*, const std::string*> fields[] = {
      {&kYearSlot, &record.year},
      {&kIssueSlot, &record.issue},
      {&kCategorySlot, &record.category},
      {&kPathSlot, &record.path},
      {&kRelativePathSlot, &record.relativePath},
      {&kDescriptionSlot, &record.description},
      {&kSubdescriptionSlot, &record.subdescription},
  };
  for (const auto& [slot, text] : fields) {
    if (MMoreErr status = WriteSlot(stream_, offset, *slot, *text); status != kNoErr) return status;
  }
  return kNoErr;
}

MMoreErr IndexCollection::readRecord(ArticleRecord& record, std::uint32_t n) {
  if (n == 0) return kBadArgument;
  if (!stream_.IsOpen()) return kFileNotOpenErr;
  record.number = n;
  const std::int64_t offset = RecordOffset(n);
  // Reading never seeks past the end: that would grow the file.
  if (offset + kRecordSize > stream_.Length()) return kFileReadErr;
  if (MMoreErr status = stream_.Seek(offset + kInUseOffset, kSeekStart); status != kNoErr)
    return status;
  bool inUse = false;
  if (stream_.ReadBool(inUse) == kNoErr) record.inUse = inUse;
  const std::pair<const TextSlot*, std::string*> fields[] = {
      {&kYearSlot, &record.year},
      {&kIssueSlot, &record.issue},
      {&kCategorySlot, &record.category},
      {&kPathSlot, &record.path},
      {&kRelativePathSlot, &record.relativePath},
      {&kDescriptionSlot, &record.description},
      {&kSubdescriptionSlot, &record.subdescription},
  };
  for (const auto& [slot, text] : fields) {
    if (MMoreErr status = ReadSlot(stream_, offset, *slot, *text); status != kNoErr) return status;
  }
  return kNoErr;
}

MMoreErr IndexCollection::close() {
  if (!stream_.IsOpen()) return kFileNotOpenErr;
  MMoreErr status = stream_.Seek(0, kSeekStart);
  if (status == kNoErr) status = stream_.WriteLong(kCollectionMagic, true);
  if (status == kNoErr) status = stream_.WriteLong(kCollectionVersion, true);
  if (status == kNoErr) status = stream_.WriteLong(count_, true);
  if (status == kNoErr) status = stream_.Seek(BlocksOffset(count_), kSeekStart);
  for (const SettingsStore& block : blocks_) {
    if (status == kNoErr) status = block.Write(stream_);
  }
  const MMoreErr closed = stream_.Close();
  return status != kNoErr ? status : closed;
}

}  // namespace indexer
