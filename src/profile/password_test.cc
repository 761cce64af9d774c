#include "profile/password.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

using Outcome = UnscrambledPassword::Outcome;

// Masks a hand-made header and unmasked body with the key, so that a test can
// state the stored form's parts in clear.
std::string Stored(std::string_view header, std::string_view body, size_t key_start) {
  std::string stored;
  for (size_t i = 0; i < header.size(); ++i)
    stored += static_cast<char>(header[i] ^ kPasswordKey[i]);
  for (size_t j = 0; j < body.size(); ++j) {
    stored += static_cast<char>(body[j] ^ kPasswordKey[key_start + j]);
  }
  return stored;
}

TEST(PasswordTest, ReadsStoredFormsWrittenWithTheProductKey) {
  // Written independently from the key's byte values; they pin the key table.
  struct Case {
    std::string stored;
    const char* password;
  } cases[] = {
      {"?-5$j~%7\"3:(1.<$5)?&2,9c", "abc"},
      {"?*5/[rk?|o;>xPOX>%;g2`\x7F}", "Secret#1"},
      {";$7'O_AR@TK]]JUDZPO^E^CR", "ABCDEFGHIJKLMNOPQRST"},
  };
  for (const Case& c : cases) {
    UnscrambledPassword result = UnscramblePassword(c.stored);
    EXPECT_EQ(result.outcome, Outcome::kPassword) << c.password;
    EXPECT_EQ(result.password, c.password);
  }
}

TEST(PasswordTest, BodyIsInterleaved) {
  // Text ABCDEFGHIJKLMNOPQRST: letters only, sum 1410, check digit 0.
  for (size_t key_start : {0u, 4u, 9u}) {
    std::string header = "0" + std::to_string(key_start) + "20";
    UnscrambledPassword result =
        UnscramblePassword(Stored(header, "ACEGIKMOQSTRPNLJHFDB", key_start));
    EXPECT_EQ(result.outcome, Outcome::kPassword);
    EXPECT_EQ(result.password, "ABCDEFGHIJKLMNOPQRST");
  }
}

TEST(PasswordTest, LengthTakesThePasswordFromTheText) {
  const std::string body = "ACEGIKMOQSTRPNLJHFDB";
  struct Case {
    const char* length;
    const char* password;
  } cases[] = {
      {"00", ""},
      {"01", "A"},
      {"05", "ABCDE"},
      {"20", "ABCDEFGHIJKLMNOPQRST"},
      {"35", "ABCDEFGHIJKLMNOPQRST"},
      {"99", "ABCDEFGHIJKLMNOPQRST"},
  };
  for (const Case& c : cases) {
    UnscrambledPassword result = UnscramblePassword(Stored(std::string("03") + c.length, body, 3));
    EXPECT_EQ(result.outcome, Outcome::kPassword) << c.length;
    EXPECT_EQ(result.password, c.password) << c.length;
  }
}

TEST(PasswordTest, RefusesStoredFormsOfInvalidForm) {
  const std::string good = Stored("0020", "ACEGIKMOQSTRPNLJHFDB", 0);
  ASSERT_EQ(UnscramblePassword(good).outcome, Outcome::kPassword);
  std::vector<std::string> cases = {
      good.substr(0, 23),
      good + "x",
      good + " ",
      "",
      Stored("A020", "ACEGIKMOQSTRPNLJHFDB", 0),
      Stored("0/20", "ACEGIKMOQSTRPNLJHFDB", 0),
      Stored("00:0", "ACEGIKMOQSTRPNLJHFDB", 0),
      Stored("002 ", "ACEGIKMOQSTRPNLJHFDB", 0),
      // The clear digits themselves, not masked.
      "0020" + good.substr(4),
  };
  for (const std::string& stored : cases) {
    EXPECT_EQ(UnscramblePassword(stored).outcome, Outcome::kInvalidForm) << stored;
  }
}

TEST(PasswordTest, RefusesAWrongCheckDigit) {
  for (char digit = '1'; digit <= '9'; ++digit) {
    std::string header = std::string(1, digit) + "020";
    EXPECT_EQ(UnscramblePassword(Stored(header, "ACEGIKMOQSTRPNLJHFDB", 0)).outcome,
              Outcome::kWrongCheckDigit);
  }
}

TEST(PasswordTest, CheckDigitCountsLettersAndDigitsOnly) {
  struct Case {
    std::string text;
    char digit;
  } cases[] = {
      {"abc" + std::string(17, ' '), '4'},          {"abc" + std::string(17, '!'), '4'},
      {"abc" + std::string(16, '~') + "\xE4", '4'}, {"abc0" + std::string(16, ' '), '2'},
      {"abcZ" + std::string(16, ' '), '4'},         {std::string(20, ' '), '0'},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckDigit(c.text), c.digit) << c.text;
}

TEST(PasswordTest, ScrambleRoundTripsForEveryKeyStart) {
  const char* passwords[] = {"",
                             "x",
                             "pw",
                             "Secret#1",
                             "with blank",
                             "\\back\\slash",
                             "~`!@#$%^&*()_+-=[]{}",
                             "\"quoted'",
                             "ABCDEFGHIJKLMNOPQRST"};
  const char* fillers[] = {"",           "                    ", "abcdefghijklmnopqrst",
                           "0123456789", "~~~~~~~~~~~~~~~~~~~~", "!?.,;:-_+*"};
  for (int key_start = 0; key_start < kKeyStartCount; ++key_start) {
    for (const char* password : passwords) {
      for (const char* filler : fillers) {
        std::string stored = ScramblePassword(password, filler, key_start);
        ASSERT_EQ(stored.size(), kScrambledPasswordLength);
        UnscrambledPassword result = UnscramblePassword(stored);
        EXPECT_EQ(result.outcome, Outcome::kPassword)
            << password << "|" << filler << "|" << key_start;
        EXPECT_EQ(result.password, password) << filler << "|" << key_start;
      }
    }
  }
}

TEST(PasswordTest, FillerAndKeyStartChangeTheStoredForm) {
  std::string a = ScramblePassword("Secret#1", "aaaaaaaaaaaa", 0);
  std::string b = ScramblePassword("Secret#1", "aaaaaaaaaaaa", 5);
  std::string c = ScramblePassword("Secret#1", "bbbbbbbbbbbb", 0);
  EXPECT_NE(a, b);
  EXPECT_NE(a, c);
  // Letters in the filler count for the check digit.
  EXPECT_NE(a[0], c[0]);
  EXPECT_EQ(UnscramblePassword(b).password, "Secret#1");
  EXPECT_EQ(UnscramblePassword(c).password, "Secret#1");
}

TEST(PasswordTest, EditorSafety) {
  EXPECT_TRUE(IsEditorSafe("?-5$j~%7\"3:(1.<$5)?&2,9c"));
  EXPECT_FALSE(IsEditorSafe("?*5/[rk?|o;>xPOX>%;g2`\x7F}"));
  EXPECT_FALSE(IsEditorSafe("abc "));
  EXPECT_TRUE(IsEditorSafe("a c"));
  EXPECT_FALSE(IsEditorSafe("ab\tc"));
  EXPECT_FALSE(IsEditorSafe("ab\xE4"));
  EXPECT_FALSE(IsEditorSafe(""));
}

}  // namespace
}  // namespace vaultgauge
