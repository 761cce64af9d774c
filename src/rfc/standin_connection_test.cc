// The connection opening and the system information against the stand-in
// library, loaded as the sensor loads it.
#include <gtest/gtest.h>

#include <cstdio>

#include "rfc/error_report.h"
#include "rfc/open_connection.h"
#include "rfc/rfc_library.h"
#include "rfc/system_info.h"
#include "rfc/trace_file.h"
#include "support/fake_rfc_api.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

constexpr const char* kPrdSection = kStandinPrdSection;
const std::string kLandscape = std::string(kStandinPrdSection) + kStandinQasSection;

RfcApi& Library() { return LoadedOnce<RfcLibrary>(); }

class StandinConnectionTest : public ::testing::Test {
 protected:
  StandinConnectionTest() { folder.Write("SapLandscape.txt", kLandscape); }
  ~StandinConnectionTest() override { Library().Close(RFC_HANDLE_NULL); }

  RFC_HANDLE Open(const ConnectionProfile& profile, const LogonOverrides& overrides = {}) {
    return OpenConnection(
        session, profile, overrides, [](const std::string&) {}, &records);
  }

  TestFolder folder{TestFolder::kEnter};
  RfcSession session{Library(), TracePoints(false, nullptr)};
  ConnectionRecords records;
  RealFileSystem files;
  SystemInfo info;
};

TEST_F(StandinConnectionTest, LogsOnByOptionsRecordAndReadsTheSystem) {
  RFC_HANDLE handle = Open(PrdProfile());
  ASSERT_NE(handle, 0u) << ScanTraceFile(files);
  ASSERT_TRUE(ReadSystemInfo(session, handle, &info).ok());
  EXPECT_EQ(info.database_system, "ORACLE    ");
  EXPECT_EQ(info.host, "sapprd01");
  EXPECT_FALSE(folder.Exists("Dev_Rfc.Trc"));
}

TEST_F(StandinConnectionTest, LogsOnThroughTheGatewayInModeR2) {
  ConnectionProfile profile = PrdProfile();
  profile.mode = "R/2";
  profile.hostname = "nowhere";
  RFC_HANDLE handle = Open(profile);
  ASSERT_NE(handle, 0u) << ScanTraceFile(files);
  ASSERT_TRUE(ReadSystemInfo(session, handle, &info).ok());
  EXPECT_EQ(info.host, "sapprd01");
}

TEST_F(StandinConnectionTest, LogsOnByDestinationFile) {
  folder.Write("SapRfc.PRD", "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd01\r\nSYSNR=00\r\n");
  ConnectionProfile profile = PrdProfile();
  profile.hostname = "nowhere";
  RFC_HANDLE handle = Open(profile);
  ASSERT_NE(handle, 0u) << ScanTraceFile(files);
  EXPECT_EQ(folder.Read("SapRfc.ini"), folder.Read("SapRfc.PRD"));
  ASSERT_TRUE(ReadSystemInfo(session, handle, &info).ok());
  EXPECT_EQ(info.host, "sapprd01");
}

TEST_F(StandinConnectionTest, TheOverridesReachAnotherSystem) {
  RFC_HANDLE handle = Open(PrdProfile(), LogonOverrides{"100", "SAPQAS", "12"});
  ASSERT_NE(handle, 0u) << ScanTraceFile(files);
  ASSERT_TRUE(ReadSystemInfo(session, handle, &info).ok());
  EXPECT_EQ(info.database_system, "MSSQL     ");
  EXPECT_EQ(info.host, "sapqas  ");
}

TEST_F(StandinConnectionTest, ARefusedLogonLeavesItsReasonInTheTraceFile) {
  struct Case {
    const char* name;
    std::string password, destination_file;
    std::string trace_text;
  } cases[] = {
      {"options record", "wrong", "",
       " - Name or password is incorrect (client 000, user MONI, system PRD)"},
      {"destination file", "wrong", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n",
       " - Name or password is incorrect (client 000, user MONI, system PRD)"},
      {"unknown destination", "secret", "DEST=QAS\nASHOST=sapqas\nSYSNR=12\n",
       " - destination PRD has no entry in SapRfc.ini"},
  };
  for (const Case& c : cases) {
    TestFolder inner(TestFolder::kEnter);
    inner.Write("SapLandscape.txt", kLandscape);
    if (!c.destination_file.empty()) inner.Write("SapRfc.PRD", c.destination_file);
    ConnectionProfile profile = PrdProfile();
    profile.password = c.password;
    EXPECT_EQ(Open(profile), 0u) << c.name;
    EXPECT_EQ(ScanTraceFile(files), c.trace_text) << c.name;
  }
}

