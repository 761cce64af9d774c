#include "driver/startup.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

using Args = std::vector<std::string>;

CommandLine Start(const Args& arguments) {
  CommandLine command_line;
  Status status = ReadCommandLine(arguments, "03:15:07", &command_line);
  EXPECT_TRUE(status.ok()) << status.message();
  return command_line;
}

TEST(StartUpTest, BuildsTheStartLine) {
  CommandLine command_line = Start({"PRD"});
  EXPECT_EQ(command_line.start_time, "03:15:07");
  EXPECT_EQ(command_line.start_line, "* 03:15:07 SAP Vaultgauge Vers 4.3 / 29.08.22");
}

TEST(StartUpTest, RefusesAMissingOrOverLongCommandLine) {
  struct Case {
    Args arguments;
    const char* message;
  } cases[] = {
      {{}, "Error 1001: Parameter for Profile-Name is missing !"},
      {{""}, "Error 1001: Parameter for Profile-Name is missing !"},
      {{std::string(64, 'P')},
       "Error 1051: Parameter for Profile-Name is too long (more than 63 characters) !"},
      {{"PRD", std::string(100, 'a'), std::string(27, 'b')},
       "Error 1052: Parameters are too long (more than 127 characters) !"},
  };
  for (const Case& c : cases) {
    CommandLine command_line;
    Status status = ReadCommandLine(c.arguments, "03:15:07", &command_line);
    EXPECT_EQ(status.kind(), Status::Kind::kError);
    EXPECT_EQ(status.message(), c.message);
  }
}

TEST(StartUpTest, AcceptsTextsAtTheirCapacity) {
  CommandLine command_line =
      Start({std::string(63, 'P'), std::string(100, 'a'), std::string(26, 'b')});
  EXPECT_EQ(command_line.profile_name.size(), 63u);
  EXPECT_EQ(command_line.parameters.text.size(), 127u);
}

TEST(StartUpTest, JoinsArgumentsTwoAndThree) {
  struct Case {
    Args arguments;
    const char* raw;
  } cases[] = {
      {{"PRD"}, ""},
      {{"PRD", "gigabyte"}, "gigabyte"},
      {{"PRD", "gigabyte", "#"}, "gigabyte #"},
      {{"PRD", "a", "b", "c"}, "a b"},
  };
  for (const Case& c : cases) {
    CommandLine command_line = Start(c.arguments);
    EXPECT_EQ(command_line.parameters.raw_text, c.raw);
    EXPECT_EQ(command_line.parameters.text.size(), command_line.parameters.raw_text.size());
  }
}

TEST(StartUpTest, OnlyArgumentOneSetsNothing) {
  CommandLine command_line = Start({"PRD"});
  EXPECT_EQ(command_line.profile_name, "PRD");
  EXPECT_EQ(command_line.argument2, "");
  EXPECT_FALSE(command_line.parameters.item_given);
  EXPECT_FALSE(command_line.parameters.show_progress);
  EXPECT_EQ(command_line.parameters.logon.client, "");
}

TEST(StartUpTest, ItemKeywordSelectsTheProfileListWhateverArgumentOneSays) {
  CommandLine command_line = Start({"PRD", "item=Psapundo:x,GIGABYTE"});
  EXPECT_TRUE(command_line.parameters.item_given);
  EXPECT_EQ(command_line.parameters.item_name, "Psapundo x");
  EXPECT_EQ(command_line.profile_name, "Tarnwick.Prf");
  EXPECT_EQ(command_line.argument2, "item=Psapundo:x,GIGABYTE");
}

}  // namespace
}  // namespace vaultgauge
