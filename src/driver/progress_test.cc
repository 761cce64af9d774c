#include "driver/progress.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

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

TEST(TriedFolderLinesTest, OneLinePerFolderWithItsState) {
  const std::string folder = NativePath("D:\\PRTG\\Custom Sensors\\ExeXml\\");
  EXPECT_EQ(TriedFolderLines({}), "");
  EXPECT_EQ(TriedFolderLines({{folder, FolderState::kMissing},
                              {folder, FolderState::kPresent},
                              {folder, FolderState::kRefused},
                              {folder, FolderState::kUsed}}),
            "* Profile-Folder...: " + folder + " State=Missing\n" + "* Profile-Folder...: " +
                folder + " State=Present\n" + "* Profile-Folder...: " + folder +
                " State=Refused\n" + "* Profile-Folder...: " + folder + " State=Used\n");
  // The working folder is spelled out.
  EXPECT_EQ(TriedFolderLines({{"", FolderState::kMissing}}),
            "* Profile-Folder...: " + CurrentFolder() + " State=Missing\n");
  // A long folder is cut like every progress line; the state follows.
  std::string line = TriedFolderLines({{std::string(300, 'f'), FolderState::kUsed}});
  EXPECT_EQ(line.size(), 123u + std::string(" State=Used\n").size());
}

}  // namespace
}  // namespace vaultgauge
