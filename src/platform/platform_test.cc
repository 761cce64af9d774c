#include "platform/platform.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

namespace vaultgauge {
namespace {

TEST(PlatformTest, TimeOfDayHasEightCharacters) {
  std::string time = LocalTimeOfDay();
  ASSERT_EQ(time.size(), 8u);
  EXPECT_EQ(time[2], ':');
  EXPECT_EQ(time[5], ':');
}

TEST(PlatformTest, ProgramFolderEndsWithSeparator) {
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), kPathSeparator);
  EXPECT_EQ(ProgramPath().substr(0, folder.size()), folder);
}

TEST(PlatformTest, RemoveFileLeavesAFolderOfTheName) {
  TestFolder folder;
  folder.Write("Dev_Rfc.Trc", "**** ERROR\n");
  EXPECT_TRUE(RemoveFile(folder.path() + "Dev_Rfc.Trc"));
  EXPECT_FALSE(folder.Exists("Dev_Rfc.Trc"));
  EXPECT_FALSE(RemoveFile(folder.path() + "Dev_Rfc.Trc"));
  folder.MakeFolder("Dev_Rfc.Trc");
  EXPECT_FALSE(RemoveFile(folder.path() + "Dev_Rfc.Trc"));
  EXPECT_TRUE(folder.Exists("Dev_Rfc.Trc"));
}

#ifndef _WIN32
TEST(PlatformTest, WindowsPathsMapToSlashes) {
  EXPECT_EQ(NativePath("C:\\PRTG_Path.Txt"), "/PRTG_Path.Txt");
  EXPECT_EQ(NativePath("\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\"),
            "/Program Files/PRTG Network Monitor/Custom Sensors/ExeXml/");
}
#endif

}  // namespace
}  // namespace vaultgauge
