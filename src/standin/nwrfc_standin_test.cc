// The stand-in NetWeaver library's checks of what it is handed, called
// in-process.
#include "standin/nwrfc_standin.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"
#include "util/utf16.h"

namespace vaultgauge::standin {
namespace {

using nwrfc::RFC_CONNECTION_PARAMETER;
using nwrfc::RFC_ERROR_INFO;

constexpr char kLandscape[] =
    "journal = journal.txt\n"
    "[PRD]\n"
    "host = sapprd01\n"
    "sysnr = 00\n"
    "logon = 000 MONI secret\n"
    "ts = PSAPSR3 TSIZE=52428800 TFREE=10485760\n";

class NwrfcStandinTest : public ::testing::Test {
 protected:
  NwrfcStandinTest() { folder.Write("SapLandscape.txt", kLandscape); }

  nwrfc::RFC_CONNECTION_HANDLE Open(std::vector<std::pair<std::u16string, std::u16string>> list) {
    std::vector<RFC_CONNECTION_PARAMETER> parameters;
    for (const auto& [name, value] : list) parameters.push_back({name.c_str(), value.c_str()});
    error = RFC_ERROR_INFO{};
    return library.OpenConnection(parameters.data(), static_cast<unsigned>(parameters.size()),
                                  &error);
  }
  nwrfc::RFC_CONNECTION_HANDLE OpenPrd() {
    return Open({{u"ashost", u"sapprd01"},
                 {u"SYSNR", u"00"},
                 {u"CLIENT", u"000"},
                 {u"USER", u"moni"},
                 {u"PASSWD", u"secret"}});
  }
  std::string Message() const { return FromUtf16(BoundedUtf16(error.message, 512)); }

