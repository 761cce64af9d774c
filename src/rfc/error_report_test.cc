#include "rfc/error_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "support/fake_rfc_api.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

FakeRfcApi ApiWithLastError() {
  FakeRfcApi api;
  std::strcpy(api.last_error.key, "RFC_ERROR_RESOURCE");
  std::strcpy(api.last_error.message, "no memory for table TS");
  std::strcpy(api.last_error.intstat, "stand-in RFC library, ItCreate");
  return api;
}

constexpr char kReport[] =
    "RFC error\n"
    "operation/code  : ItCreate TS\n"
    "key             : RFC_ERROR_RESOURCE\n"
    "status          : \n"
    "message         : no memory for table TS\n"
    "internal status : stand-in RFC library, ItCreate\n"
    "\n"
    "* Programm aborted...\n"
    "* Error at EoXput-File...\n";

TEST(ErrorReportTest, PrintsLabelledLinesAndClosesAllConnections) {
  FakeRfcApi api = ApiWithLastError();
  std::FILE* stream = std::tmpfile();
  auto document = MakeDocumentWriter(OutputMode::kHalvenor, {}, stream);
  WriteRfcErrorReport(api, *document, "ItCreate TS");
  EXPECT_EQ(StreamContents(stream), kReport);
  EXPECT_EQ(api.closed, std::vector<RFC_HANDLE>{RFC_HANDLE_NULL});
  std::fclose(stream);
}

TEST(ErrorReportTest, ReadsNoFieldPastItsEnd) {
  FakeRfcApi api;
  std::memset(&api.last_error, 'k', sizeof api.last_error);
  std::FILE* stream = std::tmpfile();
  auto document = MakeDocumentWriter(OutputMode::kHalvenor, {}, stream);
  WriteRfcErrorReport(api, *document, "RfcInstallStructure");
  std::string report = StreamContents(stream);
  EXPECT_NE(report.find("key             : " + std::string(33, 'k') + "\n"), std::string::npos);
  EXPECT_NE(report.find("internal status : " + std::string(128, 'k') + "\n"), std::string::npos);
  std::fclose(stream);
}

TEST(ErrorReportDeathTest, TheHandlerPrintsTheReportAndEndsWithCode1) {
  TestFolder folder;
  std::string path = folder.path() + "report.txt";
  auto report_and_die = [&] {
    FakeRfcApi api = ApiWithLastError();
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    auto document = MakeDocumentWriter(OutputMode::kHalvenor, {}, stream);
    RfcSession session(api, TracePoints(false));
    InstallRfcErrorReport(session, *document);
    // The library calls the handler it was given.
    char operation[] = "ItCreate TS";
    api.env->errorhandler(operation);
  };
  EXPECT_EXIT(report_and_die(), ::testing::ExitedWithCode(1), "");
  EXPECT_EQ(folder.Read("report.txt"), kReport);
}

TEST(ErrorReportTest, InstallsTheHandlerWithoutAllocator) {
  FakeRfcApi api;
  std::FILE* stream = std::tmpfile();
  auto document = MakeDocumentWriter(OutputMode::kHalvenor, {}, stream);
  RfcSession session(api, TracePoints(false));
  InstallRfcErrorReport(session, *document);
  ASSERT_NE(api.env, nullptr);
  EXPECT_EQ(api.env->errorhandler, &RfcErrorReport);
  EXPECT_EQ(api.env->allocate, nullptr);
  std::fclose(stream);
}

}  // namespace
}  // namespace vaultgauge
