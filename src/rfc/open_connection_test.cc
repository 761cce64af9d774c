#include "rfc/open_connection.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/fake_rfc_api.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

std::string Text(const char* text) { return text == nullptr ? "(null)" : text; }

class OpenConnectionTest : public ::testing::Test {
 protected:
  RFC_HANDLE Open(const ConnectionProfile& profile, const LogonOverrides& overrides = {}) {
    auto notice = [this](const std::string& destination) { notices += destination + "\n"; };
    return OpenConnection(session, profile, overrides, notice, &records);
  }

  TestFolder folder{TestFolder::kEnter};
  std::string notices;  // the destinations whose files were used
  FakeRfcApi api;
  RfcSession session{api, TracePoints(false, nullptr)};
  ConnectionRecords records;
};

TEST_F(OpenConnectionTest, FillsTheOptionsRecordForEachMode) {
  struct Case {
    const char* name;
    std::string mode, hostname, sysnr, gwhost, gwservice;
    RFC_MODE expected_mode;
    std::string host, gateway_host, gateway_service;  // "(null)" for a null text
    int expected_sysnr;
  } cases[] = {
      {"R/3", "R/3", "sapprd01", "00", "sapgw01", "sapgw00", RFC_MODE_R3ONLY, "sapprd01", "sapgw01",
       "sapgw00", 0},
      {"system number 12", "R/3", "h", "12", "g", "s", RFC_MODE_R3ONLY, "h", "g", "s", 12},
      {"blanks and a sign", "R/3", "h", " +7x", "g", "s", RFC_MODE_R3ONLY, "h", "g", "s", 7},
      {"empty texts are null", "", "", "", "", "", RFC_MODE_R3ONLY, "(null)", "(null)", "(null)",
       0},
      {"lower-case r/2 is R/3", "r/2", "h", "01", "g", "s", RFC_MODE_R3ONLY, "h", "g", "s", 1},
      {"R/2 and a blank is R/3", "R/2 ", "h", "01", "g", "s", RFC_MODE_R3ONLY, "h", "g", "s", 1},
      {"R/2", "R/2", "h", "01", "sapgw01", "sapgw00", RFC_MODE_CPIC, "", "sapgw01", "sapgw00", 0},
      {"R/2 without gateway", "R/2", "h", "01", "", "", RFC_MODE_CPIC, "", "(null)", "(null)", 0},
  };
  for (const Case& c : cases) {
    ConnectionProfile profile = PrdProfile();
    profile.mode = c.mode;
    profile.hostname = c.hostname;
    profile.sysnr = c.sysnr;
    profile.gwhost = c.gwhost;
    profile.gwservice = c.gwservice;
    api = FakeRfcApi();
    ASSERT_EQ(Open(profile), 7u) << c.name;
    ASSERT_EQ(api.calls, std::vector<std::string>{"RfcOpen"}) << c.name;
    EXPECT_EQ(api.options.mode, c.expected_mode) << c.name;
    if (c.expected_mode == RFC_MODE_CPIC) {
      EXPECT_EQ(records.options.connopt, &records.gateway_options) << c.name;
      EXPECT_EQ(Text(api.gateway_options.gateway_host), c.gateway_host) << c.name;
      EXPECT_EQ(Text(api.gateway_options.gateway_service), c.gateway_service) << c.name;
    } else {
      EXPECT_EQ(records.options.connopt, &records.host_options) << c.name;
      EXPECT_EQ(Text(api.host_options.hostname), c.host) << c.name;
      EXPECT_EQ(api.host_options.sysnr, c.expected_sysnr) << c.name;
      EXPECT_EQ(Text(api.host_options.gateway_host), c.gateway_host) << c.name;
      EXPECT_EQ(Text(api.host_options.gateway_service), c.gateway_service) << c.name;
    }
  }
}

TEST_F(OpenConnectionTest, PadsUserAndPasswordInTheOptionsRecordOnly) {
  struct Case {
    std::string user, password, padded_user, padded_password;
  } cases[] = {
      {"MONI", "secret", "MONI        ", "secret    "},
      {"TWELVECHARSX", "TENCHARSXY", "TWELVECHARSX", "TENCHARSXY"},
      {"THIRTEENCHARS", "ELEVENCHARS", "THIRTEENCHARS", "ELEVENCHARS"},
  };
  for (const Case& c : cases) {
    ConnectionProfile profile = PrdProfile();
    profile.user = c.user;
    profile.password = c.password;
    Open(profile);
    EXPECT_EQ(Text(api.options.user), c.padded_user);
    EXPECT_EQ(Text(api.options.password), c.padded_password);
    EXPECT_EQ(Text(api.options.destination), "PRD");
    EXPECT_EQ(Text(api.options.client), "000");
    EXPECT_EQ(Text(api.options.language), "E");
    EXPECT_EQ(api.options.trace, 0);
    EXPECT_EQ(records.connect_string,
              "CLIENT=000 USER=" + c.user + " PASSWD=" + c.password + " LANG=D DEST=PRD");
  }
}

