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
      "--- expect-absent Dev_Rfc.Trc\n"
      "\n"
      "=== third\n"
      "library: other-width\n"
      "width: 32\n"
      "exit: 2\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 3u);
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
  EXPECT_EQ(second.library, Library::kNone);
  EXPECT_EQ(second.only_on, Platform::kWindows);
  EXPECT_EQ(second.c_files[0].path, "Program Files/PRTG/PRD.P00");
  EXPECT_EQ(second.c_files[0].contents, "");
  EXPECT_EQ(second.expect_absent, std::vector<std::string>{"Dev_Rfc.Trc"});
  EXPECT_FALSE(second.width);
  const Case& third = cases[2];
  EXPECT_EQ(third.library, Library::kOtherWidth);
  EXPECT_EQ(third.width, 32);
  EXPECT_EQ(third.only_on, Platform::kWindows);  // only a Windows build has another width
}

TEST(ParseCaseFileTest, LaysOutFoldersPermissionsAndLongArguments) {
  const std::string text =
      "=== layout\n"
      "args: PRD\n"
      "args.native: sub/PRD\n"
      "exit: 2\n"
      "--- folder SapRfc.ini mode=555\n"
      "--- file PRD.P00 cr\n"
      "a\n"
      "b\n"
      "--- file PRD.P00 append mode=0\n"
      "c\n"
      "--- program-file vaultgauge.ini mode=444\n"
      "--- expect-file SapRfc.ini repeat=2\n"
      "x\n"
      "--- expect-file SapRfc.ini append\n"
      "y\n"
      "--- c-file PRTG_Path.Txt noeol\n"
      "C:\\\n"
      "--- c-file PRTG_Path.Txt append\n"
      "PRTG\n"
      "--- arg noeol repeat=4\n"
      "xy\n"
      "--- arg escaped noeol\n"
      "\\x01\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 1u);
  const Case& c = cases[0];
  ASSERT_EQ(c.files.size(), 2u);
  EXPECT_TRUE(c.files[0].folder);
  EXPECT_EQ(c.files[0].mode, 0555);
  EXPECT_FALSE(c.files[1].folder);
  EXPECT_EQ(c.files[1].contents, "a\rb\rc\n");
  EXPECT_EQ(c.files[1].mode, 0);
  EXPECT_EQ(c.program_files[0].mode, 0444);
  ASSERT_EQ(c.expect_files.size(), 1u);
  EXPECT_EQ(c.expect_files[0].contents, "x\nx\ny\n");
  ASSERT_EQ(c.c_files.size(), 1u);
  EXPECT_EQ(c.c_files[0].contents, "C:\\PRTG\n");
  using V = std::vector<std::string>;
  EXPECT_EQ(c.ArgsFor(Platform::kWindows), (V{"PRD", "xyxyxyxy", "\x01"}));
  EXPECT_EQ(c.ArgsFor(Platform::kNative), (V{"sub/PRD", "xyxyxyxy", "\x01"}));
}

TEST(ParseCaseFileTest, LaysOutFifosAndLinks) {
  const std::string text =
      "=== special files\n"
      "exit: 2\n"
      "--- file PRD.P00 fifo\n"
      "--- file \"SAP Tarnwick.Gbl\" link=/dev/zero\n"
      "--- program-file vaultgauge.ini link=../work/settings.ini\n"
      "--- c-file PRTG_Path.Txt fifo\n"
      "--- file plain.P00\n"
      "x\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 1u);
  const Case& c = cases[0];
  ASSERT_EQ(c.files.size(), 3u);
  EXPECT_TRUE(c.files[0].fifo);
  EXPECT_EQ(c.files[0].link, "");
  EXPECT_EQ(c.files[1].path, "SAP Tarnwick.Gbl");
  EXPECT_FALSE(c.files[1].fifo);
  EXPECT_EQ(c.files[1].link, "/dev/zero");
  EXPECT_FALSE(c.files[2].fifo);
  EXPECT_EQ(c.files[2].link, "");
  EXPECT_EQ(c.files[2].contents, "x\n");
  ASSERT_EQ(c.program_files.size(), 1u);
  EXPECT_EQ(c.program_files[0].link, "../work/settings.ini");
  ASSERT_EQ(c.c_files.size(), 1u);
  EXPECT_TRUE(c.c_files[0].fifo);
  for (const FileBlock& block : c.files) EXPECT_FALSE(block.folder);
}

