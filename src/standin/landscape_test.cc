#include "standin/landscape.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "standin/connect_data.h"
#include "standin/structures.h"

namespace vaultgauge::standin {
namespace {

// The example of the README.
constexpr char kExample[] =
    R"(# SapLandscape.txt: the SAP systems the stand-in RFC library simulates.
[PRD]
host      = sapprd01
sysnr     = 00
gwhost    = sapgw01
gwservice = sapgw00
logon     = 000 MONI secret
logon     = 100 MONI "pass word"
RFCDBSYS  = ORACLE
RFCSAPRL  = 750
date      = 20240131
time      = 235959
ts = PSAPSR3  TSIZE=52428800 TFREE=10485760
ts = SYSTEM   TSIZE=1048576  TFREE=20480 INIT_EXT=65536 TSAU="TS AU"
ts = PSAPUNDO TSIZE=10240000 TFREE=9000000

[QAS]
host     = sapqas
sysnr    = 12
logon    = 100 MONI secret
RFCDBSYS = MSSQL
fault    = receive DB_ORA_CURRENT_SIZES 2 NO_DATA_FOUND
delay    = 250
)";

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

TEST(LandscapeTest, ReadsTheExample) {
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(ParseLandscape(kExample, &landscape, &error)) << error;
  ASSERT_EQ(landscape.size(), 2u);

  const SapSystem prd = landscape.System(0);
  EXPECT_EQ(prd.name, "PRD");
  EXPECT_EQ(prd.host, "sapprd01");
  EXPECT_EQ(prd.sysnr, 0);
  EXPECT_EQ(prd.gwhost, "sapgw01");
  EXPECT_EQ(prd.gwservice, "sapgw00");
  ASSERT_EQ(prd.logons.size(), 2u);
  EXPECT_EQ(prd.logons[1].client, "100");
  EXPECT_EQ(prd.logons[1].password, "pass word");
  EXPECT_EQ(prd.date, "20240131");
  EXPECT_EQ(prd.time, "235959");

  ASSERT_EQ(prd.rfcsi.size(), 200u);
  EXPECT_EQ(prd.rfcsi.substr(0, 13), "0111100LITIE3");
  EXPECT_EQ(prd.rfcsi.substr(13, 32), "sapprd01_PRD_00                 ");
  EXPECT_EQ(prd.rfcsi.substr(45, 8), "sapprd01");
  EXPECT_EQ(prd.rfcsi.substr(53, 8), "PRD     ");
  EXPECT_EQ(prd.rfcsi.substr(101, 10), "ORACLE    ");
  EXPECT_EQ(prd.rfcsi.substr(111, 4), "750 ");
  EXPECT_EQ(prd.rfcsi.substr(156, 44), std::string(44, ' '));

  ASSERT_EQ(prd.tablespaces.size(), 3u);
  const std::string& system = prd.tablespaces[1];
  ASSERT_EQ(system.size(), 112u);
  EXPECT_EQ(system.substr(0, 30), "SYSTEM" + std::string(24, ' '));
  int32_t init_ext;
  std::memcpy(&init_ext, &system[32], 4);
  EXPECT_EQ(init_ext, 65536);
  EXPECT_EQ(system.substr(52, 9), "ONLINE   ");
  EXPECT_EQ(Hex(system.substr(61, 8)), "000000001048576C");
  EXPECT_EQ(Hex(system.substr(69, 8)), "000000000020480C");
  EXPECT_EQ(system.substr(92, 14), "TS AU         ");
  EXPECT_EQ(Hex(prd.tablespaces[0].substr(61, 8)), "000000052428800C");

  const SapSystem qas = landscape.System(1);
  EXPECT_EQ(qas.rfcsi.substr(101, 10), "MSSQL     ");
  ASSERT_EQ(qas.faults.receive.size(), 1u);
  EXPECT_EQ(qas.faults.receive[0].function, "DB_ORA_CURRENT_SIZES");
  EXPECT_EQ(qas.faults.receive[0].code, 2);
  EXPECT_EQ(qas.faults.receive[0].exception, "NO_DATA_FOUND");
  EXPECT_EQ(qas.delay_ms, 250u);

  SapSystem found;
  ASSERT_TRUE(landscape.FindByHost("SAPQAS", 12, &found));
  EXPECT_EQ(found.name, "QAS");
  EXPECT_EQ(found.faults.receive.size(), 1u);
  EXPECT_FALSE(landscape.FindByHost("sapqas", 0, &found));
  ASSERT_TRUE(landscape.FindByGateway("SAPGW01", "sapgw00", &found));
  EXPECT_EQ(found.name, "PRD");
  EXPECT_EQ(found.tablespaces, prd.tablespaces);
  EXPECT_FALSE(landscape.FindByGateway("sapgw01", "sapgw01", &found));
}

TEST(LandscapeTest, ReadsEachFault) {
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(
      ParseLandscape("[A]\n"
                     "fault = open host is down\n"
                     "fault = call * 3\n"
                     "fault = handler RFC_SYSTEM_INFO\n"
                     "fault = install\n"
                     "fault = install TABLE_XPC\n"
                     "fault = itcreate\n"
                     "fault = itgetline 2\n"
                     "fault = itdelete\n"
                     "fault = rows 5\n",
                     &landscape, &error))
      << error;
  const Faults faults = landscape.System(0).faults;
  EXPECT_TRUE(faults.refuse_open);
  EXPECT_EQ(faults.refuse_message, "host is down");
  ASSERT_EQ(faults.call.size(), 1u);
  EXPECT_EQ(faults.call[0].exception, "SYSTEM_FAILURE");
  ASSERT_EQ(faults.handler.size(), 1u);
  EXPECT_EQ(faults.handler[0].text, "RfcReceive");
  EXPECT_EQ(faults.install, (std::vector<std::string>{"*", "TABLE_XPC"}));
  EXPECT_TRUE(faults.it_create);
  EXPECT_EQ(faults.it_get_line_row, 2u);
  EXPECT_TRUE(faults.it_delete);
  EXPECT_EQ(faults.rows_after_first_pass, 5);
}

TEST(LandscapeTest, TheJournalIsTheWholeLandscapes) {
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(ParseLandscape("# notes\njournal = Rfc_Journal.txt\n[A]\n", &landscape, &error))
      << error;
  EXPECT_EQ(landscape.journal(), "Rfc_Journal.txt");
  ASSERT_TRUE(ParseLandscape("[A]\n", &landscape, &error)) << error;
  EXPECT_EQ(landscape.journal(), "");
}

TEST(LandscapeTest, NamesTheLineOfEachMistake) {
  struct Case {
    std::string text, error;
  } cases[] = {
      {"host = x\n", "line 1: \"HOST\" stands before the first [SID] line"},
      {"[A]\nhots = x\n", "line 2: unknown key \"HOTS\""},
      {"[A]\njust words\n", "line 2: expected \"key = value\" or \"[SID]\""},
      {"[A\n", "line 1: a section line is \"[SID]\""},
      {"[]\n", "line 1: the system name must have 1 to 32 characters"},
      {"[A]\n[a]\n", "line 2: system a twice"},
      {"[A]\nsysnr = 100\n", "line 2: SYSNR takes a system number from 00 to 99"},
      {"[A]\nsysnr = 1x\n", "line 2: SYSNR takes a system number from 00 to 99"},
      {"[A]\nlogon = 000 MONI\n", "line 2: LOGON takes a client, a user and a password"},
      {"[A]\nlogon = 000 MONI \"secret\n", "line 2: a double quote is not closed"},
      {"[A]\ndate = 2024013\n", "line 2: DATE takes YYYYMMDD"},
      {"[A]\ntime = 12:00:00\n", "line 2: TIME takes HHMMSS"},
      {"[A]\ndelay = -1\n", "line 2: DELAY takes milliseconds from 0 to 600000"},
      {"[A]\nRFCHOST = sapprd012\n", "line 2: RFCHOST holds at most 8 characters"},
      {"[A]\nRFCDBSYS = two words\n",
       "line 2: RFCDBSYS takes one word (in double quotes for blanks)"},
      {"[A]\nts =\n", "line 2: TS takes the tablespace's name first, then FIELD=value words"},
      {"[A]\nts = TSIZE=5\n",
       "line 2: TS takes the tablespace's name first, then FIELD=value words"},
      {"[A]\nts = X SIZE=5\n", "line 2: \"SIZE=5\" is no FIELD=value of TABLE_XPC"},
      {"[A]\nts = X TSIZE\n", "line 2: \"TSIZE\" is no FIELD=value of TABLE_XPC"},
      {"[A]\nts = " + std::string(31, 'x') + "\n", "line 2: TS holds at most 30 characters"},
      {"[A]\nts = X TSIZE=1234567890123456\n",
       "line 2: TSIZE takes a whole number of up to 15 digits, or 0x and 16 hex digits"},
      {"[A]\nts = X TFREE=12a\n",
       "line 2: TFREE takes a whole number of up to 15 digits, or 0x and 16 hex digits"},
      {"[A]\nts = X INIT_EXT=2147483648\n", "line 2: INIT_EXT takes a 32-bit whole number"},
      {"[A]\nfault = sometimes\n", "line 2: unknown fault \"sometimes\""},
      {"[A]\nfault = call * 0\n",
       "line 2: FAULT = call takes a function module (or *), a non-zero code and an exception "
       "name"},
      {"[A]\nfault = itgetline 0\n", "line 2: FAULT = ITGETLINE takes the row that fails, from 1"},
      {"[A]\nfault = rows -1\n", "line 2: FAULT = ROWS takes the row count after the first pass"},
      {"[A]\nfault = itcreate now\n", "line 2: FAULT = ITCREATE takes nothing more"},
      {"[A]\njournal = j.txt\n", "line 2: JOURNAL stands before the first [SID] line"},
      {"journal = sub/j.txt\n",
       "line 1: JOURNAL takes a file name of up to 32 characters, without a folder"},
      {"journal = a b\n",
       "line 1: JOURNAL takes a file name of up to 32 characters, without a folder"},
      {"[A]\n" + std::string(5000, '#') + "\n", "line 2: the line is longer than 4096 characters"},
  };
  for (const Case& c : cases) {
    Landscape landscape;
    std::string error;
    EXPECT_FALSE(ParseLandscape(c.text, &landscape, &error)) << c.text;
    EXPECT_EQ(error, "SapLandscape.txt " + c.error) << c.text;
  }
}

TEST(LandscapeTest, NeverFailsWithoutSayingWhy) {
  // Text made of the landscape's own characters, shuffled: whatever it
  // yields, a rejection names its reason.
  std::mt19937 random(4);
  const std::string alphabet = "[]=\"# \n\tABCxyz0123456789-TSIZE";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    int length = static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    Landscape landscape;
    std::string error;
    if (!ParseLandscape(text, &landscape, &error)) {
      EXPECT_FALSE(error.empty()) << text;
    }
  }
}

