#include "driver/parameters.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

TEST(ParametersTest, KeywordsAreSubstringsOfTheUpperCasedText) {
  struct Case {
    const char* raw;
    bool show_progress, console, syslog, gigabyte;
  } cases[] = {
      {"", false, false, false, false},
      {"gigabyte", false, false, false, true},
      {"sapgigabyte01", false, false, false, true},
      {"x,syslog", false, false, true, false},
      {"SYSLOG", false, false, false, false},  // the keyword begins with its comma
      {"10%", true, false, false, false},
      {"$", true, false, false, false},
      {"#", true, false, false, false},
      {"GIGABYTE #", true, false, false, true},
      {"@", true, true, false, false},
  };
  for (const Case& c : cases) {
    Parameters parameters = ParseParameters(c.raw);
    EXPECT_EQ(parameters.show_progress, c.show_progress) << c.raw;
    EXPECT_EQ(parameters.console, c.console) << c.raw;
    EXPECT_EQ(parameters.syslog, c.syslog) << c.raw;
    EXPECT_EQ(parameters.gigabyte, c.gigabyte) << c.raw;
  }
}

TEST(ParametersTest, ItemNameKeepsItsCaseTurnsColonsIntoBlanksAndEndsAtABlankOrComma) {
  struct Case {
    std::string raw;
    bool given;
    std::string name;
  } cases[] = {
      {"item=Psapundo:x,GIGABYTE", true, "Psapundo x"},
      {"ITEM=PSAPSR3 #", true, "PSAPSR3"},
      {"ITEM=", true, ""},
      {"ITEMS=PSAPSR3", false, ""},
      {"ITEM=" + std::string(100, 'n'), true, std::string(90, 'n')},
  };
  for (const Case& c : cases) {
    Parameters parameters = ParseParameters(c.raw);
    EXPECT_EQ(parameters.item_given, c.given) << c.raw;
    EXPECT_EQ(parameters.item_name, c.name) << c.raw;
  }
}

TEST(ParametersTest, LogonValues) {
  struct Case {
    std::string raw;
    std::string client, host, sysnr;
  } cases[] = {
      {"", "", "", ""},
      {"client=100", "100", "", ""},
      {"CLIENT=1", "1", "", ""},
      {"X,CLIENT=0001", "000", "", ""},
      {"CLIENT=", "", "", ""},
      {"clients", "", "", ""},
      {"client=abcd", "ABC", "", ""},  // from the upper-cased text
      {"x,HOST=SapPrd01,NO=05", "", "SapPrd01", "05"},
      {",host=SapPrd01 GIGABYTE", "", "SapPrd01", ""},
      {",HOST=,NO=", "", "", ""},
      {",HOST= x", "", "", ""},
      {",no=12#", "", "", "12#"},
      {"HOST=abc", "", "", ""},  // the keyword begins with its comma
      {",HOST=" + std::string(60, 'h'), "", std::string(47, 'h'), ""},
  };
  for (const Case& c : cases) {
    LogonOverrides logon = ParseParameters(c.raw).logon;
    EXPECT_EQ(logon.client, c.client) << c.raw;
    EXPECT_EQ(logon.host, c.host) << c.raw;
    EXPECT_EQ(logon.sysnr, c.sysnr) << c.raw;
  }
}

TEST(ParametersTest, ChannelSelectionReadsAtMostThreeCharactersUpToAComma) {
  struct Case {
    const char* raw;
    bool active;
    long long number;
  } cases[] = {
      {"", false, 0},     {"CH=2", true, 2},    {"X,ch=1,SYSLOG", true, 1}, {"CH=X", true, 0},
      {"CH= 2", true, 2}, {"CH=0002", true, 0}, {"CH=12,x", true, 12},      {"EACH=3", true, 3},
  };
  for (const Case& c : cases) {
    ChannelSelection channel = ParseParameters(c.raw).channel;
    EXPECT_EQ(channel.active, c.active) << c.raw;
    EXPECT_EQ(channel.number, c.number) << c.raw;
  }
}

