// FileStream: the one file object behind every format of the indexer (settings, categories,
// collection) and behind document chaining. It wraps a C buffered FILE and adds big-endian
// integers, 16-bit length-prefixed strings, copy, rename, remove and text substitution.
// Copying a stream copies its path only; the copy starts closed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "indexer/store/mmore_err.h"

namespace indexer {

// One substitution: every occurrence of `find` becomes `replacement`.
struct Replacement {
  std::string find;
  std::string replacement;
};

// Origins for Seek, as in the C library.
enum SeekOrigin : int { kSeekStart = 0, kSeekCurrent = 1, kSeekEnd = 2 };

// The largest byte count a length-prefixed string can carry.
inline constexpr std::size_t kMaxStreamString = 0xFFFF;

class FileStream {
 public:
  FileStream() = default;
  explicit FileStream(std::string path);
  FileStream(const FileStream& other);
  FileStream& operator=(const FileStream& other);
  virtual ~FileStream();

  virtual MMoreErr Open(const char* mode);
  virtual MMoreErr Close();
  virtual MMoreErr Remove();
  // The new path is this file's folder joined with new_name.
  virtual MMoreErr Rename(const std::string& new_name);
  virtual MMoreErr CopyTo(const std::string& path);
  virtual bool Exists() const;
  virtual MMoreErr Flush();
  virtual bool IsDirectory() const;
  // Throws kFileNotOpenErr when the stream is closed.
  virtual std::int64_t Position();
  // Seeking past the end extends the file with zero bytes.
  virtual MMoreErr Seek(std::int64_t offset, int origin);
  // Opens the file briefly when closed; throws kFileNotFoundErr without a path.
  virtual std::int64_t Length();
  virtual MMoreErr ExtendTo(std::int64_t length);
  // The characters up to the first NUL, without a length.
  virtual MMoreErr WriteText(std::string_view text);
  // 16-bit big-endian length, then the bytes; kBadArgument when longer than kMaxStreamString.
  virtual MMoreErr WriteString(std::string_view text);
  virtual MMoreErr WriteChar(std::uint8_t byte);
  virtual MMoreErr WriteShort(std::uint16_t value, bool swap);
  virtual MMoreErr WriteBool(bool value);
  virtual MMoreErr WriteLong(std::uint32_t value, bool swap);
  // count: in, the bytes to write; out, the bytes written.
  virtual MMoreErr WriteBytes(const void* buffer, std::size_t& count);
  virtual MMoreErr AppendFrom(FileStream& other);
  // Leaves `text` unchanged when the length field promises more than the file holds.
  virtual MMoreErr ReadString(std::string& text);
  virtual MMoreErr ReadBool(bool& value);
  virtual MMoreErr ReadChar(std::uint8_t& byte);
  virtual MMoreErr ReadShort(std::uint16_t& value, bool swap);
  virtual MMoreErr ReadLong(std::uint32_t& value, bool swap);
  // count: in, the bytes wanted; out, the bytes read.
  virtual MMoreErr ReadBytes(void* buffer, std::size_t& count);
  // Rewrites the (closed) file with the pairs applied one after the other over the whole
  // content. The new content goes to a temporary file beside it that replaces the original
  // only when complete. The stream is closed afterwards.
  virtual MMoreErr ReplaceInPlace(std::span<const Replacement> pairs);
  // Writes the source's content, with the pairs applied, to this open stream.
  virtual MMoreErr CopyWithReplacements(FileStream& source, std::span<const Replacement> pairs);

  std::string FolderPart() const;
  std::string NamePart() const;
  const std::string& path() const { return path_; }
  void SetPath(std::string path);
  bool IsOpen() const { return file_ != nullptr; }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

// Writes a whole new file at `path`: `write` gets a stream open on a temporary file beside it,
// which replaces the file only when `write` and the sync succeed (platform/file_replacement.h),
// so a reader never sees half a file and a failure leaves the old one.
MMoreErr WriteReplacement(const std::string& path,
                          const std::function<MMoreErr(FileStream&)>& write);

}  // namespace indexer
