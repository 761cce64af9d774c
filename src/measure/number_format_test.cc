#include "measure/number_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

namespace vaultgauge {
namespace {

TEST(PackedWholeNumberTest, Examples) {
  struct Case {
    std::vector<uint8_t> field;
    bool valid;
    int64_t value;
  } cases[] = {
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x5C}, true, 12345},
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x5F}, true, 12345},
      {{0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9C}, true, 999999999999999},
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0C}, true, 0},
      {{0x1C}, true, 1},
      // Sign nibbles other than D count as plus, even digits.
      {{0x12, 0x3A}, true, 123},
      {{0x12, 0x33}, true, 123},
      // Minus, and digit nibbles above 9.
      {{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x5D}, false, 0},
      {{0x00, 0x0D}, false, 0},
      {{0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1C}, false, 0},
      {{0x0B, 0x1C}, false, 0},
      {{0x1F, 0xFF}, false, 0},
      {{}, false, 0},
      // Nineteen digits: the largest 64-bit value fits, one more does not.
      {{0x92, 0x23, 0x37, 0x20, 0x36, 0x85, 0x47, 0x75, 0x80, 0x7C},
       true,
       std::numeric_limits<int64_t>::max()},
      {{0x92, 0x23, 0x37, 0x20, 0x36, 0x85, 0x47, 0x75, 0x80, 0x8C}, false, 0},
      {{0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9C}, false, 0},
  };
  for (const Case& c : cases) {
    int64_t value = -1;
    EXPECT_EQ(PackedWholeNumber(c.field, &value), c.valid) << c.value;
    if (c.valid) {
      EXPECT_EQ(value, c.value);
    }
  }
}

// The digits read as a text, the way a reader of the field's hexadecimal
// dump would: the decoder must agree with it on any eight bytes.
TEST(PackedWholeNumberTest, AgreesWithTheFieldsHexadecimalDigits) {
  std::mt19937_64 random(20261210);
  for (int i = 0; i < 20000; ++i) {
    std::vector<uint8_t> field(8);
    const uint64_t bits = random();
    for (size_t b = 0; b < field.size(); ++b) {
      field[b] = static_cast<uint8_t>(bits >> (8 * b));
      // Mostly decimal digits, so that valid fields are common.
      if (i % 4 != 0)
        field[b] = static_cast<uint8_t>((field[b] >> 4) % 10 << 4 | (field[b] & 15) % 10);
    }
    if (i % 3 == 0) field.back() = static_cast<uint8_t>((field.back() & 0xF0) | 0x0C);
    std::string digits;
    for (uint8_t byte : field) {
      digits += "0123456789ABCDEF"[byte >> 4];
      digits += "0123456789ABCDEF"[byte & 15];
    }
    const char sign = digits.back();
    digits.pop_back();
    const bool expected_valid =
        sign != 'D' && digits.find_first_not_of("0123456789") == std::string::npos;
    int64_t value = -1;
    ASSERT_EQ(PackedWholeNumber(field, &value), expected_valid) << digits << sign;
    if (expected_valid) {
      ASSERT_EQ(value, std::stoll(digits)) << digits;
    }
  }
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
