#include "standin/words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vaultgauge::standin {
namespace {

TEST(SplitWordsTest, SplitsAtBlanksOutsideQuotes) {
  struct Case {
    const char* text;
    bool closed;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", true, {}},
      {" \t ", true, {}},
      {"a  b\tc", true, {"a", "b", "c"}},
      {"\"a b\" c", true, {"a b", "c"}},
      {"x\"y z\"w v", true, {"xy zw", "v"}},
      {"\"\" a \"\"", true, {"", "a", ""}},
      {"\"a\"\"b\" \"c\td\"", true, {"ab", "c\td"}},
      {"a \"b c", false, {"a", "b c"}},
  };
  // One buffer for every case, as the landscape's parser keeps it.
  std::string buffer;
  std::vector<std::string_view> words;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.text);
    EXPECT_EQ(SplitWords(test.text, &buffer, &words), test.closed);
    EXPECT_EQ(std::vector<std::string>(words.begin(), words.end()), test.words);
  }
}

TEST(SplitWordsTest, QuotedWordsStayWholeWhenTheBufferGrows) {
  std::string buffer;
  std::vector<std::string_view> words;
  ASSERT_TRUE(SplitWords("\"a\"", &buffer, &words));
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; i < 50; ++i) {
    std::string word = "w" + std::to_string(i) + " x";
    text += "\"" + word + "\" ";
    expected.push_back(word);
  }
  ASSERT_TRUE(SplitWords(text, &buffer, &words));
  EXPECT_EQ(std::vector<std::string>(words.begin(), words.end()), expected);
}

}  // namespace
}  // namespace vaultgauge::standin