TEST_F(StandinConnectionTest, EachResultCodeGivesItsErrorAndTraceText) {
  struct Case {
    std::string fault;
    std::string message, trace_text;
  } cases[] = {
      {"call RFC_SYSTEM_INFO 1", "Error 1014: RFC-Failure raised !",
       " - connection broken during RfcCall of RFC_SYSTEM_INFO"},
      {"call * 2 NOT_SHOWN",
       "Error 1012: Exception.: ", " - exception NOT_SHOWN raised by RFC_SYSTEM_INFO"},
      {"call * 3", "Error 1013: Sys-Exception raised !", " - SYSTEM_FAILURE in RFC_SYSTEM_INFO"},
      {"call * 7", "Error 1015: Other Failure raised !",
       " - RfcCall of RFC_SYSTEM_INFO ended with code 7"},
      {"receive * 1", "Error 1014: RFC-Failure raised !",
       " - connection broken during RfcReceive of RFC_SYSTEM_INFO"},
      {"receive RFC_SYSTEM_INFO 2 SYSTEM_FAILURE", "Error 1012: Exception.: SYSTEM_FAILURE",
       " - exception SYSTEM_FAILURE raised by RFC_SYSTEM_INFO"},
      {"receive * 3 COMMUNICATION_FAILURE", "Error 1013: Sys-Exception raised !",
       " - COMMUNICATION_FAILURE in RFC_SYSTEM_INFO"},
      {"receive * 23", "Error 1015: Other Failure raised !",
       " - RfcReceive of RFC_SYSTEM_INFO ended with code 23"},
  };
  for (const Case& c : cases) {
    TestFolder inner(TestFolder::kEnter);
    inner.Write("SapLandscape.txt", std::string(kPrdSection) + "fault = " + c.fault + "\n");
    RFC_HANDLE handle = Open(PrdProfile());
    ASSERT_NE(handle, 0u) << c.fault << ScanTraceFile(files);
    Status status = ReadSystemInfo(session, handle, &info);
    EXPECT_EQ(status.message(), c.message) << c.fault;
    EXPECT_EQ(ScanTraceFile(files), c.trace_text) << c.fault;
    Library().Close(handle);
  }
}

TEST_F(StandinConnectionTest, AFaultOfAnotherFunctionModuleDoesNotHitTheSystemInfo) {
  folder.Write("SapLandscape.txt",
               std::string(kLandscape) + "fault = receive DB_ORA_CURRENT_SIZES 1\n");
  RFC_HANDLE handle = Open(PrdProfile(), LogonOverrides{"100", "sapqas", "12"});
  EXPECT_TRUE(ReadSystemInfo(session, handle, &info).ok());
}

TEST_F(StandinConnectionTest, TheKeptStructureServesTheNextSystem) {
  RFC_HANDLE first = Open(PrdProfile());
  ASSERT_TRUE(ReadSystemInfo(session, first, &info).ok());
  RFC_TYPEHANDLE kept = session.rfcsi_type;
  EXPECT_NE(kept, 0u);
  RFC_HANDLE second = Open(PrdProfile(), LogonOverrides{"100", "sapqas", "12"});
  ASSERT_TRUE(ReadSystemInfo(session, second, &info).ok());
  EXPECT_EQ(session.rfcsi_type, kept);
  EXPECT_EQ(info.database_system, "MSSQL     ");
}

TEST_F(StandinConnectionTest, AFailedInstallationIsALibraryError) {
  folder.Write("SapLandscape.txt", std::string(kLandscape) + "fault = install RFCSI\n");
  RFC_HANDLE handle = Open(PrdProfile(), LogonOverrides{"100", "sapqas", "12"});
  Status status = ReadSystemInfo(session, handle, &info);
  EXPECT_TRUE(status.is_library_error());
  EXPECT_EQ(status.message(), "RfcInstallStructure");
}

TEST_F(StandinConnectionTest, AFailureReportedToTheHandlerEndsWithTheReport) {
  folder.Write("SapLandscape.txt",
               std::string(kLandscape) + "fault = handler RFC_SYSTEM_INFO RfcReceive\n");
  std::string path = folder.path() + "report.txt";
  // The child goes on from the library's state here: its handle is the next one.
  RFC_HANDLE handle = Open(PrdProfile());
  Library().Close(handle);
  std::string status = "connection " + std::to_string(handle + 1) + " to QAS";
  auto run = [&] {
    std::FILE* report = std::fopen(path.c_str(), "wb");
    auto document = MakeDocumentWriter(OutputMode::kHalvenor, {}, report);
    InstallRfcErrorReport(session, *document);
    RFC_HANDLE handle = Open(PrdProfile(), LogonOverrides{"100", "sapqas", "12"});
    ReadSystemInfo(session, handle, &info);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(1), "");
  EXPECT_EQ(folder.Read("report.txt"),
            "RFC error\n"
            "operation/code  : RfcReceive\n"
            "key             : RFC_ERROR_SYSTEM_FAILURE\n"
            "status          : " +
                status +
                "\n"
                "message         : failure of RFC_SYSTEM_INFO reported to the error handler\n"
                "internal status : stand-in RFC library, RfcReceive\n"
                "\n"
                "* Programm aborted...\n"
                "* Error at EoXput-File...\n");
}

}  // namespace
}  // namespace vaultgauge
