#include "indexer/store/file_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "indexer/store/big_endian.h"
#include "indexer/store/file_status.h"
#include "indexer/store/stream_replacer.h"
#include "platform/file_closer.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"

namespace indexer {
namespace {

// Block size for copies, zero fills and substitution passes: big enough that a large page costs
// a handful of system calls, small enough to stay out of the way.
constexpr std::size_t kCopyBlock = 64 * 1024;

// With the swap flag the value is stored big-endian, else in machine order.
std::uint16_t ToStored16(std::uint16_t value, bool swap) {
  return swap ? BigEndian(value) : value;
}
std::uint32_t ToStored32(std::uint32_t value, bool swap) {
  return swap ? BigEndian(value) : value;
}

using FileHandle = platform::UniqueFile;

// Keeps the path and the system's reason of a failure for the message that reports it.
void NoteSystemFailure(int code, const std::string& path) {
  platform::NoteFailure(platform::Status::FromErrno(code, path, errno));
}

// Streams `in` through the pairs into `out`; kFileReadErr / kFileWriteErr on failure.
MMoreErr StreamWithReplacements(std::FILE* in, std::FILE* out, std::span<const Replacement> pairs,
                                std::size_t* replaced) {
  StreamReplacer replacer(pairs);
  std::vector<char> block(kCopyBlock);
  std::string result;
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), in);
    if (got == 0) break;
    result.clear();
    replacer.Feed(std::string_view(block.data(), got), result);
    if (std::fwrite(result.data(), 1, result.size(), out) != result.size()) return kFileWriteErr;
  }
  if (std::ferror(in)) return kFileReadErr;
  result.clear();
  replacer.Finish(result);
  if (std::fwrite(result.data(), 1, result.size(), out) != result.size()) return kFileWriteErr;
  if (replaced) *replaced = replacer.replacements();
  return kNoErr;
}

}  // namespace

FileStream::FileStream(std::string path) : path_(std::move(path)) {}

FileStream::FileStream(const FileStream& other) : path_(other.path_) {}

FileStream& FileStream::operator=(const FileStream& other) {
  if (this != &other) {
    Close();
    path_ = other.path_;
  }
  return *this;
}

FileStream::~FileStream() {
  Close();
}

void FileStream::SetPath(std::string path) {
  Close();
  path_ = std::move(path);
}

MMoreErr FileStream::Open(const char* mode) {
  Close();
  if (path_.empty() || mode == nullptr) return kFileOpenErr;
  file_ = std::fopen(path_.c_str(), mode);
  if (file_) return kNoErr;
  NoteSystemFailure(platform::kFileOpenFailed, path_);
  return kFileOpenErr;
}

MMoreErr FileStream::Close() {
  if (!file_) return kFileNotOpenErr;
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) == 0) return kNoErr;
  NoteSystemFailure(platform::kFileWriteFailed, path_);
  return kFileWriteErr;
}

MMoreErr FileStream::Remove() {
  Close();
  if (path_.empty() || std::remove(path_.c_str()) != 0) return kFileNotFoundErr;
  return kNoErr;
}

MMoreErr FileStream::Rename(const std::string& new_name) {
  if (path_.empty()) return kFileNotFoundErr;
  if (new_name.empty()) return kBadArgument;
  std::string new_path = platform::JoinPath(FolderPart(), new_name);
  if (std::rename(path_.c_str(), new_path.c_str()) != 0) return kFileWriteErr;
  path_ = std::move(new_path);
  return kNoErr;
}

MMoreErr FileStream::CopyTo(const std::string& path) {
  FileStream target(path);
  if (path.empty() || target.IsDirectory()) return kBadArgument;
  if (MMoreErr status = target.Open("w+b"); status != kNoErr) return status;
  const MMoreErr status = target.AppendFrom(*this);
  const MMoreErr closed = target.Close();
  return status != kNoErr ? status : closed;
}

bool FileStream::Exists() const {
  std::error_code error;
  return !path_.empty() && std::filesystem::exists(path_, error);
}

MMoreErr FileStream::Flush() {
  if (!file_) return kFileNotOpenErr;
  if (std::fflush(file_) == 0) return kNoErr;
  NoteSystemFailure(platform::kFileWriteFailed, path_);
  return kFileWriteErr;
}

bool FileStream::IsDirectory() const {
  std::error_code error;
  return !path_.empty() && std::filesystem::is_directory(path_, error);
}

std::int64_t FileStream::Position() {
  if (!file_) throw kFileNotOpenErr;
  return ftello(file_);
}

