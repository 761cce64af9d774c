// The NetWeaver client against the stand-in NetWeaver library, loaded as the
// sensor loads it, and against the classic stand-in on the same landscape.
#include "rfc/nwrfc_client.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <span>

#include "measure/current_sizes.h"
#include "platform/platform.h"
#include "rfc/nwrfc_library.h"
#include "rfc/rfc_library.h"
#include "standin/nwrfc_standin.h"
#include "support/fake_rfc_api.h"
#include "support/test_folder.h"

namespace vaultgauge {
namespace {

constexpr const char* kPrdSection = kStandinPrdSection;
const std::string kLandscape = std::string(kStandinPrdSection) +
                               "ts = PSAPSR3 TSIZE=52428800 TFREE=10485760\n"
                               "ts = SYSTEM  TSIZE=1048576  TFREE=204800\n" +
                               kStandinQasSection;

NwRfcLibrary& Library() { return LoadedOnce<NwRfcLibrary>(); }

class NwRfcClientTest : public ::testing::Test {
 protected:
  NwRfcClientTest() { folder.Write("SapLandscape.txt", kLandscape); }

  bool Open(const ConnectionProfile& profile, const LogonOverrides& overrides = {}) {
    return client.Open(ProfileLogonParameters(profile, overrides));
  }
  // Opens PRD in a landscape of its section and `extra` lines.
  void OpenPrdWith(const TestFolder& inner, const std::string& extra) {
    inner.Write("SapLandscape.txt", std::string(kPrdSection) + extra);
    ASSERT_TRUE(Open(PrdProfile())) << extra << ": " << client.last_error().message;
  }

