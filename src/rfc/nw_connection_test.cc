// The sensor's steps over the stand-in NetWeaver library, through the seam the
// runs use: a library that fails where the stand-in cannot is simulated by a
// wrapper that passes every other call on.
#include "rfc/nw_connection.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "rfc/error_report.h"
#include "support/fake_rfc_api.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

NwRfcLibrary& Library() { return LoadedOnce<NwRfcLibrary>(); }

// The loaded stand-in, but the row count fails once `fail_row_count` is set.
class FailingRowCount : public NwRfcApi {
 public:
  bool fail_row_count = false;
  unsigned row_counts = 0;

  const nwrfc::SAP_UC* GetVersion(unsigned* major, unsigned* minor, unsigned* patch) override {
    return Library().GetVersion(major, minor, patch);
  }
  nwrfc::RFC_CONNECTION_HANDLE OpenConnection(const nwrfc::RFC_CONNECTION_PARAMETER* parameters,
                                              unsigned count,
                                              nwrfc::RFC_ERROR_INFO* error) override {
    return Library().OpenConnection(parameters, count, error);
  }
  nwrfc::RFC_RC CloseConnection(nwrfc::RFC_CONNECTION_HANDLE connection,
                                nwrfc::RFC_ERROR_INFO* error) override {
    return Library().CloseConnection(connection, error);
  }
  nwrfc::RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(nwrfc::RFC_CONNECTION_HANDLE connection,
                                                  const nwrfc::SAP_UC* name,
                                                  nwrfc::RFC_ERROR_INFO* error) override {
    return Library().GetFunctionDesc(connection, name, error);
  }
  nwrfc::RFC_FUNCTION_HANDLE CreateFunction(nwrfc::RFC_FUNCTION_DESC_HANDLE description,
                                            nwrfc::RFC_ERROR_INFO* error) override {
    return Library().CreateFunction(description, error);
  }
  nwrfc::RFC_RC DestroyFunction(nwrfc::RFC_FUNCTION_HANDLE function,
                                nwrfc::RFC_ERROR_INFO* error) override {
    return Library().DestroyFunction(function, error);
  }
  nwrfc::RFC_RC Invoke(nwrfc::RFC_CONNECTION_HANDLE connection, nwrfc::RFC_FUNCTION_HANDLE function,
                       nwrfc::RFC_ERROR_INFO* error) override {
    return Library().Invoke(connection, function, error);
  }
  nwrfc::RFC_RC GetStructure(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                             nwrfc::RFC_STRUCTURE_HANDLE* structure,
                             nwrfc::RFC_ERROR_INFO* error) override {
    return Library().GetStructure(container, name, structure, error);
  }
  nwrfc::RFC_RC GetTable(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                         nwrfc::RFC_TABLE_HANDLE* table, nwrfc::RFC_ERROR_INFO* error) override {
    return Library().GetTable(container, name, table, error);
  }
  nwrfc::RFC_RC GetRowCount(nwrfc::RFC_TABLE_HANDLE table, unsigned* count,
                            nwrfc::RFC_ERROR_INFO* error) override {
    ++row_counts;
    if (!fail_row_count) return Library().GetRowCount(table, count, error);
    *error = nwrfc::RFC_ERROR_INFO{};
    error->code = nwrfc::RFC_INVALID_HANDLE;
    error->group = nwrfc::EXTERNAL_RUNTIME_FAILURE;
    for (size_t i = 0; i < 9; ++i) error->message[i] = u"no table!"[i];
    return nwrfc::RFC_INVALID_HANDLE;
  }
  nwrfc::RFC_RC MoveTo(nwrfc::RFC_TABLE_HANDLE table, unsigned index,
                       nwrfc::RFC_ERROR_INFO* error) override {
    return Library().MoveTo(table, index, error);
  }
  nwrfc::RFC_STRUCTURE_HANDLE GetCurrentRow(nwrfc::RFC_TABLE_HANDLE table,
                                            nwrfc::RFC_ERROR_INFO* error) override {
    return Library().GetCurrentRow(table, error);
  }
  nwrfc::RFC_RC GetString(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                          nwrfc::SAP_UC* buffer, unsigned buffer_length, unsigned* length,
                          nwrfc::RFC_ERROR_INFO* error) override {
    return Library().GetString(container, name, buffer, buffer_length, length, error);
  }
};

// Counts what the measurement hands on.
struct CountingSink : MeasurementSink {
  int sums = 0, rows = 0;
  void Sums(const TablespaceSums&) override { ++sums; }
  void Row(const Tablespace&) override { ++rows; }
};