MMoreErr FileStream::Seek(std::int64_t offset, int origin) {
  if (!file_) return kFileNotOpenErr;
  std::int64_t target = offset;
  if (origin == kSeekCurrent) {
    target += ftello(file_);
  } else if (origin == kSeekEnd) {
    target += Length();
  } else if (origin != kSeekStart) {
    return kBadArgument;
  }
  if (target < 0) return kBadArgument;
  // A position past the end makes the file that long, padded with zero bytes.
  if (target > Length()) return ExtendTo(target);
  if (fseeko(file_, target, SEEK_SET) == 0) return kNoErr;
  NoteSystemFailure(platform::kFileReadFailed, path_);
  return kFileReadErr;
}

std::int64_t FileStream::Length() {
  if (file_) {
    const off_t here = ftello(file_);
    if (fseeko(file_, 0, SEEK_END) != 0) {
      NoteSystemFailure(platform::kFileWriteFailed, path_);  // the flush before the seek failed
      throw kFileReadErr;
    }
    const off_t end = ftello(file_);
    fseeko(file_, here, SEEK_SET);
    return end;
  }
  if (path_.empty()) throw kFileNotFoundErr;
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) throw kFileNotFoundErr;
  return info.st_size;
}

MMoreErr FileStream::ExtendTo(std::int64_t length) {
  if (!file_) return kFileNotOpenErr;
  if (fseeko(file_, 0, SEEK_END) != 0) return kFileWriteErr;
  std::int64_t size = ftello(file_);
  static const std::array<char, 4096> kZeros{};
  while (size < length) {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::int64_t>(length - size, kZeros.size()));
    if (std::fwrite(kZeros.data(), 1, chunk, file_) != chunk) {
      NoteSystemFailure(platform::kFileWriteFailed, path_);
      return kFileWriteErr;
    }
    size += static_cast<std::int64_t>(chunk);
  }
  return kNoErr;
}

MMoreErr FileStream::WriteText(std::string_view text) {
  const std::size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  std::size_t count = text.size();
  return WriteBytes(text.data(), count);
}

MMoreErr FileStream::WriteString(std::string_view text) {
  if (!file_) return kFileNotOpenErr;
  if (text.size() > kMaxStreamString) return kBadArgument;
  if (MMoreErr status = WriteShort(static_cast<std::uint16_t>(text.size()), true); status != kNoErr)
    return status;
  std::size_t count = text.size();
  return WriteBytes(text.data(), count);
}

MMoreErr FileStream::WriteChar(std::uint8_t byte) {
  std::size_t count = 1;
  return WriteBytes(&byte, count);
}

MMoreErr FileStream::WriteShort(std::uint16_t value, bool swap) {
  const std::uint16_t stored = ToStored16(value, swap);
  std::size_t count = sizeof stored;
  return WriteBytes(&stored, count);
}

MMoreErr FileStream::WriteBool(bool value) {
  return WriteChar(value ? 1 : 0);
}

MMoreErr FileStream::WriteLong(std::uint32_t value, bool swap) {
  const std::uint32_t stored = ToStored32(value, swap);
  std::size_t count = sizeof stored;
  return WriteBytes(&stored, count);
}

MMoreErr FileStream::WriteBytes(const void* buffer, std::size_t& count) {
  if (!file_) {
    count = 0;
    return kFileNotOpenErr;
  }
  const std::size_t wanted = count;
  count = wanted == 0 ? 0 : std::fwrite(buffer, 1, wanted, file_);
  if (count == wanted) return kNoErr;
  NoteSystemFailure(platform::kFileWriteFailed, path_);
  return kFileWriteErr;
}

MMoreErr FileStream::AppendFrom(FileStream& other) {
  if (!file_) return kFileNotOpenErr;
  if (other.path_.empty()) return kFileNotOpenErr;
  FileHandle source(std::fopen(other.path_.c_str(), "rb"));
  if (!source) return kFileNotOpenErr;
  if (fseeko(file_, 0, SEEK_END) != 0) return kFileWriteErr;
  std::vector<char> block(kCopyBlock);
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), source.get());
    if (got == 0) break;
    if (std::fwrite(block.data(), 1, got, file_) != got) {
      NoteSystemFailure(platform::kFileWriteFailed, path_);
      return kFileWriteErr;
    }
  }
  return std::ferror(source.get()) ? kFileReadErr : kNoErr;
}

