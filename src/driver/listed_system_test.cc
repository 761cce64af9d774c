#include "driver/listed_system.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

// What a copy of the program sends back must arrive as it was sent, whatever
// bytes its texts hold.
TEST(OutcomeTextTest, ComesBackAsItWasSent) {
  RecordedChannel plain;
  plain.name = "PRD.P00";
  plain.value = "10240";
  plain.unit = "MByte";
  RecordedChannel percent;
  percent.name = "name with \\ and\nline\r end";
  percent.value = "99.9";
  percent.unit = "%";
  percent.kind = ChannelKind::kPercent;
  percent.limits = ChannelLimits{85u, 95u};
  percent.warning = true;
  RecordedChannel error_only = percent;
  error_only.limits = ChannelLimits{std::nullopt, 0u};

  struct Case {
    const char* name;
    SystemOutcome outcome;
    Status ending;
  } cases[] = {
      {"a failed system", SystemOutcome{SystemState::kRfcFailure, std::nullopt, std::nullopt},
       Status::Ok()},
      {"a channel", SystemOutcome{SystemState::kProcessed, plain, std::string("PRD")},
       Status::Ok()},
      {"limits and a warning", SystemOutcome{SystemState::kProcessed, percent, std::nullopt},
       Status::Ok()},
      {"an error limit alone", SystemOutcome{SystemState::kNotFound, error_only, std::nullopt},
       Status::Ok()},
      {"an ending failure", SystemOutcome{}, Status::Error("Error 1018: DataBase mismatch !")},
      {"the error report after a channel",
       SystemOutcome{SystemState::kRfcFailure, plain, std::nullopt},
       Status::ErrorReport("RFC error\nkey : \\x\r\n* Programm aborted...\n")},
  };
  for (const Case& c : cases) {
    SystemOutcome decoded;
    Status ending;
    ASSERT_TRUE(DecodeOutcome(EncodeOutcome(c.outcome, c.ending), &decoded, &ending)) << c.name;
    EXPECT_EQ(ending.kind(), c.ending.kind()) << c.name;
    EXPECT_EQ(ending.message(), c.ending.message()) << c.name;
    if (c.ending.kind() == Status::Kind::kError) continue;  // the failure alone travels
    if (c.ending.ok()) {
      EXPECT_EQ(decoded.state, c.outcome.state) << c.name;
      EXPECT_EQ(decoded.destination_file, c.outcome.destination_file) << c.name;
    }
    ASSERT_EQ(decoded.channel.has_value(), c.outcome.channel.has_value()) << c.name;
    if (!decoded.channel) continue;
    const RecordedChannel& got = *decoded.channel;
    const RecordedChannel& sent = *c.outcome.channel;
    EXPECT_EQ(got.name, sent.name) << c.name;
    EXPECT_EQ(got.value, sent.value) << c.name;
    EXPECT_EQ(got.unit, sent.unit) << c.name;
    EXPECT_EQ(got.kind, sent.kind) << c.name;
    EXPECT_EQ(got.warning, sent.warning) << c.name;
    ASSERT_EQ(got.limits.has_value(), sent.limits.has_value()) << c.name;
    if (got.limits) {
      EXPECT_EQ(got.limits->max_warning, sent.limits->max_warning) << c.name;
      EXPECT_EQ(got.limits->max_error, sent.limits->max_error) << c.name;
    }
  }
}

TEST(OutcomeTextTest, RefusesWhatNoCopyWrites) {
  for (const char* text :
       {"", "state processed", "state maybe\n", "nonsense x\n", "state processed\nwhatever\n"}) {
    SystemOutcome outcome;
    Status ending;
    EXPECT_FALSE(DecodeOutcome(text, &outcome, &ending)) << text;
  }
}

}  // namespace
}  // namespace vaultgauge
