#include "standin/standin_rfc.h"

#include <gtest/gtest.h>

#include <cstring>

#include "rfc/trace_file.h"
#include "support/test_folder.h"

namespace vaultgauge::standin {
namespace {

constexpr char kPrd[] =
    "[PRD]\n"
    "host = sapprd01\n"
    "sysnr = 00\n"
    "gwhost = sapgw01\n"
    "gwservice = sapgw00\n"
    "logon = 000 MONI secret\n"
    "date = 20240131\n"
    "time = 235959\n"
    "delay = 1\n"
    "ts = PSAPSR3 TSIZE=52428800 TFREE=10485760\n"
    "ts = SYSTEM TSIZE=-1048576 TFREE=20480 TPCTUSED=98\n"
    "ts = PSAPUNDO TSIZE=10240000 TFREE=9000000\n";

std::vector<RFC_TYPE_ELEMENT> Elements(const std::vector<FieldDefinition>& fields) {
  std::vector<RFC_TYPE_ELEMENT> elements;
  for (const FieldDefinition& field : fields) {
    elements.push_back(RFC_TYPE_ELEMENT{field.name.data(), field.type, field.length, 0, 0});
  }
  return elements;
}

RFC_PARAMETER Parameter(const char* name, RFC_TYPEHANDLE type, unsigned length, void* address) {
  return RFC_PARAMETER{name, static_cast<unsigned>(std::strlen(name)), type, length, address};
}

// The calls of the sensor, made directly on an instance of the stand-in.
class StandinRfcTest : public ::testing::Test {
 protected:
  StandinRfcTest() { folder.Write("SapLandscape.txt", kPrd); }

  void AddToLandscape(const std::string& lines) {
    folder.Write("SapLandscape.txt", std::string(kPrd) + lines);
  }

  RFC_HANDLE OpenPrd(const char* password = "secret    ") {
    RFC_CONNOPT_R3ONLY host{"sapprd01", 0, nullptr, nullptr};
    RFC_OPTIONS options{"PRD", RFC_MODE_R3ONLY, &host, "000", "MONI        ", password, "E", 0};
    return rfc.Open(&options);
  }

  RFC_TYPEHANDLE Install(const char* name, const std::vector<FieldDefinition>& fields) {
    std::vector<RFC_TYPE_ELEMENT> elements = Elements(fields);
    RFC_TYPEHANDLE type = 0;
    EXPECT_EQ(
        rfc.InstallStructure(name, elements.data(), static_cast<unsigned>(elements.size()), &type),
        RFC_OK);
    return type;
  }

  // DB_ORA_CURRENT_SIZES as the measurement calls it.
  RFC_RC CallCurrentSizes(RFC_HANDLE handle, ITAB_H table) {
    if (table_xpc == 0) table_xpc = Install("TABLE_XPC", TableXpcFields());
    if (date_time == 0) date_time = Install("DATE_TIME", DateTimeFields());
    RFC_TABLE tables[] = {{"TS", 2, table_xpc, 112, table, RFC_ITMODE_BYREFERENCE, 0}, {}};
    RFC_PARAMETER importing[] = {Parameter("CURR_DATE", kDate, 8, date),
                                 Parameter("CURR_TIME", kTime, 6, time),
                                 Parameter("DATETIME", date_time, 14, datetime),
                                 {}};
    RFC_PARAMETER exporting[] = {{}};
    RFC_RC result = rfc.Call(handle, "DB_ORA_CURRENT_SIZES", exporting, tables);
    if (result != RFC_OK) return result;
    return rfc.Receive(handle, importing, tables, &exception);
  }

  std::string TraceText() {
    RealFileSystem files;
    return ScanTraceFile(files, {}, folder.path() + kTraceFileName);
  }