TEST(LandscapeTest, FindsEachOfAThousandSystemsAndNoMore) {
  std::string text;
  for (int i = 1; i <= 1000; ++i) {
    std::string sid = "S" + std::to_string(i);
    text += "[" + sid + "]\nhost = sap" + std::to_string(i) +
            "\nsysnr = " + std::to_string(i % 100) + "\nts = " + sid + "\n# between the systems\n";
  }
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(ParseLandscape(text, &landscape, &error)) << error;
  ASSERT_EQ(landscape.size(), 1000u);
  for (int i : {1, 2, 999, 1000}) {
    SapSystem system;
    ASSERT_TRUE(landscape.FindByHost("SAP" + std::to_string(i), i % 100, &system)) << i;
    EXPECT_EQ(system.name, "S" + std::to_string(i));
    ASSERT_EQ(system.tablespaces.size(), 1u);
    EXPECT_EQ(system.tablespaces[0].substr(0, 5), (system.name + "     ").substr(0, 5));
  }
  EXPECT_FALSE(ParseLandscape(text + "[S1001]\n", &landscape, &error));
  EXPECT_EQ(error, "SapLandscape.txt line 5001: more than 1000 systems");
  EXPECT_EQ(landscape.size(), 0u);
}

TEST(LandscapeTest, TheFirstOfTwoSystemsAtOneAddressAnswers) {
  Landscape landscape;
  std::string error;
  ASSERT_TRUE(
      ParseLandscape("[A]\nhost = sap\ngwhost = gw\ngwservice = sapgw00\n"
                     "[B]\nhost = SAP\ngwhost = GW\ngwservice = SAPGW00\n",
                     &landscape, &error))
      << error;
  SapSystem system;
  ASSERT_TRUE(landscape.FindByHost("sap", 0, &system));
  EXPECT_EQ(system.name, "A");
  ASSERT_TRUE(landscape.FindByGateway("gw", "sapgw00", &system));
  EXPECT_EQ(system.name, "A");
  // A system without a host is not found by an empty one.
  ASSERT_TRUE(ParseLandscape("[A]\ngwhost = gw\n", &landscape, &error));
  EXPECT_FALSE(landscape.FindByHost("", 0, &system));
  EXPECT_FALSE(landscape.FindByGateway("", "", &system));
}

