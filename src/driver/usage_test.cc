#include "driver/usage.h"

#include <gtest/gtest.h>

#include "driver/startup.h"
#include "util/text.h"

namespace vaultgauge {
namespace {

TEST(UsageTest, OnlyASingleAskingWordIsAnswered) {
  const std::string usage = UsageText();
  const std::string version = VersionText();
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> answer;
  } cases[] = {
      {{"--help"}, usage},
      {{"-h"}, usage},
      {{"/?"}, usage},
      {{"--version"}, version},
      {{}, std::nullopt},
      {{"PRD"}, std::nullopt},
      {{"--help", "#"}, std::nullopt},
      {{"PRD", "--version"}, std::nullopt},
      {{"--HELP"}, std::nullopt},
      {{"-help"}, std::nullopt},
      {{"/h"}, std::nullopt},
      {{"--version "}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& argument : c.arguments) shown += "[" + argument + "]";
    EXPECT_EQ(InformationRequested(c.arguments), c.answer) << shown;
  }
}

TEST(UsageTest, VersionNamesTheStartLinesVersion) {
  EXPECT_EQ(VersionText(), "Vaultgauge 4.3 (Vers 4.3 / 29.08.22)\n");
  EXPECT_TRUE(Contains(VersionText(), kVersionText));
}

TEST(UsageTest, UsageNamesWhatAnAdministratorNeeds) {
  const std::string usage = UsageText();
  for (const char* needed : {"Usage: vaultgauge PROFILE",
                             "GIGABYTE",
                             "CH=n",
                             "ITEM=",
                             "CLIENT=",
                             ",HOST=",
                             ",NO=",
                             ",SYSLOG",
                             "# @ $ %",
                             "EXEXML",
                             "Glimora",
                             "Halvenor",
                             "Ormilux",
                             "Tessvar",
                             "vaultgauge.ini",
                             "SAP Tarnwick.Gbl",
                             "Tarnwick.Prf",
                             "PRTG_Path.Txt",
                             "Dev_Rfc.Trc",
                             "Exit codes:",
                             "INSTALL.txt"}) {
    EXPECT_TRUE(Contains(usage, needed)) << needed;
  }
  // It fits a console of 80 columns.
  size_t start = 0;
  while (start < usage.size()) {
    size_t end = usage.find('\n', start);
    ASSERT_NE(end, std::string::npos) << "the usage ends with a line end";
    EXPECT_LE(end - start, 79u) << usage.substr(start, end - start);
    start = end + 1;
  }
}

}  // namespace
}  // namespace vaultgauge
