#include "measure/number_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace vaultgauge {
namespace {

TEST(BytesToHexTest, WritesTwoUpperCaseDigitsPerByte) {
  EXPECT_EQ(BytesToHex({}), "");
  std::vector<uint8_t> bytes = {0x00, 0x1c, 0xab, 0xff};
  EXPECT_EQ(BytesToHex(bytes), "001CABFF");
}

TEST(PackedToTextTest, Examples) {
  struct Case {
    std::vector<uint8_t> field;
    unsigned decimals;
    const char* text;
  } cases[] = {
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x5C}, 0, "+000000000012345"},
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x5D}, 0, "-000000000012345"},
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x5F}, 0, "+000000000012345"},
      {{0x00, 0x00, 0x00, 0x00, 0x01, 0x23, 0x45, 0x6C}, 2, "+0000000001234.56"},
      {{0x1C}, 0, "+1"},
      {{0x1C}, 1, "+.1"},
      // Sign nibbles other than D count as plus, digits are copied unchecked.
      {{0x12, 0x3A}, 0, "+123"},
      {{0x12, 0x33}, 0, "+123"},
      {{0xAB, 0xCD}, 0, "-ABC"},
      // More decimals than digits are bounded by the digits.
      {{0x12, 0x3C}, 9, "+.123"},
      {{}, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackedToText(c.field, c.decimals), c.text) << c.text;
  }
}

TEST(PackedToTextTest, LengthIsTwiceTheFieldWithoutDecimals) {
  std::vector<uint8_t> field(511, 0x99);
  field.back() = 0x9C;
  EXPECT_EQ(PackedToText(field, 0).size(), 2 * field.size());
  EXPECT_EQ(PackedToText(field, 3).size(), 2 * field.size() + 1);
}

TEST(GroupThousandsTest, Examples) {
  struct Case {
    const char* digits;
    const char* grouped;
  } cases[] = {
      {"", ""},
      {"7", "7"},
      {"999", "999"},
      {"1000", "1.000"},
      {"123456", "123.456"},
      {"1234567", "1.234.567"},
      {"123456789", "123.456.789"},
      {"4294967295", "4294.967.295"},
      {"12345678901", "12345.678.901"},
  };
  for (const Case& c : cases) {
    std::string digits = c.digits;
    GroupThousands(&digits);
    EXPECT_EQ(digits, c.grouped);
  }
}

}  // namespace
}  // namespace vaultgauge
