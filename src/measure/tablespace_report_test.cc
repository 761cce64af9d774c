#include "measure/tablespace_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "support/test_folder.h"
#include "util/messages.h"

namespace vaultgauge {
namespace {

// Table TS as a list of rows; a row number in `corrupt` fails to read.
class ListedTable : public TablespaceTable {
 public:
  explicit ListedTable(std::vector<Tablespace> rows, unsigned corrupt = 0)
      : rows_(std::move(rows)), corrupt_(corrupt) {}
  unsigned RowCount() override { return static_cast<unsigned>(rows_.size()); }
  Status ReadRow(unsigned number, Tablespace* tablespace) override {
    if (number == corrupt_) return Status::Error(Message(MessageId::kInvalidSize, {"x", "y"}));
    *tablespace = rows_[number - 1];
    return Status::Ok();
  }

 private:
  std::vector<Tablespace> rows_;
  unsigned corrupt_;
};

Tablespace Row(const std::string& name, int64_t size, int64_t free,
               const std::string& status = "ONLINE") {
  Tablespace tablespace;
  tablespace.name = name;
  tablespace.size_kb = size;
  tablespace.free_kb = free;
  tablespace.status = status;
  return tablespace;
}

class FullnessReportTest : public ::testing::Test {
 protected:
  FullnessReportTest() : stream_(std::tmpfile()) {}
  ~FullnessReportTest() override { std::fclose(stream_); }

  // The document of `rows` in `mode`, with limits 80/90 and `settings` else.
  std::string Document(OutputMode mode, std::vector<Tablespace> rows, FullnessSettings settings,
                       unsigned corrupt = 0) {
    settings.limits.max_warning = 80;
    settings.limits.max_error = 90;
    std::unique_ptr<DocumentWriter> writer = MakeDocumentWriter(mode, {}, stream_);
    FullnessReport report(*writer, "PRD", std::move(settings));
    ListedTable table(std::move(rows), corrupt);
    status_ = ReportTablespaces(table, report);
    writer->Flush();  // the XML modes hold the document until then
    return StreamContents(stream_);
  }

