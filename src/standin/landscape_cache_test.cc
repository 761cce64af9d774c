#include "standin/landscape_cache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/test_folder.h"

namespace vaultgauge::standin {
namespace {

namespace fs = std::filesystem;

class LandscapeCacheTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder.path() + kLandscapeFileName; }

  // Writes the landscape file with one system named `sid`.
  void WriteSystem(const std::string& sid) const {
    folder.Write(kLandscapeFileName, "[" + sid + "]\nhost = sap\n");
  }

  // Dates the file back, as a landscape written well before the run.
  void DateBack(fs::file_time_type when) const { fs::last_write_time(Path(), when); }

  // The name of the system the cache holds now, or the error.
  std::string Current() {
    std::string error;
    const Landscape* landscape = cache.Get(&error);
    if (landscape == nullptr) return error;
    return landscape->size() == 1 ? landscape->System(0).name : "?";
  }

  TestFolder folder;
  LandscapeCache cache{Path()};
};

TEST_F(LandscapeCacheTest, AFileChangedJustNowIsReadAgainEvenWithTheSameSizeAndStamp) {
  WriteSystem("AAA");
  fs::file_time_type stamp = fs::last_write_time(Path());
  EXPECT_EQ(Current(), "AAA");
  // The same size and time stamp: only the contents tell the change.
  WriteSystem("BBB");
  DateBack(stamp);
  EXPECT_EQ(Current(), "BBB");
}

TEST_F(LandscapeCacheTest, AnOldFileIsKeptUntilItsStampMoves) {
  const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::minutes(10);
  WriteSystem("AAA");
  DateBack(old);
  EXPECT_EQ(Current(), "AAA");
  // Not read again while size and stamp stay: a change that keeps both is
  // not seen (no editor or copy keeps a stamp ten minutes old).
  WriteSystem("BBB");
  DateBack(old);
  EXPECT_EQ(Current(), "AAA");
  DateBack(old + std::chrono::seconds(1));
  EXPECT_EQ(Current(), "BBB");
  WriteSystem("LONGER");
  DateBack(old + std::chrono::seconds(1));
  EXPECT_EQ(Current(), "LONGER");
}

TEST_F(LandscapeCacheTest, AFileThatGoesOrBreaksIsReportedAndReadAgainWhenMended) {
  WriteSystem("AAA");
  EXPECT_EQ(Current(), "AAA");
  fs::remove(Path());
  EXPECT_EQ(
      Current(),
      "SapLandscape.txt cannot be read in the working folder (missing, or larger than 16 MB)");
  folder.Write(kLandscapeFileName, "[AAA]\nhots = sap\n");
  EXPECT_EQ(Current(), "SapLandscape.txt line 2: unknown key \"HOTS\"");
  WriteSystem("AAA");
  EXPECT_EQ(Current(), "AAA");
}

}  // namespace
}  // namespace vaultgauge::standin
