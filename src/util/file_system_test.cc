#include "util/file_system.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(RealFileSystemTest, AFolderDoesNotExist) {
  RealFileSystem disk;
  EXPECT_FALSE(disk.Exists("."));
  EXPECT_FALSE(disk.Exists("no such file here"));
}

}  // namespace
}  // namespace vaultgauge