MMoreErr FileStream::ReadString(std::string& text) {
  std::uint16_t length = 0;
  if (MMoreErr status = ReadShort(length, true); status != kNoErr) return status;
  std::string value(length, '\0');
  std::size_t count = length;
  if (MMoreErr status = ReadBytes(value.data(), count); status != kNoErr) return status;
  text = std::move(value);
  return kNoErr;
}

MMoreErr FileStream::ReadBool(bool& value) {
  std::uint8_t byte = 0;
  const MMoreErr status = ReadChar(byte);
  if (status == kNoErr) value = byte != 0;
  return status;
}

MMoreErr FileStream::ReadChar(std::uint8_t& byte) {
  std::size_t count = 1;
  return ReadBytes(&byte, count);
}

MMoreErr FileStream::ReadShort(std::uint16_t& value, bool swap) {
  std::uint16_t stored = 0;
  std::size_t count = sizeof stored;
  const MMoreErr status = ReadBytes(&stored, count);
  if (status == kNoErr) value = ToStored16(stored, swap);
  return status;
}

MMoreErr FileStream::ReadLong(std::uint32_t& value, bool swap) {
  std::uint32_t stored = 0;
  std::size_t count = sizeof stored;
  const MMoreErr status = ReadBytes(&stored, count);
  if (status == kNoErr) value = ToStored32(stored, swap);
  return status;
}

MMoreErr FileStream::ReadBytes(void* buffer, std::size_t& count) {
  if (!file_) {
    count = 0;
    return kFileNotOpenErr;
  }
  const std::size_t wanted = count;
  count = wanted == 0 ? 0 : std::fread(buffer, 1, wanted, file_);
  return count == wanted ? kNoErr : kFileReadErr;
}

MMoreErr FileStream::CopyWithReplacements(FileStream& source, std::span<const Replacement> pairs) {
  if (!file_) return kFileNotOpenErr;
  if (source.path_.empty()) return kFileOpenErr;
  FileHandle in(std::fopen(source.path_.c_str(), "rb"));
  if (!in) return kFileOpenErr;
  return StreamWithReplacements(in.get(), file_, pairs, nullptr);
}

MMoreErr FileStream::ReplaceInPlace(std::span<const Replacement> pairs) {
  if (IsDirectory()) return kBadArgument;
  if (path_.empty()) return kFileNotFoundErr;
  Close();
  // Through a symbolic link the file it names is rewritten; the link stays a link.
  platform::FileReplacement replacement(path_);
  FileHandle in(std::fopen(replacement.target().c_str(), "rb"));
  if (!in) {
    NoteSystemFailure(platform::kFileOpenFailed, replacement.target());
    return kFileOpenErr;
  }
  if (MMoreErr status = WriteStatus(replacement.Open()); status != kNoErr) return status;
  FileHandle out(::fdopen(::dup(replacement.descriptor()), "wb"));
  if (!out)
    return WriteStatus(
        platform::Status::FromErrno(platform::kFileOpenFailed, replacement.target(), errno));
  std::size_t replaced = 0;
  MMoreErr status = StreamWithReplacements(in.get(), out.get(), pairs, &replaced);
  if (std::fclose(out.release()) != 0 && status == kNoErr) status = kFileWriteErr;
  if (status == kFileWriteErr) {
    NoteSystemFailure(platform::kFileWriteFailed, replacement.target());
  } else if (status == kFileReadErr) {
    NoteSystemFailure(platform::kFileReadFailed, replacement.target());
  }
  // Nothing changed, or a failure: the original stays as it is and the temporary file goes.
  if (status != kNoErr || replaced == 0) return status;
  return WriteStatus(replacement.Commit());
}

MMoreErr WriteReplacement(const std::string& path,
                          const std::function<MMoreErr(FileStream&)>& write) {
  if (path.empty()) return kFileOpenErr;
  platform::FileReplacement replacement(path);
  if (MMoreErr status = WriteStatus(replacement.Open()); status != kNoErr) return status;
  FileStream stream(replacement.temporary_path());
  MMoreErr status = stream.Open("wb");
  if (status == kNoErr) status = write(stream);
  if (const MMoreErr closed = stream.Close(); status == kNoErr) status = closed;
  if (status != kNoErr) {
    BlameTarget(replacement);
    return status;
  }
  return WriteStatus(replacement.Commit());
}

std::string FileStream::FolderPart() const {
  return platform::FolderPart(path_);
}

std::string FileStream::NamePart() const {
  return platform::NamePart(path_);
}

}  // namespace indexer