TEST(LandscapeTest, MissingFileIsSaidPlainly) {
  Landscape landscape;
  std::string error;
  EXPECT_FALSE(ReadLandscapeFile("/no/such/folder/SapLandscape.txt", &landscape, &error));
  EXPECT_EQ(
      error,
      "SapLandscape.txt cannot be read in the working folder (missing, or larger than 16 MB)");
}

TEST(EncodePackedTest, WritesDigitsAndSignNibbles) {
  struct Case {
    const char* text;
    const char* hex;  // null: refused
  } cases[] = {
      {"12345", "000000000012345C"},
      {"+12345", "000000000012345C"},
      {"-12345", "000000000012345D"},
      {"-0", "000000000000000D"},
      {"0", "000000000000000C"},
      {"999999999999999", "999999999999999C"},
      {"0x000000000012345A", "000000000012345A"},
      {"0x00000000001234AF", "00000000001234AF"},
      {"1000000000000000", nullptr},
      {"", nullptr},
      {"-", nullptr},
      {"1 2", nullptr},
      {"0x00000000001234G0", nullptr},
      {"0x0000000000001234F", nullptr},
  };
  for (const Case& c : cases) {
    unsigned char field[8] = {};
    bool encoded = EncodePacked(c.text, field);
    EXPECT_EQ(encoded, c.hex != nullptr) << c.text;
    if (encoded && c.hex != nullptr) {
      EXPECT_EQ(Hex(std::string_view(reinterpret_cast<char*>(field), 8)), c.hex) << c.text;
    }
  }
}

