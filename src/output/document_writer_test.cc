#include "output/document_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/test_folder.h"

namespace vaultgauge {
namespace {

using Channels = std::vector<std::pair<std::string, std::string>>;

// A writer of `mode` into a temporary file, with what it wrote at hand.
class Written {
 public:
  explicit Written(OutputMode mode, ChannelSelection selection = {})
      : stream_(std::tmpfile()), writer_(MakeDocumentWriter(mode, selection, stream_)) {}
  ~Written() { std::fclose(stream_); }

  DocumentWriter& writer() { return *writer_; }
  std::string text() {
    writer_->Flush();
    return StreamContents(stream_);
  }

 private:
  std::FILE* stream_;
  std::unique_ptr<DocumentWriter> writer_;
};

// The single-system document of PRD with `channels`.
std::string SystemDocument(OutputMode mode, const Channels& channels,
                           ChannelSelection selection = {}, const char* unit = "MByte") {
  Written written(mode, selection);
  written.writer().BeginSystem("(PRD) OraSizes: NoSpc=2 ");
  for (const auto& [name, value] : channels) written.writer().Channel(name, value, unit);
  written.writer().EndSystem();
  return written.text();
}

TEST(DocumentWriterTest, XmlModesWriteTheSameDocument) {
  const std::string expected =
      "\n<Prtg>\n"
      "\n<Text>(PRD) OraSizes: NoSpc=2 </Text>\n"
      "\n<Result><Channel>PSAPSR3</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
      "\n<Value>52428</Value></Result>\n"
      "\n<Result><Channel>SYSTEM</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
      "\n<Value>1048</Value></Result>\n"
      "\n</Prtg>\n";
  for (OutputMode mode : {OutputMode::kExeXml, OutputMode::kGlimora, OutputMode::kTessvar}) {
    EXPECT_EQ(SystemDocument(mode, {{"PSAPSR3", "52428"}, {"SYSTEM", "1048"}}), expected)
        << OutputModeKeyword(mode);
  }
}

TEST(DocumentWriterTest, LineModes) {
  EXPECT_EQ(SystemDocument(OutputMode::kHalvenor, {{"PSAPSR3 (old):A/B", "52428"}, {"A.B.C", "7"}}),
            "\n# (PRD) OraSizes: NoSpc=2 "
            "\n\nMessage.PSAPSR3__old__A_B: PSAPSR3 (old):A/B (MByte)"
            "\nStatistic.PSAPSR3__old__A_B: 52428"
            "\n\nMessage.A_B.C: A.B.C (MByte)\nStatistic.A_B.C: 7"
            "\n");
  EXPECT_EQ(SystemDocument(OutputMode::kOrmilux, {{"PSAPSR3", "52428"}, {"SYSTEM", "1048"}}),
            "\n# (PRD) OraSizes: NoSpc=2 \n> PSAPSR3: 52428 MByte\n> SYSTEM: 1048 MByte\n");
}

TEST(DocumentWriterTest, ListDocumentSetsHeadAndSummaryApart) {
  struct Case {
    OutputMode mode;
    const char* written;
  } cases[] = {
      {OutputMode::kExeXml,
       "\n<Prtg>\n\n"
       "\n<Result><Channel>PRD.P00</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
       "\n<Value>7</Value></Result>\n"
       "\n<Text>(***) X: NoSystems=1</Text>\n\n</Prtg>\n\n"},
      {OutputMode::kOrmilux, "\n\n> PRD.P00: 7 MByte\n# (***) X: NoSystems=1\n\n"},
  };
  for (const Case& c : cases) {
    Written written(c.mode);
    written.writer().BeginList();
    written.writer().Channel("PRD.P00", "7", "MByte");
    written.writer().EndList("(***) X: NoSystems=1");
    EXPECT_EQ(written.text(), c.written) << OutputModeKeyword(c.mode);
  }
}

TEST(DocumentWriterTest, OrmiluxWithChannelSelectionWritesTheBareValue) {
  struct Case {
    long long selected;
    const char* written;
  } cases[] = {{2, "1048\n"}, {1, "52428\n"}, {3, "\n"}, {0, "\n"}};
  for (const Case& c : cases) {
    EXPECT_EQ(SystemDocument(OutputMode::kOrmilux, {{"PSAPSR3", "52428"}, {"SYSTEM", "1048"}},
                             ChannelSelection{true, c.selected}),
              c.written)
        << c.selected;
  }
}

TEST(DocumentWriterTest, ChannelSelectionCountsEveryChannelOfTheRun) {
  Written written(OutputMode::kOrmilux, ChannelSelection{true, 12});
  written.writer().BeginList();
  for (int i = 1; i <= 130; ++i) written.writer().Channel("T", std::to_string(i), "");
  EXPECT_EQ(written.text(), "\n12");
}

TEST(DocumentWriterTest, HalvenorWritesOnlyTheFirstTenChannels) {
  Channels channels;
  for (int i = 1; i <= 12; ++i) channels.emplace_back("T" + std::to_string(i), "1");
  std::string text = SystemDocument(OutputMode::kHalvenor, channels);
  EXPECT_NE(text.find("Statistic.T10: 1"), std::string::npos);
  EXPECT_EQ(text.find("T11"), std::string::npos);
}

TEST(DocumentWriterTest, UnitsInEachFamily) {
  struct Case {
    OutputMode mode;
    const char* unit;
    const char* written;
  } cases[] = {
      {OutputMode::kExeXml, "", "\n<Result><Channel>C</Channel>\n<Value>5</Value></Result>\n"},
      {OutputMode::kExeXml, "PerCent",
       "\n<Result><Channel>C</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>"
       "\n<Value>5</Value></Result>\n"},
      {OutputMode::kHalvenor, "", "\n\nMessage.C: C (#)\nStatistic.C: 5"},
      {OutputMode::kHalvenor, "PerCent", "\n\nMessage.C: C (%)\nStatistic.C: 5"},
      {OutputMode::kOrmilux, "TimeResponse", "\n> C: 5 mSec"},
      {OutputMode::kOrmilux, "GByte", "\n> C: 5 GByte"},
  };
  for (const Case& c : cases) {
    Written written(c.mode);
    written.writer().Channel("C", "5", c.unit);
    EXPECT_EQ(written.text(), c.written) << OutputModeKeyword(c.mode) << " " << c.unit;
  }
}

ChannelDescription Described(std::string_view name, std::string_view value, std::string_view unit) {
  ChannelDescription channel;
  channel.name = name;
  channel.value = value;
  channel.unit = unit;
  return channel;
}

TEST(DocumentWriterTest, DescribedChannels) {
  ChannelLimits limits;
  limits.max_warning = 85;
  limits.max_error = 95;
  ChannelDescription percent = Described("PSAPSR3", "83.4", "%");
  percent.kind = ChannelKind::kPercent;
  percent.limits = limits;
  ChannelDescription offline = percent;
  offline.warning = true;
  ChannelDescription failed = Described("Failed systems", "2", "");
  failed.kind = ChannelKind::kCount;
  failed.limits = ChannelLimits();
  const ChannelDescription plain = Described("C", "5", "MByte");
  ChannelDescription custom_warning = plain;
  custom_warning.warning = true;
  struct Case {
    OutputMode mode;
    ChannelDescription channel;
    const char* written;
  } cases[] = {
      {OutputMode::kExeXml, percent,
       "\n<Result><Channel>PSAPSR3</Channel>\n<Unit>Percent</Unit>\n<Float>1</Float>"
       "\n<LimitMode>1</LimitMode>\n<LimitMaxWarning>85</LimitMaxWarning>"
       "\n<LimitMaxError>95</LimitMaxError>\n<Value>83.4</Value></Result>\n"},
      {OutputMode::kTessvar, offline,
       "\n<Result><Channel>PSAPSR3</Channel>\n<Unit>Percent</Unit>\n<Float>1</Float>"
       "\n<LimitMode>1</LimitMode>\n<LimitMaxWarning>85</LimitMaxWarning>"
       "\n<LimitMaxError>95</LimitMaxError>\n<Warning>1</Warning>"
       "\n<Value>83.4</Value></Result>\n"},
      {OutputMode::kGlimora, failed,
       "\n<Result><Channel>Failed systems</Channel>\n<Unit>Count</Unit>"
       "\n<LimitMode>1</LimitMode>\n<LimitMaxError>0</LimitMaxError>"
       "\n<Value>2</Value></Result>\n"},
      // Without anything besides, the plain channel.
      {OutputMode::kExeXml, plain,
       "\n<Result><Channel>C</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
       "\n<Value>5</Value></Result>\n"},
      {OutputMode::kExeXml, custom_warning,
       "\n<Result><Channel>C</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
       "\n<Warning>1</Warning>\n<Value>5</Value></Result>\n"},
      // The line hosts' forms carry name, value and unit only.
      {OutputMode::kHalvenor, offline, "\n\nMessage.PSAPSR3: PSAPSR3 (%)\nStatistic.PSAPSR3: 83.4"},
      {OutputMode::kOrmilux, offline, "\n> PSAPSR3: 83.4 %"},
      {OutputMode::kOrmilux, failed, "\n> Failed systems: 2 #"},
  };
  for (const Case& c : cases) {
    Written written(c.mode);
    written.writer().Channel(c.channel);
    EXPECT_EQ(written.text(), c.written) << OutputModeKeyword(c.mode) << " " << c.channel.name;
  }
}

TEST(DocumentWriterTest, DescribedChannelsCountWithTheOthers) {
  Written written(OutputMode::kOrmilux, ChannelSelection{true, 2});
  written.writer().Channel("A", "1", "MByte");
  written.writer().Channel(Described("B", "2.5", "%"));
  written.writer().Channel(Described("C", "3", "%"));
  EXPECT_EQ(written.text(), "2.5");
}

TEST(DocumentWriterTest, ErrorDocumentIsTheSameInEveryMode) {
  for (OutputMode mode : {OutputMode::kExeXml, OutputMode::kHalvenor, OutputMode::kOrmilux}) {
    Written written(mode);
    written.writer().Error("Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(written.text(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing "
              "!</Text>\n</Prtg>\n");
  }
}

TEST(DocumentWriterTest, MarkupCharactersAreEscapedInXmlOnly) {
  Written error(OutputMode::kExeXml);
  error.writer().Error("a<b>&c");
  EXPECT_EQ(error.text(), "<Prtg>\n<Error>1</Error>\n<Text>a&lt;b&gt;&amp;c</Text>\n</Prtg>\n");

  Written xml(OutputMode::kExeXml);
  xml.writer().BeginSystem("(A&B) x<y");
  xml.writer().Channel("TS<1>&", "1", "MByte");
  EXPECT_EQ(xml.text(),
            "\n<Prtg>\n\n<Text>(A&amp;B) x&lt;y</Text>\n"
            "\n<Result><Channel>TS&lt;1&gt;&amp;</Channel>\n<Unit>Custom</Unit>"
            "\n<CustomUnit>MByte</CustomUnit>\n<Value>1</Value></Result>\n");

  Written lines(OutputMode::kOrmilux);
  lines.writer().BeginSystem("(A&B) x<y");
  lines.writer().Channel("TS<1>&", "1", "MByte");
  EXPECT_EQ(lines.text(), "\n# (A&B) x<y\n> TS<1>&: 1 MByte");
}

TEST(DocumentWriterTest, PiecesNeverPassTheirLimit) {
  Written text(OutputMode::kOrmilux);
  text.writer().BeginSystem(std::string(5000, 'a'));
  EXPECT_EQ(text.text().size(), DocumentWriter::kPieceLimit);

  // A long message is cut inside the text; the document keeps its frame, and
  // an entity is never cut in half.
  Written error(OutputMode::kExeXml);
  error.writer().Error(std::string(5000, '&'));
  std::string document = error.text();
  EXPECT_LE(document.size(), DocumentWriter::kPieceLimit);
  EXPECT_EQ(document.substr(document.size() - 16), "</Text>\n</Prtg>\n");
  EXPECT_EQ(document.substr(document.size() - 21, 5), "&amp;");
}

TEST(DocumentWriterTest, AFailureInTheXmlModesGivesTheErrorDocumentAloneAfterTheProgressLines) {
  for (bool list : {false, true}) {
    Written xml(OutputMode::kGlimora);
    xml.writer().Aside("* progress\n");
    list ? xml.writer().BeginList() : xml.writer().BeginSystem("(PRD) OraSizes");
    xml.writer().Channel("PSAPSR3", "52428", "MByte");
    xml.writer().Aside("* system done\n");
    xml.writer().Error("Error 1018: DataBase mismatch !");
    xml.writer().Channel("late", "1", "");
    xml.writer().Aside("late\n");
    EXPECT_EQ(xml.text(),
              "* progress\n* system done\n<Prtg>\n<Error>1</Error>\n"
              "<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n")
        << list;
  }
}

TEST(DocumentWriterTest, TheLineModesKeepWhatWasWrittenBeforeAFailure) {
  Written lines(OutputMode::kOrmilux);
  lines.writer().BeginSystem("(PRD) OraSizes");
  lines.writer().Channel("PSAPSR3", "52428", "MByte");
  lines.writer().Error("Error 1018: DataBase mismatch !");
  EXPECT_EQ(lines.text(),
            "\n# (PRD) OraSizes\n> PSAPSR3: 52428 MByte<Prtg>\n<Error>1</Error>\n"
            "<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n");
}

TEST(DocumentWriterTest, TheErrorReportIsAnErrorDocumentInTheXmlModesOnly) {
  const std::string report = "RFC error\nkey : K<1>\n* Programm aborted...\n";
  Written xml(OutputMode::kTessvar);
  xml.writer().BeginSystem("(PRD)");
  xml.writer().ErrorReport(report);
  EXPECT_EQ(xml.text(),
            "<Prtg>\n<Error>1</Error>\n<Text>RFC error\nkey : K&lt;1&gt;\n* Programm "
            "aborted...\n</Text>\n</Prtg>\n");
  Written lines(OutputMode::kHalvenor);
  lines.writer().ErrorReport(report);
  EXPECT_EQ(lines.text(), report);
}

TEST(DocumentWriterTest, XmlTextIsUtf8WhateverTheBytes) {
  Written xml(OutputMode::kExeXml);
  xml.writer().BeginSystem("caf\xe9 / caf\xc3\xa9");
  xml.writer().Channel("PSAP\xc4", "1", "");
  xml.writer().EndSystem();
  EXPECT_EQ(xml.text(),
            "\n<Prtg>\n\n<Text>caf\xc3\xa9 / caf\xc3\xa9</Text>\n"
            "\n<Result><Channel>PSAP\xc3\x84</Channel>\n<Value>1</Value></Result>\n"
            "\n</Prtg>\n");
  Written lines(OutputMode::kOrmilux);
  lines.writer().Channel("PSAP\xc4", "1", "");
  EXPECT_EQ(lines.text(), "\n> PSAP\xc4: 1 #");
}

TEST(ChannelKeyTest, ReplacesSeparatorsAndTheFirstFullStop) {
  EXPECT_EQ(ChannelKey("PSAPSR3 (old):A/B"), "PSAPSR3__old__A_B");
  EXPECT_EQ(ChannelKey("A.B.C"), "A_B.C");
  EXPECT_EQ(ChannelKey("[x]*\\-y"), "_x____y");
  EXPECT_EQ(ChannelKey(std::string(200, 'k')).size(), 123u);
}

}  // namespace
}  // namespace vaultgauge
