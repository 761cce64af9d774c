#include "output/output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vaultgauge {
namespace {

// An Output writing into a temporary file, with the written text at hand.
class OutputTest : public ::testing::Test {
 protected:
  OutputTest() : stream_(std::tmpfile()), output_(stream_, parameter_text_) {}
  ~OutputTest() override { std::fclose(stream_); }

  std::string Written() {
    std::fflush(stream_);
    std::rewind(stream_);
    std::string text;
    int c;
    while ((c = std::getc(stream_)) != EOF) text += static_cast<char>(c);
    return text;
  }

  // Writes a document for system PRD with the given channels, the way the
  // measurement does.
  std::string Document(OutputMode mode, const std::string& parameters,
                       std::initializer_list<std::pair<const char*, const char*>> channels,
                       const char* unit = "MByte") {
    parameter_text_ = parameters;
    output_.set_mode(mode);
    output_.OutputHead();
    output_.OutputTextOpen();
    output_.AppendText("(PRD) OraSizes: NoSpc=2 ");
    output_.OutputTextClose();
    output_.OutputFlush();
    for (const auto& [name, value] : channels) {
      output_.OutputChannel(name, value, unit);
      output_.OutputFlush();
    }
    output_.OutputTail();
    output_.PrintBuffer();
    return Written();
  }

  std::FILE* stream_;
  std::string parameter_text_;
  Output output_;
};

TEST_F(OutputTest, XmlModesWriteTheSameDocument) {
  const std::string expected =
      "\n<Prtg>\n"
      "\n<Text>(PRD) OraSizes: NoSpc=2 </Text>\n"
      "\n<Result><Channel>PSAPSR3</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
      "\n<Value>52428</Value></Result>\n"
      "\n<Result><Channel>SYSTEM</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>MByte</CustomUnit>"
      "\n<Value>1048</Value></Result>\n"
      "\n</Prtg>\n";
  for (OutputMode mode : {OutputMode::kExeXml, OutputMode::kGlimora, OutputMode::kTessvar}) {
    std::rewind(stream_);
    EXPECT_EQ(
        Document(mode, "", {{"PSAPSR3", "52428"}, {"SYSTEM", "1048"}}).substr(0, expected.size()),
        expected)
        << OutputModeKeyword(mode);
  }
}

TEST_F(OutputTest, HalvenorWritesMessageAndStatisticLines) {
  EXPECT_EQ(Document(OutputMode::kHalvenor, "", {{"PSAPSR3 (old):A/B", "52428"}, {"A.B.C", "7"}}),
            "\n# (PRD) OraSizes: NoSpc=2 "
            "\n\nMessage.PSAPSR3__old__A_B: PSAPSR3 (old):A/B (MByte)"
            "\nStatistic.PSAPSR3__old__A_B: 52428"
            "\n\nMessage.A_B.C: A.B.C (MByte)\nStatistic.A_B.C: 7"
            "\n");
}

TEST_F(OutputTest, OrmiluxWritesNameValueLines) {
  EXPECT_EQ(Document(OutputMode::kOrmilux, "", {{"PSAPSR3", "52428"}, {"SYSTEM", "1048"}}),
            "\n# (PRD) OraSizes: NoSpc=2 \n> PSAPSR3: 52428 MByte\n> SYSTEM: 1048 MByte\n");
}

TEST_F(OutputTest, OrmiluxWithChannelSelectionWritesTheBareValue) {
  struct Case {
    const char* parameters;
    const char* written;
  } cases[] = {
      {"CH=2", "1048\n"}, {"X,CH=1,SYSLOG", "52428\n"}, {"CH=3", "\n"},    {"CH=0", "\n"},
      {"CH=X", "\n"},     {"CH= 2", "1048\n"},          {"CH=0002", "\n"},  // three characters:
                                                                            // "000"
  };
  for (const Case& c : cases) {
    std::FILE* fresh = std::tmpfile();
    std::string parameters = c.parameters;
    Output output(fresh, parameters);
    output.set_mode(OutputMode::kOrmilux);
    output.OutputHead();
    output.OutputTextOpen();
    output.AppendText("(PRD) OraSizes");
    output.OutputTextClose();
    output.OutputFlush();
    output.OutputChannel("PSAPSR3", "52428", "MByte");
    output.OutputFlush();
    output.OutputChannel("SYSTEM", "1048", "MByte");
    output.OutputFlush();
    output.OutputTail();
    output.PrintBuffer();
    std::rewind(fresh);
    char text[64] = {};
    size_t n = std::fread(text, 1, sizeof text - 1, fresh);
    std::fclose(fresh);
    EXPECT_EQ(std::string(text, n), c.written) << c.parameters;
  }
}

TEST_F(OutputTest, ChannelSelectionReadsAtMostThreeCharactersUpToAComma) {
  parameter_text_ = "CH=12,SYSLOG";
  output_.set_mode(OutputMode::kOrmilux);
  for (int i = 1; i <= 130; ++i) output_.OutputChannel("T", std::to_string(i), "");
  EXPECT_EQ(output_.buffer().text(), "12");
  parameter_text_ = "CH=1234";
  output_.Clear();
  for (int i = 131; i <= 200; ++i) output_.OutputChannel("T", std::to_string(i), "");
  EXPECT_EQ(output_.buffer().text(), "");  // 123 had passed already: counting never restarts
}

TEST_F(OutputTest, HalvenorWritesOnlyTheFirstTenChannelsButCountsAll) {
  output_.set_mode(OutputMode::kHalvenor);
  for (int i = 1; i <= 12; ++i) output_.OutputChannel("T" + std::to_string(i), "1", "");
  EXPECT_EQ(output_.ChannelCounter(), 12u);
  EXPECT_NE(output_.buffer().text().find("Statistic.T10: 1"), std::string::npos);
  EXPECT_EQ(output_.buffer().text().find("T11"), std::string::npos);
}

TEST_F(OutputTest, UnitsInEachFamily) {
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
    output_.Clear();
    output_.set_mode(c.mode);
    output_.OutputChannel("C", "5", c.unit);
    EXPECT_EQ(output_.buffer().text(), c.written) << OutputModeKeyword(c.mode) << " " << c.unit;
  }
}