TEST(ParseCaseFileTest, ATableRepeatsTheCaseOncePerRow) {
  const std::string text =
      "=== before\n"
      "exit: 0\n"
      "\n"
      "=== fault ${name}\n"  // line 4
      "args: PRD ${arg}\n"
      "exit: ${exit}\n"
      "--- file ${file}\n"
      "fault = ${fault}\n"
      "--- stdout\n"
      "<Text>${text}</Text>\n"
      "\n"  // the document ends in an empty line
      "--- rows\n"
      "name  | arg | exit | file | fault          | text\n"
      "# a comment between the rows\n"
      "one   |     | 2    | A    | call * 1       | a \\| b\n"  // line 15
      "\n"
      "two   | #   | 1    | B    | itcreate       |\n"  // line 17
      "\n"
      "=== after\n"  // line 19
      "exit: 0\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 4u);
  EXPECT_EQ(cases[1].name, "fault one");
  EXPECT_EQ(cases[1].line, 15);
  EXPECT_EQ(cases[1].args, std::vector<std::string>{"PRD"});
  EXPECT_EQ(cases[1].exit_code, 2);
  EXPECT_EQ(cases[1].files[0].path, "A");
  EXPECT_EQ(cases[1].files[0].contents, "fault = call * 1\n");
  EXPECT_EQ(cases[1].stdout_text, "<Text>a | b</Text>\n\n");
  EXPECT_EQ(cases[2].name, "fault two");
  EXPECT_EQ(cases[2].line, 17);
  EXPECT_EQ(cases[2].args, (std::vector<std::string>{"PRD", "#"}));
  EXPECT_EQ(cases[2].exit_code, 1);
  EXPECT_EQ(cases[2].stdout_text, "<Text></Text>\n\n");
  EXPECT_EQ(cases[3].name, "after");
  EXPECT_EQ(cases[3].line, 19);
}