  std::FILE* stream_;
  Status status_;
};

// "\n<Result><Channel>NAME</Channel>...<Value>VALUE</Value></Result>\n"
std::string XmlChannel(const std::string& name, const std::string& value, bool warning = false) {
  return "\n<Result><Channel>" + name +
         "</Channel>\n<Unit>Percent</Unit>\n<Float>1</Float>\n<LimitMode>1</LimitMode>"
         "\n<LimitMaxWarning>80</LimitMaxWarning>\n<LimitMaxError>90</LimitMaxError>" +
         (warning ? "\n<Warning>1</Warning>" : "") + "\n<Value>" + value + "</Value></Result>\n";
}

TEST_F(FullnessReportTest, UsedSharesWithLimitsWarningsAndTheTextAsBefore) {
  FullnessSettings settings;
  settings.skipped = {"PSAPTEMP"};
  std::string document =
      Document(OutputMode::kExeXml,
               {Row("PSAPSR3", 52428800, 10485760), Row("PSAPTEMP", 100, 0, "OFFLINE"),
                Row("Users", 3, 1, "READ ONLY"), Row("EMPTY", 0, 0), Row("ODD", 100, 150)},
               settings);
  ASSERT_TRUE(status_.ok());
  EXPECT_EQ(document,
            "\n<Prtg>\n\n<Text>(PRD) OraSizes: NoSpc=5, DataSz=52.429 MB, FreeSz=10.485 MB, "
            "Usage=80% , not online: PSAPTEMP, Users</Text>\n" +
                XmlChannel("PSAPSR3", "80.0") + XmlChannel("Users", "66.6", true) +
                XmlChannel("EMPTY", "0.0") + XmlChannel("ODD", "0.0"));
}

TEST_F(FullnessReportTest, BeyondTheLimitTheFullestStayInTheAnswersOrder) {
  FullnessSettings settings;
  settings.channel_limit = 3;
  settings.skipped = {"SKIPPED"};
  std::vector<Tablespace> rows = {Row("A", 100, 50), Row("B", 100, 10), Row("SKIPPED", 100, 0),
                                  Row("C", 100, 50), Row("D", 100, 90), Row("E", 100, 5)};
  std::string document = Document(OutputMode::kExeXml, rows, settings);
  // B (90 %) and E (95 %), then of A and C (50 % each) the earlier.
  EXPECT_EQ(document,
            "\n<Prtg>\n\n<Text>(PRD) OraSizes: NoSpc=6, DataSz=0 MB, FreeSz=0 MB, Usage=66% , "
            "channels left out: 2 (3 fullest shown)</Text>\n" +
                XmlChannel("A", "50.0") + XmlChannel("B", "90.0") + XmlChannel("E", "95.0"));
}

TEST_F(FullnessReportTest, AtTheLimitNothingIsLeftOut) {
  FullnessSettings settings;
  settings.channel_limit = 2;
  std::string document =
      Document(OutputMode::kExeXml, {Row("A", 100, 50), Row("B", 100, 10)}, settings);
  EXPECT_EQ(document.find("left out"), std::string::npos);
  EXPECT_NE(document.find("<Channel>A<"), std::string::npos);
  EXPECT_NE(document.find("<Channel>B<"), std::string::npos);
}

TEST_F(FullnessReportTest, LineModesWriteValueAndPerCentSign) {
  std::vector<Tablespace> rows = {Row("PSAPSR3", 3, 1), Row("OLD", 10, 0, "OFFLINE")};
  EXPECT_EQ(Document(OutputMode::kOrmilux, rows, FullnessSettings()),
            "\n# (PRD) OraSizes: NoSpc=2, DataSz=0 MB, FreeSz=0 MB, Usage=93% , not online: OLD"
            "\n> PSAPSR3: 66.6 %\n> OLD: 100.0 %");
}

TEST_F(FullnessReportTest, ACorruptRowWritesNothing) {
  std::string document =
      Document(OutputMode::kExeXml, {Row("A", 100, 50), Row("B", 100, 10)}, FullnessSettings(), 2);
  EXPECT_FALSE(status_.ok());
  EXPECT_EQ(document, "");
}

TEST(NotOnlineTextTest, NamesUpToItsLimitThenACount) {
  EXPECT_EQ(NotOnlineText({}), "");
  EXPECT_EQ(NotOnlineText({"A"}), ", not online: A");
  EXPECT_EQ(NotOnlineText({"A", ""}), ", not online: A, ");
  std::vector<std::string> many(200, std::string(30, 'N'));
  std::string text = NotOnlineText(many);
  EXPECT_LE(text.size(), 1000u + std::string(" and 200 more").size());
  EXPECT_EQ(text.substr(text.size() - 13), " and 170 more");
}

TEST(ItemReportTest, TheItemsUsedShareWithItsLimits) {
  std::FILE* stream = std::tmpfile();
  {
    std::unique_ptr<DocumentWriter> writer = MakeDocumentWriter(OutputMode::kExeXml, {}, stream);
    ChannelLimits limits;
    limits.max_warning = 80;
    limits.max_error = 90;
    ItemReport report(*writer, "psapundo", "PRD.P00", false, limits);
    ListedTable table({Row("PSAPSR3", 100, 0), Row("PSAPUNDO", 1000, 1, "OFFLINE")});
    ASSERT_TRUE(ReportTablespaces(table, report).ok());
    EXPECT_TRUE(report.item_found());
    writer->Flush();
  }
  EXPECT_EQ(StreamContents(stream), XmlChannel("PRD.P00", "99.9", true));
  std::fclose(stream);
}

}  // namespace
}  // namespace vaultgauge
