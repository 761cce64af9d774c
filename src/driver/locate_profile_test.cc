#include "driver/locate_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/parameters.h"
#include "platform/platform.h"

namespace vaultgauge {
namespace {

// Paths are written as on Windows and spelled for this platform.
std::string P(const std::string& windows_path) { return NativePath(windows_path); }

const std::string kProgramme = P("\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
const std::string kProgramFiles =
    P("\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
const std::string kProgramFilesX86 =
    P("\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
const std::string kPathFile = P("C:\\PRTG_Path.Txt");
// Where the program lies unless a test says otherwise; it holds no profile.
const std::string kProgramFolder = P("D:\\Tools\\Vaultgauge\\");

struct Located {
  Status status;
  ProfileLocation location;
};

Located Locate(MemoryFileSystem& files, const std::string& argument,
               OutputMode selected = OutputMode::kExeXml, const std::string& parameters = "",
               const std::string& program_folder = kProgramFolder) {
  Located located;
  located.location.mode = OutputMode::kHalvenor;  // overwritten on success
  located.status = LocateProfile(files, argument, selected, ParseParameters(parameters).console,
                                 program_folder, &located.location);
  return located;
}

TEST(LocateProfileTest, CompletesTheProfileName) {
  struct Case {
    const char* argument;
    const char* name;
  } cases[] = {
      {"PRD", "PRD.P00"},
      {"PRD.P01", "PRD.P01"},
      {"PRD.TXT", "PRD.TXT"},
      {"x.y.z", "x.y.z"},  // its fourth-last character is a point
      {"ab", "ab.P00"},
      {"", ".P00"},
      {".P0", ".P0.P00"},
      {"abc.", "abc..P00"},
      {"Tarnwick.Prf", "Tarnwick.Prf"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add(c.name, "");
    Located located = Locate(files, c.argument, OutputMode::kOrmilux);
    EXPECT_TRUE(located.status.ok()) << c.argument << ": " << located.status.message();
    EXPECT_EQ(located.location.name, c.name);
    EXPECT_EQ(located.location.path, c.name);
  }
}

TEST(LocateProfileTest, ExtensionTestLooksAtTheWholeArgument) {
  // The fourth-last character of the argument is a point, so nothing is added.
  MemoryFileSystem files;
  files.Add(P("a.b\\x"), "");
  Located located = Locate(files, P("a.b\\x"), OutputMode::kTessvar);
  EXPECT_TRUE(located.status.ok()) << located.status.message();
  EXPECT_EQ(located.location.folder, P("a.b\\"));
  EXPECT_EQ(located.location.name, "x");
}

TEST(LocateProfileTest, GlobalNameSelectsTheGlobalList) {
  for (const char* argument :
       {"global", "GLOBAL", "Global.p00", "sub\\GLOBAL", "sub\\global.P00", "a\\b\\Global"}) {
    MemoryFileSystem files;
    std::string folder = P(argument).substr(0, P(argument).find_last_of(kPathSeparator) + 1);
    files.Add(folder + "SAP Tarnwick.Gbl", "");
    Located located = Locate(files, P(argument), OutputMode::kGlimora);
    EXPECT_TRUE(located.status.ok()) << argument << ": " << located.status.message();
    EXPECT_TRUE(located.location.global_list) << argument;
    EXPECT_EQ(located.location.name, "SAP Tarnwick.Gbl");
    EXPECT_EQ(located.location.folder, folder);
    EXPECT_EQ(located.location.path, folder + "SAP Tarnwick.Gbl");
  }
  MemoryFileSystem files;
  files.Add("GLOBALS.P00", "");
  EXPECT_FALSE(Locate(files, "GLOBALS", OutputMode::kGlimora).location.global_list);
}

TEST(LocateProfileTest, GlobalListIsSearchedInPrtgFoldersLikeAProfile) {
  MemoryFileSystem files;
  files.Add(kProgramFiles + "SAP Tarnwick.Gbl", "");
  Located located = Locate(files, P("elsewhere\\global"));
  EXPECT_TRUE(located.status.ok()) << located.status.message();
  EXPECT_TRUE(located.location.global_list);
  EXPECT_EQ(located.location.path, kProgramFiles + "SAP Tarnwick.Gbl");
}

TEST(LocateProfileTest, SelectedModeUsesTheFolderOfArgumentOne) {
  MemoryFileSystem files;
  files.Add(P("sub\\PRD.P00"), "");
  files.Add(kProgramFiles + "PRD.P00", "");
  Located located = Locate(files, P("sub\\PRD"), OutputMode::kHalvenor);
  EXPECT_TRUE(located.status.ok());
  EXPECT_EQ(located.location.mode, OutputMode::kHalvenor);
  EXPECT_EQ(located.location.folder, P("sub\\"));
  EXPECT_EQ(located.location.name, "PRD.P00");
  EXPECT_EQ(located.location.path, P("sub\\PRD.P00"));

  // A separator in front names no folder.
  files.Add(P("\\PRD.P00"), "");
  located = Locate(files, P("\\PRD"), OutputMode::kHalvenor);
  EXPECT_TRUE(located.status.ok());
  EXPECT_EQ(located.location.folder, "");
  EXPECT_EQ(located.location.name, P("\\PRD.P00"));
}

TEST(LocateProfileTest, AtSignLooksInTheFolderOfArgumentOne) {
  MemoryFileSystem files;
  files.Add(P("sub\\PRD.P00"), "");
  files.Add(kProgramFiles + "PRD.P00", "");
  Located located = Locate(files, P("sub\\PRD"), OutputMode::kExeXml, "GIGABYTE @");
  EXPECT_TRUE(located.status.ok());
  EXPECT_EQ(located.location.mode, OutputMode::kExeXml);
  EXPECT_EQ(located.location.path, P("sub\\PRD.P00"));

  // No path usage check: any folder will do, the working folder too.
  files.Add("QAS.P00", "");
  EXPECT_TRUE(Locate(files, "QAS", OutputMode::kExeXml, "@").status.ok());
}

TEST(LocateProfileTest, EveryFailureHasItsMessage) {
  const std::string sorry = "Sorry, invalid Path-Usage...";
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string argument;
    OutputMode selected;
    std::string parameters;
    std::string message;
  } cases[] = {
      {"selected mode names the path",
       {{"PRD.P00", ""}},
       P("sub\\PRD"),
       OutputMode::kOrmilux,
       "",
       "Error 1002: Profile " + P("sub\\PRD.P00") + " is missing..."},
      {"at sign names the path",
       {{kProgramFiles + "PRD.P00", ""}},
       P("sub\\PRD"),
       OutputMode::kExeXml,
       "@",
       "Error 1002: Profile " + P("sub\\PRD.P00") + " is missing..."},
      {"path file read, profile not in its folder",
       {{kPathFile, P("D:\\PRTG\n")}, {kProgramFiles + "PRD.P00", ""}},
       P("sub\\PRD"),
       OutputMode::kExeXml,
       "",
       "Error 1002: Profile PRD.P00 is missing..."},
      {"no path file, profile nowhere",
       {{P("sub\\PRD.P00"), ""}},
       P("sub\\PRD"),
       OutputMode::kExeXml,
       "",
       "Error 1002: Profile PRD.P00 is missing..."},
      {"path file names the profile's own folder",
       {{kPathFile, P("D:\\PRTG\\\n")}, {P("D:\\PRTG\\PRD.P00"), ""}},
       "PRD",
       OutputMode::kExeXml,
       "",
       sorry},
      {"no path file, profile in the working folder",
       {{"PRD.P00", ""}},
       "PRD",
       OutputMode::kExeXml,
       "",
       sorry},
      {"a folder given in argument 1 is not used",
       {{P("sub\\PRD.P00"), ""}},
       P("sub\\PRD"),
       OutputMode::kExeXml,
       "",
       "Error 1002: Profile PRD.P00 is missing..."},
      {"folder ends in ExeXml without a separator",
       {{kPathFile, P("D:\\Custom Sensors\\ExeXmlx\n")},
        {P("D:\\Custom Sensors\\ExeXmlx\\PRD.P00"), ""}},
       "PRD",
       OutputMode::kExeXml,
       "",
       sorry},
      {"folder of fewer than seven characters",
       {{kPathFile, P("\\\n")}, {P("\\PRD.P00"), ""}},
       "PRD",
       OutputMode::kExeXml,
       "",
       sorry},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const auto& [path, contents] : c.files) files.Add(path, contents);
    Located located = Locate(files, c.argument, c.selected, c.parameters);
    EXPECT_EQ(located.status.message(), c.message) << c.name;
  }
}

TEST(LocateProfileTest, PathFileFindsTheCustomSensorFolder) {
  const std::string exe_xml = P("D:\\PRTG\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
  const std::string custom = P("D:\\PRTG\\Custom Sensors\\ExeXml\\");
  struct Case {
    const char* name;
    std::string path_file;
    std::string profile_folder;
  } cases[] = {
      {"no trailing separator", P("D:\\PRTG\n"), exe_xml},
      {"trailing separator", P("D:\\PRTG\\\n"), exe_xml},
      {"crlf line ends", P("D:\\PRTG\r\n"), exe_xml},
      {"no line end", P("D:\\PRTG"), exe_xml},
      {"custom sensors directly below", P("D:\\PRTG\n"), custom},
      {"last qualifying line wins", P("D:\\Old") + "\r\n" + P("D:\\PRTG") + "\r\n", exe_xml},
      {"other lines skipped",
       "# PRTG lives here:\n" + P("D:\\PRTG") + "\n\nPRTG Network Monitor\n  " + P("Other\\PRTG\n"),
       exe_xml},
      {"folder itself ends in ExeXml", P("D:\\PRTG\\Custom Sensors\\EXEXML\n"),
       P("D:\\PRTG\\Custom Sensors\\EXEXML\\")},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add(kPathFile, c.path_file);
    files.Add(c.profile_folder + "PRD.P00", "");
    files.Add(kProgramFiles + "PRD.P00", "");  // never reached: the path file wins
    Located located = Locate(files, "PRD");
    EXPECT_TRUE(located.status.ok()) << c.name << ": " << located.status.message();
    EXPECT_EQ(located.location.mode, OutputMode::kExeXml);
    EXPECT_EQ(located.location.folder, c.profile_folder) << c.name;
    EXPECT_EQ(located.location.path, c.profile_folder + "PRD.P00") << c.name;
  }
}

TEST(LocateProfileTest, PathFileLineRules) {
  // A line names a folder by a separator first or third, or a colon second.
  struct Case {
    std::string line;
    bool names_folder;
  } cases[] = {
      {std::string(1, kPathSeparator) + "PRTG", true},
      {std::string("ab") + kPathSeparator + "PRTG", true},
      {"D:PRTG", true},
      {"xPRTG", false},
      {std::string("x") + kPathSeparator + "PRTG", false},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add(kPathFile, c.line + "\n");
    std::string folder = c.line + kPathSeparator;
    files.Add(folder + P("Custom Sensors\\ExeXml\\") + "PRD.P00", "");
    Located located = Locate(files, "PRD");
    EXPECT_EQ(located.status.ok(), c.names_folder) << c.line << ": " << located.status.message();
  }
}

TEST(LocateProfileTest, PathFileWithoutFolderMeansTheRoot) {
  MemoryFileSystem files;
  files.Add(kPathFile, "no folder here\n");
  files.Add(P("\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00"), "");
  Located located = Locate(files, "PRD");
  EXPECT_TRUE(located.status.ok()) << located.status.message();
  EXPECT_EQ(located.location.folder, P("\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\"));
}

TEST(LocateProfileTest, PathFileTakesBothSubFoldersInTurn) {
  MemoryFileSystem files;
  files.Add(kPathFile, P("D:\\PRTG\n"));
  const std::string first = P("D:\\PRTG\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
  const std::string second = first + P("Custom Sensors\\ExeXml\\");
  files.Add(first + "PRD.P00", "");
  files.Add(second + "PRD.P00", "");
  EXPECT_EQ(Locate(files, "PRD").location.folder, second);
}

TEST(LocateProfileTest, FixedFoldersInTheirOrder) {
  struct Case {
    std::vector<std::string> folders;
    std::string found;
  } cases[] = {
      {{kProgramme, kProgramFiles, kProgramFilesX86}, kProgramme},
      {{kProgramFiles, kProgramFilesX86}, kProgramFiles},
      {{kProgramFilesX86}, kProgramFilesX86},
      {{"", kProgramFilesX86}, ""},  // the working folder first, which then fails
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const std::string& folder : c.folders) files.Add(folder + "PRD.P00", "");
    Located located = Locate(files, "PRD");
    EXPECT_EQ(located.location.folder, c.found);
    if (c.found.empty()) {
      EXPECT_EQ(located.status.message(), "Sorry, invalid Path-Usage...");
    } else {
      EXPECT_TRUE(located.status.ok()) << located.status.message();
      EXPECT_EQ(located.location.path, c.found + "PRD.P00");
    }
  }
}

TEST(LocateProfileTest, RefusesWhatIsTooLongInsteadOfCuttingIt) {
  const std::string long_folder = P("D:\\") + std::string(500, 'f');
  const std::string folder_90 = P("D:\\") + std::string(90 - P("D:\\").size(), 'f');
  const std::string path_file_too_long =
      "Error 1056: Folder in " + kPathFile + " is too long (more than 95 characters) !";
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string argument;
    OutputMode selected;
    std::string message;
  } cases[] = {
      {"name with its extension",
       {},
       std::string(60, 'n'),
       OutputMode::kOrmilux,
       "Error 1055: Profile-Name " + std::string(60, 'n') +
           ".P00 is too long (more than 63 characters) !"},
      {"path file folder of 500 characters",
       {{kPathFile, long_folder + "\n"}},
       "PRD",
       OutputMode::kExeXml,
       path_file_too_long},
      {"path file folder of 95 characters and a separator",
       {{kPathFile, P("D:\\") + std::string(95 - P("D:\\").size(), 'f') + "\n"}},
       "PRD",
       OutputMode::kExeXml,
       path_file_too_long},
      {"sub-folder makes the path too long",
       {{kPathFile, folder_90 + "\n"}, {folder_90 + P("\\Custom Sensors\\ExeXml\\PRD.P00"), ""}},
       "PRD",
       OutputMode::kExeXml,
       "Error 1057: Profile-Path " + folder_90 + P("\\Custom Sensors\\ExeXml\\PRD.P00") +
           " is too long (more than 95 characters) !"},
      {"long name in the third fixed folder",
       {{kProgramFilesX86 + std::string(40, 'n') + ".P00", ""}},
       std::string(40, 'n'),
       OutputMode::kExeXml,
       "Error 1057: Profile-Path " + kProgramFilesX86 + std::string(40, 'n') +
           ".P00 is too long (more than 95 characters) !"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const auto& [path, contents] : c.files) files.Add(path, contents);
    Located located = Locate(files, c.argument, c.selected);
    EXPECT_EQ(located.status.message(), c.message) << c.name;
  }
}

TEST(LocateProfileTest, AcceptsWhatFitsExactly) {
  // 59 characters and the extension: 63.
  MemoryFileSystem files;
  files.Add(std::string(59, 'n') + ".P00", "");
  EXPECT_TRUE(Locate(files, std::string(59, 'n'), OutputMode::kOrmilux).status.ok());

  // A later folder line replaces an over-long one.
  const std::string exe_xml = P("D:\\Monitoring\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
  files.Add(kPathFile, P("D:\\") + std::string(500, 'f') + "\n" + P("D:\\Monitoring\n"));
  files.Add(exe_xml + "PRD.P00", "");
  Located located = Locate(files, "PRD");
  EXPECT_TRUE(located.status.ok()) << located.status.message();
  EXPECT_EQ(located.location.path, exe_xml + "PRD.P00");

  // A path of exactly 95 characters.
  const std::string name = std::string(95 - exe_xml.size() - 4, 'n');
  files.Add(exe_xml + name + ".P00", "");
  located = Locate(files, name);
  EXPECT_TRUE(located.status.ok()) << located.status.message();
  EXPECT_EQ(located.location.path.size(), 95u);
}

// The bytes of `text` as UTF-16 with its byte-order mark.
std::string Utf16Units(const std::u16string& text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// The same for an 8-bit text, each byte one character.
std::string Utf16(const std::string& text, bool big_endian) {
  return Utf16Units(std::u16string(text.begin(), text.end()), big_endian);
}

TEST(PathFileAsMeantTest, ReadsWhatAPersonWrites) {
  const std::string prtg = P("D:\\PRTG\\");
  const std::string spaced = P("D:\\Program Files\\PRTG\\");
  struct Case {
    const char* name;
    std::string bytes;
    std::optional<std::string> folder;
  } cases[] = {
      {"plain", P("D:\\PRTG\n"), prtg},
      {"UTF-16 LE", Utf16(P("D:\\PRTG\r\n"), false), prtg},
      {"UTF-16 BE", Utf16(P("D:\\PRTG\r\n"), true), prtg},
      {"UTF-16 without line end", Utf16(P("D:\\PRTG"), false), prtg},
      {"UTF-16 odd last byte dropped", Utf16(P("D:\\PRTG"), false) + "\n", prtg},
      {"UTF-16 remarks, last folder wins",
       Utf16("Old:\n" + P("D:\\Old") + "\n" + P("D:\\PRTG") + "\n", false), prtg},
      {"UTF-8 mark", "\xEF\xBB\xBF" + P("D:\\PRTG\n"), prtg},
      {"blanks around", " \t" + P("D:\\PRTG") + " \t\r\n", prtg},
      {"quotes", "\"" + P("D:\\Program Files\\PRTG") + "\"\n", spaced},
      {"quotes and blanks", "  \"" + P("D:\\Program Files\\PRTG\\") + "\" \n", spaced},
      {"UTF-16 quotes and blanks", Utf16(" \"" + P("D:\\Program Files\\PRTG") + "\" \r\n", false),
       spaced},
      {"blanks inside quotes stay", "\"" + P("D:\\PRTG ") + "\"\n", P("D:\\PRTG \\")},
      {"a lone quote is kept", "\"" + P("D:\\PRTG\n"), std::nullopt},
      {"trailing blank line ignored", P("D:\\PRTG\n") + "   \n", prtg},
      {"no folder", "remarks only\n", std::nullopt},
      {"empty", "", std::nullopt},
      {"only quotes", "\"\"\n", std::nullopt},
      {"NUL ends a line", P("D:\\PRTG") + std::string(1, '\0') + "xyz\n", prtg},
      {"too long", P("D:\\") + std::string(95, 'f') + "\n", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathFileFolderAsMeant(c.bytes), c.folder) << c.name;
  }
  // Every character of the folder survives UTF-16, as this platform spells it.
  const std::string head = P("D:\\Pr");
  const std::u16string units = std::u16string(head.begin(), head.end()) + u"\u00FCfung";
  std::string spelled;
  ASSERT_TRUE(PathFromUtf16(units, &spelled));
  EXPECT_EQ(PathFileFolderAsMeant(Utf16Units(units + u"\n", false)), spelled + kPathSeparator);
  // A broken surrogate pair cannot be spelled: the line names nothing.
  EXPECT_EQ(PathFileFolderAsMeant(Utf16Units(units + u"\xD800\n", false)), std::nullopt);
}

TEST(PathFileAsMeantTest, TriedOnlyWhereThePlainReadingFails) {
  const std::string sub = P("PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
  const std::string old_folder = P("D:\\Old\\") + sub;
  const std::string meant = P("D:\\PRTG\\") + sub;
  struct Case {
    const char* name;
    std::string path_file;
    std::vector<std::string> folders;  // each holds the profile
    std::string found;                 // empty: the search fails
  } cases[] = {
      // The plain reading skips the indented line (one blank: a separator third would count) and
      // takes D:\Old.
      {"plain folder holds it",
       P("D:\\Old") + "\n " + P("D:\\PRTG") + "\n",
       {old_folder, meant},
       old_folder},
      {"plain folder lacks it", P("D:\\Old") + "\n " + P("D:\\PRTG") + "\n", {meant}, meant},
      {"trailing blank", P("D:\\PRTG \n"), {meant}, meant},
      {"quotes", "\"" + P("D:\\PRTG") + "\"\r\n", {meant}, meant},
      {"UTF-16 LE", Utf16(P("D:\\PRTG\r\n"), false), {meant}, meant},
      {"UTF-16 BE", Utf16(P("D:\\PRTG\r\n"), true), {meant}, meant},
      {"UTF-16 not holding it either", Utf16(P("D:\\PRTG\r\n"), false), {old_folder}, ""},
      // The plain reading fails with 1056; the folder as meant fits.
      {"blanks after a long line", P("D:\\PRTG") + std::string(100, ' ') + "\n", {meant}, meant},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add(kPathFile, c.path_file);
    for (const std::string& folder : c.folders) files.Add(folder + "PRD.P00", "");
    Located located = Locate(files, "PRD");
    if (c.found.empty()) {
      EXPECT_EQ(located.status.message(), "Error 1002: Profile PRD.P00 is missing...") << c.name;
    } else {
      EXPECT_TRUE(located.status.ok()) << c.name << ": " << located.status.message();
      EXPECT_EQ(located.location.folder, c.found) << c.name;
    }
  }
}

TEST(LocateProfileTest, ProgramFolderComesLast) {
  const std::string exe_xml = P("D:\\PRTG\\Custom Sensors\\EXEXML\\");
  const std::string sorry = "Sorry, invalid Path-Usage...";
  const std::string missing = "Error 1002: Profile PRD.P00 is missing...";
  struct Case {
    const char* name;
    std::string program_folder;
    std::vector<std::pair<std::string, std::string>> files;
    std::string found;    // the folder taken on success
    std::string message;  // empty on success
  } cases[] = {
      {"beside the program, no path file", exe_xml, {{exe_xml + "PRD.P00", ""}}, exe_xml, ""},
      {"any case of ExeXml",
       P("D:\\s\\exexml\\"),
       {{P("D:\\s\\exexml\\PRD.P00"), ""}},
       P("D:\\s\\exexml\\"),
       ""},
      {"the working folder refused first",
       exe_xml,
       {{"PRD.P00", ""}, {exe_xml + "PRD.P00", ""}},
       exe_xml,
       ""},
      {"a fixed folder comes first",
       exe_xml,
       {{kProgramFiles + "PRD.P00", ""}, {exe_xml + "PRD.P00", ""}},
       kProgramFiles,
       ""},
      {"path file's folder comes first",
       exe_xml,
       {{kPathFile, P("D:\\Other\n")},
        {P("D:\\Other\\Custom Sensors\\ExeXml\\PRD.P00"), ""},
        {exe_xml + "PRD.P00", ""}},
       P("D:\\Other\\Custom Sensors\\ExeXml\\"),
       ""},
      {"path file naming another folder",
       exe_xml,
       {{kPathFile, P("D:\\Other\n")}, {exe_xml + "PRD.P00", ""}},
       exe_xml,
       ""},
      {"path file's folder too long",
       exe_xml,
       {{kPathFile, P("D:\\") + std::string(200, 'f') + "\n"}, {exe_xml + "PRD.P00", ""}},
       exe_xml,
       ""},
      {"not PRTG's folder", P("D:\\Tools\\"), {{P("D:\\Tools\\PRD.P00"), ""}}, "", sorry},
      {"not there either", exe_xml, {}, "", missing},
      {"unknown program folder", "", {{"PRD.P00", ""}}, "", sorry},
      {"today's refusal stands", P("D:\\Tools\\"), {{"PRD.P00", ""}}, "", sorry},
      {"the path too long",
       P("D:\\") + std::string(80, 'f') + P("\\ExeXml\\"),
       {{P("D:\\") + std::string(80, 'f') + P("\\ExeXml\\PRD.P00"), ""}},
       "",
       "Error 1057: Profile-Path " + P("D:\\") + std::string(80, 'f') + P("\\ExeXml\\PRD.P00") +
           " is too long (more than 95 characters) !"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const auto& [path, contents] : c.files) files.Add(path, contents);
    Located located = Locate(files, "PRD", OutputMode::kExeXml, "", c.program_folder);
    if (c.message.empty()) {
      EXPECT_TRUE(located.status.ok()) << c.name << ": " << located.status.message();
      EXPECT_EQ(located.location.folder, c.found) << c.name;
      EXPECT_EQ(located.location.path, c.found + "PRD.P00") << c.name;
    } else {
      EXPECT_EQ(located.status.message(), c.message) << c.name;
    }
  }
  // Not in the selected modes, nor with "@".
  MemoryFileSystem files;
  files.Add(exe_xml + "PRD.P00", "");
  EXPECT_FALSE(Locate(files, "PRD", OutputMode::kGlimora, "", exe_xml).status.ok());
  EXPECT_FALSE(Locate(files, "PRD", OutputMode::kExeXml, "@", exe_xml).status.ok());
}

TEST(LocateProfileTest, NamesTheFoldersItTried) {
  const std::string exe_xml = P("D:\\PRTG\\Custom Sensors\\ExeXml\\");
  using S = FolderState;
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<TriedFolder> tried;
  } cases[] = {
      {"no path file, nowhere",
       {},
       {{"", S::kMissing},
        {kProgramme, S::kMissing},
        {kProgramFiles, S::kMissing},
        {kProgramFilesX86, S::kMissing},
        {exe_xml, S::kMissing}}},
      {"a fixed folder",
       {{kProgramFiles + "PRD.P00", ""}},
       {{"", S::kMissing}, {kProgramme, S::kMissing}, {kProgramFiles, S::kUsed}}},
      {"the working folder refused, the program folder used",
       {{"PRD.P00", ""}, {exe_xml + "PRD.P00", ""}},
       {{"", S::kRefused}, {exe_xml, S::kUsed}}},
      {"path file, each folder once",
       {{kPathFile, P("D:\\Old\n")}},
       {{P("D:\\Old\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\"), S::kMissing},
        {P("D:\\Old\\Custom Sensors\\ExeXml\\"), S::kMissing},
        {P("D:\\Old\\"), S::kMissing},
        {exe_xml, S::kMissing}}},
      {"path file's folder itself refused, as meant found below",
       {{kPathFile, P("D:\\PRTG\\") + "\n " + P("D:\\Work") + "\n"},
        {P("D:\\PRTG\\PRD.P00"), ""},
        {P("D:\\Work\\Custom Sensors\\ExeXml\\PRD.P00"), ""}},
       {{P("D:\\PRTG\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\"), S::kMissing},
        {exe_xml, S::kMissing},
        {P("D:\\PRTG\\"), S::kRefused},
        {P("D:\\Work\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\"), S::kMissing},
        {P("D:\\Work\\Custom Sensors\\ExeXml\\"), S::kUsed}}},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    for (const auto& [path, contents] : c.files) files.Add(path, contents);
    Located located = Locate(files, "PRD", OutputMode::kExeXml, "", exe_xml);
    ASSERT_EQ(located.location.tried_folders.size(), c.tried.size()) << c.name;
    for (size_t i = 0; i < c.tried.size(); ++i) {
      EXPECT_EQ(located.location.tried_folders[i].folder, c.tried[i].folder) << c.name << " " << i;
      EXPECT_EQ(located.location.tried_folders[i].state, c.tried[i].state) << c.name << " " << i;
    }
  }
  // Only the search of mode "EXEXML" tries folders.
  MemoryFileSystem files;
  files.Add("PRD.P00", "");
  EXPECT_TRUE(Locate(files, "PRD", OutputMode::kOrmilux).location.tried_folders.empty());
}

}  // namespace
}  // namespace vaultgauge
