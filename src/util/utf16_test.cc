#include "util/utf16.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

TEST(Utf16Test, BytesToUtf16) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string utf16;
  } cases[] = {
      {"ASCII", "PSAPSR3", u"PSAPSR3"},
      {"UTF-8, two bytes",
       "M\xC3\xBC"
       "ller",
       u"M\u00FCller"},
      {"UTF-8, three bytes", "\xE2\x82\xAC", u"\u20AC"},
      {"UTF-8, four bytes: a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"Latin-1", "M\xFCller", u"M\u00FCller"},
      {"a lone continuation byte", "\x80", u"\u0080"},
      {"an overlong form", "\xC0\xAF", u"\u00C0\u00AF"},
      {"an encoded surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080"},
      {"a cut sequence", "ab\xE2\x82", u"ab\u00E2\u0082"},
      {"empty", "", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf16(c.bytes), c.utf16) << c.name;
    EXPECT_EQ(IsUtf8(c.bytes), FromUtf16(c.utf16) == c.bytes) << c.name;
  }
}

TEST(Utf16Test, Utf16ToUtf8MarksBrokenSurrogates) {
  struct Case {
    const char* name;
    std::u16string utf16;
    std::string utf8;
    bool whole;
  } cases[] = {
      {"plain", u"ORACLE", "ORACLE", true},
      {"Latin-1 range", u"\u00E9t\u00E9", "\xC3\xA9t\xC3\xA9", true},
      {"a pair", u"x\U0001F600", "x\xF0\x9F\x98\x80", true},
      {"a lone high surrogate at the end", std::u16string(u"a") + char16_t(0xD800), "a?", false},
      {"a lone low surrogate", std::u16string(1, char16_t(0xDC00)) + u"b", "?b", false},
      {"two high surrogates", std::u16string(2, char16_t(0xD83D)), "??", false},
  };
  for (const Case& c : cases) {
    std::string utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16, &utf8), c.whole) << c.name;
    EXPECT_EQ(utf8, c.utf8) << c.name;
  }
}

TEST(Utf16Test, BoundedUtf16StopsAtTheLimit) {
  const char16_t unterminated[3] = {u'a', u'b', u'c'};
  EXPECT_EQ(BoundedUtf16(unterminated, 3), u"abc");
  EXPECT_EQ(BoundedUtf16(u"ab", 10), u"ab");
  EXPECT_EQ(BoundedUtf16(nullptr, 10), u"");
}

}  // namespace
}  // namespace vaultgauge
