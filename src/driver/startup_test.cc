#include "driver/startup.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

using Args = std::vector<std::string>;

SensorState Start(const Args& arguments) {
  SensorState state;
  Status status = StartUp(arguments, "03:15:07", &state);
  EXPECT_TRUE(status.ok()) << status.message();
  return state;
}

TEST(StartUpTest, BuildsTheStartLine) {
  SensorState state = Start({"PRD"});
  EXPECT_EQ(state.StartTime, "03:15:07");
  EXPECT_EQ(state.StartLine, "* 03:15:07 SAP Vaultgauge Vers 4.3 / 29.08.22");
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
    SensorState state;
    Status status = StartUp(c.arguments, "03:15:07", &state);
    EXPECT_EQ(status.kind(), Status::Kind::kError);
    EXPECT_EQ(status.message(), c.message);
  }
}

TEST(StartUpTest, AcceptsTextsAtTheirCapacity) {
  SensorState state = Start({std::string(63, 'P'), std::string(100, 'a'), std::string(26, 'b')});
  EXPECT_EQ(state.ProfileName.size(), 63u);
  EXPECT_EQ(state.ParameterText.size(), 127u);
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
    SensorState state = Start(c.arguments);
    EXPECT_EQ(state.RawParameterText, c.raw);
    EXPECT_EQ(state.ParameterText.size(), state.RawParameterText.size());
  }
}

TEST(StartUpTest, OnlyArgumentOneSetsNothing) {
  SensorState state = Start({"PRD"});
  EXPECT_EQ(state.ProfileName, "PRD");
  EXPECT_FALSE(state.ItemMode);
  EXPECT_FALSE(state.ShowProgress);
  EXPECT_EQ(state.ClientOverride, "");
  EXPECT_EQ(state.ItemName, "");
}

TEST(StartUpTest, ItemKeywordSelectsTheProfileList) {
  SensorState state = Start({"PRD", "item=Psapundo:x,GIGABYTE"});
  EXPECT_TRUE(state.ItemMode);
  EXPECT_EQ(state.ItemName, "Psapundo x");
  EXPECT_EQ(state.ProfileName, "Tarnwick.Prf");
  EXPECT_EQ(state.ParameterText, "ITEM=PSAPUNDO:X,GIGABYTE");

  EXPECT_EQ(Start({"x", "ITEM=PSAPSR3 more"}).ItemName, "PSAPSR3");
  EXPECT_EQ(Start({"x", "ITEM="}).ItemName, "");
  EXPECT_EQ(Start({"x", "ITEM=" + std::string(100, 'T')}).ItemName, std::string(90, 'T'));
}

TEST(StartUpTest, ClientOverrideTakesThreeCharacters) {
  struct Case {
    const char* parameters;
    const char* client;
  } cases[] = {
      {"client=100", "100"}, {"X,CLIENT=0001", "000"}, {"CLIENT=1", "1"},
      {"CLIENT=", ""},       {"clients", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Start({"PRD", c.parameters}).ClientOverride, c.client);
}

TEST(StartUpTest, ProgressCharactersShowProgress) {
  for (const char* parameters : {"#", "@", "$", "10%", "GIGABYTE #"}) {
    EXPECT_TRUE(Start({"PRD", parameters}).ShowProgress) << parameters;
  }
  EXPECT_FALSE(Start({"PRD", "GIGABYTE"}).ShowProgress);
}

}  // namespace
}  // namespace vaultgauge