  TestFolder folder;
  StandinRfc rfc{folder.path()};
  RFC_TYPEHANDLE table_xpc = 0, date_time = 0;
  char date[8] = {}, time[6] = {}, datetime[14] = {};
  char* exception = nullptr;
};

TEST_F(StandinRfcTest, HandlesAreSmallIntegersAndCloseZeroClosesAll) {
  EXPECT_EQ(OpenPrd(), 1u);
  EXPECT_EQ(OpenPrd(), 2u);
  EXPECT_EQ(OpenPrd(), 3u);
  rfc.Close(2);
  EXPECT_EQ(rfc.open_connections(), 2u);
  rfc.Close(RFC_HANDLE_NULL);
  EXPECT_EQ(rfc.open_connections(), 0u);
  RFC_ERROR_INFO info{};
  EXPECT_EQ(rfc.LastError(&info), 1);  // nothing failed so far
}

TEST_F(StandinRfcTest, ReachesASystemByEachAddress) {
  RFC_CONNOPT_CPIC gateway{"SAPGW01", "sapgw00"};
  RFC_OPTIONS r2{"PRD", RFC_MODE_CPIC, &gateway, "000", "moni", "secret", "E", 0};
  EXPECT_NE(rfc.Open(&r2), 0u) << TraceText();

  folder.Write("SapRfc.ini",
               "DEST=QAS\nASHOST=sapqas\nSYSNR=12\n"
               "DEST=PRD\nTYPE=A\nASHOST=sapprd01\nSYSNR=00\n"
               "DEST=PRDGW\nTYPE=R\nGWHOST=sapgw01\nGWSERV=sapgw00\n");
  const char* connect_strings[] = {
      "CLIENT=000 USER=MONI PASSWD=secret LANG=D DEST=PRD",
      "CLIENT=000 USER=MONI PASSWD=secret LANG=D DEST=PRDGW",
      "CLIENT=000 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=00",
      "client=000 user=MONI passwd=secret gwhost=sapgw01 gwserv=sapgw00",
  };
  for (const char* connect : connect_strings) {
    RFC_ERROR_INFO_EX error{};
    EXPECT_NE(rfc.OpenEx(connect, &error), 0u) << connect << TraceText();
  }
}

TEST_F(StandinRfcTest, RefusesWhatTheSystemDoesNotAccept) {
  struct Case {
    const char* name;
    std::string landscape;  // empty: the base landscape
    std::string connect;    // empty: the options record of PRD with a wrong password
    const char* key;
    std::string trace_text;
  } cases[] = {
      {"password", "", "", "RFC_ERROR_LOGON_FAILURE",
       " - Name or password is incorrect (client 000, user MONI, system PRD)"},
      {"client", "", "CLIENT=001 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=00",
       "RFC_ERROR_LOGON_FAILURE",
       " - Name or password is incorrect (client 001, user MONI, system PRD)"},
      {"user", "", "CLIENT=000 USER=OTHER PASSWD=secret ASHOST=sapprd01 SYSNR=00",
       "RFC_ERROR_LOGON_FAILURE",
       " - Name or password is incorrect (client 000, user OTHER, system PRD)"},
      {"system number", "", "CLIENT=000 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=01",
       "RFC_ERROR_COMMUNICATION",
       " - partner not reached: no system at host sapprd01 system number 01 in SapLandscape.txt"},
      {"refused", "fault = open\n", "CLIENT=000 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=00",
       "RFC_ERROR_COMMUNICATION", " - connection to PRD refused"},
      {"refused with a message", "fault = open host sapprd01 is down\n",
       "CLIENT=000 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=00", "RFC_ERROR_COMMUNICATION",
       " - host sapprd01 is down"},
      {"malformed landscape", "sysnr = 1000\n",
       "CLIENT=000 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=00", "RFC_ERROR_PROGRAM",
       " - SapLandscape.txt line 13: SYSNR takes a system number from 00 to 99"},
      {"no SapRfc.ini", "", "CLIENT=000 USER=MONI PASSWD=secret DEST=PRD", "RFC_ERROR_PROGRAM",
       " - SapRfc.ini cannot be read in the working folder"},
      {"no address", "", "CLIENT=000 USER=MONI PASSWD=secret", "RFC_ERROR_PROGRAM",
       " - neither ASHOST nor GWHOST tells where to connect"},
      {"no connect string", "", "USER", "RFC_ERROR_PROGRAM",
       " - the connect string is no list of ID=value"},
  };
  for (const Case& c : cases) {
    AddToLandscape(c.landscape);
    RFC_ERROR_INFO_EX error{};
    RFC_HANDLE handle =
        c.connect.empty() ? OpenPrd("wrong     ") : rfc.OpenEx(c.connect.c_str(), &error);
    EXPECT_EQ(handle, 0u) << c.name;
    RFC_ERROR_INFO info{};
    EXPECT_EQ(rfc.LastError(&info), 0) << c.name;
    EXPECT_STREQ(info.key, c.key) << c.name;
    EXPECT_EQ(TraceText(), c.trace_text) << c.name;
    if (!c.connect.empty()) {
      EXPECT_STREQ(error.key, c.key) << c.name;
      EXPECT_EQ(" - " + std::string(error.message), c.trace_text) << c.name;
    }
  }
  EXPECT_EQ(rfc.open_connections(), 0u);
}

// The options record pads client, user and password with blanks, the connect
// string does not; a landscape logon may carry trailing blanks of its own.
// Trailing blanks count on neither side, every other character does.
TEST_F(StandinRfcTest, TrailingBlanksOfALogonCountOnNeitherSide) {
  struct Case {
    const char* logon;  // the words of a landscape logon line
    const char* connect_logon;
    bool accepted;
  } cases[] = {
      {"200 MONI \"pass \"", "CLIENT=200 USER=MONI PASSWD=pass", true},
      {"200 MONI \"pass   \"", "CLIENT=200 USER=moni PASSWD=pass", true},
      {"\"200 \" \"MONI \" pass", "CLIENT=200 USER=MONI PASSWD=pass", true},
      {"200 MONI pass", "CLIENT=200 USER=MONI PASSWD=pass", true},
      {"200 MONI \"pa ss \"", "CLIENT=200 USER=MONI PASSWD=pa", false},
      {"200 MONI \" pass\"", "CLIENT=200 USER=MONI PASSWD=pass", false},
      {"200 MONI \"pass \"", "CLIENT=200 USER=MONI PASSWD=pas", false},
      {"200 MONI \"pass \"", "CLIENT=200 USER=MONI PASSWD=passx", false},
  };
  for (const Case& c : cases) {
    AddToLandscape(std::string("[QAS]\nhost = sapqas\nsysnr = 12\nlogon = ") + c.logon + "\n");
    const std::string connect = std::string(c.connect_logon) + " ASHOST=sapqas SYSNR=12";
    RFC_ERROR_INFO_EX error{};
    RFC_HANDLE handle = rfc.OpenEx(connect.c_str(), &error);
    EXPECT_EQ(handle != 0, c.accepted) << c.logon << " / " << connect << ": " << error.message;
    if (handle != 0) rfc.Close(handle);
  }
  // The options record's padding on the one side, the landscape's on the other.
  AddToLandscape("[QAS]\nhost = sapqas\nsysnr = 12\nlogon = 000 MONI \"secret \"\n");
  RFC_CONNOPT_R3ONLY host{"sapqas", 12, nullptr, nullptr};
  RFC_OPTIONS options{"QAS", RFC_MODE_R3ONLY, &host, "000", "MONI        ", "secret    ", "E", 0};
  RFC_HANDLE handle = rfc.Open(&options);
  EXPECT_NE(handle, 0u) << TraceText();
  rfc.Close(handle);
}

TEST_F(StandinRfcTest, AMissingLandscapeFailsTheOpening) {
  TestFolder empty;
  StandinRfc other(empty.path());
  RFC_ERROR_INFO_EX error{};
  EXPECT_EQ(other.OpenEx("CLIENT=000 USER=MONI PASSWD=secret ASHOST=sapprd01 SYSNR=00", &error),
            0u);
  EXPECT_STREQ(error.message,
               "SapLandscape.txt cannot be read in the working folder (missing, or larger than "
               "16 MB)");
  EXPECT_EQ(error.group, RFC_ERROR_PROGRAM);
}

TEST_F(StandinRfcTest, AnswersTheSystemInformation) {
  RFC_HANDLE handle = OpenPrd();
  RFC_TYPEHANDLE rfcsi = Install("RFCSI", RfcsiFields());
  int32_t current = 0, maximal = 0, delay = -1;
  char dialog = 0, complete = 0;
  char record[200] = {};
  RFC_PARAMETER importing[] = {Parameter("CURRENT_RESOURCES", kInt, 4, &current),
                               Parameter("DIALOG_USER_TYPE", kChar, 1, &dialog),
                               Parameter("MAXIMAL_RESOURCES", kInt, 4, &maximal),
                               Parameter("RECOMMENDED_DELAY", kInt, 4, &delay),
                               Parameter("RFCSI_EXPORT", rfcsi, 200, record),
                               Parameter("RFC_LOGIN_COMPLETE", kChar, 1, &complete),
                               {}};
  RFC_PARAMETER none[] = {{}};
  RFC_TABLE no_tables[] = {{}};
  ASSERT_EQ(rfc.Call(handle, "RFC_SYSTEM_INFO", none, no_tables), RFC_OK) << TraceText();
  ASSERT_EQ(rfc.Receive(handle, importing, no_tables, &exception), RFC_OK) << TraceText();
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(ParseLandscape(kPrd, &landscape, &error));
  EXPECT_EQ(std::string(record, 200), landscape.System(0).rfcsi);
  EXPECT_EQ(current, 5);
  EXPECT_EQ(maximal, 10);
  EXPECT_EQ(delay, 0);
  EXPECT_EQ(complete, 'X');
}

TEST_F(StandinRfcTest, AnswersTheCurrentSizes) {
  RFC_HANDLE handle = OpenPrd();
  ITAB_H table = rfc.ItCreate("TS", 112, 0, 0);
  ASSERT_EQ(CallCurrentSizes(handle, table), RFC_OK) << TraceText();
  EXPECT_EQ(std::string(date, 8), "20240131");
  EXPECT_EQ(std::string(time, 6), "235959");
  EXPECT_EQ(std::string(datetime, 14), "20240131235959");
  ASSERT_EQ(rfc.ItFill(table), 3u);
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(ParseLandscape(kPrd, &landscape, &error));
  for (unsigned row = 1; row <= 3; ++row) {
    const char* line = static_cast<const char*>(rfc.ItGetLine(table, row));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::string(line, 112), landscape.System(0).tablespaces[row - 1]) << row;
  }
  // The negative size arrives with its sign nibble D.
  const unsigned char* system = static_cast<const unsigned char*>(rfc.ItGetLine(table, 2));
  EXPECT_EQ(system[68], 0x6D);
  EXPECT_EQ(rfc.ItGetLine(table, 0), nullptr);
  EXPECT_EQ(rfc.ItGetLine(table, 4), nullptr);
  EXPECT_EQ(rfc.ItDelete(table), 0);
}

TEST_F(StandinRfcTest, FailsACallItCannotServeSafely) {
  RFC_HANDLE handle = OpenPrd();
  RFC_TYPEHANDLE xpc = Install("TABLE_XPC", TableXpcFields());
  RFC_TYPEHANDLE dt = Install("DATE_TIME", DateTimeFields());
  ITAB_H table = rfc.ItCreate("TS", 112, 0, 0);
  ITAB_H narrow = rfc.ItCreate("TS", 100, 0, 0);
  char buffer[16] = {};
  struct Case {
    const char* function;
    RFC_PARAMETER exporting;
    RFC_TABLE table;
    RFC_PARAMETER importing;
    std::string trace_text;
  } cases[] = {
      {"DB_ORA_CURRENT_SIZE", {}, {}, {}, " - function module DB_ORA_CURRENT_SIZE not found"},
      {"RFC_SYSTEM_INFO",
       Parameter("DESTINATION", kChar, 8, buffer),
       {},
       {},
       " - DESTINATION is not in the interface of the function module"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {"TS", 2, xpc, 112, narrow, RFC_ITMODE_BYREFERENCE, 0},
       {},
       " - TS: the table's rows have 100 bytes, the row type 112"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {"TS", 2, xpc, 100, narrow, RFC_ITMODE_BYREFERENCE, 0},
       {},
       " - TS: length 100 where 112 is expected"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {"TS", 2, dt, 112, table, RFC_ITMODE_BYREFERENCE, 0},
       {},
       " - TS: type " + std::to_string(dt) +
           " is not an installed structure of 14 fields laid out as expected"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {"TS", 3, xpc, 112, table, RFC_ITMODE_BYREFERENCE, 0},
       {},
       " - TS: name length 3 is wrong"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {"TS", 2, xpc, 112, buffer, RFC_ITMODE_BYREFERENCE, 0},
       {},
       " - TS: the table handle is not a table of this library"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {},
       Parameter("CURR_DATE", kDate, 6, buffer),
       " - CURR_DATE: length 6 where 8 is expected"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {},
       Parameter("CURR_TIME", kChar, 6, buffer),
       " - CURR_TIME: type 0 where 3 is expected"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {},
       Parameter("CURR_DATE", kDate, 8, nullptr),
       " - CURR_DATE: no place for the value"},
      {"DB_ORA_CURRENT_SIZES",
       {},
       {},
       Parameter("RFCSI_EXPORT", 0, 200, buffer),
       " - RFCSI_EXPORT is not in the interface of the function module"},
  };
  for (const Case& c : cases) {
    RFC_PARAMETER exporting[] = {c.exporting, {}};
    RFC_TABLE tables[] = {c.table, {}};
    RFC_PARAMETER importing[] = {c.importing, {}};
    RFC_RC result = rfc.Call(handle, c.function, exporting, tables);
    if (result == RFC_OK) result = rfc.Receive(handle, importing, tables, &exception);
    EXPECT_EQ(result, RFC_FAILURE) << c.trace_text;
    EXPECT_EQ(TraceText(), c.trace_text);
  }
  RFC_PARAMETER none[] = {{}};
  RFC_TABLE no_tables[] = {{}};
  EXPECT_EQ(rfc.Receive(handle, none, no_tables, &exception), RFC_FAILURE);
  EXPECT_EQ(TraceText(), " - RfcReceive without an RfcCall before it");
  EXPECT_EQ(rfc.Call(99, "RFC_SYSTEM_INFO", none, no_tables), RFC_INVALID_HANDLE);
  EXPECT_EQ(TraceText(), " - handle 99 is not open");
  // The connection stays usable after a refused call.
  EXPECT_EQ(CallCurrentSizes(handle, table), RFC_OK);
}

TEST_F(StandinRfcTest, ACallFaultReturnsItsCode) {
  struct Case {
    std::string fault;
    RFC_RC result;
    const char* exception;  // null: none handed out
    bool closes;
  } cases[] = {
      {"call DB_ORA_CURRENT_SIZES 1", RFC_FAILURE, nullptr, false},
      {"call * 2 NO_DATA_FOUND", RFC_EXCEPTION, nullptr, false},
      {"call * 3", RFC_SYS_EXCEPTION, nullptr, true},
      {"call * 7", RFC_RETRY, nullptr, false},
      {"receive * 1", RFC_FAILURE, nullptr, false},
      {"receive * 2 NO_DATA_FOUND", RFC_EXCEPTION, "NO_DATA_FOUND", false},
      {"receive * 2", RFC_EXCEPTION, "", false},
      {"receive * 3 COMMUNICATION_FAILURE", RFC_SYS_EXCEPTION, "COMMUNICATION_FAILURE", true},
      {"receive * 3", RFC_SYS_EXCEPTION, "SYSTEM_FAILURE", true},
      {"receive * -5", static_cast<RFC_RC>(-5), nullptr, false},
  };
  for (const Case& c : cases) {
    AddToLandscape("fault = " + c.fault + "\n");
    RFC_HANDLE handle = OpenPrd();
    ITAB_H table = rfc.ItCreate("TS", 112, 0, 0);
    exception = nullptr;
    EXPECT_EQ(CallCurrentSizes(handle, table), c.result) << c.fault;
    EXPECT_EQ(exception == nullptr ? "(none)" : std::string(exception),
              c.exception == nullptr ? "(none)" : c.exception)
        << c.fault;
    EXPECT_EQ(rfc.open_connections(), c.closes ? 0u : 1u) << c.fault;
    EXPECT_EQ(rfc.ItFill(table), 0u) << c.fault;
    rfc.ItDelete(table);
    rfc.Close(RFC_HANDLE_NULL);
  }
}

TEST_F(StandinRfcTest, InstallsStructuresByTheOffsetRule) {
  AddToLandscape("fault = install DATE_TIME\n");
  OpenPrd();
  RFC_TYPEHANDLE first = Install("TABLE_XPC", TableXpcFields());
  EXPECT_EQ(Install("TABLE_XPC", TableXpcFields()), first);  // identical description
  EXPECT_NE(Install("RFCSI", RfcsiFields()), first);

  std::vector<RFC_TYPE_ELEMENT> elements = Elements(DateTimeFields());
  RFC_TYPEHANDLE type = 0;
  EXPECT_EQ(rfc.InstallStructure("DATE_TIME", elements.data(), 2, &type), RFC_MEMORY_INSUFFICIENT);
  EXPECT_EQ(type, 0u);
  EXPECT_EQ(TraceText(), " - no memory for structure DATE_TIME");

  RFC_TYPE_ELEMENT bad[] = {{"X", kInt, 8, 0, 0}};
  EXPECT_EQ(rfc.InstallStructure("BAD", bad, 1, &type), RFC_INVALID_PARAMETER);
  EXPECT_EQ(TraceText(), " - structure BAD, element 1: type 8 with length 8 is not valid");
  EXPECT_EQ(rfc.InstallStructure("BAD", bad, 0, &type), RFC_INVALID_PARAMETER);
}

TEST_F(StandinRfcTest, TableFaults) {
  AddToLandscape("fault = itgetline 2\nfault = itdelete\n");
  RFC_HANDLE handle = OpenPrd();
  ITAB_H table = rfc.ItCreate("TS", 112, 0, 0);
  ASSERT_EQ(CallCurrentSizes(handle, table), RFC_OK);
  EXPECT_NE(rfc.ItGetLine(table, 1), nullptr);
  EXPECT_EQ(rfc.ItGetLine(table, 2), nullptr);
  EXPECT_EQ(TraceText(), " - row 2 cannot be read");
  EXPECT_NE(rfc.ItGetLine(table, 3), nullptr);
  EXPECT_EQ(rfc.ItDelete(table), 1);
  EXPECT_EQ(TraceText(), " - the table cannot be freed");
  EXPECT_EQ(rfc.ItDelete(table), 1);  // gone all the same
  EXPECT_EQ(TraceText(), " - not a table of this library");

  AddToLandscape("fault = itcreate\n");
  OpenPrd();
  EXPECT_EQ(rfc.ItCreate("TS", 112, 0, 0), nullptr);
  EXPECT_EQ(TraceText(), " - no memory for table TS");
}

TEST_F(StandinRfcTest, TheRowCountChangesBetweenTheReadingPasses) {
  struct Case {
    std::string landscape;
    unsigned first_pass, second_pass;
  } cases[] = {
      {"fault = rows 5\n", 3, 5},
      {"fault = rows 1\n", 3, 1},
      {"", 3, 3},
  };
  for (const Case& c : cases) {
    AddToLandscape(c.landscape);
    RFC_HANDLE handle = OpenPrd();
    ITAB_H table = rfc.ItCreate("TS", 112, 0, 0);
    ASSERT_EQ(CallCurrentSizes(handle, table), RFC_OK);
    unsigned read = 0;
    for (unsigned row = 1; row <= rfc.ItFill(table); ++row) {
      ASSERT_NE(rfc.ItGetLine(table, row), nullptr);
      ++read;
    }
    EXPECT_EQ(read, c.first_pass) << c.landscape;
    unsigned second = rfc.ItFill(table);
    EXPECT_EQ(second, c.second_pass) << c.landscape;
    // Grown rows repeat the last one.
    const char* last = static_cast<const char*>(rfc.ItGetLine(table, second));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(std::string(last, 8), second == 1 ? "PSAPSR3 " : "PSAPUNDO") << c.landscape;
    rfc.ItDelete(table);
  }
}

std::string handler_text;

void DLL_CALL_BACK_FUNCTION RecordHandlerText(RFC_CHAR* text) { handler_text = text; }

TEST_F(StandinRfcTest, ReportsAFailureToTheErrorHandler) {
  AddToLandscape("fault = handler DB_ORA_CURRENT_SIZES\n");
  RFC_ENV env{&RecordHandlerText, nullptr};
  rfc.Environment(&env);
  handler_text.clear();
  RFC_HANDLE handle = OpenPrd();
  ITAB_H table = rfc.ItCreate("TS", 112, 0, 0);
  EXPECT_EQ(CallCurrentSizes(handle, table), RFC_FAILURE);
  EXPECT_EQ(handler_text, "RfcReceive");
  RFC_ERROR_INFO info{};
  ASSERT_EQ(rfc.LastError(&info), 0);
  EXPECT_STREQ(info.key, "RFC_ERROR_SYSTEM_FAILURE");
  EXPECT_STREQ(info.status, "connection 1 to PRD");
  EXPECT_STREQ(info.intstat, "stand-in RFC library, RfcReceive");
}

TEST_F(StandinRfcTest, TheJournalNotesEveryOpeningAndClosing) {
  folder.Write("SapLandscape.txt", std::string("journal = Journal.txt\n") + kPrd +
                                       "fault = receive RFC_SYSTEM_INFO 3\n");
  EXPECT_EQ(OpenPrd(), 1u);
  EXPECT_EQ(OpenPrd("wrong"), 0u);
  EXPECT_EQ(OpenPrd(), 2u);
  EXPECT_EQ(OpenPrd(), 3u);
  rfc.Close(1);
  rfc.Close(1);
  // A system exception ends the connection in the library itself.
  RFC_PARAMETER none[] = {{}};
  RFC_TABLE no_tables[] = {{}};
  ASSERT_EQ(rfc.Call(2, "RFC_SYSTEM_INFO", none, no_tables), RFC_OK);
  EXPECT_EQ(rfc.Receive(2, none, no_tables, &exception), RFC_SYS_EXCEPTION);
  rfc.Close(RFC_HANDLE_NULL);
  rfc.Close(RFC_HANDLE_NULL);
  EXPECT_EQ(folder.Read("Journal.txt"),
            "open 1 PRD\n"
            "open failed\n"
            "open 2 PRD\n"
            "open 3 PRD\n"
            "close 1\n"
            "close 1: not open\n"
            "lost 2: system exception\n"
            "close all: 3\n"
            "close all: none\n");
}

TEST_F(StandinRfcTest, WritesOneTraceSectionPerFailure) {
  OpenPrd("wrong");
  OpenPrd("wrong");
  std::string trace = folder.Read(kTraceFileName);
  size_t sections = 0;
  for (size_t at = trace.find("**** ERROR "); at != std::string::npos;
       at = trace.find("**** ERROR ", at + 1)) {
    ++sections;
  }
  EXPECT_EQ(sections, 2u);
  EXPECT_NE(trace.find("\nERROR key   RFC_ERROR_LOGON_FAILURE\n"), std::string::npos);
  EXPECT_NE(trace.find("\nH00000 ======> Name or password is incorrect"), std::string::npos);
}

}  // namespace
}  // namespace vaultgauge::standin
