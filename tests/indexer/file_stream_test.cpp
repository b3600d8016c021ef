#include "indexer/store/file_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "indexer/store/stream_replacer.h"
#include "scratch_folder.h"

namespace indexer {
namespace {

using testing::FolderEntries;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values)
    out += static_cast<char>(v);
  return out;
}

TEST(FileStreamTest, IntegersAreBigEndianWithSwapAndNativeWithout) {
  ScratchFolder folder;
  FileStream stream(folder.File("ints"));
  ASSERT_EQ(stream.Open("w+b"), kNoErr);
  EXPECT_EQ(stream.WriteLong(258, true), kNoErr);
  EXPECT_EQ(stream.WriteShort(0x0102, true), kNoErr);
  EXPECT_EQ(stream.WriteShort(0x0102, false), kNoErr);
  EXPECT_EQ(stream.WriteBool(true), kNoErr);
  EXPECT_EQ(stream.WriteBool(false), kNoErr);
  EXPECT_EQ(stream.WriteChar(0xFE), kNoErr);
  ASSERT_EQ(stream.Close(), kNoErr);
  EXPECT_EQ(ReadFile(stream.path()), Bytes({0, 0, 1, 2, 1, 2, 2, 1, 1, 0, 0xFE}));

  ASSERT_EQ(stream.Open("rb"), kNoErr);
  std::uint32_t value32 = 0;
  std::uint16_t value16 = 0;
  EXPECT_EQ(stream.ReadLong(value32, true), kNoErr);
  EXPECT_EQ(value32, 258u);
  EXPECT_EQ(stream.ReadShort(value16, true), kNoErr);
  EXPECT_EQ(value16, 0x0102);
  EXPECT_EQ(stream.ReadShort(value16, false), kNoErr);
  EXPECT_EQ(value16, 0x0102);
  bool flag = false;
  EXPECT_EQ(stream.ReadBool(flag), kNoErr);
  EXPECT_TRUE(flag);
  EXPECT_EQ(stream.ReadBool(flag), kNoErr);
  EXPECT_FALSE(flag);
  std::uint8_t byte = 0;
  EXPECT_EQ(stream.ReadChar(byte), kNoErr);
  EXPECT_EQ(byte, 0xFE);
  EXPECT_EQ(stream.ReadChar(byte), kFileReadErr);
  EXPECT_EQ(stream.ReadLong(value32, true), kFileReadErr);
}

TEST(FileStreamTest, StringsCarryABigEndianLengthAndNoTerminator) {
  ScratchFolder folder;
  FileStream stream(folder.File("strings"));
  ASSERT_EQ(stream.Open("w+b"), kNoErr);
  EXPECT_EQ(stream.WriteString("abc"), kNoErr);
  EXPECT_EQ(stream.WriteString(""), kNoErr);
  EXPECT_EQ(stream.WriteText(std::string_view("xy\0z", 4)), kNoErr);
  ASSERT_EQ(stream.Close(), kNoErr);
  EXPECT_EQ(ReadFile(stream.path()), Bytes({0, 3, 'a', 'b', 'c', 0, 0, 'x', 'y'}));

  ASSERT_EQ(stream.Open("rb"), kNoErr);
  std::string text = "old";
  EXPECT_EQ(stream.ReadString(text), kNoErr);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(stream.ReadString(text), kNoErr);
  EXPECT_EQ(text, "");
}

TEST(FileStreamTest, StringLongerThanItsLengthFieldCanHoldIsRefused) {
  ScratchFolder folder;
  FileStream stream(folder.File("long"));
  ASSERT_EQ(stream.Open("w+b"), kNoErr);
  EXPECT_EQ(stream.WriteString(std::string(kMaxStreamString, 'a')), kNoErr);
  EXPECT_EQ(stream.WriteString(std::string(kMaxStreamString + 1, 'a')), kBadArgument);
  EXPECT_EQ(stream.Length(), static_cast<std::int64_t>(2 + kMaxStreamString));
}

TEST(FileStreamTest, ShortStringReadFailsAndLeavesTheOutputAlone) {
  ScratchFolder folder;
  WriteFile(folder.File("short"), Bytes({0, 5, 'a', 'b', 'c'}));
  FileStream stream(folder.File("short"));
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  std::string text = "unchanged";
  EXPECT_EQ(stream.ReadString(text), kFileReadErr);
  EXPECT_EQ(text, "unchanged");
}

TEST(FileStreamTest, ShortReadReportsTheBytesReallyRead) {
  ScratchFolder folder;
  WriteFile(folder.File("three"), "abc");
  FileStream stream(folder.File("three"));
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  char buffer[8] = {};
  std::size_t count = sizeof buffer;
  EXPECT_EQ(stream.ReadBytes(buffer, count), kFileReadErr);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(std::string(buffer, 3), "abc");
}