TEST(ParseCaseFileTest, BlocksAfterTheTableBelongToEveryRow) {
  const std::string text =
      "=== ${name}\n"
      "exit: 0\n"
      "--- rows\n"
      "name\n"
      "a\n"
      "b\n"
      "--- expect-exists ${name}.txt\n"
      "\n"
      "=== last\n"
      "exit: 0\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 3u);
  EXPECT_EQ(cases[0].expect_exists, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(cases[1].expect_exists, std::vector<std::string>{"b.txt"});
  EXPECT_EQ(cases[2].name, "last");
}

TEST(ParseCaseFileTest, RefusesMalformedTables) {
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"=== ${x}\nexit: 0\n--- rows\ny\n1\n", "t.case:1: no column 'x' in the table"},
      {"=== a\nexit: 0\n--- rows\nx | y\n1\n",
       "t.case:5: the row has 1 cells, the table 2 columns"},
      {"=== a\nexit: 0\n--- rows\nx\n", "t.case:3: a table without rows"},
      {"=== a\nexit: 0\n--- rows\nx | \n1 | 2\n", "t.case:4: a column without a name"},
  };
  for (const auto& c : bad) {
    std::vector<Case> cases;
    std::string error;
    EXPECT_FALSE(ParseCaseFile("t.case", c.text, &cases, &error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(ParseCaseFileTest, AFixtureStandsInTheBlockAsIfPasted) {
  const Fixtures fixtures = {{"prd.P00", "User: a\\x41\nHost: ${host}\n"},
                             {"qas.P00", "User: q\n"}};
  const std::string text =
      "=== shared\n"
      "exit: 0\n"
      "--- file PRD.P00 fixture=prd.P00\n"
      "--- file \"sub dir/PRD.P00\" crlf fixture=prd.P00\n"
      "--- program-file vaultgauge.ini fixture=qas.P00 repeat=2 noeol\n"
      "--- c-file PRTG/PRD.P00 fixture=prd.P00 escaped\n"
      "Own: line\n"
      "--- file PRD.P00 append fixture=qas.P00\n"
      "--- expect-file SapRfc.ini fixture=qas.P00 cr\n"
      "--- stdout fixture=qas.P00\n"
      "\n"
      "=== ${name}\n"
      "exit: 0\n"
      "--- file X.P00 fixture=${profile}\n"
      "--- rows\n"
      "name | profile | host\n"
      "p    | prd.P00 | h1\n"
      "q    | qas.P00 | h2\n";
  std::vector<Case> cases;
  std::string error;
  ASSERT_TRUE(ParseCaseFile("t.case", text, fixtures, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 3u);
  const Case& c = cases[0];
  ASSERT_EQ(c.files.size(), 2u);
  EXPECT_EQ(c.files[0].contents, "User: a\\x41\nHost: ${host}\nUser: q\n");
  EXPECT_EQ(c.files[1].path, "sub dir/PRD.P00");
  EXPECT_EQ(c.files[1].contents, "User: a\\x41\r\nHost: ${host}\r\n");
  EXPECT_EQ(c.program_files[0].contents, "User: qUser: q");  // noeol, then repeat
  EXPECT_EQ(c.c_files[0].contents, "User: aA\nHost: ${host}\nOwn: line\n");
  EXPECT_EQ(c.expect_files[0].contents, "User: q\r");
  EXPECT_EQ(c.stdout_text, "User: q\n");  // the empty line only separates
  // A row picks its fixture; the fixture's own text is never substituted.
  EXPECT_EQ(cases[1].files[0].contents, "User: a\\x41\nHost: ${host}\n");
  EXPECT_EQ(cases[2].files[0].contents, "User: q\n");
}

TEST(ParseCaseFileTest, RefusesMissingAndMisplacedFixtures) {
  const Fixtures fixtures = {{"prd.P00", "User: a\n"}, {"bad", "\\q\n"}};
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"=== a\nexit: 0\n\n=== b\nexit: 0\n--- file PRD.P00 fixture=prod.P00\nx\n",
       "t.case:6: no fixture 'prod.P00'"},
      {"=== ${n}\nexit: 0\n--- file P fixture=${f}\n--- rows\nn | f\n1 | prd.P00\n2 | x\n",
       "t.case:3: no fixture 'x'"},
      {"=== a\nexit: 0\n--- file P fixture=\n", "t.case:3: fixture= needs the name of a fixture"},
      {"=== a\nexit: 0\n--- folder P fixture=prd.P00\n",
       "t.case:3: fixture= belongs to blocks with text"},
      {"=== a\nexit: 0\n--- expect-absent P fixture=prd.P00\n",
       "t.case:3: fixture= belongs to blocks with text"},
      {"=== a\nexit: 0\n--- file P escaped fixture=bad\n", "t.case:3: bad escape in fixture 'bad'"},
  };
  for (const auto& c : bad) {
    std::vector<Case> cases;
    std::string error;
    EXPECT_FALSE(ParseCaseFile("t.case", c.text, fixtures, &cases, &error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
  // Without fixtures at all, a case that names one is refused too.
  std::vector<Case> cases;
  std::string error;
  EXPECT_FALSE(
      ParseCaseFile("u.case", "=== a\nexit: 0\n--- stdin fixture=prd.P00\n", &cases, &error));
  EXPECT_EQ(error, "u.case:3: no fixture 'prd.P00'");
}

TEST(ParseCaseFileTest, RefusesMalformedFiles) {
  const char* bad[] = {
      "args: x\n",                                             // outside a case
      "=== a\nexit: 0\nfrobnicate: 1\n",                       // unknown key
      "=== a\nexit: 0\n--- blob x\n",                          // unknown block
      "=== a\nexit: 0\n--- file\n",                            // file without a path
      "=== a\nexit: 0\n--- file x escaped\n\\q\n",             // bad escape
      "=== a\nargs: x\n",                                      // no exit code
      "=== a\nexit: 0\n--- file x append\n",                   // nothing to continue
      "=== a\nexit: 0\n--- folder x\ntext\n",                  // a folder with text
      "=== a\nexit: 0\n--- file x mode=9\n",                   // not octal
      "=== a\nexit: 0\n--- file x cr crlf\n",                  // two line ends
      "=== a\nexit: 0\n--- stdout mode=644\n",                 // permissions of no file
      "=== a\nexit: 0\n--- file x fifo\ntext\n",               // a fifo with text
      "=== a\nexit: 0\n--- file x link=/y\ntext\n",            // a link with text
      "=== a\nexit: 0\n--- file x link=\n",                    // a link to nothing
      "=== a\nexit: 0\n--- file x fifo link=/y\n",             // both at once
      "=== a\nexit: 0\n--- file x fifo mode=600\n",            // permissions of a fifo
      "=== a\nexit: 0\n--- file x link=/y mode=0\n",           // permissions through a link
      "=== a\nexit: 0\n--- folder x fifo\n",                   // a folder is no fifo
      "=== a\nexit: 0\n--- expect-file x fifo\n",              // nothing to lay out
      "=== a\nexit: 0\n--- file x\n--- file x append fifo\n",  // no file to continue
      "=== a\nexit: 0\n--- stdout fifo\n",                     // no file at all
      "=== a\nexit: 0\nlibrary: other\n",                      // no such library
      "=== a\nexit: 0\nwidth: 16\n",                           // no such width
      "=== a\nexit: 0\nstdout: empty\n",                       // no such standard output
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
