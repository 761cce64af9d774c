#include "measure/tablespace_sums.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "support/table_rows.h"

namespace vaultgauge {
namespace {

std::vector<uint8_t> Row(const std::string& name, uint64_t size_kb, uint64_t free_kb) {
  return TableXpcRow(name, size_kb, free_kb);
}

TablespaceSums Sum(std::initializer_list<std::pair<uint64_t, uint64_t>> rows) {
  TablespaceSums sums;
  unsigned number = 0;
  for (const auto& [size, free] : rows) {
    Tablespace tablespace;
    EXPECT_TRUE(DecodeTablespace(Row("T", size, free), ++number, &tablespace).ok());
    EXPECT_TRUE(sums.Add(tablespace).ok());
  }
  return sums;
}

TEST(TablespaceTest, DecodesNameAndSizes) {
  Tablespace tablespace;
  ASSERT_TRUE(DecodeTablespace(Row("PSAPSR3", 52428800, 10485760), 1, &tablespace).ok());
  EXPECT_EQ(tablespace.name, "PSAPSR3");
  EXPECT_EQ(tablespace.size_kb, 52428800);
  EXPECT_EQ(tablespace.free_kb, 10485760);

  ASSERT_TRUE(DecodeTablespace(Row("", 0, 0), 1, &tablespace).ok());
  EXPECT_EQ(tablespace.name, "");  // all blanks: an empty name
  ASSERT_TRUE(DecodeTablespace(Row(std::string("AB\0CD", 5), 0, 0), 1, &tablespace).ok());
  EXPECT_EQ(tablespace.name, "AB");
  ASSERT_TRUE(DecodeTablespace(Row(std::string(30, 'N'), 0, 0), 1, &tablespace).ok());
  EXPECT_EQ(tablespace.name, std::string(30, 'N'));
}

TEST(TablespaceTest, DecodesTheStatus) {
  struct Case {
    const char* field;
    const char* status;
    bool online;
  } cases[] = {
      {"ONLINE", "ONLINE", true},        {"OFFLINE", "OFFLINE", false},
      {"READ ONLY", "READ ONLY", false}, {"", "", false},
      {"online", "online", false},       {" ONLINE", " ONLINE", false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> row = Row("PSAPSR3", 7, 3);
    PutStatus(&row, c.field);
    Tablespace tablespace;
    ASSERT_TRUE(DecodeTablespace(row, 1, &tablespace).ok());
    EXPECT_EQ(tablespace.status, c.status) << c.field;
    EXPECT_EQ(tablespace.online(), c.online) << c.field;
  }
  // The texts of the other library give the same.
  Tablespace tablespace;
  ASSERT_TRUE(DecodeTablespaceTexts("PSAPSR3  ", "7", "3", "OFFLINE  ", 1, &tablespace).ok());
  EXPECT_EQ(tablespace.status, "OFFLINE");
  EXPECT_FALSE(tablespace.online());
}

TEST(TablespaceTest, ACorruptSizeIsAnErrorNotAWrappedNumber) {
  std::vector<uint8_t> negative = Row("PSAPSR3", 5, 1);
  PutPacked(&negative, kTsizeOffset, 5, 0xD);
  std::vector<uint8_t> negative_free = Row("SYSTEM", 5, 1);
  PutPacked(&negative_free, kTfreeOffset, 1, 0xD);
  std::vector<uint8_t> letter_digit = Row("UNDO", 5, 1);
  letter_digit[kTsizeOffset] = 0xA0;
  Tablespace tablespace;
  EXPECT_EQ(DecodeTablespace(negative, 1, &tablespace).message(),
            "Error 1016: Invalid size in row 1 of table TS (PSAPSR3) !");
  EXPECT_EQ(DecodeTablespace(negative_free, 2, &tablespace).message(),
            "Error 1016: Invalid size in row 2 of table TS (SYSTEM) !");
  EXPECT_EQ(DecodeTablespace(letter_digit, 3, &tablespace).message(),
            "Error 1016: Invalid size in row 3 of table TS (UNDO) !");
  // Other plus signs are plus.
  std::vector<uint8_t> sign_f = Row("F", 7, 0);
  PutPacked(&sign_f, kTsizeOffset, 7, 0xF);
  ASSERT_TRUE(DecodeTablespace(sign_f, 1, &tablespace).ok());
  EXPECT_EQ(tablespace.size_kb, 7);
}

TEST(TablespaceTest, SizesGivenAsTexts) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  struct Case {
    const char* text;
    bool valid;
    int64_t size;
  } cases[] = {
      {"412876800", true, 412876800},
      {"+7", true, 7},
      {"0", true, 0},
      {"007", true, 7},
      {"9223372036854775807", true, kMax},
      // Beyond 64 bits the size stays at the largest, which the sums refuse.
      {"9223372036854775808", true, kMax},
      {"123456789012345678901234567890", true, kMax},
      {"", false, 0},
      {"+", false, 0},
      {"-5", false, 0},
      {"++5", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"12A", false, 0},
  };
  for (const Case& c : cases) {
    Tablespace tablespace;
    Status status = DecodeTablespaceTexts("T", c.text, "1", "ONLINE", 4, &tablespace);
    EXPECT_EQ(status.ok(), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(tablespace.size_kb, c.size) << c.text;
    } else {
      EXPECT_EQ(status.message(), "Error 1016: Invalid size in row 4 of table TS (T) !") << c.text;
    }
  }
}

TEST(TablespaceSumsTest, SummaryTexts) {
  struct Case {
    TablespaceSums sums;
    const char* text;
  } cases[] = {
      {Sum({{52428800, 10485760}, {1048576, 20480}, {10240000, 9000000}}),
       "(PRD) OraSizes: NoSpc=3, DataSz=63.717 MB, FreeSz=19.506 MB, Usage=70% "},
      {Sum({{1048576, 20480}}),
       "(PRD) OraSizes: NoSpc=1, DataSz=1.048 MB, FreeSz=20 MB, Usage=99% "},
      {Sum({{999999, 0}}), "(PRD) OraSizes: NoSpc=1, DataSz=999 MB, FreeSz=0 MB, Usage=100% "},
      {Sum({{1000000, 0}}), "(PRD) OraSizes: NoSpc=1, DataSz=1.000 MB, FreeSz=0 MB, Usage=100% "},
      // Beyond the 32-bit range of kilobytes (about 2 TB).
      {Sum({{2000000000, 1000000000}, {1000000000, 0}}),
       "(PRD) OraSizes: NoSpc=2, DataSz=3.000.000 MB, FreeSz=1.000.000 MB, Usage=67% "},
      {Sum({{3000000000, 1000000000}, {999999999999999, 0}}),
       "(PRD) OraSizes: NoSpc=2, DataSz=1000002.999.999 MB, FreeSz=1.000.000 MB, Usage=100% "},
      {Sum({}), "(PRD) OraSizes: NoSpc=0, DataSz=0 MB, FreeSz=0 MB, Usage=0% "},
  };
  for (const Case& c : cases) EXPECT_EQ(c.sums.SummaryText("PRD"), c.text);
}

TEST(TablespaceSumsTest, RowCountGetsSeparators) {
  TablespaceSums sums;
  for (int i = 0; i < 1024; ++i) ASSERT_TRUE(sums.Add(Tablespace{"T", 1, 0, "ONLINE"}).ok());
  EXPECT_EQ(sums.SummaryText("X").substr(0, 22), "(X) OraSizes: NoSpc=1.");
  EXPECT_NE(sums.SummaryText("X").find("NoSpc=1.024,"), std::string::npos);
}

TEST(TablespaceSumsTest, Usage) {
  struct Case {
    TablespaceSums sums;
    int64_t usage;
  } cases[] = {
      {Sum({{63717376, 19506240}}), 70},  // 69.39 % used, against whole hundreds
      {Sum({{100, 0}}), 100},
      {Sum({{100, 100}}), 0},
      {Sum({{99, 0}}), 100},  // below 100 KB: no division by zero
      {Sum({{50, 10}}), 80},
      {Sum({{3, 1}}), 67},
      {Sum({{0, 0}}), 0},        // an empty tablespace
      {Sum({}), 0},              // an empty table
      {Sum({{1000, 2000}}), 0},  // free above the total: never negative
      {Sum({{50, 80}}), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.sums.UsagePercent(), c.usage) << c.sums.total_kb() << " " << c.sums.free_kb();
  }
}

TEST(TablespaceSumsTest, RefusesSumsBeyondSixtyFourBits) {
  TablespaceSums sums;
  Tablespace huge{"T", 999999999999999, 0, "ONLINE"};
  Status status;
  for (int i = 0; i < 10000 && status.ok(); ++i) status = sums.Add(huge);
  EXPECT_EQ(status.message(), "Error 1017: Sizes of table TS beyond range !");
}

TEST(UsedShareTest, TenthsOfAPerCentCutDown) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  struct Case {
    int64_t size, free, per_mille;
    const char* text;
  } cases[] = {
      {0, 0, 0, "0.0"},         // size 0
      {0, 5, 0, "0.0"},         // size 0, something free
      {100, 0, 1000, "100.0"},  // full
      {100, 100, 0, "0.0"},     // empty
      {100, 150, 0, "0.0"},     // free above total
      {3, 1, 666, "66.6"},      // 66.66...: cut, not rounded up to 66.7
      {3, 2, 333, "33.3"},
      {10000, 1, 999, "99.9"},  // 99.99 is not full
      {1000, 999, 1, "0.1"},
      {10000, 9999, 0, "0.0"},  // 0.01 cuts to 0.0
      {52428800, 10485760, 800, "80.0"},
      {63717376, 19506240, 693, "69.3"},
      {1, 0, 1000, "100.0"},
      {999999999999999, 333333333333333, 666, "66.6"},  // the largest packed size
      {kMax, 0, 1000, "100.0"},                         // no product may overflow
      {kMax, 1, 999, "99.9"},
      {kMax, kMax / 2, 500, "50.0"},
      {kMax, kMax - 1, 0, "0.0"},
      {kMax, kMax / 1000, 999, "99.9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UsedPerMille(c.size, c.free), c.per_mille) << c.size << " " << c.free;
    EXPECT_EQ(PercentText(UsedPerMille(c.size, c.free)), c.text) << c.size << " " << c.free;
  }
}

#ifdef __SIZEOF_INT128__
TEST(UsedShareTest, AgreesWithWideArithmeticOnRandomSizes) {
  std::mt19937_64 random(12);
  for (int i = 0; i < 100000; ++i) {
    // Sizes of every magnitude, up to the largest.
    int64_t size = static_cast<int64_t>(random() >> (1 + random() % 63));
    int64_t free = size == 0 ? 0 : static_cast<int64_t>(random() % static_cast<uint64_t>(size));
    unsigned __int128 used = static_cast<unsigned __int128>(size - free);
    int64_t expected = size == 0 ? 0 : static_cast<int64_t>(used * 1000 / size);
    ASSERT_EQ(UsedPerMille(size, free), expected) << size << " " << free;
  }
}
#endif

TEST(ChannelValueTest, MegabytesOrGigabytes) {
  EXPECT_EQ(SizeChannelValue(52428800, false).value, "52428");
  EXPECT_STREQ(SizeChannelValue(52428800, false).unit, "MByte");
  EXPECT_EQ(SizeChannelValue(52428800, true).value, "52");
  EXPECT_STREQ(SizeChannelValue(52428800, true).unit, "GByte");
  EXPECT_EQ(SizeChannelValue(999999, true).value, "0");
  EXPECT_EQ(SizeChannelValue(999, false).value, "0");
}

}  // namespace
}  // namespace vaultgauge
