#include "driver/global_list.h"

#include <gtest/gtest.h>

#include "driver/startup.h"

namespace vaultgauge {
namespace {

constexpr char kMark[] = "Sensor=\"SAP Vaultgauge\"";

// Reads the command line `arguments` and the list file `contents`, laid out
// as the file the location found.
Status ReadList(const std::vector<std::string>& arguments, const std::string& list_file,
                const std::string& contents, SystemList* list) {
  CommandLine command_line;
  EXPECT_TRUE(ReadCommandLine(arguments, "03:15:07", &command_line).ok());
  ProfileLocation location;
  location.name = list_file;
  location.path = "lists/" + list_file;
  MemoryFileSystem files;
  files.Add(location.path, contents);
  return ReadGlobalList(files, location, command_line, list);
}

class GlobalListTest : public ::testing::Test {
 protected:
  Status Read(const std::vector<std::string>& arguments, const std::string& list_file,
              const std::string& contents) {
    return ReadList(arguments, list_file, contents, &list_);
  }

  SystemList list_;
};

TEST_F(GlobalListTest, ProfileListTakesExactCaseServerLines) {
  Status status = Read({"x", "ITEM=psapsr3,GIGABYTE"}, kProfileListFile,
                       "# Gsng: ignored12345PRD.P00#\r\n"
                       "# GSNG: ignored12345NOT.P00#\n"
                       "# Gsng:xignored12345NOT.P00#\n"
                       "other\n"
                       "# Gsng: 123456789012QAS.P00#DEV.P00#\n");
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(list_.server_listing, "PRD.P00#QAS.P00#DEV.P00#");
  EXPECT_EQ(list_.item_name, "psapsr3");
  EXPECT_EQ(list_.label_kind, LabelKind::kProfileName);
  EXPECT_EQ(list_.parameters.text, "ITEM=PSAPSR3,GIGABYTE");  // the command line's
}

TEST_F(GlobalListTest, GlobalListPicksTheSensorByItsKey) {
  Status status = Read({"global", "prd"}, kGlobalListFile,
                       "# gsng: PRD       --PRD.P00#\n"
                       "# GSNG: PRDX      --NOT.P00#\n"
                       "# GSNG: PRD       --PRD2.P00#\n"
                       "# GSNX: PRD       ;GIGABYTE,client=200,Item=Psap:undo,Alias," +
                           std::string(kMark) +
                           ",trailing:part\n"
                           "# GSNX: QAS       ;Item=OTHER," +
                           kMark + "\n");
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(list_.server_listing, "PRD.P00#PRD2.P00#");
  EXPECT_EQ(list_.item_name, "Psap undo");
  EXPECT_EQ(list_.label_kind, LabelKind::kAlias);
  EXPECT_EQ(list_.parameters.raw_text, "GIGABYTE,client=200,Item=Psap undo,Alias");
  EXPECT_EQ(list_.parameters.text, "GIGABYTE,CLIENT=200,ITEM=PSAP UNDO,ALIAS");
  EXPECT_EQ(list_.parameters.logon.client, "200");
  EXPECT_TRUE(list_.parameters.gigabyte);
}

TEST_F(GlobalListTest, KeysCompareTheirFirstTenCharacters) {
  Status status = Read({"global", "ABCDEFGHIJKL"}, kGlobalListFile,
                       "# GSNG: ABCDEFGHIJ--A.P00#\n"
                       "# GSNX: ABCDEFGHIJ;Item=T," +
                           std::string(kMark) + "\n");
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(list_.server_listing, "A.P00#");
}

TEST_F(GlobalListTest, LabelMarkersInTheirOrder) {
  struct Case {
    const char* markers;
    char kind;
  } cases[] = {
      {"", '1'},           {",Profile", '1'},      {",Alias", '2'},
      {",Host", '3'},      {",Sid", '4'},          {",Alias,Host", '3'},
      {",Sid,Alias", '4'}, {",Host,Profile", '3'}, {",ALIAS", '1'},
  };
  for (const Case& c : cases) {
    SystemList list;
    ASSERT_TRUE(ReadList({"global", "PRD"}, kGlobalListFile,
                         "# GSNG: PRD       --P.P00#\n# GSNX: PRD       ;Item=T" +
                             std::string(c.markers) + "," + kMark + "\n",
                         &list)
                    .ok());
    EXPECT_EQ(static_cast<char>(list.label_kind), c.kind) << c.markers;
  }
}

TEST_F(GlobalListTest, ALaterSensorLineReplacesTheEarlierOne) {
  Status status = Read({"global", "PRD"}, kGlobalListFile,
                       "# GSNG: PRD       --P.P00#\n"
                       "# GSNX: PRD       ;Item=FIRST,Host," +
                           std::string(kMark) +
                           "\n"
                           "# GSNX: PRD       ;Item=SECOND," +
                           kMark + "\n");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(list_.item_name, "SECOND");
  EXPECT_EQ(list_.label_kind, LabelKind::kHost);  // not reset between sensor lines
}

TEST_F(GlobalListTest, Failures) {
  const std::string server = "# GSNG: PRD       --P.P00#\n";
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    const char* file;
    std::string contents;
    std::string message;
  } cases[] = {
      {"mark in another case",
       {"global", "PRD"},
       kGlobalListFile,
       server + "# GSNX: PRD       ;Item=T,SENSOR=\"SAP VAULTGAUGE\"\n",
       "Error 1029: Invalid Sensor-Allocation..."},
      {"no sensor line for the key",
       {"global", "prd", "#"},
       kGlobalListFile,
       server + "# GSNX: QAS       ;Item=T," + kMark + "\n",
       "Error 1030: Global Sensor prd not found..."},
      {"no sensor line and no argument 2",
       {"global"},
       kGlobalListFile,
       server,
       "Error 1030: Global Sensor  not found..."},
      {"sensor line without servers",
       {"global", "PRD"},
       kGlobalListFile,
       "# GSNX: PRD       ;Item=T," + std::string(kMark) + "\n",
       "Error 1025: Global Server Listing missing..."},
      {"servers without item",
       {"global", "PRD"},
       kGlobalListFile,
       server + "# GSNX: PRD       ;" + kMark + "\n",
       "Error 1026: Global Item Idenification missing..."},
      {"profile list without exact-case lines",
       {"x", "ITEM=T"},
       kProfileListFile,
       "# GSNG: 123456789012P.P00#\n",
       "Error 1025: Global Server Listing missing..."},
      {"profile list with an empty item",
       {"x", "ITEM=,GIGABYTE"},
       kProfileListFile,
       "# Gsng: 123456789012P.P00#\n",
       "Error 1026: Global Item Idenification missing..."},
      {"line beyond 199 characters",
       {"global", "PRD"},
       kGlobalListFile,
       server + "# comment " + std::string(190, 'c') + "\n",
       "Error 1071: Line 2 of SAP Tarnwick.Gbl is too long (more than 199 characters) !"},
      {"listing beyond 2047 characters",
       {"x", "ITEM=T"},
       kProfileListFile,
       [] {
         std::string lines;
         for (int i = 0; i < 12; ++i)
           lines += "# Gsng: 123456789012" + std::string(170, 'P') + "#\n";
         return lines;
       }(),
       "Error 1072: Server listing of Tarnwick.Prf is too long (more than 2047 characters) !"},
      {"sensor line beyond 127 characters",
       {"global", "PRD"},
       kGlobalListFile,
       server + "# GSNX: PRD       ;Item=T," + kMark + std::string(110, 'x') + "\n",
       "Error 1073: Sensor line of SAP Tarnwick.Gbl is too long (more than 127 characters) !"},
  };
  for (const Case& c : cases) {
    SystemList list;
    EXPECT_EQ(ReadList(c.arguments, c.file, c.contents, &list).message(), c.message) << c.name;
  }
}

TEST_F(GlobalListTest, MissingListFiles) {
  SystemList list;
  MemoryFileSystem files;
  CommandLine command_line;
  ProfileLocation location{kProfileListFile, "nowhere/", "nowhere/Tarnwick.Prf"};
  EXPECT_EQ(ReadGlobalList(files, location, command_line, &list).message(),
            "Error 1024: ProFile Tarnwick.Prf is missing...");
  location = ProfileLocation{kGlobalListFile, "nowhere/", "nowhere/SAP Tarnwick.Gbl"};
  EXPECT_EQ(ReadGlobalList(files, location, command_line, &list).message(),
            "Error 10x1: ProFile SAP Tarnwick.Gbl is missing...");
}

}  // namespace
}  // namespace vaultgauge