TEST_F(OutputTest, HeadReplacesTheBufferInEveryMode) {
  for (OutputMode mode : {OutputMode::kExeXml, OutputMode::kHalvenor, OutputMode::kOrmilux}) {
    output_.set_mode(mode);
    output_.Append("left over");
    output_.OutputHead();
    EXPECT_EQ(output_.buffer().text(), IsXmlMode(mode) ? "\n<Prtg>\n" : "");
  }
}

TEST_F(OutputTest, OrmiluxChannelSelectionDiscardsHeadAndText) {
  EXPECT_EQ(Document(OutputMode::kOrmilux, "X,CH=1", {{"PSAPSR3", "52428"}}), "52428\n");
}

TEST_F(OutputTest, ErrorDocumentIsTheSameInEveryMode) {
  for (OutputMode mode : {OutputMode::kExeXml, OutputMode::kHalvenor, OutputMode::kOrmilux}) {
    output_.set_mode(mode);
    output_.OutputError("");
    EXPECT_EQ(output_.buffer().text(), "<Prtg>\n<Error>1</Error>\n<Text></Text>\n</Prtg>\n");
    EXPECT_EQ(output_.buffer().text().size(), 46u);
    output_.OutputError("Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(output_.buffer().text(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing "
              "!</Text>\n</Prtg>\n");
  }
}

TEST_F(OutputTest, ErrorDocumentReadsAMessageThatIsTheBuffersOwnText) {
  output_.Append("Error 1014: RFC-Failure raised ! - connection refused");
  output_.OutputError(output_.buffer().text());
  EXPECT_EQ(output_.buffer().text(),
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - connection "
            "refused</Text>\n</Prtg>\n");
}

TEST_F(OutputTest, MarkupCharactersAreEscapedInXmlOnly) {
  output_.OutputError("a<b>&c");
  EXPECT_EQ(output_.buffer().text(),
            "<Prtg>\n<Error>1</Error>\n<Text>a&lt;b&gt;&amp;c</Text>\n</Prtg>\n");

  output_.Clear();
  output_.OutputTextOpen();
  output_.AppendText("(A&B) x<y");
  output_.OutputChannel("TS<1>&", "1", "MByte");
  EXPECT_EQ(output_.buffer().text(),
            "\n<Text>(A&amp;B) x&lt;y"
            "\n<Result><Channel>TS&lt;1&gt;&amp;</Channel>\n<Unit>Custom</Unit>"
            "\n<CustomUnit>MByte</CustomUnit>\n<Value>1</Value></Result>\n");

  output_.set_mode(OutputMode::kOrmilux);
  output_.Clear();
  output_.OutputTextOpen();
  output_.AppendText("(A&B) x<y");
  output_.OutputChannel("TS<1>&", "1", "MByte");
  EXPECT_EQ(output_.buffer().text(), "\n# (A&B) x<y\n> TS<1>&: 1 MByte");
}

TEST_F(OutputTest, BufferNeverPassesItsCapacity) {
  output_.Append(std::string(4000, 'a'));
  output_.Append(std::string(200, 'b'));
  EXPECT_EQ(output_.buffer().text().size(), OutputBuffer::kMaxLength);
  EXPECT_EQ(output_.buffer().text().back(), 'b');

  // A long message is cut inside the text; the document keeps its frame, and
  // an entity is never cut in half.
  output_.OutputError(std::string(5000, '&'));
  const std::string& text = output_.buffer().text();
  EXPECT_LE(text.size(), OutputBuffer::kMaxLength);
  EXPECT_EQ(text.substr(text.size() - 16), "</Text>\n</Prtg>\n");
  EXPECT_EQ(text.substr(text.size() - 21, 5), "&amp;");
}

TEST(ChannelKeyTest, ReplacesSeparatorsAndTheFirstFullStop) {
  EXPECT_EQ(ChannelKey("PSAPSR3 (old):A/B"), "PSAPSR3__old__A_B");
  EXPECT_EQ(ChannelKey("A.B.C"), "A_B.C");
  EXPECT_EQ(ChannelKey("[x]*\\-y"), "_x____y");
  EXPECT_EQ(ChannelKey(std::string(200, 'k')).size(), 123u);
}

}  // namespace
}  // namespace vaultgauge