TEST(ParametersTest, FullnessKeywordsAreWholeWords) {
  using Names = std::vector<std::string>;
  struct Case {
    std::string raw;
    bool percent;
    unsigned warning, error;
    Names skipped;
    std::string malformed;
  } cases[] = {
      {"", false, 85, 95, {}, ""},
      {"PERCENT", true, 85, 95, {}, ""},
      {"percent", true, 85, 95, {}, ""},
      {"x,Percent,GIGABYTE", true, 85, 95, {}, ""},
      {"GIGABYTE PERCENT", true, 85, 95, {}, ""},
      // Inside another word it does not count.
      {",HOST=sappercent01", false, 85, 95, {}, ""},
      {"sappercent01 PERCENTS XPERCENT PERCENT=1", false, 85, 95, {}, ""},
      {"PERCENT LIMITS=80/90", true, 80, 90, {}, ""},
      {"limits=1/100,PERCENT", true, 1, 100, {}, ""},
      {"PERCENT LIMITS=099/100", true, 99, 100, {}, ""},
      {"LIMITS=80/90", false, 80, 90, {}, ""},  // read, but used with PERCENT only
      {"XLIMITS=1/2 LIMITS", false, 85, 95, {}, ""},
      {"PERCENT SKIP=psaptemp:PSAPUNDO", true, 85, 95, {"PSAPTEMP", "PSAPUNDO"}, ""},
      {"SKIP=A SKIP=B", false, 85, 95, {"A", "B"}, ""},
      {"NOSKIP=A", false, 85, 95, {}, ""},
      // Malformed values name the word as entered, the first one.
      {"PERCENT limits=90/80", true, 85, 95, {}, "limits=90/80"},
      {"LIMITS=90/90", false, 85, 95, {}, "LIMITS=90/90"},
      {"LIMITS=0/50", false, 85, 95, {}, "LIMITS=0/50"},
      {"LIMITS=50/101", false, 85, 95, {}, "LIMITS=50/101"},
      {"LIMITS=50/0100", false, 85, 95, {}, "LIMITS=50/0100"},
      {"LIMITS=", false, 85, 95, {}, "LIMITS="},
      {"LIMITS=80", false, 85, 95, {}, "LIMITS=80"},
      {"LIMITS=80/", false, 85, 95, {}, "LIMITS=80/"},
      {"LIMITS=/90", false, 85, 95, {}, "LIMITS=/90"},
      {"LIMITS=+8/90", false, 85, 95, {}, "LIMITS=+8/90"},
      {"LIMITS=8.5/90", false, 85, 95, {}, "LIMITS=8.5/90"},
      {"LIMITS=80/90/95", false, 85, 95, {}, "LIMITS=80/90/95"},
      {"LIMITS=80-90 SKIP=", false, 85, 95, {}, "LIMITS=80-90"},
      {"SKIP=", false, 85, 95, {}, "SKIP="},
      {"SKIP=A::B", false, 85, 95, {"A"}, "SKIP=A::B"},
      {"SKIP=A:", false, 85, 95, {"A"}, "SKIP=A:"},
  };
  for (const Case& c : cases) {
    Parameters parameters = ParseParameters(c.raw);
    const FullnessKeywords& fullness = parameters.fullness;
    EXPECT_EQ(fullness.percent, c.percent) << c.raw;
    EXPECT_EQ(fullness.warning_limit, c.warning) << c.raw;
    EXPECT_EQ(fullness.error_limit, c.error) << c.raw;
    EXPECT_EQ(fullness.skipped, c.skipped) << c.raw;
    EXPECT_EQ(parameters.malformed_word, c.malformed) << c.raw;
    EXPECT_EQ(CheckWordKeywords(parameters).message(),
              c.malformed.empty() ? "" : "Error 1081: Invalid keyword " + c.malformed + " !")
        << c.raw;
  }
  // "PERCENT" has no "%": it shows no progress lines.
  EXPECT_FALSE(ParseParameters("PERCENT").show_progress);
}

TEST(ParametersTest, TimeLimitAndParallelWidthAreWholeWordsWithTheirRanges) {
  struct Case {
    const char* raw;
    unsigned timeout, parallel;
    const char* malformed;
  } cases[] = {
      {"", 0, 0, ""},
      {"TIMEOUT=1", 1, 0, ""},
      {"x,timeout=900,PARALLEL=32", 900, 32, ""},
      {"PARALLEL=2 TIMEOUT=060", 60, 2, ""},
      {",HOST=sapTIMEOUT=5 XPARALLEL=4", 0, 0, ""},  // inside other words
      {"TIMEOUT=0", 0, 0, "TIMEOUT=0"},
      {"Timeout=901", 0, 0, "Timeout=901"},
      {"TIMEOUT=", 0, 0, "TIMEOUT="},
      {"TIMEOUT=1s", 0, 0, "TIMEOUT=1s"},
      {"parallel=1", 0, 0, "parallel=1"},
      {"PARALLEL=33", 0, 0, "PARALLEL=33"},
      {"PARALLEL=x TIMEOUT=0", 0, 0, "PARALLEL=x"},  // the first one is named
  };
  for (const Case& c : cases) {
    Parameters parameters = ParseParameters(c.raw);
    EXPECT_EQ(parameters.timeout_seconds, c.timeout) << c.raw;
    EXPECT_EQ(parameters.parallel, c.parallel) << c.raw;
    EXPECT_EQ(parameters.malformed_word, c.malformed) << c.raw;
  }
}

TEST(ParametersTest, TheListRunReadsLogonValuesWithColonsAsBlanks) {
  Parameters parameters = WithColonsAsBlanks(ParseParameters("a:b,HOST=fe80::1,NO=0:1"));
  EXPECT_EQ(parameters.raw_text, "a b,HOST=fe80  1,NO=0 1");
  EXPECT_EQ(parameters.text, "A:B,HOST=FE80::1,NO=0:1");
  EXPECT_EQ(parameters.logon.host, "fe80");
  EXPECT_EQ(parameters.logon.sysnr, "0");
}

}  // namespace
}  // namespace vaultgauge