class NwConnectionTest : public ::testing::Test {
 protected:
  NwConnectionTest() {
    folder.Write("SapLandscape.txt", "journal = J.txt\n" + std::string(kStandinPrdSection) +
                                         "ts = PSAPSR3 TSIZE=52428800 TFREE=10485760\n"
                                         "ts = SYSTEM  TSIZE=1048576  TFREE=204800\n");
  }
  Status Open(const ConnectionProfile& profile = PrdProfile()) {
    return connection.Open(profile, LogonOverrides{}, [this](const std::string& destination) {
      notices.push_back(destination);
    });
  }

  TestFolder folder{TestFolder::kEnter};
  FailingRowCount* api = new FailingRowCount;
  NwConnection connection{std::unique_ptr<NwRfcApi>(api), "NetWeaver RFC library 1.2.3",
                          TracePoints(false, nullptr)};
  std::vector<std::string> notices;
};

TEST_F(NwConnectionTest, MeasuresAndHandsEveryRowOn) {
  ASSERT_TRUE(Open().ok());
  SystemInfo info;
  ASSERT_TRUE(connection.ReadSystemInfo(&info).ok());
  EXPECT_EQ(info.database_system, "ORACLE    ");
  CountingSink sink;
  ASSERT_TRUE(connection.MeasureCurrentSizes(sink).ok());
  EXPECT_EQ(sink.sums, 1);
  EXPECT_EQ(sink.rows, 2);
  connection.Close();
  // The failure's text carries the library's message: nothing is appended.
  MemoryFileSystem files;
  files.Add("Dev_Rfc.Trc", "ERROR       old text of the classic library\n");
  EXPECT_EQ(connection.FailureDetail(files), "");
}

TEST_F(NwConnectionTest, AFailedRowCountReportsNothingOfTheTableAndReleasesIt) {
  ASSERT_TRUE(Open().ok());
  api->fail_row_count = true;
  CountingSink sink;
  Status status = connection.MeasureCurrentSizes(sink);
  EXPECT_TRUE(status.is_library_error());
  EXPECT_EQ(status.message(), "RfcGetRowCount TS");
  EXPECT_EQ(sink.sums, 0);
  EXPECT_EQ(sink.rows, 0);
  // Asked once: the failure is kept, not asked again.
  EXPECT_EQ(api->row_counts, 1u);

  std::FILE* stream = std::tmpfile();
  auto document = MakeDocumentWriter(OutputMode::kHalvenor, {}, stream);
  connection.WriteErrorReport(*document, status.message());
  EXPECT_EQ(StreamContents(stream),
            "RFC error\n"
            "operation/code  : RfcGetRowCount TS\n"
            "key             : \n"
            "status          : code 13, group 5\n"
            "message         : no table!\n"
            "internal status : NetWeaver RFC library 1.2.3\n"
            "\n"
            "* Programm aborted...\n"
            "* Error at EoXput-File...\n");
  std::fclose(stream);
  // The function was destroyed and the connection closed by the report.
  // The stand-in numbers connections over the whole process.
  std::string journal = folder.Read("J.txt");
  std::string number = journal.substr(5, journal.find(' ', 5) - 5);
  EXPECT_EQ(journal, "open " + number + " PRD\nclose " + number + "\n");
}

TEST_F(NwConnectionTest, ARefusedLogonCarriesTheLibrarysMessage) {
  ConnectionProfile profile = PrdProfile();
  profile.password = "wrong";
  Status status = Open(profile);
  EXPECT_EQ(status.message(),
            "Error 1011: RFC-Open for PRD failed ! - Name or password is incorrect (repeat logon)");
  EXPECT_TRUE(notices.empty());
}

TEST_F(NwConnectionTest, ADestinationFileIsTheLogonsAndNoSharedFileIsWritten) {
  ConnectionProfile profile = PrdProfile();
  profile.hostname = "elsewhere";
  folder.Write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  ASSERT_TRUE(Open(profile).ok());
  EXPECT_EQ(notices, std::vector<std::string>{"PRD"});
  EXPECT_FALSE(folder.Exists("SapRfc.ini"));
}

TEST_F(NwConnectionTest, ADestinationFileThatCannotBeReadReachesNoLogon) {
  // Larger than a destination file may be: refused before the library is called.
  folder.Write("SapRfc.PRD", "DEST=PRD\n" + std::string(70000, '#'));
  Status status = Open();
  EXPECT_EQ(status.message(), "Error 1011: RFC-Open for PRD failed !");
  EXPECT_EQ(notices, std::vector<std::string>{"PRD"});
  EXPECT_FALSE(folder.Exists("J.txt"));
}

}  // namespace
}  // namespace vaultgauge
