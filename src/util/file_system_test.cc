#include "util/file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include "support/test_folder.h"

namespace vaultgauge {
namespace {

std::vector<std::string> Pieces(const std::string& contents, size_t max_chars) {
  MemoryFileSystem files;
  files.Add("f", contents);
  auto file = files.Open("f");
  std::vector<std::string> pieces;
  std::string piece;
  while (file->ReadPiece(max_chars, &piece)) pieces.push_back(piece);
  return pieces;
}

TEST(TextFileTest, ReadsPiecesLikeATextStream) {
  using V = std::vector<std::string>;
  struct Case {
    const char* name;
    std::string contents;
    size_t max_chars;
    V pieces;
  } cases[] = {
      {"lines", "ab\ncd\n", 10, V{"ab\n", "cd\n"}},
      {"no final line end", "ab\ncd", 10, V{"ab\n", "cd"}},
      {"crlf folds", "ab\r\ncd\r\n", 10, V{"ab\n", "cd\n"}},
      {"lone cr stays", "ab\rcd\r", 10, V{"ab\rcd\r"}},
      {"long line continues", "abcdef\n", 4, V{"abcd", "ef\n"}},
      {"line end alone after a full piece", "abcd\n", 4, V{"abcd", "\n"}},
      {"crlf counts once", "abc\r\n", 4, V{"abc\n"}},
      {"nul ends the text", std::string("ab\0cd\nef\n", 9), 10, V{"ab", "ef\n"}},
      {"byte-order mark skipped", "\xEF\xBB\xBFUser\n", 10, V{"User\n"}},
      {"partial mark kept", "\xEF\xBBx\n", 10, V{"\xEF\xBBx\n"}},
      {"empty file", "", 10, V{}},
      {"short file", "a", 10, V{"a"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Pieces(c.contents, c.max_chars), c.pieces) << c.name;
}

TEST(TextFileTest, ReadLineBoundsWhatItKeeps) {
  MemoryFileSystem files;
  files.Add("f", "short\r\n" + std::string(50, 'x') + "\nlast\r");
  auto file = files.Open("f");
  std::string line;
  bool too_long;
  ASSERT_TRUE(file->ReadLine(10, &line, &too_long));
  EXPECT_EQ(line, "short");
  EXPECT_FALSE(too_long);
  ASSERT_TRUE(file->ReadLine(10, &line, &too_long));
  EXPECT_EQ(line, std::string(10, 'x'));
  EXPECT_TRUE(too_long);
  ASSERT_TRUE(file->ReadLine(10, &line, &too_long));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(file->ReadLine(10, &line, &too_long));
}

// The file is read a block at a time: line ends, folded CRLF pairs and long
// lines must come out the same wherever the blocks end.
TEST(TextFileTest, LinesReadTheSameAcrossTheReadBlocks) {
  std::vector<std::string> lines;
  std::string contents;
  for (size_t length = 0; length < 1100; length += 37) {
    lines.push_back(std::string(length, static_cast<char>('a' + length % 26)));
    contents += lines.back() + (length % 2 == 0 ? "\r\n" : "\n");
  }
  for (size_t limit : {size_t{2000}, size_t{300}}) {
    MemoryFileSystem files;
    files.Add("f", contents);
    auto file = files.Open("f");
    std::string line;
    bool too_long;
    for (const std::string& expected : lines) {
      ASSERT_TRUE(file->ReadLine(limit, &line, &too_long));
      EXPECT_EQ(line, expected.substr(0, limit)) << expected.size() << " " << limit;
      EXPECT_EQ(too_long, expected.size() > limit) << expected.size() << " " << limit;
    }
    EXPECT_FALSE(file->ReadLine(limit, &line, &too_long));
  }
  std::string joined;
  for (const std::string& piece : Pieces(contents, 700)) {
    EXPECT_LE(piece.size(), 700u);
    joined += piece;
  }
  std::string folded;
  for (const std::string& line : lines) folded += line + "\n";
  EXPECT_EQ(joined, folded);
}

TEST(TextFileTest, ReadBytesKeepsTheBytesAsTheyAre) {
  struct Case {
    const char* name;
    std::string contents;
    size_t limit;
    std::string bytes;
    bool too_long;
  } cases[] = {
      {"marks and line ends untouched",
       "\xEF\xBB\xBF"
       "a\r\nb\r",
       20,
       "\xEF\xBB\xBF"
       "a\r\nb\r",
       false},
      {"UTF-16 with NUL bytes",
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0",
                   8),
       8,
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0",
                   8),
       false},
      {"exactly the limit", "abcd", 4, "abcd", false},
      {"more than the limit", "abcde", 4, "abcd", true},
      {"empty", "", 4, "", false},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add("f", c.contents);
    std::string bytes;
    bool too_long;
    files.Open("f")->ReadBytes(c.limit, &bytes, &too_long);
    EXPECT_EQ(bytes, c.bytes) << c.name;
    EXPECT_EQ(too_long, c.too_long) << c.name;
  }
}

TEST(RealFileSystemTest, AFolderDoesNotExist) {
  RealFileSystem disk;
  EXPECT_FALSE(disk.Exists("."));
  EXPECT_FALSE(disk.Exists("no such file here"));
}

TEST(RealFileSystemTest, ReadsARegularFileAndALinkToOne) {
  TestFolder folder;
  folder.Write("PRD.P00", "User.......: monitor\n");
  std::error_code error;
  std::filesystem::create_symlink(folder.path() + "PRD.P00", folder.path() + "link.P00", error);
  RealFileSystem disk;
  for (const char* name : {"PRD.P00", "link.P00"}) {
    if (error && std::string(name) == "link.P00") continue;  // no links on this file system
    std::unique_ptr<TextFile> file = disk.Open(folder.path() + name);
    ASSERT_NE(file, nullptr) << name;
    std::string line;
    bool too_long;
    ASSERT_TRUE(file->ReadLine(100, &line, &too_long)) << name;
    EXPECT_EQ(line, "User.......: monitor");
  }
  std::FILE* binary = OpenBinaryFile(folder.path() + "PRD.P00");
  ASSERT_NE(binary, nullptr);
  EXPECT_EQ(std::fgetc(binary), 'U');
  std::fclose(binary);
}

#ifndef _WIN32
// Each of these would hang a reader: a FIFO waits for a writer at the open,
// a device never ends. They count as files that cannot be opened, at once.
TEST(RealFileSystemTest, OpensNoFifoDeviceOrFolder) {
  TestFolder folder;
  ASSERT_EQ(mkfifo((folder.path() + "fifo.P00").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", folder.path() + "zero.P00");
  std::filesystem::create_symlink("/dev/null", folder.path() + "null.P00");
  std::filesystem::create_symlink(".", folder.path() + "here.P00");
  std::filesystem::create_symlink("missing", folder.path() + "dangling.P00");
  folder.MakeFolder("folder.P00");
  RealFileSystem disk;
  for (const char* name :
       {"fifo.P00", "zero.P00", "null.P00", "here.P00", "dangling.P00", "folder.P00"}) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(disk.Open(folder.path() + name), nullptr) << name;
    std::FILE* binary = OpenBinaryFile(folder.path() + name);
    EXPECT_EQ(binary, nullptr) << name;
    if (binary != nullptr) std::fclose(binary);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << name;
  }
}

// A file opened without waiting must still read all it holds once its writer
// is slow: the non-blocking mode of the open is not kept for the reading.
TEST(RealFileSystemTest, ReadsARegularFileInBlockingMode) {
  TestFolder folder;
  folder.Write("big.Trc", std::string(1 << 20, 'x'));
  std::FILE* file = OpenBinaryFile(folder.path() + "big.Trc");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(fcntl(fileno(file), F_GETFL) & O_NONBLOCK, 0);
  size_t total = 0;
  char block[4096];
  for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) total += got;
  EXPECT_EQ(total, size_t{1} << 20);
  std::fclose(file);
}
#endif

}  // namespace
}  // namespace vaultgauge