  TestFolder folder;
  NwrfcStandin library{folder.path()};
  RFC_ERROR_INFO error{};
};

TEST_F(NwrfcStandinTest, RefusesParametersItCannotTake) {
  std::u16string broken = u"ASHOST";
  broken[2] = char16_t(0xD800);  // a lone surrogate
  struct Case {
    const char* name;
    std::vector<std::pair<std::u16string, std::u16string>> parameters;
    std::string message;
  } cases[] = {
      {"unknown name",
       {{u"ASHOST", u"sapprd01"}, {u"HOSTNAME", u"x"}},
       "unknown connection parameter 'HOSTNAME'"},
      {"repeated name",
       {{u"ASHOST", u"sapprd01"}, {u"ashost", u"x"}},
       "parameter ASHOST given twice"},
      {"broken UTF-16", {{broken, u"sapprd01"}}, "a parameter name \"AS?OST\" is no valid UTF-16"},
      {"destination",
       {{u"DEST", u"PRD"}},
       "DEST: the stand-in library reads no sapnwrfc.ini; give the parameters"},
      {"system number",
       {{u"ASHOST", u"sapprd01"}, {u"SYSNR", u"0"}},
       "SYSNR '0' is no system number of two digits"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Open(c.parameters), nullptr) << c.name;
    EXPECT_EQ(error.code, nwrfc::RFC_INVALID_PARAMETER) << c.name;
    EXPECT_EQ(Message(), c.message) << c.name;
  }
  std::vector<char16_t> long_value(1100, u'x');
  RFC_CONNECTION_PARAMETER parameter{u"ASHOST", long_value.data()};
  EXPECT_EQ(library.OpenConnection(&parameter, 1, &error), nullptr);
  EXPECT_EQ(Message(), "the value of ASHOST has no terminator within 1024 units");
  EXPECT_EQ(library.OpenConnection(nullptr, 1, &error), nullptr);
  std::string seven_failures;
  for (int i = 0; i < 7; ++i) seven_failures += "open failed\n";
  EXPECT_EQ(folder.Read("journal.txt"), seven_failures);
}

TEST_F(NwrfcStandinTest, RefusesHandlesAfterTheyAreDestroyed) {
  nwrfc::RFC_CONNECTION_HANDLE connection = OpenPrd();
  ASSERT_NE(connection, nullptr) << Message();
  nwrfc::RFC_FUNCTION_DESC_HANDLE description =
      library.GetFunctionDesc(connection, u"DB_ORA_CURRENT_SIZES", &error);
  ASSERT_NE(description, nullptr) << Message();
  nwrfc::RFC_FUNCTION_HANDLE function = library.CreateFunction(description, &error);
  ASSERT_EQ(library.Invoke(connection, function, &error), nwrfc::RFC_OK);
  nwrfc::RFC_TABLE_HANDLE table = nullptr;
  ASSERT_EQ(library.GetTable(function, u"TS", &table, &error), nwrfc::RFC_OK);
  nwrfc::RFC_STRUCTURE_HANDLE row = library.GetCurrentRow(table, &error);
  ASSERT_NE(row, nullptr);
  char16_t text[64];
  unsigned length = 0;
  ASSERT_EQ(library.GetString(row, u"TSIZE", text, 64, &length, &error), nwrfc::RFC_OK);
  EXPECT_EQ(std::u16string(text), u"52428800");
  // The row read again: its handle reads the same and goes with the function too.
  nwrfc::RFC_STRUCTURE_HANDLE row_again = library.GetCurrentRow(table, &error);
  ASSERT_NE(row_again, nullptr);
  ASSERT_EQ(library.GetString(row_again, u"TFREE", text, 64, &length, &error), nwrfc::RFC_OK);
  EXPECT_EQ(std::u16string(text), u"10485760");
  // Checked against the interface: a field of another type or case, a small buffer.
  EXPECT_EQ(library.GetString(row, u"tsize", text, 64, &length, &error),
            nwrfc::RFC_INVALID_PARAMETER);
  EXPECT_EQ(Message(), "field 'tsize' not found");
  EXPECT_EQ(library.GetTable(function, u"DATETIME", &table, &error), nwrfc::RFC_INVALID_PARAMETER);
  EXPECT_EQ(library.GetString(row, u"TS", text, 5, &length, &error), nwrfc::RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(length, 30u);
  // Field names that are no plain ASCII text are read as any text, or refused.
  std::u16string unterminated(64, u'T');
  struct NameCase {
    const char16_t* name;
    const char* message;
  };
  const NameCase name_cases[] = {
      {nullptr, "the field name is a null pointer"},
      {unterminated.data(), "the field name has no terminator within 64 units"},
      {u"TSIZ\u00C9", "field 'TSIZ\xC3\x89' not found"},
      {u"TS\xD800", "the field name \"TS?\" is no valid UTF-16"},
  };
  for (const NameCase& c : name_cases) {
    EXPECT_EQ(library.GetString(row, c.name, text, 64, &length, &error),
              nwrfc::RFC_INVALID_PARAMETER)
        << c.message;
    EXPECT_EQ(Message(), c.message);
  }

  ASSERT_EQ(library.DestroyFunction(function, nullptr), nwrfc::RFC_OK);
  EXPECT_EQ(library.live_containers(), 0u);
  EXPECT_EQ(library.GetString(row, u"TSIZE", text, 64, &length, &error), nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.GetString(row_again, u"TSIZE", text, 64, &length, &error),
            nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.GetCurrentRow(table, &error), nullptr);
  EXPECT_EQ(error.code, nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.GetRowCount(table, &length, &error), nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.DestroyFunction(function, &error), nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.Invoke(connection, function, &error), nwrfc::RFC_INVALID_HANDLE);

  EXPECT_EQ(library.CloseConnection(connection, &error), nwrfc::RFC_OK);
  EXPECT_EQ(library.CloseConnection(connection, &error), nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.GetFunctionDesc(connection, u"RFC_SYSTEM_INFO", &error), nullptr);
  EXPECT_EQ(error.code, nwrfc::RFC_INVALID_HANDLE);
  EXPECT_EQ(library.open_connections(), 0u);
  EXPECT_EQ(folder.Read("journal.txt"), "open 1 PRD\nclose 1\nclose 1: not open\n");
}

TEST_F(NwrfcStandinTest, AnUnknownFunctionModuleIsNotFound) {
  nwrfc::RFC_CONNECTION_HANDLE connection = OpenPrd();
  EXPECT_EQ(library.GetFunctionDesc(connection, u"rfc_system_info", &error), nullptr);
  EXPECT_EQ(error.code, nwrfc::RFC_ABAP_EXCEPTION);
  EXPECT_EQ(FromUtf16(BoundedUtf16(error.key, 128)), "FU_NOT_FOUND");
  library.CloseConnection(connection, nullptr);
}

}  // namespace
}  // namespace vaultgauge::standin
