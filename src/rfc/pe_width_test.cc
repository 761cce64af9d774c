#include "rfc/pe_width.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_folder.h"

namespace vaultgauge {
namespace {

// The head of `head` with the signature's offset at 0x3C replaced.
std::string WithPeOffset(std::string head, uint32_t pe_offset) {
  for (int i = 0; i < 4; ++i) head[0x3C + i] = static_cast<char>(pe_offset >> (8 * i));
  return head;
}

// A PE head: "MZ", the offset of the signature at 0x3C, "PE\0\0" there and
// the machine field after it.
std::string PeHead(uint32_t pe_offset, uint16_t machine) {
  std::string head = WithPeOffset(std::string(pe_offset + 24, '\0'), pe_offset);
  head[0] = 'M';
  head[1] = 'Z';
  head.replace(pe_offset, 4, std::string("PE\0\0", 4));
  head[pe_offset + 4] = static_cast<char>(machine & 0xFF);
  head[pe_offset + 5] = static_cast<char>(machine >> 8);
  return head;
}

TEST(PeWidthTest, TheMachineFieldGivesTheWidth) {
  struct Row {
    const char* what;
    std::string head;
    PeWidth width;
  };
  const std::string i386 = PeHead(0x80, 0x14c);
  const Row rows[] = {
      {"i386", i386, PeWidth::k32},
      {"amd64", PeHead(0x80, 0x8664), PeWidth::k64},
      {"signature far into the head", PeHead(0xF00, 0x8664), PeWidth::k64},
      {"arm64", PeHead(0x80, 0xAA64), PeWidth::kUnknown},
      {"machine field cut after one byte", i386.substr(0, 0x80 + 5), PeWidth::kUnknown},
      {"signature cut", i386.substr(0, 0x80 + 2), PeWidth::kUnknown},
      {"offset field cut", i386.substr(0, 0x3E), PeWidth::kUnknown},
      {"no MZ", "ZM" + i386.substr(2), PeWidth::kUnknown},
      {"no PE signature", WithPeOffset(i386, 0x40), PeWidth::kUnknown},
      {"offset beyond the head", WithPeOffset(i386, 0x1000), PeWidth::kUnknown},
      {"offset near 4 GiB", WithPeOffset(i386, 0xFFFFFFFEu), PeWidth::kUnknown},
      {"ELF",
       std::string("\x7F"
                   "ELF\x02\x01\x01",
                   7) +
           std::string(64, '\0'),
       PeWidth::kUnknown},
      {"empty", "", PeWidth::kUnknown},
  };
  for (const Row& row : rows) EXPECT_EQ(PeWidthOf(row.head), row.width) << row.what;
}

TEST(PeWidthTest, ReadsTheHeadOfAFile) {
  TestFolder folder;
  const std::string path = folder.path() + "/librfc32.dll";
  {
    std::ofstream out(path, std::ios::binary);
    out << PeHead(0x100, 0x8664) << std::string(10000, 'x');
  }
  EXPECT_EQ(PeWidthOfFile(path), PeWidth::k64);
  EXPECT_EQ(PeWidthOfFile(folder.path() + "/missing.dll"), PeWidth::kUnknown);
}

}  // namespace
}  // namespace vaultgauge