TEST_F(OpenConnectionTest, OverridesReplaceTheProfilesLogonValues) {
  Open(PrdProfile(), LogonOverrides{"100", "SapQas02", "07"});
  EXPECT_EQ(Text(api.options.client), "100");
  EXPECT_EQ(Text(api.host_options.hostname), "SapQas02");
  EXPECT_EQ(api.host_options.sysnr, 7);
  EXPECT_EQ(records.connect_string, "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=PRD");

  Open(PrdProfile(), LogonOverrides{});
  EXPECT_EQ(Text(api.options.client), "000");
  EXPECT_EQ(Text(api.host_options.hostname), "sapprd01");
  EXPECT_EQ(api.host_options.sysnr, 0);
}

TEST_F(OpenConnectionTest, EveryOpeningFillsTheRecordsAfresh) {
  ConnectionProfile r2 = PrdProfile();
  r2.mode = "R/2";
  Open(PrdProfile());
  Open(r2);
  EXPECT_EQ(records.host_options.hostname, nullptr);
  EXPECT_EQ(records.host_options.sysnr, 0);
  ConnectionProfile empty_gateway = PrdProfile();
  empty_gateway.gwhost.clear();
  Open(empty_gateway);
  EXPECT_EQ(records.gateway_options.gateway_host, nullptr);
  EXPECT_EQ(records.host_options.gateway_host, nullptr);
}

TEST_F(OpenConnectionTest, CopiesTheDestinationFileAndOpensByConnectString) {
  std::string contents = "DEST=PRD\r\nTYPE=A\n";
  contents += std::string("\0\x1a\xff", 3);
  for (int i = 0; i < 2000; ++i) contents += "ASHOST=sapprd01\n";
  folder.Write("SapRfc.PRD", contents);
  folder.Write("SapRfc.ini", "old contents that are longer than nothing");

  EXPECT_EQ(Open(PrdProfile()), 7u);
  EXPECT_EQ(api.calls, std::vector<std::string>{"RfcOpenEx"});
  EXPECT_EQ(api.connect_string, "CLIENT=000 USER=MONI PASSWD=secret LANG=D DEST=PRD");
  EXPECT_EQ(folder.Read("SapRfc.ini"), contents);
  EXPECT_EQ(notices, "PRD\n");
}

TEST_F(OpenConnectionTest, AnEmptyDestinationFileGivesAnEmptyCopy) {
  folder.Write("SapRfc.PRD", "");
  folder.Write("SapRfc.ini", "old");
  EXPECT_EQ(Open(PrdProfile()), 7u);
  EXPECT_EQ(folder.Read("SapRfc.ini"), "");
}

TEST_F(OpenConnectionTest, NoCopyNoLibraryCall) {
  folder.Write("SapRfc.PRD", "DEST=PRD\n");
  folder.MakeFolder("SapRfc.ini");
  EXPECT_EQ(Open(PrdProfile()), 0u);
  EXPECT_TRUE(api.calls.empty());
  EXPECT_EQ(notices, "PRD\n");
}

TEST_F(OpenConnectionTest, AFolderIsNoDestinationFile) {
  folder.MakeFolder("SapRfc.PRD");
  EXPECT_EQ(Open(PrdProfile()), 7u);
  EXPECT_EQ(api.calls, std::vector<std::string>{"RfcOpen"});
  EXPECT_EQ(notices, "");
}

TEST_F(OpenConnectionTest, WritesItsTracePointsOnlyWhenAskedFor) {
  std::FILE* trace = std::tmpfile();
  session.trace = TracePoints(false, trace);
  Open(PrdProfile());
  session.trace = TracePoints(true, trace);
  api.open_result = 0;
  Open(PrdProfile());
  folder.Write("SapRfc.PRD", "DEST=PRD\n");
  api.open_result = 3;
  Open(PrdProfile());
  EXPECT_EQ(StreamContents(trace), "0 RfcOpen called \n3 RfcOpenEx called \n");
  std::fclose(trace);
}

}  // namespace
}  // namespace vaultgauge
