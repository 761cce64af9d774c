#include "util/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace vaultgauge {
namespace {

TEST(UpperCaseTest, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase("item=Psapundo:x,gigabyte"), "ITEM=PSAPUNDO:X,GIGABYTE");
  EXPECT_EQ(UpperCase("\xe4\xf6 {a}"), "\xe4\xf6 {A}");
}

TEST(ParseDecimalTest, FollowsTheStandardConversion) {
  struct Case {
    const char* text;
    int64_t value;
  } cases[] = {
      {"", 0},
      {"12", 12},
      {"  \t7x", 7},
      {"+000000000012345", 12345},
      {"-42", -42},
      {"abc", 0},
      {"- 1", 0},
      {"00", 0},
      {"1234", 1234},
      {"99999999999999999999999", std::numeric_limits<int64_t>::max()},
      {"-99999999999999999999999", std::numeric_limits<int64_t>::min()},
      {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseIntTest, SaturatesAtIntBounds) {
  EXPECT_EQ(ParseInt("4294967296"), std::numeric_limits<int>::max());
  EXPECT_EQ(ParseInt("-4294967296"), std::numeric_limits<int>::min());
  EXPECT_EQ(ParseInt(" 12 "), 12);
}

TEST(CutAtTest, CutsAtFirstMarkOnly) {
  std::string text = "GIGABYTE # x # y";
  CutAt(&text, "#");
  EXPECT_EQ(text, "GIGABYTE ");
  std::string untouched = "abc";
  CutAt(&untouched, " @");
  EXPECT_EQ(untouched, "abc");
}

TEST(EscapeXmlTest, EscapesMarkupCharactersOnly) {
  EXPECT_EQ(EscapeXml("a<b>&c\"'"), "a&lt;b&gt;&amp;c\"'");
  EXPECT_EQ(EscapeXml(""), "");
}

TEST(EscapeXmlTest, ControlCharactersXmlForbidsBecomeQuestionMarks) {
  EXPECT_EQ(EscapeXml(std::string("P\x01R\0D\x1b\x1f", 7)), "P?R?D??");
  EXPECT_EQ(EscapeXml("tab\tline\nreturn\r\x7f"), "tab\tline\nreturn\r\x7f");
}

TEST(EscapeXmlTest, KeepsUtf8AndReadsOtherBytesAsLatin1) {
  struct Case {
    std::string text, escaped;
  } cases[] = {
      {"gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80",
       "gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80"},
      {"M\xfcller", "M\xc3\xbcller"},                // Latin-1
      {"\xc3\xbc\xfc", "\xc3\xbc\xc3\xbc"},          // both in one text
      {"\xc3", "\xc3\x83"},                          // a sequence cut short
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},              // an overlong form
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},  // a surrogate
      {"\xef\xbf\xbe", "?"},                         // U+FFFE, no XML character
      {"\xa0&", "\xc2\xa0&amp;"},
  };
  for (const Case& c : cases) EXPECT_EQ(EscapeXml(c.text), c.escaped) << c.text;
}

TEST(EscapeXmlTest, StopsBeforeACharacterThatPassesTheLimit) {
  EXPECT_EQ(EscapeXml("ab&cd", 4), "ab");
  EXPECT_EQ(EscapeXml("a\xc3\xbc", 2), "a");
  EXPECT_EQ(EscapeXml("a\xfc", 3), "a\xc3\xbc");
}

}  // namespace
}  // namespace vaultgauge
