#include "driver/settings.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

TEST(OutputModeSettingTest, SelectsTheMode) {
  struct Case {
    const char* contents;
    OutputMode mode;
  } cases[] = {
      {"OutputMode=Halvenor\n", OutputMode::kHalvenor},
      {"; comment\n\n# another\r\nOutputMode=Ormilux\r\n", OutputMode::kOrmilux},
      {"  outputmode =  Tessvar  \n", OutputMode::kTessvar},
      {"OutputMode=Glimora", OutputMode::kGlimora},
      {"OutputMode=EXEXML\n", OutputMode::kExeXml},
      {"OutputMode=Halvenor\nOutputMode=Ormilux\n", OutputMode::kOrmilux},
      {"Other=1\nno equals sign\n", OutputMode::kExeXml},
      {"", OutputMode::kExeXml},
      {";OutputMode=Bogus\n", OutputMode::kExeXml},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add("/opt/vg/vaultgauge.ini", c.contents);
    OutputMode mode = OutputMode::kHalvenor;
    Status status = ReadOutputModeSetting(files, "/opt/vg/vaultgauge.ini", &mode);
    EXPECT_TRUE(status.ok()) << c.contents;
    EXPECT_EQ(mode, c.mode) << c.contents;
  }
}

TEST(OutputModeSettingTest, MissingFileMeansExeXml) {
  MemoryFileSystem files;
  OutputMode mode = OutputMode::kHalvenor;
  EXPECT_TRUE(ReadOutputModeSetting(files, "vaultgauge.ini", &mode).ok());
  EXPECT_EQ(mode, OutputMode::kExeXml);
}

TEST(OutputModeSettingTest, RefusesAnyOtherValue) {
  struct Case {
    std::string contents;
    const char* message;
  } cases[] = {
      {"OutputMode=halvenor\n", "Error 1053: Invalid OutputMode \"halvenor\" in s.ini !"},
      {"OutputMode=\n", "Error 1053: Invalid OutputMode \"\" in s.ini !"},
      {"OutputMode=Exexml\n", "Error 1053: Invalid OutputMode \"Exexml\" in s.ini !"},
      {"OutputMode=" + std::string(300, 'x'),
       "Error 1053: Invalid OutputMode \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" in s.ini !"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add("s.ini", c.contents);
    OutputMode mode;
    Status status = ReadOutputModeSetting(files, "s.ini", &mode);
    EXPECT_EQ(status.message(), c.message);
  }
}

TEST(RfcLibrarySettingTest, ForcesOneLibrary) {
  struct Case {
    const char* contents;
    RfcLibraryChoice choice;
    OutputMode mode;
  } cases[] = {
      {"", RfcLibraryChoice::kAny, OutputMode::kExeXml},
      {"OutputMode=Glimora\n", RfcLibraryChoice::kAny, OutputMode::kGlimora},
      {"RfcLibrary=classic\n", RfcLibraryChoice::kClassic, OutputMode::kExeXml},
      {"rfclibrary = NetWeaver \r\nOutputMode=Tessvar\n", RfcLibraryChoice::kNetWeaver,
       OutputMode::kTessvar},
      {"RfcLibrary=netweaver\nRfcLibrary=classic\n", RfcLibraryChoice::kClassic,
       OutputMode::kExeXml},
      {";RfcLibrary=bogus\n", RfcLibraryChoice::kAny, OutputMode::kExeXml},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add("s.ini", c.contents);
    Settings settings{OutputMode::kHalvenor, RfcLibraryChoice::kNetWeaver};
    ASSERT_TRUE(ReadSettings(files, "s.ini", &settings).ok()) << c.contents;
    EXPECT_EQ(settings.rfc_library, c.choice) << c.contents;
    EXPECT_EQ(settings.output_mode, c.mode) << c.contents;
  }
}

TEST(RfcLibrarySettingTest, RefusesAnyOtherValue) {
  struct Case {
    std::string contents;
    const char* message;
  } cases[] = {
      {"RfcLibrary=\n", "Error 1054: Invalid RfcLibrary \"\" in s.ini !"},
      {"RfcLibrary=sapnwrfc.dll\n", "Error 1054: Invalid RfcLibrary \"sapnwrfc.dll\" in s.ini !"},
      {"RfcLibrary=" + std::string(300, 'n'),
       "Error 1054: Invalid RfcLibrary \"nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn...\" in s.ini !"},
      // The first bad line is the one reported.
      {"RfcLibrary=both\nOutputMode=x\n", "Error 1054: Invalid RfcLibrary \"both\" in s.ini !"},
      {"OutputMode=x\nRfcLibrary=both\n", "Error 1053: Invalid OutputMode \"x\" in s.ini !"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add("s.ini", c.contents);
    Settings settings;
    EXPECT_EQ(ReadSettings(files, "s.ini", &settings).message(), c.message);
  }
}

}  // namespace
}  // namespace vaultgauge
