#include "tools/profile/profile_tool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "profile/password.h"
#include "profile/profile_fields.h"
#include "profile/profile_reader.h"
#include "util/file_system.h"

namespace vaultgauge {
namespace {

using Args = std::vector<std::string>;

Args ValidOptions() {
  return {"--extcompany", "ACME Corp", "--destination", "PRD",         "--client",
          "100",          "--user",    "monitor",       "--language",  "EN",
          "--mode",       "R/3",       "--host",        "sapprd01",    "--sysnr",
          "00",           "--gwhost",  "sapgw01",       "--gwservice", "sapgw00"};
}

// The valid options with one option's value replaced.
Args OptionsWith(const std::string& option, const std::string& value) {
  Args args = ValidOptions();
  for (size_t i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == option) args[i + 1] = value;
  }
  return args;
}

std::string Refusal(Args args) {
  args.insert(args.begin(), "PRD.P00");
  NewProfileCommand command;
  return ParseNewCommand(args, &command);
}

TEST(ProfileToolTest, ParsesACompleteNewCommand) {
  Args args = ValidOptions();
  args.insert(args.begin() + 4, "PRD.P00");  // FILE may stand between options
  args.push_back("--force");
  args[0] = "--extcompany=ACME Corp";
  args.erase(args.begin() + 1);
  NewProfileCommand command;
  ASSERT_EQ(ParseNewCommand(args, &command), "");
  EXPECT_EQ(command.file, "PRD.P00");
  EXPECT_TRUE(command.force);
  EXPECT_EQ(command.values.extcompany, "ACME Corp");
  EXPECT_EQ(command.values.destination, "PRD");
  EXPECT_EQ(command.values.client, "100");
  EXPECT_EQ(command.values.user, "monitor");
  EXPECT_EQ(command.values.language, "EN");
  EXPECT_EQ(command.values.mode, "R/3");
  EXPECT_EQ(command.values.hostname, "sapprd01");
  EXPECT_EQ(command.values.sysnr, "00");
  EXPECT_EQ(command.values.gwhost, "sapgw01");
  EXPECT_EQ(command.values.gwservice, "sapgw00");
}

TEST(ProfileToolTest, RefusesWhatTheSensorWouldRefuse) {
  Args no_client = ValidOptions();
  no_client.erase(no_client.begin() + 4, no_client.begin() + 6);
  Args twice = ValidOptions();
  twice.insert(twice.end(), {"--client", "200"});
  struct Case {
    Args args;
    const char* refusal;
  } cases[] = {
      {OptionsWith("--client", "10"), "--client \"10\": too short (at least 3 characters)"},
      {OptionsWith("--destination", "PRD45678901x"),
       "--destination \"PRD45678901x\": too long (at most 11 characters)"},
      {OptionsWith("--user", std::string(48, 'u')),
       "--user \"uuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuu\": too long (at most 47 "
       "characters)"},
      {OptionsWith("--language", ""), "--language \"\": too short (at least 1 characters)"},
      {OptionsWith("--gwhost", std::string(61, 'g')),
       "--gwhost \"ggggggggggggggggggggggggggggggggggggggggggggggggggggggggggggg\": too long (at "
       "most 60 characters)"},
      {OptionsWith("--host", "sap\nprd"), "--host \"sap\nprd\": holds a control character"},
      {OptionsWith("--sysnr", "00 "),
       "--sysnr \"00 \": a blank at either end would become part of the value"},
      {OptionsWith("--mode", " R/3"),
       "--mode \" R/3\": a blank at either end would become part of the value"},
      {no_client, "missing --client"},
      {{"--mode", "R/3"},
       "missing --extcompany, --destination, --client, --user, --language, --host, --sysnr, "
       "--gwhost, --gwservice"},
      {twice, "--client given twice"},
      {{"--password", "x"}, "unknown option --password"},
      {{"--gwservice"}, "--gwservice needs a value"},
      {{"other.P00"}, "more than one FILE: PRD.P00, other.P00"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(c.args), c.refusal);

  NewProfileCommand command;
  EXPECT_EQ(ParseNewCommand(ValidOptions(), &command), "no FILE given");
  // The shortest and longest values the sensor accepts pass.
  EXPECT_EQ(Refusal(OptionsWith("--destination", "PRD45678901")), "");
  EXPECT_EQ(Refusal(OptionsWith("--extcompany", std::string(60, 'e'))), "");
  EXPECT_EQ(Refusal(OptionsWith("--language", "E")), "");
}

// Values the sensor would take but misread, and option names where a value
// belongs: each is refused, with what was meant.
TEST(ProfileToolTest, RefusesValuesTheSensorWouldMisread) {
  struct Case {
    Args args;
    const char* refusal;  // "" when accepted
  } cases[] = {
      {OptionsWith("--mode", "XYZ"), "--mode \"XYZ\": R/3 or R/2 only"},
      {OptionsWith("--mode", "r/3"), "--mode \"r/3\": R/3 or R/2 only"},
      {OptionsWith("--mode", "R/3X"), "--mode \"R/3X\": R/3 or R/2 only"},
      {OptionsWith("--mode", "R/2"), ""},
      {OptionsWith("--sysnr", "zz"), "--sysnr \"zz\": two digits, 00 to 99"},
      {OptionsWith("--sysnr", "100"), "--sysnr \"100\": two digits, 00 to 99"},
      {OptionsWith("--sysnr", "1a"), "--sysnr \"1a\": two digits, 00 to 99"},
      {OptionsWith("--sysnr", "+1"), "--sysnr \"+1\": two digits, 00 to 99"},
      {OptionsWith("--sysnr", "99"), ""},
      {OptionsWith("--sysnr", "07"), ""},
      {{"--extcompany", "--force"},
       "--extcompany needs a value, not the option --force (a value that begins with '-' is "
       "given as --extcompany=VALUE)"},
      {{"--client", "--user", "monitor"},
       "--client needs a value, not the option --user (a value that begins with '-' is given as "
       "--client=VALUE)"},
      {{"--gwhost", "-h"},
       "--gwhost needs a value, not the option -h (a value that begins with '-' is given as "
       "--gwhost=VALUE)"},
      {OptionsWith("--extcompany", "--force"),
       "--extcompany needs a value, not the option --force (a value that begins with '-' is "
       "given as --extcompany=VALUE)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(c.args), c.refusal);

  // After "=" any value is a value.
  Args dashed = ValidOptions();
  dashed.erase(dashed.begin(), dashed.begin() + 2);
  dashed.push_back("--extcompany=-ACME-");
  NewProfileCommand command;
  dashed.push_back("PRD.P00");
  ASSERT_EQ(ParseNewCommand(dashed, &command), "");
  EXPECT_EQ(command.values.extcompany, "-ACME-");

  Args standard_input = ValidOptions();
  standard_input.push_back("-");
  NewProfileCommand dash;
  EXPECT_EQ(ParseNewCommand(standard_input, &dash),
            "\"-\" is no profile FILE (standard input carries the password; name the file)");
}

TEST(ProfileToolTest, ChecksThePassword) {
  struct Case {
    std::string password;
    bool accepted;
  } cases[] = {
      {"pw", true},
      {std::string(20, 'p'), true},
      {"with blank ~!", true},
      {" leading", true},
      {"two  blanks", true},
      {"trailing ", false},
      {"  ", false},
      {std::string(19, 'p') + " ", false},
      {std::string(21, 'p'), false},
      {"p", false},
      {"", false},
      {"tab\there", false},
      {"del\x7F", false},
      {"umlaut\xC3\xA4", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CheckPassword(c.password).empty(), c.accepted) << c.password;
}

// Reads `text` as the sensor's single form does.
ConnectionProfile ReadBack(const std::string& text) {
  MemoryFileSystem files;
  files.Add("PRD.P00", text);
  ConnectionProfile profile;
  Status status = ReadProfile(files, "PRD.P00", "PRD.P00", &profile);
  EXPECT_TRUE(status.ok()) << status.message();
  return profile;
}

TEST(ProfileToolTest, TheSensorReadsBackWhatIsWritten) {
  NewProfileCommand command;
  Args args = ValidOptions();
  args.push_back("PRD.P00");
  ASSERT_EQ(ParseNewCommand(args, &command), "");
  ConnectionProfile expected = command.values;
  expected.user = "MONITOR";
  expected.display_host = expected.hostname;

  const char* passwords[] = {"pw",
                             "Secret#1",
                             "with blank",
                             "trailing ",
                             " leading",
                             "\\back\\slash\\",
                             "\"'`~!@#$%^&*()_+-={}",
                             "ABCDEFGHIJKLMNOPQRST"};
  const char* fillers[] = {"",           "                    ", "abcdefghijklmnopqrst",
                           "9876543210", "~~~~~~~~~~~~~~~~~~~~", "*"};
  for (int key_start = 0; key_start < kKeyStartCount; ++key_start) {
    for (const char* password : passwords) {
      for (const char* filler : fillers) {
        std::string stored = ScramblePassword(password, filler, key_start);
        ConnectionProfile read = ReadBack(ProfileText(command.values, stored));
        expected.password = password;
        for (const ProfileField& field : kProfileFields) {
          EXPECT_EQ(read.*field.member, expected.*field.member)
              << field.label << " " << password << "|" << filler << "|" << key_start;
        }
        EXPECT_EQ(read.display_host, expected.display_host);
      }
    }
  }
}

TEST(ProfileToolTest, ChosenStoredFormsSurviveEditors) {
  std::mt19937 random(20220829);
  int refused = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string password(2 + random() % 19, ' ');
    for (char& c : password) c = static_cast<char>(0x20 + random() % 95);
    std::optional<std::string> stored = ChooseStoredPassword(password, static_cast<uint32_t>(i));
    if (!stored) {
      ++refused;
      continue;
    }
    EXPECT_TRUE(IsEditorSafe(*stored)) << password;
    UnscrambledPassword result = UnscramblePassword(*stored);
    EXPECT_EQ(result.outcome, UnscrambledPassword::Outcome::kPassword);
    EXPECT_EQ(result.password, password);
  }
  EXPECT_LE(refused, 3);
}

// A password of 20 characters for which every key start puts a DEL into the
// body: its character at 2j, masked with key position 2j, is DEL for key start j.
std::string PasswordWithoutSafeForm() {
  std::string password(20, '-');  // below 0x60: never masked into DEL
  for (size_t j = 0; j < 10; ++j) password[2 * j] = static_cast<char>(0x7F ^ kPasswordKey[2 * j]);
  return password;
}

TEST(ProfileToolTest, SomePasswordsHaveNoSafeForm) {
  std::string password = PasswordWithoutSafeForm();
  ASSERT_EQ(CheckPassword(password), "");
  EXPECT_FALSE(ChooseStoredPassword(password, 1).has_value());
  // Filler in place of its character at 18 frees key start 9.
  EXPECT_TRUE(ChooseStoredPassword(password.substr(0, 18), 1).has_value());
}

class ProfileToolRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vaultgauge-profile-test-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  int Run(const Args& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    int code = RunProfileTool(args, {in, out, err}, 7);
    out_ = out.str();
    err_ = err.str();
    return code;
  }

  int New(const std::string& file, const std::string& password_line, Args extra = {}) {
    Args args = {"new", PathOf(file)};
    for (const std::string& option : ValidOptions()) args.push_back(option);
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args, password_line);
  }

  std::string Contents(const std::string& name) const {
    std::ifstream file(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  std::filesystem::path folder_;
  std::string out_;
  std::string err_;
};

TEST_F(ProfileToolRunTest, NewWritesAProfileTheSensorReads) {
  ASSERT_EQ(New("PRD.P00", "Secret#1\r\n"), 0) << err_;
  EXPECT_EQ(err_, "");
  std::string text = Contents("PRD.P00");
  EXPECT_EQ(text.substr(0, 23), "Extcompany.: ACME Corp\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
  EXPECT_EQ(text.find("Secret"), std::string::npos);

  RealFileSystem disk;
  ConnectionProfile profile;
  ASSERT_TRUE(ReadProfile(disk, PathOf("PRD.P00"), "PRD.P00", &profile).ok());
  EXPECT_EQ(profile.password, "Secret#1");
  EXPECT_EQ(profile.user, "MONITOR");

  ASSERT_EQ(Run({"check", PathOf("PRD.P00")}), 0);
  EXPECT_EQ(out_,
            "Extcompany.: \"ACME Corp\"\n"
            "Destination: \"PRD\"\n"
            "Client.....: \"100\"\n"
            "User.......: \"MONITOR\"\n"
            "Password...: (hidden, length 8)\n"
            "Language...: \"EN\"\n"
            "Mode.......: \"R/3\"\n"
            "Hostname...: \"sapprd01\"\n"
            "Sysnr......: \"00\"\n"
            "Gwhost.....: \"sapgw01\"\n"
            "Gwservice..: \"sapgw00\"\n"
            "OK\n");
}

TEST_F(ProfileToolRunTest, NewNeverOverwritesWithoutForce) {
  std::ofstream(PathOf("PRD.P00")) << "keep me\n";
  EXPECT_EQ(New("PRD.P00", "Secret#1\n"), 1);
  EXPECT_EQ(err_, "vaultgauge-profile: " + PathOf("PRD.P00") +
                      " exists already; give --force to replace it\n");
  EXPECT_EQ(Contents("PRD.P00"), "keep me\n");

  EXPECT_EQ(New("PRD.P00", "Secret#1\n", {"--force"}), 0) << err_;
  EXPECT_NE(Contents("PRD.P00"), "keep me\n");
}

TEST_F(ProfileToolRunTest, NewRefusesABadPasswordAndWritesNothing) {
  struct Case {
    std::string input;
    std::string message;
  } cases[] = {
      {"", "no password on standard input"},
      {"\n", "the password is shorter than 2 characters"},
      {std::string(21, 'p') + "\n", "the password is longer than 20 characters"},
      {"tab\there\n", "the password may hold printable ASCII characters only"},
      {PasswordWithoutSafeForm() + "\n",
       "this password has no stored form that text editors keep intact; choose another"},
      {"secret \n",
       "the password ends in a blank, which the logon loses (it pads the password with blanks): "
       "it could never log on"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(New("PRD.P00", c.input), 1);
    EXPECT_EQ(err_, "vaultgauge-profile: " + c.message + "\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("PRD.P00")));
  }
  // Only the first line is the password.
  EXPECT_EQ(New("PRD.P00", "first\nsecond\n"), 0);
  RealFileSystem disk;
  ConnectionProfile profile;
  ASSERT_TRUE(ReadProfile(disk, PathOf("PRD.P00"), "PRD.P00", &profile).ok());
  EXPECT_EQ(profile.password, "first");
}

TEST_F(ProfileToolRunTest, NewWarnsOfABlankInThePassword) {
  const std::string warning =
      "vaultgauge-profile: warning: the password holds a blank; it logs on through the "
      "profile's own host, but not through a destination file SapRfc.PRD (the connect string "
      "carries the password unquoted)\n";
  struct Case {
    const char* password;
    bool warned;
  } cases[] = {{"pass word", true}, {" leading", true}, {"a  b", true}, {"password", false}};
  for (const Case& c : cases) {
    ASSERT_EQ(New("PRD.P00", std::string(c.password) + "\n", {"--force"}), 0) << c.password;
    EXPECT_EQ(err_, c.warned ? warning : "") << c.password;
    EXPECT_EQ(out_, "Profile " + PathOf("PRD.P00") + " written.\n");
    RealFileSystem disk;
    ConnectionProfile profile;
    ASSERT_TRUE(ReadProfile(disk, PathOf("PRD.P00"), "PRD.P00", &profile).ok());
    EXPECT_EQ(profile.password, c.password);
  }
}

// The names in the test's folder.
std::set<std::string> Names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// A sensor that reads the profile while it is written anew reads the old
// profile or the new one, always whole; nothing else is left in the folder.
TEST_F(ProfileToolRunTest, ForceReplacesTheProfileWhileASensorReadsIt) {
  ASSERT_EQ(New("PRD.P00", "first\n"), 0) << err_;
  std::atomic<bool> writing = true;
  std::atomic<int> reads = 0;
  std::atomic<int> bad_reads = 0;
  std::string bad_message;
  std::thread sensor([&] {
    RealFileSystem disk;
    while (writing || reads < 200) {
      ConnectionProfile profile;
      Status status = ReadProfile(disk, PathOf("PRD.P00"), "PRD.P00", &profile);
      ++reads;
      if (!status.ok() || (profile.password != "first" && profile.password != "second")) {
        if (bad_reads++ == 0) bad_message = status.message() + " / " + profile.password;
      }
    }
  });
  int failed_writes = 0;
  for (int i = 0; i < 300; ++i) {
    std::istringstream in(i % 2 == 0 ? "second\n" : "first\n");
    std::ostringstream out, err;
    Args args = {"new", PathOf("PRD.P00"), "--force"};
    for (const std::string& option : ValidOptions()) args.push_back(option);
    if (RunProfileTool(args, {in, out, err}, static_cast<uint32_t>(i)) != 0) ++failed_writes;
  }
  writing = false;
  sensor.join();
  EXPECT_EQ(failed_writes, 0);
  EXPECT_EQ(bad_reads, 0) << "of " << reads << " reads; first: " << bad_message;
  EXPECT_EQ(Names(folder_), std::set<std::string>{"PRD.P00"});
}

TEST_F(ProfileToolRunTest, AFailedWriteLeavesNoTemporaryFile) {
  std::filesystem::create_directory(folder_ / "PRD.P00");
  std::filesystem::create_directory(folder_ / "PRD.P00" / "inside");
  EXPECT_EQ(New("PRD.P00", "secret\n", {"--force"}), 1);
  EXPECT_EQ(err_, "vaultgauge-profile: cannot write " + PathOf("PRD.P00") + "\n");
  EXPECT_EQ(Names(folder_), std::set<std::string>{"PRD.P00"});
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "PRD.P00"));

  EXPECT_EQ(New("none/PRD.P00", "secret\n"), 1);
  EXPECT_EQ(err_, "vaultgauge-profile: cannot write " + PathOf("none/PRD.P00") + "\n");
  EXPECT_EQ(Names(folder_), std::set<std::string>{"PRD.P00"});
}

TEST_F(ProfileToolRunTest, NewRefusesAValueBeforeReadingThePassword) {
  Args args = {"new", PathOf("PRD.P00")};
  for (const std::string& option : OptionsWith("--client", "10")) args.push_back(option);
  EXPECT_EQ(Run(args, "Secret#1\n"), 1);
  EXPECT_EQ(err_,
            "vaultgauge-profile: --client \"10\": too short (at least 3 characters) (see 'new "
            "--help')\n");
  EXPECT_FALSE(std::filesystem::exists(PathOf("PRD.P00")));
}

TEST_F(ProfileToolRunTest, CheckShowsTheSensorsMessage) {
  std::ofstream(PathOf("QAS.P00")) << "User.......: monitor\nClient.....:100\n";
  EXPECT_EQ(Run({"check", PathOf("QAS.P00")}), 2);
  EXPECT_NE(out_.find("User.......: \"MONITOR\"\n"), std::string::npos);
  EXPECT_NE(out_.find("Password...: (hidden, length 0)\n"), std::string::npos);
  EXPECT_NE(out_.find("Client.....: \"00\"\n"), std::string::npos);
  EXPECT_TRUE(out_.ends_with("\nError 1007: Password in Profile QAS.P00 is missing...\n"));

  EXPECT_EQ(Run({"check", PathOf("none.P00")}), 2);
  EXPECT_EQ(out_, "Error 1002: Profile " + PathOf("none.P00") + " is missing...\n");
}

TEST_F(ProfileToolRunTest, HelpAndUsageErrors) {
  struct Case {
    Args args;
    int code;
    const char* out_start;
    const char* err;
  } cases[] = {
      {{"--help"}, 0, "Usage: vaultgauge-profile COMMAND", ""},
      {{"new", "--help"}, 0, "Usage: vaultgauge-profile new FILE", ""},
      {{"new", "x.P00", "-h"}, 0, "Usage: vaultgauge-profile new FILE", ""},
      {{"check", "--help"}, 0, "Usage: vaultgauge-profile check FILE", ""},
      {{}, 1, "", "vaultgauge-profile: no command given (see --help)\n"},
      {{"delete"}, 1, "", "vaultgauge-profile: unknown command delete (see --help)\n"},
      {{"check"}, 1, "", "vaultgauge-profile: check takes one profile FILE (see 'check --help')\n"},
      {{"check", "a", "b"},
       1,
       "",
       "vaultgauge-profile: check takes one profile FILE (see 'check --help')\n"},
      {{"new"}, 1, "", "vaultgauge-profile: no FILE given (see 'new --help')\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), c.code);
    EXPECT_TRUE(out_.starts_with(c.out_start)) << out_;
    EXPECT_EQ(err_, c.err);
  }
}

}  // namespace
}  // namespace vaultgauge
