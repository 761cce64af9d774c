#include "driver/progress.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

TEST(ShownParametersTest, CutsAtProgressCharactersAndNamesNothing) {
  struct Case {
    const char* raw;
    const char* shown;
  } cases[] = {
      {"", "(No Parameters)"},
      {"#", "(No Parameters)"},
      {"(Parameters #", "(No Parameters)"},
      {"(No #", "(No Parameters)"},
      {"(No Parameters", "(No Parameters"},
      {"GIGABYTE #", "GIGABYTE "},
      {"a@b#c", "a"},
      {"a#b@c", "a"},
      {"limit 10%", "limit 10%"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShownParameters(c.raw), c.shown) << c.raw;
}

TEST(ProgressTextTest, AProgressLineKeepsToItsBuffer) {
  ConnectionProfile profile;
  profile.display_host = std::string(47, 'h');
  profile.destination = "PRD";
  profile.sysnr = std::string(31, '0');
  profile.client = "100";
  std::string line = SystemProgressText("03:15:07", std::string(63, 'P'), profile);
  EXPECT_EQ(line.size(), 123u);
  EXPECT_EQ(line.substr(0, 13), "* 03:15:07 PP");

  profile.display_host = "sapprd01";
  profile.sysnr = "00";
  EXPECT_EQ(SystemProgressText("03:15:07", "PRD.P00", profile),
            "* 03:15:07 PRD.P00, sapprd01, PRD, 00, 100");
}

}  // namespace
}  // namespace vaultgauge
