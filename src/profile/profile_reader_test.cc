#include "profile/profile_reader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "profile/password.h"

namespace vaultgauge {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

const std::string kStored = ScramblePassword("Secret#1", "fill", 3);

Lines ValidLines() {
  return {
      {"Extcompany.:", "ACME"},    {"Destination:", "PRD"},      {"Client.....:", "100"},
      {"User.......:", "monitor"}, {"Password...:", kStored},    {"Language...:", "EN"},
      {"Mode.......:", "R/3"},     {"Hostname...:", "sapprd01"}, {"Sysnr......:", "00"},
      {"Gwhost.....:", "sapgw01"}, {"Gwservice..:", "sapgw00"},
  };
}

std::string Text(const Lines& lines) {
  std::string text;
  for (const auto& [label, value] : lines) text += label + " " + value + "\n";
  return text;
}

// The valid profile with one label's value replaced.
std::string ValidWith(const std::string& label, const std::string& value) {
  Lines lines = ValidLines();
  for (auto& line : lines) {
    if (line.first == label) line.second = value;
  }
  return Text(lines);
}

std::string ValidWithout(std::initializer_list<std::string> labels) {
  Lines lines = ValidLines();
  for (const std::string& label : labels) {
    std::erase_if(lines, [&](const auto& line) { return line.first == label; });
  }
  return Text(lines);
}

Status ReadSingle(const std::string& contents, ConnectionProfile* profile) {
  MemoryFileSystem files;
  files.Add("dir/PRD.P00", contents);
  return ReadProfile(files, "dir/PRD.P00", "PRD.P00", profile);
}

std::string SingleMessage(const std::string& contents) {
  ConnectionProfile profile;
  return ReadSingle(contents, &profile).message();
}

TEST(ReadProfileTest, ReadsAValidProfile) {
  ConnectionProfile profile;
  Status status = ReadSingle(Text(ValidLines()), &profile);
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(profile.extcompany, "ACME");
  EXPECT_EQ(profile.destination, "PRD");
  EXPECT_EQ(profile.client, "100");
  EXPECT_EQ(profile.user, "MONITOR");
  EXPECT_EQ(profile.password, "Secret#1");
  EXPECT_EQ(profile.language, "EN");
  EXPECT_EQ(profile.mode, "R/3");
  EXPECT_EQ(profile.hostname, "sapprd01");
  EXPECT_EQ(profile.display_host, "sapprd01");
  EXPECT_EQ(profile.sysnr, "00");
  EXPECT_EQ(profile.gwhost, "sapgw01");
  EXPECT_EQ(profile.gwservice, "sapgw00");
}

TEST(ReadProfileTest, ReportsEachFailureOfTheSingleForm) {
  const std::string invalid_password = "Error 1004: Invalid Password in Profile PRD.P00 found...";
  const std::string wrong_password = "Error 1005: Wrong Password in Profile PRD.P00 found...";
  const std::string user_missing = "Error 1006: Username in Profile PRD.P00 is missing...";
  const std::string password_missing = "Error 1007: Password in Profile PRD.P00 is missing...";
  const std::string invalid = "Error 1003: Invalid Parameter(s) at PRD.P00 found...";
  std::string wrong_digit = kStored;
  wrong_digit[0] = static_cast<char>(wrong_digit[0] ^ 0x01);  // another digit, masked
  struct Case {
    const char* name;
    std::string contents;
    std::string message;
  } cases[] = {
      {"stored password with a blank after it", ValidWith("Password...:", kStored + " "),
       invalid_password},
      {"stored password of 23 characters", ValidWith("Password...:", kStored.substr(1)),
       invalid_password},
      {"wrong check digit", ValidWith("Password...:", wrong_digit), wrong_password},
      {"no labelled line at all", "just a comment\n\n", user_missing},
      {"user label in other case", ValidWithout({"User.......:"}) + "user.......: monitor\n",
       user_missing},
      {"user label with a dot less", ValidWithout({"User.......:"}) + "User......: monitor\n",
       user_missing},
      {"empty user", ValidWith("User.......:", ""), user_missing},
      {"no password line", ValidWithout({"Password...:"}), password_missing},
      {"empty password line", ValidWith("Password...:", ""), password_missing},
      {"stored length 00", ValidWith("Password...:", ScramblePassword("", "abc", 0)),
       password_missing},
      {"stored length 01", ValidWith("Password...:", ScramblePassword("x", "abc", 0)), invalid},
      {"value right after the colon", ValidWithout({"Client.....:"}) + "Client.....:100\n",
       invalid},
      {"missing gateway service", ValidWithout({"Gwservice..:"}), invalid},
      {"destination too long for its field", ValidWith("Destination:", "PRD45678901x"), invalid},
      {"client too long for its field", ValidWith("Client.....:", "100000000000"), invalid},
      {"user too long for its field", ValidWith("User.......:", std::string(48, 'u')), invalid},
      {"mode too long for its field", ValidWith("Mode.......:", std::string(32, 'm')), invalid},
      // Checks run in order: user first, then password, then the lengths.
      {"user and password missing", ValidWithout({"User.......:", "Password...:"}), user_missing},
      {"password missing and client short", ValidWith("Client.....:", "1") + "Password...: \n",
       password_missing},
      // A failed stored password ends the reading at once.
      {"invalid password before the user", "Password...: bad\n" + Text(ValidLines()),
       invalid_password},
      {"invalid then wrong password",
       ValidWithout({"User.......:"}) + "Password...: bad\nPassword...: " + wrong_digit + "\n",
       invalid_password},
      {"wrong then invalid password",
       "Password...: " + wrong_digit + "\nPassword...: bad\n" + Text(ValidLines()), wrong_password},
  };
  for (const Case& c : cases) EXPECT_EQ(SingleMessage(c.contents), c.message) << c.name;
}

TEST(ReadProfileTest, EveryFieldHasItsMinimumLength) {
  struct Case {
    const char* label;
    std::string shortest;
  } cases[] = {
      {"Extcompany.:", "AC"}, {"Destination:", "PRD"}, {"Client.....:", "100"},
      {"User.......:", "MO"}, {"Language...:", "E"},   {"Mode.......:", "R/3"},
      {"Hostname...:", "ho"}, {"Sysnr......:", "00"},  {"Gwhost.....:", "gw"},
      {"Gwservice..:", "gs"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SingleMessage(ValidWith(c.label, c.shortest)), "") << c.label;
    EXPECT_EQ(SingleMessage(ValidWith(c.label, c.shortest.substr(1))),
              "Error 1003: Invalid Parameter(s) at PRD.P00 found...")
        << c.label;
  }
  // The password too: two characters pass, one fails.
  EXPECT_EQ(SingleMessage(ValidWith("Password...:", ScramblePassword("pw", "", 0))), "");
}

TEST(ReadProfileTest, TakesValuesAsTheyStand) {
  struct Case {
    const char* name;
    std::string line;
    std::string ConnectionProfile::*field;
    std::string value;
  } cases[] = {
      {"two blanks keep one", "Destination:  PRD", &ConnectionProfile::destination, " PRD"},
      {"trailing blanks kept", "Destination: PRD  ", &ConnectionProfile::destination, "PRD  "},
      {"any separator", "Destination#PRD", &ConnectionProfile::destination, "PRD"},
      {"user upper-cased, a to z only", "User.......: mon_\xE4x1", &ConnectionProfile::user,
       "MON_\xE4X1"},
      {"value cut after 60 characters", "Extcompany.: " + std::string(60, 'e') + "IGNORED",
       &ConnectionProfile::extcompany, std::string(60, 'e')},
      {"host copied for display", "Hostname...: h2", &ConnectionProfile::display_host, "h2"},
  };
  for (const Case& c : cases) {
    ConnectionProfile profile;
    Status status = ReadSingle(Text(ValidLines()) + c.line + "\n", &profile);
    EXPECT_TRUE(status.ok()) << c.name << ": " << status.message();
    EXPECT_EQ(profile.*c.field, c.value) << c.name;
  }
}

TEST(ReadProfileTest, LaterLinesOfALabelWin) {
  ConnectionProfile profile;
  std::string contents =
      "Destination: OLD\nPassword...: \n" + Text(ValidLines()) + "Destination: QAS\n";
  ASSERT_TRUE(ReadSingle(contents, &profile).ok());
  EXPECT_EQ(profile.destination, "QAS");
  EXPECT_EQ(profile.password, "Secret#1");
}

TEST(ReadProfileTest, ReadsAnyLineEnd) {
  std::string crlf;
  for (const auto& [label, value] : ValidLines()) crlf += label + " " + value + "\r\n";
  std::string lone_cr = Text(ValidLines());
  lone_cr.back() = '\r';
  std::string no_end = Text(ValidLines());
  no_end.pop_back();
  for (const std::string& contents : {crlf, lone_cr, no_end}) {
    ConnectionProfile profile;
    Status status = ReadSingle(contents, &profile);
    EXPECT_TRUE(status.ok()) << status.message();
    EXPECT_EQ(profile.gwservice, "sapgw00");
  }
}

TEST(ReadProfileTest, ShortLinesHaveEmptyValues) {
  // Twelve and thirteen characters: the label alone, then with its separator.
  EXPECT_EQ(SingleMessage(ValidWithout({"Password...:"}) + "Password...:\n"),
            "Error 1007: Password in Profile PRD.P00 is missing...");
  EXPECT_EQ(SingleMessage("Password...: \n" + ValidWithout({"Password...:"})),
            "Error 1007: Password in Profile PRD.P00 is missing...");
}

// A comment line whose continuation, after `piece` characters, holds a label.
std::string LongLineThenLabel(size_t piece) {
  return std::string(piece, '*') + "Destination: QAS\n";
}

TEST(ReadProfileTest, SingleFormContinuesLinesAfter159Characters) {
  ConnectionProfile profile;
  ASSERT_TRUE(ReadSingle(Text(ValidLines()) + LongLineThenLabel(159), &profile).ok());
  EXPECT_EQ(profile.destination, "QAS");

  // One character less and the label stands inside the line.
  ASSERT_TRUE(ReadSingle(Text(ValidLines()) + LongLineThenLabel(158), &profile).ok());
  EXPECT_EQ(profile.destination, "PRD");

  // A line of 158 characters is read whole.
  std::string line = "Destination: QAS" + std::string(142, ' ');
  ASSERT_EQ(line.size(), 158u);
  ASSERT_TRUE(ReadSingle(Text(ValidLines()) + line + "\nDestination: PRD\n", &profile).ok());
  EXPECT_EQ(profile.destination, "PRD");
}

TEST(ReadProfileTest, MissingFileIsReported) {
  MemoryFileSystem files;
  ConnectionProfile profile;
  EXPECT_EQ(ReadProfile(files, "PRD.P00", "PRD.P00", &profile).message(),
            "Error 1002: Profile PRD.P00 is missing...");
}

// The global-list form, reading dir/<entry>.
struct ListRead {
  bool opened;
  SystemMark mark;
  std::string label;
  ConnectionProfile profile;
};

ListRead ReadListed(const std::string& entry, const std::string& contents,
                    LabelKind label_kind = LabelKind::kProfileName) {
  MemoryFileSystem files;
  files.Add("dir/" + entry, contents);
  std::optional<ListedProfile> listed = ReadListedProfile(files, "dir/", entry, label_kind);
  if (!listed) return ListRead{false, SystemMark::kFailed, "unset", ConnectionProfile()};
  return ListRead{true, listed->mark, listed->label, listed->profile};
}

TEST(ReadListedProfileTest, FileThatCannotBeOpenedGivesNothing) {
  MemoryFileSystem files;
  files.Add("dir/QAS.P00", Text(ValidLines()));
  EXPECT_FALSE(ReadListedProfile(files, "dir/", "PRD.P00", LabelKind::kSid));
  EXPECT_FALSE(ReadListedProfile(files, "dir/", "", LabelKind::kSid));
}

TEST(ReadListedProfileTest, MarksEachFailureAndGoesOn) {
  struct Case {
    const char* name;
    std::string contents;
  } cases[] = {
      {"invalid password", ValidWith("Password...:", "bad")},
      {"user missing", ValidWithout({"User.......:"})},
      {"password missing", ValidWith("Password...:", "")},
      {"field too short", ValidWith("Client.....:", "10")},
      {"field too long", ValidWith("Destination:", "PRD45678901x")},
  };
  for (const Case& c : cases) {
    ListRead read = ReadListed("PRD.P00", c.contents);
    EXPECT_TRUE(read.opened) << c.name;
    EXPECT_EQ(read.mark, SystemMark::kFailed) << c.name;
  }
  ListRead good = ReadListed("PRD.P00", Text(ValidLines()));
  EXPECT_EQ(good.mark, SystemMark::kGood);
  EXPECT_EQ(good.profile.password, "Secret#1");
}

TEST(ReadListedProfileTest, ABadStoredPasswordKeepsTheEarlierOneAndReadsOn) {
  ListRead read = ReadListed(
      "PRD.P00", Text(ValidLines()) + "Password...: bad\nDestination: QAS\nClient.....: 200\n");
  EXPECT_EQ(read.mark, SystemMark::kFailed);
  EXPECT_EQ(read.profile.password, "Secret#1");
  EXPECT_EQ(read.profile.destination, "QAS");
  EXPECT_EQ(read.profile.client, "200");
}

TEST(ReadListedProfileTest, AMissingOrUnreadableLineLeavesItsValueEmpty) {
  ListRead read = ReadListed("QAS.P00", ValidWithout({"Gwservice..:"}));
  EXPECT_EQ(read.mark, SystemMark::kFailed);
  EXPECT_EQ(read.profile.gwservice, "");

  read = ReadListed("QAS.P00", ValidWith("Password...:", "bad"));
  EXPECT_EQ(read.mark, SystemMark::kFailed);
  EXPECT_EQ(read.profile.password, "");
}

TEST(ReadListedProfileTest, LeavesOutValuesTooLongForTheirField) {
  ListRead read =
      ReadListed("PRD.P00", ValidWith("Hostname...:", std::string(48, 'h')), LabelKind::kHost);
  EXPECT_EQ(read.mark, SystemMark::kFailed);
  EXPECT_EQ(read.profile.hostname, "");
  EXPECT_EQ(read.profile.display_host, "");
  EXPECT_EQ(read.profile.destination, "PRD");
  // The label still names the system in full.
  EXPECT_EQ(read.label, std::string(48, 'h'));
}

TEST(ReadListedProfileTest, LabelFollowsTheLabelKind) {
  struct Case {
    std::string entry;
    LabelKind kind;
    std::string contents;
    const char* label;
  } cases[] = {
      {"PRD.P00", LabelKind::kProfileName, Text(ValidLines()), "PRD.P00"},
      {"PRD.P00", LabelKind::kAlias, Text(ValidLines()), "PRD"},
      {".P00", LabelKind::kAlias, Text(ValidLines()), ""},
      {"P00", LabelKind::kAlias, Text(ValidLines()), ""},
      {"PRD.P00", LabelKind::kHost, Text(ValidLines()), "sapprd01"},
      {"PRD.P00", LabelKind::kSid, Text(ValidLines()), "PRD"},
      // A failed profile is still named.
      {"PRD.P00", LabelKind::kSid, ValidWithout({"User.......:"}), "PRD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadListed(c.entry, c.contents, c.kind).label, c.label) << c.entry;
  }
}

TEST(ReadListedProfileTest, ContinuesLinesAfter199Characters) {
  ListRead read = ReadListed("PRD.P00", Text(ValidLines()) + LongLineThenLabel(199));
  EXPECT_EQ(read.profile.destination, "QAS");
  read = ReadListed("PRD.P00", Text(ValidLines()) + LongLineThenLabel(159));
  EXPECT_EQ(read.profile.destination, "PRD");
}

}  // namespace
}  // namespace vaultgauge