TEST(FileStreamTest, ClosedStreamRefusesReadsWritesAndQueries) {
  FileStream stream("/nonexistent/folder/file");
  std::uint32_t value = 0;
  std::string text;
  EXPECT_EQ(stream.ReadLong(value, true), kFileNotOpenErr);
  EXPECT_EQ(stream.ReadString(text), kFileNotOpenErr);
  EXPECT_EQ(stream.WriteLong(1, true), kFileNotOpenErr);
  EXPECT_EQ(stream.WriteString("x"), kFileNotOpenErr);
  EXPECT_EQ(stream.Flush(), kFileNotOpenErr);
  EXPECT_EQ(stream.Close(), kFileNotOpenErr);
  EXPECT_EQ(stream.Seek(0, kSeekStart), kFileNotOpenErr);
  EXPECT_EQ(stream.Open("rb"), kFileOpenErr);
  EXPECT_FALSE(stream.Exists());
  try {
    stream.Position();
    ADD_FAILURE() << "Position on a closed stream must throw";
  } catch (MMoreErr error) {
    EXPECT_EQ(error, kFileNotOpenErr);
  }
  FileStream unnamed;
  try {
    unnamed.Length();
    ADD_FAILURE() << "Length without a path must throw";
  } catch (MMoreErr error) {
    EXPECT_EQ(error, kFileNotFoundErr);
  }
}

TEST(FileStreamTest, SeekingPastTheEndPadsTheFileWithZeros) {
  ScratchFolder folder;
  FileStream stream(folder.File("pad"));
  ASSERT_EQ(stream.Open("w+b"), kNoErr);
  ASSERT_EQ(stream.WriteText("ab"), kNoErr);
  ASSERT_EQ(stream.Seek(10, kSeekStart), kNoErr);
  EXPECT_EQ(stream.Position(), 10);
  EXPECT_EQ(stream.Length(), 10);
  ASSERT_EQ(stream.Seek(2, kSeekEnd), kNoErr);
  EXPECT_EQ(stream.Length(), 12);
  ASSERT_EQ(stream.Seek(-4, kSeekCurrent), kNoErr);
  EXPECT_EQ(stream.Position(), 8);
  EXPECT_EQ(stream.Seek(-20, kSeekCurrent), kBadArgument);
  ASSERT_EQ(stream.Close(), kNoErr);
  EXPECT_EQ(ReadFile(stream.path()), std::string("ab") + std::string(10, '\0'));
  EXPECT_EQ(stream.Length(), 12);  // measured while closed
}

TEST(FileStreamTest, CopyTakesThePathOnlyAndStartsClosed) {
  ScratchFolder folder;
  FileStream stream(folder.File("a"));
  ASSERT_EQ(stream.Open("w+b"), kNoErr);
  FileStream copy(stream);
  EXPECT_EQ(copy.path(), stream.path());
  EXPECT_FALSE(copy.IsOpen());
  EXPECT_TRUE(stream.IsOpen());
  FileStream other(folder.File("b"));
  ASSERT_EQ(other.Open("w+b"), kNoErr);
  other = stream;
  EXPECT_FALSE(other.IsOpen());
  EXPECT_EQ(other.path(), folder.File("a"));
}

TEST(FileStreamTest, RenameKeepsTheFolderAndTakesTheNewPath) {
  ScratchFolder folder;
  WriteFile(folder.File("old.txt"), "content");
  FileStream stream(folder.File("old.txt"));
  EXPECT_EQ(stream.Rename(""), kBadArgument);
  EXPECT_EQ(stream.Rename("new.txt"), kNoErr);
  EXPECT_EQ(stream.path(), folder.File("new.txt"));
  EXPECT_EQ(ReadFile(folder.File("new.txt")), "content");
  EXPECT_FALSE(FileStream(folder.File("old.txt")).Exists());
  EXPECT_EQ(FileStream().Rename("x"), kFileNotFoundErr);
  FileStream missing(folder.File("missing"));
  EXPECT_EQ(missing.Rename("y"), kFileWriteErr);
  EXPECT_EQ(missing.path(), folder.File("missing"));
}

TEST(FileStreamTest, RemoveDeletesOrReportsNoSuchFile) {
  ScratchFolder folder;
  WriteFile(folder.File("gone"), "x");
  FileStream stream(folder.File("gone"));
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  EXPECT_EQ(stream.Remove(), kNoErr);
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_FALSE(stream.Exists());
  EXPECT_EQ(stream.Remove(), kFileNotFoundErr);
}

