#include "measure/current_sizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "measure/tablespace_sums.h"
#include "support/fake_rfc_api.h"
#include "support/table_rows.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

std::vector<uint8_t> Row(const std::string& name, uint64_t size_kb, uint64_t free_kb,
                         uint8_t sign = 0xC) {
  return TableXpcRow(name, size_kb, free_kb, sign);
}

class MeasureTest : public ::testing::Test {
 protected:
  MeasureTest()
      : stream_(std::tmpfile()),
        document_(MakeDocumentWriter(OutputMode::kExeXml, {}, stream_)),
        session_(library_, TracePoints(false)) {
    library_.rows = {Row("PSAPSR3", 52428800, 10485760), Row("SYSTEM", 1048576, 20480),
                     Row("PSAPUNDO", 10240000, 9000000)};
  }
  ~MeasureTest() override { std::fclose(stream_); }

  Status Measure(bool gigabyte = false) {
    SizesReport report(*document_, "PRD", gigabyte);
    return MeasureCurrentSizes(session_, 7, report);
  }

  std::string Document() {
    document_->Flush();
    return StreamContents(stream_);
  }

  std::FILE* stream_;
  std::unique_ptr<DocumentWriter> document_;
  FakeRfcApi library_;
  RfcSession session_;
};

TEST_F(MeasureTest, WritesHeadTextAndChannels) {
  ASSERT_TRUE(Measure().ok());
  EXPECT_EQ(
      Document(),
      "\n<Prtg>\n"
      "\n<Text>(PRD) OraSizes: NoSpc=3, DataSz=63.717 MB, FreeSz=19.506 MB, Usage=70% </Text>\n"
      "\n<Result><Channel>PSAPSR3</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>MByte</CustomUnit>\n<Value>52428</Value></Result>\n"
      "\n<Result><Channel>SYSTEM</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>MByte</CustomUnit>\n<Value>1048</Value></Result>\n"
      "\n<Result><Channel>PSAPUNDO</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>MByte</CustomUnit>\n<Value>10240</Value></Result>\n");  // the tail is the run's
  EXPECT_EQ(library_.installed, (std::vector<std::string>{"DATE_TIME", "TABLE_XPC"}));
  using P = RecordedParameter;
  EXPECT_EQ(library_.tables, (std::vector<P>{{"TS", 2, library_.installed_type, 112}}));
  EXPECT_EQ(library_.importing, (std::vector<P>{{"CURR_DATE", 9, TYPDATE, 8},
                                                {"CURR_TIME", 9, TYPTIME, 6},
                                                {"DATETIME", 8, library_.installed_type, 14}}));
}

TEST_F(MeasureTest, GigabytesChangeTheChannelsOnly) {
  ASSERT_TRUE(Measure(/*gigabyte=*/true).ok());
  std::string document = Document();
  EXPECT_NE(document.find("DataSz=63.717 MB"), std::string::npos);
  EXPECT_NE(document.find("<CustomUnit>GByte</CustomUnit>\n<Value>52</Value>"), std::string::npos);
  EXPECT_NE(document.find("<CustomUnit>GByte</CustomUnit>\n<Value>1</Value>"), std::string::npos);
}

TEST_F(MeasureTest, ItemReportWritesTheItemsChannelNamedAfterTheSystem) {
  struct Case {
    const char* item;
    bool found;
    const char* written;
  } cases[] = {
      {"psapundo", true, "\n> PRD.P00: 10240 MByte"},
      {"PSAPUSER", false, ""},
  };
  for (const Case& c : cases) {
    std::FILE* stream = std::tmpfile();
    auto document = MakeDocumentWriter(OutputMode::kOrmilux, {}, stream);
    ItemReport report(*document, c.item, "PRD.P00", false);
    ASSERT_TRUE(MeasureCurrentSizes(session_, 7, report).ok());
    EXPECT_EQ(report.item_found(), c.found) << c.item;
    EXPECT_EQ(StreamContents(stream), c.written) << c.item;
    std::fclose(stream);
  }
}

