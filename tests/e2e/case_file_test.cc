#include "case_file.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(SplitArgumentsTest, QuotesGroupAndEscape) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitArguments(""), V{});
  EXPECT_EQ(SplitArguments("PRD  GIGABYTE"), (V{"PRD", "GIGABYTE"}));
  EXPECT_EQ(SplitArguments(R"(PRD "two words" "" "a\"b\\c")"),
            (V{"PRD", "two words", "", "a\"b\\c"}));
}

TEST(PlaceholderTest, TimeMatchesAnyTimeOfDay) {
  EXPECT_TRUE(MatchesWithPlaceholders("* {TIME} SAP\n", "* 03:15:07 SAP\n"));
  EXPECT_FALSE(MatchesWithPlaceholders("* {TIME} SAP\n", "* 3:15:07 SAP\n"));
  EXPECT_FALSE(MatchesWithPlaceholders("abc", "abcd"));
  EXPECT_FALSE(MatchesWithPlaceholders("abcd", "abc"));
}

TEST(ParseCaseFileTest, ReadsKeysAndBlocks) {
  const std::string text =
      "# comment\n"
      "=== first case\n"
      "args: PRD \"a b\"\n"
      "args.windows: sub\\PRD\n"
      "exit: 2\n"
      "--- file SAP Tarnwick.Gbl crlf\n"
      "line 1\n"
      "--- file bin escaped noeol\n"
      "A\\0B\\x41\\r\n"
      "--- file many repeat=3 noeol\n"
      "xy\n"
      "--- stdout\n"
      "out\n"
      "\n"
      "\n"
      "=== second\n"
      "drive: c\n"
      "library: none\n"
      "exit: 0\n"
      "--- c-file \"Program Files/PRTG/PRD.P00\"\n"
      "--- expect-absent Dev_Rfc.Trc\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 2u);
  const Case& first = cases[0];
  EXPECT_EQ(first.name, "first case");
  EXPECT_EQ(first.args, (std::vector<std::string>{"PRD", "a b"}));
  EXPECT_EQ(first.ArgsFor(Platform::kWindows), (std::vector<std::string>{"sub\\PRD"}));
  EXPECT_EQ(first.ArgsFor(Platform::kNative), first.args);
  ASSERT_EQ(first.files.size(), 3u);
  EXPECT_EQ(first.files[0].path, "SAP Tarnwick.Gbl");
  EXPECT_EQ(first.files[0].contents, "line 1\r\n");
  EXPECT_EQ(first.files[1].contents, std::string("A\0BA\r", 5));
  EXPECT_EQ(first.files[2].contents, "xyxyxy");
  EXPECT_EQ(first.stdout_text, "out\n\n");  // the last empty line only separates
  const Case& second = cases[1];
  EXPECT_TRUE(second.on_drive_c);
  EXPECT_TRUE(second.without_library);
  EXPECT_EQ(second.only_on, Platform::kWindows);
  EXPECT_EQ(second.c_files[0].path, "Program Files/PRTG/PRD.P00");
  EXPECT_EQ(second.c_files[0].contents, "");
  EXPECT_EQ(second.expect_absent, std::vector<std::string>{"Dev_Rfc.Trc"});
}

TEST(ParseCaseFileTest, RefusesMalformedFiles) {
  const char* bad[] = {
      "args: x\n",                                  // outside a case
      "=== a\nexit: 0\nfrobnicate: 1\n",            // unknown key
      "=== a\nexit: 0\n--- blob x\n",               // unknown block
      "=== a\nexit: 0\n--- file\n",                 // file without a path
      "=== a\nexit: 0\n--- file x escaped\n\\q\n",  // bad escape
      "=== a\nargs: x\n",                           // no exit code
  };
  for (const char* text : bad) {
    std::vector<Case> cases;
    std::string error;
    EXPECT_FALSE(ParseCaseFile("bad.case", text, &cases, &error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace e2e