TEST(StructuresTest, LaysOutIntegersAtMultiplesOfFour) {
  std::vector<unsigned> offsets;
  for (const FieldLayout& field : LayOut(TableXpcFields())) offsets.push_back(field.offset);
  EXPECT_EQ(offsets,
            (std::vector<unsigned>{0, 32, 36, 40, 44, 48, 52, 61, 69, 80, 84, 88, 92, 108}));
  EXPECT_EQ(LayoutLength(LayOut(TableXpcFields())), 112u);
  EXPECT_EQ(LayoutLength(LayOut(RfcsiFields())), 200u);
  EXPECT_EQ(LayoutLength(LayOut(DateTimeFields())), 14u);
}

// The index agrees with the layout for every field of every structure, and
// finds a field in any letter case only when asked to.
TEST(StructuresTest, IndexFindsEveryFieldAtItsPlace) {
  const std::vector<std::pair<const std::vector<FieldDefinition>*, const FieldIndex*>> structures =
      {{&RfcsiFields(), &RfcsiIndex()},
       {&TableXpcFields(), &TableXpcIndex()},
       {&DateTimeFields(), &DateTimeIndex()}};
  for (const auto& [fields, index] : structures) {
    std::vector<FieldLayout> layout = LayOut(*fields);
    ASSERT_EQ(index->fields().size(), fields->size());
    for (size_t i = 0; i < fields->size(); ++i) {
      const std::string name((*fields)[i].name);
      const PlacedField* exact = index->FindExact(name);
      ASSERT_NE(exact, nullptr) << name;
      EXPECT_EQ(index->Position(exact), i) << name;
      EXPECT_EQ((FieldLayout{exact->type, exact->length, exact->offset}), layout[i]) << name;
      std::string lower = name;
      for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      EXPECT_EQ(index->Find(lower), exact) << name;
      EXPECT_EQ(index->FindExact(lower), nullptr) << name;
      EXPECT_EQ(index->Find(name + "X"), nullptr) << name;
      EXPECT_EQ(index->Find(name.substr(1)), nullptr) << name;
    }
  }
  EXPECT_EQ(TableXpcIndex().Find(""), nullptr);
  EXPECT_EQ(TableXpcIndex().Find(std::string(100, 'T')), nullptr);
}

TEST(ConnectDataTest, ReadsTheConnectString) {
  std::map<std::string, std::string> values;
  ASSERT_TRUE(ParseConnectString("client=000 USER=MONI PASSWD=\"a b\" LANG=D DEST=PRD", &values));
  EXPECT_EQ(values["CLIENT"], "000");
  EXPECT_EQ(values["PASSWD"], "a b");
  EXPECT_EQ(values["DEST"], "PRD");
  EXPECT_FALSE(ParseConnectString("CLIENT=000 garbage", &values));
  EXPECT_FALSE(ParseConnectString("=x", &values));
}

TEST(ConnectDataTest, FindsTheEntryOfTheDestination) {
  constexpr char kIni[] =
      "* saprfc.ini\r\n"
      "DEST=QAS\r\nTYPE=A\r\nASHOST=sapqas\r\nSYSNR=12\r\n"
      "DEST = prd\r\nTYPE=R\r\nGWHOST=sapgw01\r\nGWSERV=sapgw00\r\n"
      "DEST=DEV\r\nASHOST=sapdev\r\n";
  std::map<std::string, std::string> entry;
  ASSERT_TRUE(FindDestinationEntry(kIni, "PRD", &entry));
  EXPECT_EQ(entry,
            (std::map<std::string, std::string>{
                {"DEST", "prd"}, {"TYPE", "R"}, {"GWHOST", "sapgw01"}, {"GWSERV", "sapgw00"}}));
  EXPECT_FALSE(FindDestinationEntry(kIni, "TST", &entry));
}

}  // namespace
}  // namespace vaultgauge::standin