TEST(FileStreamTest, CopyToAndAppendFromCopyEveryByte) {
  ScratchFolder folder;
  std::string content;
  for (int i = 0; i < 200000; ++i)
    content += static_cast<char>(i * 7);
  WriteFile(folder.File("source"), content);
  FileStream source(folder.File("source"));
  EXPECT_EQ(source.CopyTo(folder.File("copy")), kNoErr);
  EXPECT_EQ(ReadFile(folder.File("copy")), content);
  EXPECT_EQ(source.CopyTo(""), kBadArgument);
  EXPECT_EQ(source.CopyTo(folder.path()), kBadArgument);
  EXPECT_TRUE(FileStream(folder.path()).IsDirectory());

  FileStream target(folder.File("target"));
  ASSERT_EQ(target.Open("w+b"), kNoErr);
  ASSERT_EQ(target.WriteText("head:"), kNoErr);
  EXPECT_EQ(target.AppendFrom(source), kNoErr);
  FileStream missing(folder.File("missing"));
  EXPECT_EQ(target.AppendFrom(missing), kFileNotOpenErr);
  ASSERT_EQ(target.Close(), kNoErr);
  EXPECT_EQ(ReadFile(folder.File("target")), "head:" + content);
}

// --- substitutions ---

// What applying the pairs one after the other to the whole text gives.
std::string ReplaceAll(std::string text, const std::vector<Replacement>& pairs) {
  for (const Replacement& pair : pairs) {
    if (pair.find.empty()) continue;
    std::string out;
    std::size_t start = 0;
    for (std::size_t hit = text.find(pair.find); hit != std::string::npos;
         hit = text.find(pair.find, start)) {
      out.append(text, start, hit - start);
      out += pair.replacement;
      start = hit + pair.find.size();
    }
    out.append(text, start);
    text = out;
  }
  return text;
}

TEST(StreamReplacerTest, AnySplitIntoBlocksGivesTheWholeTextResult) {
  const std::vector<Replacement> pairs = {
      {"$PREVURL:", "prev.htm"}, {"ab", "b"}, {"bb", "[$NEXTURL:]"}, {"", "never"}, {"x", ""}};
  std::mt19937 random(42);
  const std::string alphabet = "ab$PREVURL:x ";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 300);
    for (int i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    StreamReplacer replacer(pairs);
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
      const std::size_t block = 1 + random() % 17;
      replacer.Feed(std::string_view(text).substr(pos, block), out);
      pos += block;
    }
    replacer.Finish(out);
    ASSERT_EQ(out, ReplaceAll(text, pairs)) << "text: " << text;
  }
}

TEST(StreamReplacerTest, CountsReplacementsOverAllPairs) {
  StreamReplacer replacer(std::vector<Replacement>{{"a", "bb"}, {"b", "c"}});
  std::string out;
  replacer.Feed("ab", out);
  replacer.Finish(out);
  EXPECT_EQ(out, "ccc");
  EXPECT_EQ(replacer.replacements(), 4u);
}

TEST(ReplaceInPlaceTest, FindsTextAfterABlankNearTheOldChunkBoundary) {
  ScratchFolder folder;
  std::string content(2039, 'q');
  content += " 0123456789 tail";  // the find text starts at byte 2040
  WriteFile(folder.File("page.htm"), content);
  FileStream stream(folder.File("page.htm"));
  const std::vector<Replacement> pairs = {{"0123456789", "TEN"}};
  EXPECT_EQ(stream.ReplaceInPlace(pairs), kNoErr);
  EXPECT_EQ(ReadFile(stream.path()), std::string(2039, 'q') + " TEN tail");
}

TEST(ReplaceInPlaceTest, FindsTextStraddlingAnyBoundaryAfterPrintableBytes) {
  ScratchFolder folder;
  for (const std::size_t start : {2040u, 2045u, 65530u, 131070u}) {
    std::string content(start, 'w');  // printable right up to the find text
    content += "$NEXTURL:";
    content += std::string(100, 'w');
    WriteFile(folder.File("page.htm"), content);
    FileStream stream(folder.File("page.htm"));
    EXPECT_EQ(stream.ReplaceInPlace(std::vector<Replacement>{{"$NEXTURL:", "n.htm"}}), kNoErr);
    EXPECT_EQ(ReadFile(stream.path()), std::string(start, 'w') + "n.htm" + std::string(100, 'w'))
        << "find text at " << start;
  }
}

TEST(ReplaceInPlaceTest, SecondRunChangesNothing) {
  ScratchFolder folder;
  std::string content;
  for (int i = 0; i < 5000; ++i)
    content += "<A HREF=\"$PREVURL:\">back</A> text " + std::to_string(i);
  WriteFile(folder.File("page.htm"), content);
  FileStream stream(folder.File("page.htm"));
  const std::vector<Replacement> pairs = {{"$PREVURL:", "../a/b.htm"}};
  ASSERT_EQ(stream.ReplaceInPlace(pairs), kNoErr);
  const std::string once = ReadFile(stream.path());
  EXPECT_EQ(once, ReplaceAll(content, pairs));
  struct stat before {};
  ASSERT_EQ(::stat(stream.path().c_str(), &before), 0);
  ASSERT_EQ(stream.ReplaceInPlace(pairs), kNoErr);
  struct stat after {};
  ASSERT_EQ(::stat(stream.path().c_str(), &after), 0);
  EXPECT_EQ(ReadFile(stream.path()), once);
  EXPECT_EQ(before.st_ino, after.st_ino);  // not rewritten at all
}