TEST_F(MeasureTest, InstallsTheStructuresOncePerProcess) {
  ASSERT_TRUE(Measure().ok());
  ASSERT_TRUE(Measure().ok());
  EXPECT_EQ(library_.installed.size(), 2u);  // DATE_TIME and TABLE_XPC, the first time only
  EXPECT_EQ(library_.creates, 2);
  EXPECT_EQ(library_.deletes, 2);
}

TEST_F(MeasureTest, FailedCallsNameTheirResultAndDeleteTheTable) {
  struct Case {
    RFC_RC call, receive;
    const char* exception;
    const char* message;
  } cases[] = {
      {RFC_FAILURE, RFC_OK, nullptr, "Error 1014: RFC-Failure raised !"},
      {RFC_OK, RFC_FAILURE, nullptr, "Error 1014: RFC-Failure raised !"},
      {RFC_OK, RFC_EXCEPTION, "NO_DATA_FOUND", "Error 1012: Exception.: NO_DATA_FOUND"},
      {RFC_OK, RFC_SYS_EXCEPTION, "SYSTEM_FAILURE", "Error 1013: Sys-Exception raised !"},
      {RFC_OK, RFC_CLOSED, nullptr, "Error 1015: Other Failure raised !"},
      {RFC_TIMEOUT, RFC_OK, nullptr, "Error 1015: Other Failure raised !"},
  };
  for (const Case& c : cases) {
    library_.call_result = c.call;
    library_.receive_result = c.receive;
    library_.exception = c.exception;
    library_.calls.clear();
    Status status = Measure();
    EXPECT_TRUE(status.is_rfc_failure());
    EXPECT_EQ(status.message(), c.message);
    EXPECT_EQ(library_.calls.back(), "ItDelete");
    bool received = std::find(library_.calls.begin(), library_.calls.end(), "RfcReceive") !=
                    library_.calls.end();
    EXPECT_EQ(received, c.call == RFC_OK);
  }
  EXPECT_EQ(Document(), "");  // no head, text or channel
}

TEST_F(MeasureTest, ACorruptSizeWritesNothing) {
  library_.rows.push_back(Row("BROKEN", 5, 1, 0xD));
  Status status = Measure();
  EXPECT_EQ(status.kind(), Status::Kind::kError);
  EXPECT_EQ(status.message(), "Error 1016: Invalid size in row 4 of table TS (BROKEN) !");
  EXPECT_EQ(Document(), "");
  EXPECT_EQ(library_.deletes, 1);
}

TEST_F(MeasureTest, LibraryFailuresNameTheOperation) {
  struct Case {
    const char* name;
    void (*arrange)(FakeRfcApi&);
    const char* operation;
    int deletes;
  } cases[] = {
      {"install", [](FakeRfcApi& l) { l.install_result = RFC_MEMORY_INSUFFICIENT; },
       "RfcInstallStructure", 1},
      {"create", [](FakeRfcApi& l) { l.fail_create = true; }, "ItCreate TS", 0},
      {"first row", [](FakeRfcApi& l) { l.fail_get_line = 1; }, "ItGetLine TS", 1},
      {"delete", [](FakeRfcApi& l) { l.fail_delete = true; }, "ItDelete TS", 1},
      {"delete after a failed call",
       [](FakeRfcApi& l) {
         l.fail_delete = true;
         l.call_result = RFC_FAILURE;
       },
       "ItDelete TS", 1},
  };
  for (const Case& c : cases) {
    FakeRfcApi library;
    library.rows = {Row("A", 1, 0)};
    c.arrange(library);
    RfcSession session(library, TracePoints(false));
    SizesReport report(*document_, "PRD", false);
    Status status = MeasureCurrentSizes(session, 7, report);
    EXPECT_TRUE(status.is_library_error()) << c.name;
    EXPECT_EQ(status.message(), c.operation) << c.name;
    EXPECT_EQ(library.deletes, c.deletes) << c.name;
  }
}

}  // namespace
}  // namespace vaultgauge
