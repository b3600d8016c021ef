#include "indexer/engine/index_collection.h"

#include <algorithm>

namespace indexer {
namespace {

// The seven text fields of a record: their offset in the record and the bytes their text may use
// (the slot is two bytes longer, for the length).
struct TextSlot {
  std::int64_t offset;
  std::size_t capacity;
};
constexpr std::size_t kInUseOffset = 0;
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

// The record as stored: the in-use byte, then each slot as its length, its text and zero bytes
// up to the slot's end.
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

void EncodeSlot(const TextSlot& slot, const std::string& text, RecordBytes& bytes) {
  const std::size_t length = std::min(text.size(), slot.capacity);
  std::uint8_t* out = bytes.data() + slot.offset;
  out[0] = static_cast<std::uint8_t>(length >> 8);
  out[1] = static_cast<std::uint8_t>(length & 0xFF);
  std::copy_n(text.begin(), length, out + 2);
}

// A slot's text; a length beyond the slot is cut to the slot, never read past it.
std::string DecodeSlot(const TextSlot& slot, const RecordBytes& bytes) {
  const std::uint8_t* in = bytes.data() + slot.offset;
  const std::size_t length = std::min<std::size_t>((in[0] << 8) | in[1], slot.capacity);
  return std::string(reinterpret_cast<const char*>(in + 2), length);
}

void DecodeRecord(const RecordBytes& bytes, ArticleRecord& record) {
  record.inUse = bytes[kInUseOffset] != 0;
  record.year = DecodeSlot(kYearSlot, bytes);
  record.issue = DecodeSlot(kIssueSlot, bytes);
  record.category = DecodeSlot(kCategorySlot, bytes);
  record.path = DecodeSlot(kPathSlot, bytes);
  record.relativePath = DecodeSlot(kRelativePathSlot, bytes);
  record.description = DecodeSlot(kDescriptionSlot, bytes);
  record.subdescription = DecodeSlot(kSubdescriptionSlot, bytes);
}

}  // namespace

IndexCollection::IndexCollection(std::string path) : stream_(std::move(path)) {}

MMoreErr IndexCollection::open(const char* mode) {
  count_ = 0;
  nextAppend_ = kUnknownPosition;
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
  RecordBytes bytes{};
  bytes[kInUseOffset] = record.inUse ? 1 : 0;
  EncodeSlot(kYearSlot, record.year, bytes);
  EncodeSlot(kIssueSlot, record.issue, bytes);
  EncodeSlot(kCategorySlot, record.category, bytes);
  EncodeSlot(kPathSlot, record.path, bytes);
  EncodeSlot(kRelativePathSlot, record.relativePath, bytes);
  EncodeSlot(kDescriptionSlot, record.description, bytes);
  EncodeSlot(kSubdescriptionSlot, record.subdescription, bytes);
  // A scan appends record after record: the stream already stands where the next one goes, and
  // a seek there would cost a flush and a look at the file's length every time.
  if (offset != nextAppend_) {
    nextAppend_ = kUnknownPosition;
    // Past the end, the seek pads the file with zero bytes up to the record.
    if (MMoreErr status = stream_.Seek(offset, kSeekStart); status != kNoErr) return status;
  }
  std::size_t count = bytes.size();
  if (MMoreErr status = stream_.WriteBytes(bytes.data(), count); status != kNoErr) {
    nextAppend_ = kUnknownPosition;
    return status;
  }
  nextAppend_ = offset + kRecordSize;
  // Flushed, so that the file on disk holds every record appended so far.
  return stream_.Flush();
}

MMoreErr IndexCollection::readRecord(ArticleRecord& record, std::uint32_t n) {
  if (n == 0) return kBadArgument;
  if (!stream_.IsOpen()) return kFileNotOpenErr;
  nextAppend_ = kUnknownPosition;
  record.number = n;
  const std::int64_t offset = RecordOffset(n);
  // Reading never seeks past the end: that would grow the file.
  if (offset + kRecordSize > stream_.Length()) return kFileReadErr;
  if (MMoreErr status = stream_.Seek(offset, kSeekStart); status != kNoErr) return status;
  RecordBytes bytes{};
  std::size_t count = bytes.size();
  if (MMoreErr status = stream_.ReadBytes(bytes.data(), count); status != kNoErr) return status;
  DecodeRecord(bytes, record);
  return kNoErr;
}

MMoreErr IndexCollection::readRecords(std::vector<ArticleRecord>& records) {
  records.clear();
  if (!stream_.IsOpen()) return kFileNotOpenErr;
  nextAppend_ = kUnknownPosition;
  // Records that lie past the end of a cut file are missing, as readRecord() finds them.
  const std::int64_t length = stream_.Length();
  std::uint32_t whole = 0;
  while (whole < count_ && RecordOffset(whole + 1) + kRecordSize <= length)
    ++whole;
  if (whole == 0) return kNoErr;
  if (MMoreErr status = stream_.Seek(RecordOffset(1), kSeekStart); status != kNoErr) return status;
  records.resize(whole);
  RecordBytes bytes{};
  for (std::uint32_t n = 1; n <= whole; ++n) {
    std::size_t count = bytes.size();
    if (MMoreErr status = stream_.ReadBytes(bytes.data(), count); status != kNoErr) {
      records.resize(n - 1);
      return status;
    }
    records[n - 1].number = n;
    DecodeRecord(bytes, records[n - 1]);
  }
  return kNoErr;
}

MMoreErr IndexCollection::close() {
  if (!stream_.IsOpen()) return kFileNotOpenErr;
  nextAppend_ = kUnknownPosition;
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