TEST(ReplaceInPlaceTest, KeepsThePermissionsAndLeavesNoTemporaryFile) {
  ScratchFolder folder;
  WriteFile(folder.File("page.htm"), "a $X: b");
  ASSERT_EQ(::chmod(folder.File("page.htm").c_str(), 0640), 0);
  FileStream stream(folder.File("page.htm"));
  ASSERT_EQ(stream.ReplaceInPlace(std::vector<Replacement>{{"$X:", "y"}}), kNoErr);
  EXPECT_EQ(ReadFile(stream.path()), "a y b");
  struct stat info {};
  ASSERT_EQ(::stat(stream.path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"page.htm"});
}

TEST(ReplaceInPlaceTest, ThroughASymbolicLinkTheTargetIsRewritten) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.File("real"));
  WriteFile(folder.File("real/page.htm"), "a $X: b");
  std::filesystem::create_symlink("real/page.htm", folder.File("link.htm"));
  FileStream stream(folder.File("link.htm"));
  ASSERT_EQ(stream.ReplaceInPlace(std::vector<Replacement>{{"$X:", "y"}}), kNoErr);
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.htm")));
  EXPECT_EQ(ReadFile(folder.File("real/page.htm")), "a y b");
  EXPECT_EQ(FolderEntries(folder.File("real")), std::vector<std::string>{"page.htm"});
}

TEST(ReplaceInPlaceTest, FolderIsRefusedAndChangesNothing) {
  ScratchFolder folder;
  WriteFile(folder.File("inside"), "$X:");
  FileStream stream(folder.path());
  EXPECT_EQ(stream.ReplaceInPlace(std::vector<Replacement>{{"$X:", "y"}}), kBadArgument);
  EXPECT_EQ(ReadFile(folder.File("inside")), "$X:");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"inside"});
}

TEST(ReplaceInPlaceTest, MissingFileIsAnOpenError) {
  ScratchFolder folder;
  FileStream stream(folder.File("missing"));
  EXPECT_EQ(stream.ReplaceInPlace(std::vector<Replacement>{{"a", "b"}}), kFileOpenErr);
  EXPECT_TRUE(FolderEntries(folder.path()).empty());
}

TEST(ReplaceInPlaceTest, OriginalSurvivesWhenTheFolderIsReadOnly) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  ScratchFolder folder;
  WriteFile(folder.File("page.htm"), "keep $X: me");
  ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
  FileStream stream(folder.File("page.htm"));
  EXPECT_NE(stream.ReplaceInPlace(std::vector<Replacement>{{"$X:", "y"}}), kNoErr);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
  EXPECT_EQ(ReadFile(folder.File("page.htm")), "keep $X: me");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"page.htm"});
}

TEST(ReplaceInPlaceTest, OriginalSurvivesWhenNoTemporaryFileCanBeMade) {
  // Nobody, not even the super-user, can create a file in /proc.
  FileStream stream("/proc/version");
  if (!stream.Exists()) GTEST_SKIP() << "no /proc";
  const std::string before = ReadFile(stream.path());
  EXPECT_EQ(stream.ReplaceInPlace(std::vector<Replacement>{{"Linux", "X"}}), kFileOpenErr);
  EXPECT_EQ(ReadFile(stream.path()), before);
}

TEST(CopyWithReplacementsTest, WritesTheSubstitutedSourceIntoTheOpenStream) {
  ScratchFolder folder;
  WriteFile(folder.File("source"), "one $A: two $A:");
  FileStream source(folder.File("source"));
  FileStream target(folder.File("target"));
  const std::vector<Replacement> pairs = {{"$A:", "x"}};
  EXPECT_EQ(target.CopyWithReplacements(source, pairs), kFileNotOpenErr);
  ASSERT_EQ(target.Open("w+b"), kNoErr);
  EXPECT_EQ(target.CopyWithReplacements(source, pairs), kNoErr);
  FileStream missing(folder.File("missing"));
  EXPECT_EQ(target.CopyWithReplacements(missing, pairs), kFileOpenErr);
  ASSERT_EQ(target.Close(), kNoErr);
  EXPECT_EQ(ReadFile(folder.File("target")), "one x two x");
  EXPECT_EQ(ReadFile(folder.File("source")), "one $A: two $A:");
}

}  // namespace
}  // namespace indexer