  TestFolder folder{TestFolder::kEnter};
  NwRfcClient client{Library()};
  SystemInfo info;
};

TEST_F(NwRfcClientTest, LoadingNamesTheFileAndTheMissingEntryPoint) {
  std::unique_ptr<NwRfcLibrary> library;
  Status status = NwRfcLibrary::Load(folder.path(), "libnothere.so", &library);
  EXPECT_EQ(status.message(), "Error 1061: RFC-Library libnothere.so cannot be loaded !");
  // The classic library has none of the NetWeaver entry points.
  status = NwRfcLibrary::Load(ProgramFolder(), RfcLibraryFileName(), &library);
  EXPECT_EQ(status.message(), std::string("Error 1062: RFC-Library ") + RfcLibraryFileName() +
                                  " lacks entry point RfcOpenConnection !");
  EXPECT_EQ(library, nullptr);
  EXPECT_EQ(Library().VersionText(), "7500.0.0 (7500.0.0 Vaultgauge stand-in)");
}

TEST_F(NwRfcClientTest, LogsOnAndReadsTheSystemAsTheClassicLibraryDelivers) {
  struct Case {
    const char* name;
    std::string mode, hostname;
    LogonOverrides overrides;
    std::string database, host, destination;
  } cases[] = {
      {"application server", "R/3", "sapprd01", {}, "ORACLE    ", "sapprd01", "sapprd01_PRD_00"},
      {"gateway in mode R/2", "R/2", "nowhere", {}, "ORACLE    ", "sapprd01", "sapprd01_PRD_00"},
      {"overrides",
       "R/3",
       "sapprd01",
       {"100", "SAPQAS", "12"},
       "MSSQL     ",
       "sapqas  ",
       "sapqas_QAS_12"},
  };
  for (const Case& c : cases) {
    ConnectionProfile profile = PrdProfile();
    profile.mode = c.mode;
    profile.hostname = c.hostname;
    ASSERT_TRUE(Open(profile, c.overrides)) << c.name << ": " << client.last_error().message;
    std::string destination;
    ASSERT_TRUE(client.ReadSystemInfo(&info, &destination).ok()) << c.name;
    EXPECT_EQ(info.database_system, c.database) << c.name;
    EXPECT_EQ(info.host, c.host) << c.name;
    EXPECT_EQ(destination, c.destination) << c.name;
    client.Close();
  }
}

TEST_F(NwRfcClientTest, ARefusedLogonCarriesTheLibrarysMessage) {
  struct Case {
    const char* name;
    std::string landscape_extra, password, hostname;
    int code;
    std::string detail;
  } cases[] = {
      {"wrong password", "", "wrong", "sapprd01", 2,
       " - Name or password is incorrect (repeat logon)"},
      {"the system refuses", "fault = open locked for maintenance\n", "secret", "sapprd01", 2,
       " - locked for maintenance"},
      {"no such system", "", "secret", "nowhere", 1,
       " - partner 'nowhere:3300' not reached: no such system in SapLandscape.txt"},
      {"no host at all", "", "secret", "", 20,
       " - Parameter ASHOST, GWHOST, MSHOST or PORT is missing."},
  };
  for (const Case& c : cases) {
    TestFolder inner(TestFolder::kEnter);
    inner.Write("SapLandscape.txt", std::string(kPrdSection) + c.landscape_extra);
    ConnectionProfile profile = PrdProfile();
    profile.password = c.password;
    profile.hostname = c.hostname;
    EXPECT_FALSE(Open(profile)) << c.name;
    EXPECT_FALSE(client.is_open()) << c.name;
    EXPECT_EQ(client.last_error().code, c.code) << c.name;
    EXPECT_EQ(client.OpenFailureDetail(), c.detail) << c.name;
  }
}

TEST_F(NwRfcClientTest, EachRemoteFailureGivesItsErrorText) {
  struct Case {
    std::string fault;
    std::string system_info, current_sizes;
  } cases[] = {
      {"call RFC_SYSTEM_INFO 1",
       "Error 1014: RFC-Failure raised ! - connection broken during RfcGetFunctionDesc of "
       "RFC_SYSTEM_INFO",
       ""},
      {"call * 2 NOT_AUTHORIZED",
       "Error 1012: Exception.: NOT_AUTHORIZED - exception NOT_AUTHORIZED raised by "
       "RFC_SYSTEM_INFO",
       "Error 1012: Exception.: NOT_AUTHORIZED - exception NOT_AUTHORIZED raised by "
       "DB_ORA_CURRENT_SIZES"},
      {"receive RFC_SYSTEM_INFO 2 NOT_AUTHORIZED",
       "Error 1012: Exception.: NOT_AUTHORIZED - exception NOT_AUTHORIZED raised by "
       "RFC_SYSTEM_INFO",
       ""},
      {"receive DB_ORA_CURRENT_SIZES 3 COMMUNICATION_FAILURE", "",
       "Error 1013: Sys-Exception raised ! - COMMUNICATION_FAILURE in DB_ORA_CURRENT_SIZES"},
      {"receive * 3", "Error 1013: Sys-Exception raised ! - SYSTEM_FAILURE in RFC_SYSTEM_INFO",
       "Error 1013: Sys-Exception raised ! - SYSTEM_FAILURE in DB_ORA_CURRENT_SIZES"},
      {"receive DB_ORA_CURRENT_SIZES 1", "",
       "Error 1014: RFC-Failure raised ! - connection broken during RfcInvoke of "
       "DB_ORA_CURRENT_SIZES"},
      {"receive * 9",
       "Error 1015: Other Failure raised ! - RfcInvoke of RFC_SYSTEM_INFO ended with code 9",
       "Error 1015: Other Failure raised ! - RfcInvoke of DB_ORA_CURRENT_SIZES ended with code 9"},
      {"receive * 5",
       "Error 1015: Other Failure raised ! - RfcInvoke of RFC_SYSTEM_INFO ended with code 5",
       "Error 1015: Other Failure raised ! - RfcInvoke of DB_ORA_CURRENT_SIZES ended with code 5"},
      {"call DB_ORA_CURRENT_SIZES -1", "",
       "Error 1015: Other Failure raised ! - RfcGetFunctionDesc of DB_ORA_CURRENT_SIZES ended "
       "with code -1"},
  };
  for (const Case& c : cases) {
    TestFolder inner(TestFolder::kEnter);
    OpenPrdWith(inner, "fault = " + c.fault + "\n");
    Status status = client.ReadSystemInfo(&info);
    EXPECT_EQ(status.message(), c.system_info) << c.fault;
    EXPECT_EQ(status.is_rfc_failure(), !c.system_info.empty()) << c.fault;
    client.Close();
    OpenPrdWith(inner, "fault = " + c.fault + "\n");
    NwSizesTable table;
    status = client.CallCurrentSizes(&table);
    EXPECT_EQ(status.message(), c.current_sizes) << c.fault;
    EXPECT_TRUE(table.Release().ok()) << c.fault;
    client.Close();
  }
}

TEST_F(NwRfcClientTest, AFailedLibraryOperationIsALibraryError) {
  struct Case {
    std::string fault;
    std::string operation, message;
  } cases[] = {
      {"install RFCSI", "RfcCreateFunction RFC_SYSTEM_INFO",
       "no memory for function RFC_SYSTEM_INFO"},
      {"install TABLE_XPC", "RfcCreateFunction DB_ORA_CURRENT_SIZES",
       "no memory for function DB_ORA_CURRENT_SIZES"},
      {"handler RFC_SYSTEM_INFO boom", "RfcGetStructure RFCSI_EXPORT", "boom"},
      {"handler DB_ORA_CURRENT_SIZES", "RfcGetTable TS", "RfcReceive"},
      {"itcreate", "RfcGetTable TS", "no memory for table TS"},
      {"itgetline 2", "RfcGetCurrentRow TS", "row 2 cannot be read"},
      {"itdelete", "RfcDestroyFunction DB_ORA_CURRENT_SIZES", "the table TS cannot be freed"},
  };
  for (const Case& c : cases) {
    TestFolder inner(TestFolder::kEnter);
    OpenPrdWith(inner, "fault = " + c.fault + "\n" + "ts = A TSIZE=1 TFREE=1\n" +
                           "ts = B TSIZE=2 TFREE=1\n");
    Status status = client.ReadSystemInfo(&info);
    NwSizesTable table;
    if (status.ok()) status = client.CallCurrentSizes(&table);
    for (unsigned number = 1; status.ok() && number <= 2; ++number) {
      Tablespace tablespace;
      status = table.Read(number, &tablespace);
    }
    if (status.ok()) status = table.Release();
    EXPECT_TRUE(status.is_library_error()) << c.fault;
    EXPECT_EQ(status.message(), c.operation) << c.fault;
    EXPECT_EQ(client.last_error().message, c.message) << c.fault;
    client.Close();
  }
}

// The rows of TS through the classic library and its decoding.
std::vector<std::pair<std::string, Tablespace>> ClassicRows(unsigned* count) {
  static std::unique_ptr<RfcLibrary> classic = [] {
    std::unique_ptr<RfcLibrary> loaded;
    EXPECT_TRUE(RfcLibrary::Load(&loaded).ok());
    return loaded;
  }();
  RfcSession session(*classic, TracePoints(false, nullptr));
  ConnectionRecords records;
  RFC_HANDLE handle = OpenConnection(
      session, PrdProfile(), {}, [](const std::string&) {}, &records);
  EXPECT_NE(handle, 0u);
  ITAB_H table = classic->ItCreate("TS", kTableXpcRowLength, 0, 0);
  CurrentSizesTime when{};
  std::string exception;
  RFC_RC result = RFC_OK;
  EXPECT_TRUE(CallCurrentSizes(session, handle, &when, table, &exception, &result).ok());
  EXPECT_EQ(result, RFC_OK);
  std::vector<std::pair<std::string, Tablespace>> rows;
  *count = classic->ItFill(table);
  for (unsigned number = 1; number <= *count; ++number) {
    const auto* line = static_cast<const uint8_t*>(classic->ItGetLine(table, number));
    Tablespace tablespace;
    Status status = DecodeTablespace(std::span(line, kTableXpcRowLength), number, &tablespace);
    rows.emplace_back(status.message(), tablespace);
  }
  classic->ItDelete(table);
  classic->Close(handle);
  return rows;
}

TEST_F(NwRfcClientTest, TheRowsDecodeAsTheClassicLibrarysRows) {
  folder.Write("SapLandscape.txt", std::string(kPrdSection) +
                                       "ts = PSAPSR3 TSIZE=52428800 TFREE=10485760\n"
                                       "ts = EMPTY\n"
                                       "ts = BIG TSIZE=999999999999999 TFREE=0\n"
                                       "ts = NEGATIVE TSIZE=-5 TFREE=1\n"
                                       "ts = MINUSZERO TSIZE=1 TFREE=-0\n"
                                       "ts = NIBBLE TSIZE=0x000000000000A12C TFREE=1\n"
                                       "ts = ODDSIGN TSIZE=0x000000000000123B TFREE=1\n"
                                       "ts = DIGITSIGN TSIZE=0x0000000000001234 TFREE=1\n"
                                       "ts = \"  PADDED\" TSIZE=7 TFREE=3\n"
                                       "ts = OFF TSIZE=7 TFREE=3 STATUS=OFFLINE\n"
                                       "ts = RO TSIZE=7 TFREE=3 STATUS=\"READ ONLY\"\n"
                                       "ts = NOSTATUS TSIZE=7 TFREE=3 STATUS=\"\"\n");
  unsigned count = 0;
  std::vector<std::pair<std::string, Tablespace>> classic = ClassicRows(&count);
  ASSERT_EQ(count, 12u);

  ASSERT_TRUE(Open(PrdProfile()));
  NwSizesTable table;
  ASSERT_TRUE(client.CallCurrentSizes(&table).ok());
  unsigned rows = 0;
  ASSERT_TRUE(table.RowCount(&rows).ok());
  ASSERT_EQ(rows, count);
  for (unsigned number = 1; number <= rows; ++number) {
    Tablespace tablespace;
    Status status = table.Read(number, &tablespace);
    EXPECT_EQ(status.message(), classic[number - 1].first) << number;
    EXPECT_EQ(tablespace.name, classic[number - 1].second.name) << number;
    EXPECT_EQ(tablespace.status, classic[number - 1].second.status) << number;
    if (status.ok()) {
      EXPECT_EQ(tablespace.size_kb, classic[number - 1].second.size_kb) << number;
      EXPECT_EQ(tablespace.free_kb, classic[number - 1].second.free_kb) << number;
    }
  }
  // The corrupt rows are corrupt on both paths.
  EXPECT_EQ(classic[3].first, "Error 1016: Invalid size in row 4 of table TS (NEGATIVE) !");
  EXPECT_EQ(classic[5].first, "Error 1016: Invalid size in row 6 of table TS (NIBBLE) !");
  // The status as both paths read it.
  EXPECT_EQ(classic[0].second.status, "ONLINE");
  EXPECT_EQ(classic[9].second.status, "OFFLINE");
  EXPECT_EQ(classic[10].second.status, "READ ONLY");
  EXPECT_EQ(classic[11].second.status, "");
  NwSizesTable::Row row;
  ASSERT_TRUE(table.ReadRow(1, &row).ok());
  EXPECT_EQ(row.status, "ONLINE   ");
  EXPECT_TRUE(table.Release().ok());
}

TEST_F(NwRfcClientTest, TheRowCountChangesAfterTheFirstPassAsInTheClassicLibrary) {
  folder.Write("SapLandscape.txt", std::string(kPrdSection) +
                                       "ts = A TSIZE=1 TFREE=1\nts = B TSIZE=2 TFREE=1\n"
                                       "fault = rows 4\n");
  ASSERT_TRUE(Open(PrdProfile()));
  NwSizesTable table;
  ASSERT_TRUE(client.CallCurrentSizes(&table).ok());
  std::vector<unsigned> counts;
  for (int pass = 0; pass < 2; ++pass) {
    unsigned count = 0;
    for (unsigned number = 1; table.RowCount(&count).ok() && number <= count; ++number) {
      Tablespace tablespace;
      ASSERT_TRUE(table.Read(number, &tablespace).ok());
    }
    counts.push_back(count);
  }
  EXPECT_EQ(counts, (std::vector<unsigned>{2, 4}));
}

TEST_F(NwRfcClientTest, NonAsciiTextsPassThroughUtf16AndBack) {
  // The landscape holds Latin-1 and UTF-8 bytes; the library hands out
  // UTF-16, the client UTF-8.
  folder.Write("SapLandscape.txt",
               "[PRD]\nhost = sapprd01\nsysnr = 00\nlogon = 000 MONI s\xC3\xA9same\n"
               "ts = PSAP\xC4RGER TSIZE=2048 TFREE=1024\n"
               "ts = \xE2\x82\xAC"
               "URO TSIZE=4096 TFREE=0\n"
               "fault = receive DB_ORA_CURRENT_SIZES 2 NO_\xC3\x9C\n");
  ConnectionProfile profile = PrdProfile();
  profile.password = "s\xE9same";  // Latin-1: the same characters
  ASSERT_TRUE(Open(profile)) << client.last_error().message;
  NwSizesTable table;
  Status status = client.CallCurrentSizes(&table);
  EXPECT_EQ(status.message(),
            "Error 1012: Exception.: NO_\xC3\x9C - exception NO_\xC3\x9C raised by "
            "DB_ORA_CURRENT_SIZES");

  folder.Write("SapLandscape.txt",
               "[PRD]\nhost = sapprd01\nsysnr = 00\nlogon = 000 MONI s\xC3\xA9same\n"
               "ts = PSAP\xC4RGER TSIZE=2048 TFREE=1024\n"
               "ts = \xE2\x82\xAC"
               "URO TSIZE=4096 TFREE=0\n"
               "RFCHOST = h\xF6st\n");
  ASSERT_TRUE(Open(profile)) << client.last_error().message;
  ASSERT_TRUE(client.ReadSystemInfo(&info).ok());
  EXPECT_EQ(info.host, "h\xC3\xB6st    ");  // 8 characters
  ASSERT_TRUE(client.CallCurrentSizes(&table).ok());
  Tablespace tablespace;
  ASSERT_TRUE(table.Read(1, &tablespace).ok());
  EXPECT_EQ(tablespace.name, "PSAP\xC3\x84RGER");
  ASSERT_TRUE(table.Read(2, &tablespace).ok());
  EXPECT_EQ(tablespace.name,
            "\xE2\x82\xAC"
            "URO");
  EXPECT_EQ(tablespace.size_kb, 4096);
}

TEST_F(NwRfcClientTest, ADestinationFileGivesTheParametersOfThisLogon) {
  folder.Write("SapRfc.PRD",
               "# PRD by its application server\r\n"
               "DEST=PRD\r\n"
               "TYPE=A\r\n"
               "ashost = sapprd01\r\n"
               "SYSNR=00\r\n"
               "USER=someone\r\n"
               "\r\n"
               "DEST=OTHER\r\n"
               "ASHOST=elsewhere\r\n");
  NwParameters lines;
  ASSERT_TRUE(ReadDestinationFile("SapRfc.PRD", &lines));
  EXPECT_EQ(
      lines,
      (NwParameters{{"TYPE", "A"}, {"ASHOST", "sapprd01"}, {"SYSNR", "00"}, {"USER", "someone"}}));
  NwParameters parameters = DestinationLogonParameters(PrdProfile(), {"000", "", ""}, lines);
  EXPECT_EQ(parameters, (NwParameters{{"TYPE", "A"},
                                      {"ASHOST", "sapprd01"},
                                      {"SYSNR", "00"},
                                      {"CLIENT", "000"},
                                      {"USER", "MONI"},
                                      {"PASSWD", "secret"},
                                      {"LANG", "D"}}));
  ASSERT_TRUE(client.Open(parameters)) << client.last_error().message;
  ASSERT_TRUE(client.ReadSystemInfo(&info).ok());
  EXPECT_EQ(info.host, "sapprd01");
  EXPECT_FALSE(folder.Exists("SapRfc.ini"));

  folder.MakeFolder("SapRfc.DIR");
  folder.Write("SapRfc.BIG", std::string(64 * 1024 + 1, '#'));
  EXPECT_FALSE(ReadDestinationFile("SapRfc.DIR", &lines));
  EXPECT_FALSE(ReadDestinationFile("SapRfc.BIG", &lines));
  EXPECT_FALSE(ReadDestinationFile("SapRfc.NONE", &lines));
  EXPECT_TRUE(lines.empty());
}

TEST_F(NwRfcClientTest, LeavesNoHandleBehind) {
  const char* faults[] = {"",
                          "fault = itgetline 1\n",
                          "fault = itdelete\n",
                          "fault = receive * 1\n",
                          "fault = receive DB_ORA_CURRENT_SIZES 2 X\n",
                          "fault = install TABLE_XPC\n",
                          "fault = handler DB_ORA_CURRENT_SIZES\n"};
  for (const char* fault : faults) {
    TestFolder inner;
    inner.Write("SapLandscape.txt", std::string(kPrdSection) + "ts = A TSIZE=1 TFREE=1\n" + fault);
    standin::NwrfcStandin library(inner.path());
    {
      NwRfcClient own(library);
      ASSERT_TRUE(own.Open(ProfileLogonParameters(PrdProfile(), {}))) << fault;
      Status status = own.ReadSystemInfo(&info);
      NwSizesTable table;
      if (status.ok()) status = own.CallCurrentSizes(&table);
      Tablespace tablespace;
      if (status.ok()) status = table.Read(1, &tablespace);
      EXPECT_EQ(status.ok(), *fault == '\0' || std::string(fault) == "fault = itdelete\n") << fault;
    }
    EXPECT_EQ(library.live_containers(), 0u) << fault;
    EXPECT_EQ(library.open_connections(), 0u) << fault;
  }
}

TEST_F(NwRfcClientTest, TheProfileGivesTheLogonParameters) {
  ConnectionProfile profile = PrdProfile();
  EXPECT_EQ(ProfileLogonParameters(profile, {}), (NwParameters{{"ASHOST", "sapprd01"},
                                                               {"SYSNR", "00"},
                                                               {"CLIENT", "000"},
                                                               {"USER", "MONI"},
                                                               {"PASSWD", "secret"},
                                                               {"LANG", "E"}}));
  EXPECT_EQ(ProfileLogonParameters(profile, {"200", "other", "7"}),
            (NwParameters{{"ASHOST", "other"},
                          {"SYSNR", "07"},
                          {"CLIENT", "200"},
                          {"USER", "MONI"},
                          {"PASSWD", "secret"},
                          {"LANG", "E"}}));
  profile.mode = "R/2";
  profile.language = "";
  EXPECT_EQ(ProfileLogonParameters(profile, {}), (NwParameters{{"GWHOST", "sapgw01"},
                                                               {"GWSERV", "sapgw00"},
                                                               {"CLIENT", "000"},
                                                               {"USER", "MONI"},
                                                               {"PASSWD", "secret"}}));
}

}  // namespace
}  // namespace vaultgauge
