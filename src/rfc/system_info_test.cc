#include "rfc/system_info.h"

#include <gtest/gtest.h>

#include "support/fake_rfc_api.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

std::string Rfcsi(const std::string& host, const std::string& database) {
  std::string record(200, '.');
  record.replace(45, 8, (host + std::string(8, ' ')).substr(0, 8));
  record.replace(101, 10, (database + std::string(10, ' ')).substr(0, 10));
  return record;
}

class SystemInfoTest : public ::testing::Test {
 protected:
  FakeRfcApi api;
  RfcSession session{api, TracePoints(false, nullptr)};
  SystemInfo info;
};

TEST_F(SystemInfoTest, KeepsDatabaseSystemAndHost) {
  api.rfcsi = Rfcsi("sapprd01", "ORACLE");
  ASSERT_TRUE(ReadSystemInfo(session, 7, &info).ok());
  EXPECT_EQ(info.database_system, "ORACLE    ");
  EXPECT_EQ(info.host, "sapprd01");

  // Trailing blanks stay; a zero ends the text early.
  api.rfcsi = Rfcsi("db", std::string("DB6\0xyz", 7));
  ASSERT_TRUE(ReadSystemInfo(session, 7, &info).ok());
  EXPECT_EQ(info.database_system, "DB6");
  EXPECT_EQ(info.host, "db      ");
}

TEST_F(SystemInfoTest, ReceivesTheImportingListInItsOrder) {
  api.rfcsi = Rfcsi("h", "ORACLE");
  ASSERT_TRUE(ReadSystemInfo(session, 7, &info).ok());
  std::vector<RecordedParameter> expected = {
      {"CURRENT_RESOURCES", 17, TYPINT, 4}, {"DIALOG_USER_TYPE", 16, TYPC, 1},
      {"MAXIMAL_RESOURCES", 17, TYPINT, 4}, {"RECOMMENDED_DELAY", 17, TYPINT, 4},
      {"RFCSI_EXPORT", 12, 301, 200},       {"RFC_LOGIN_COMPLETE", 18, TYPC, 1},
  };
  EXPECT_EQ(api.importing, expected);
  EXPECT_EQ(api.calls, (std::vector<std::string>{"RfcInstallStructure", "RfcCall RFC_SYSTEM_INFO",
                                                 "RfcReceive"}));
}

TEST_F(SystemInfoTest, InstallsRfcsiOncePerProcess) {
  api.rfcsi = Rfcsi("h", "ORACLE");
  ASSERT_TRUE(ReadSystemInfo(session, 7, &info).ok());
  ASSERT_TRUE(ReadSystemInfo(session, 8, &info).ok());
  EXPECT_EQ(api.installed, std::vector<std::string>{"RFCSI"});
  EXPECT_EQ(session.rfcsi_type, 301u);
}

TEST_F(SystemInfoTest, AFailedInstallationIsALibraryError) {
  api.install_result = RFC_MEMORY_INSUFFICIENT;
  Status status = ReadSystemInfo(session, 7, &info);
  EXPECT_TRUE(status.is_library_error());
  EXPECT_EQ(status.message(), "RfcInstallStructure");
  EXPECT_EQ(api.calls, std::vector<std::string>{"RfcInstallStructure"});
  EXPECT_EQ(session.rfcsi_type, 0u);
}

TEST_F(SystemInfoTest, MapsEachResultCodeToItsError) {
  struct Case {
    RFC_RC call, receive;
    const char* exception;
    std::string message;
    bool received;
  } cases[] = {
      {RFC_FAILURE, RFC_OK, nullptr, "Error 1014: RFC-Failure raised !", false},
      {RFC_EXCEPTION, RFC_OK, "IGNORED", "Error 1012: Exception.: ", false},
      {RFC_SYS_EXCEPTION, RFC_OK, nullptr, "Error 1013: Sys-Exception raised !", false},
      {RFC_TIMEOUT, RFC_OK, nullptr, "Error 1015: Other Failure raised !", false},
      {RFC_OK, RFC_FAILURE, nullptr, "Error 1014: RFC-Failure raised !", true},
      {RFC_OK, RFC_EXCEPTION, "SYSTEM_FAILURE", "Error 1012: Exception.: SYSTEM_FAILURE", true},
      {RFC_OK, RFC_EXCEPTION, nullptr, "Error 1012: Exception.: ", true},
      {RFC_OK, RFC_SYS_EXCEPTION, "COMMUNICATION_FAILURE", "Error 1013: Sys-Exception raised !",
       true},
      {RFC_OK, RFC_CLOSED, nullptr, "Error 1015: Other Failure raised !", true},
      {RFC_OK, static_cast<RFC_RC>(-1), nullptr, "Error 1015: Other Failure raised !", true},
  };
  for (const Case& c : cases) {
    api = FakeRfcApi();
    api.call_result = c.call;
    api.receive_result = c.receive;
    api.exception = c.exception;
    info = SystemInfo{"kept", "kept"};
    Status status = ReadSystemInfo(session, 7, &info);
    EXPECT_FALSE(status.ok()) << c.message;
    EXPECT_TRUE(status.is_rfc_failure()) << c.message;
    EXPECT_EQ(status.message(), c.message);
    EXPECT_EQ(api.calls.back() == "RfcReceive", c.received) << c.message;
    EXPECT_EQ(info.database_system, "kept");
  }
}

TEST_F(SystemInfoTest, TakesAtMost255CharactersOfTheException) {
  std::string exception(300, 'E');
  api.receive_result = RFC_EXCEPTION;
  api.exception = exception.c_str();
  EXPECT_EQ(ReadSystemInfo(session, 7, &info).message(),
            "Error 1012: Exception.: " + std::string(255, 'E'));
}

TEST_F(SystemInfoTest, TracesCallAndReceiveWithTheHandle) {
  std::FILE* trace = std::tmpfile();
  session.trace = TracePoints(true, trace);
  api.rfcsi = Rfcsi("h", "ORACLE");
  ReadSystemInfo(session, 9, &info);
  EXPECT_EQ(StreamContents(trace), "9 RfcCall called \n9 RfcReceive called \n");
  std::fclose(trace);
}

}  // namespace
}  // namespace vaultgauge
