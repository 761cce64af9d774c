// For tests: an RFC library that records what it is given and answers what
// the test sets.
#ifndef VAULTGAUGE_TESTS_SUPPORT_FAKE_RFC_API_H_
#define VAULTGAUGE_TESTS_SUPPORT_FAKE_RFC_API_H_

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/connection_profile.h"
#include "rfc/rfc_api.h"
#include "util/status.h"

namespace vaultgauge {

struct RecordedParameter {
  std::string name;
  unsigned nlen;
  RFC_TYPEHANDLE type;
  unsigned leng;
  bool operator==(const RecordedParameter&) const = default;
};

class FakeRfcApi : public RfcApi {
 public:
  // What the fake answers.
  RFC_HANDLE open_result = 7;
  RFC_RC install_result = RFC_OK;
  RFC_TYPEHANDLE installed_type = 301;
  RFC_RC call_result = RFC_OK;
  RFC_RC receive_result = RFC_OK;
  const char* exception = nullptr;  // handed out by Receive
  std::string rfcsi;                // copied into RFCSI_EXPORT
  RfcErrorInfo last_error{};
  std::vector<std::vector<uint8_t>> rows;  // the one table ItCreate hands out
  bool fail_create = false;
  bool fail_delete = false;
  unsigned fail_get_line = 0;  // the row whose fetch fails

  // What the fake was given.
  std::vector<std::string> calls;  // operation names in order
  RfcEnv* env = nullptr;
  RfcOptions options{};
  RfcHostOptions host_options{};
  RfcGatewayOptions gateway_options{};
  std::string connect_string;
  std::vector<std::string> installed;  // structure names
  std::vector<RecordedParameter> importing;
  std::vector<RecordedParameter> tables;  // of the last call: name, nlen, row type, row length
  std::vector<RFC_HANDLE> closed;
  int creates = 0;
  int deletes = 0;

  void Environment(RfcEnv* given) override {
    calls.push_back("RfcEnvironment");
    env = given;
  }
  RFC_HANDLE Open(RfcOptions* given) override {
    calls.push_back("RfcOpen");
    options = *given;
    if (given->mode == RFC_MODE_CPIC) {
      gateway_options = *static_cast<RfcGatewayOptions*>(given->connopt);
    } else {
      host_options = *static_cast<RfcHostOptions*>(given->connopt);
    }
    return open_result;
  }
  RFC_HANDLE OpenEx(const char* given, RfcErrorInfoEx*) override {
    calls.push_back("RfcOpenEx");
    connect_string = given;
    return open_result;
  }
  RFC_RC InstallStructure(const char* name, RfcTypeElement*, unsigned,
                          RFC_TYPEHANDLE* type) override {
    calls.push_back("RfcInstallStructure");
    installed.push_back(name);
    if (install_result == RFC_OK) *type = installed_type;
    return install_result;
  }
  RFC_RC Call(RFC_HANDLE, const char* function, RfcParameter*, RfcTableEntry* list) override {
    calls.push_back(std::string("RfcCall ") + function);
    tables.clear();
    for (RfcTableEntry* t = list; t->name != nullptr; ++t) {
      tables.push_back(RecordedParameter{t->name, t->nlen, t->type, t->leng});
    }
    return call_result;
  }
  RFC_RC Receive(RFC_HANDLE, RfcParameter* list, RfcTableEntry*, char** given) override {
    calls.push_back("RfcReceive");
    importing.clear();
    for (RfcParameter* p = list; p->name != nullptr; ++p) {
      importing.push_back(RecordedParameter{p->name, p->nlen, p->type, p->leng});
      if (std::string(p->name) == "RFCSI_EXPORT" && receive_result == RFC_OK) {
        std::memcpy(p->addr, rfcsi.data(), rfcsi.size() < p->leng ? rfcsi.size() : p->leng);
      }
    }
    if (exception != nullptr) *given = const_cast<char*>(exception);
    return receive_result;
  }
  int LastError(RfcErrorInfo* info) override {
    calls.push_back("RfcLastError");
    *info = last_error;
    return 0;
  }
  void Close(RFC_HANDLE handle) override {
    calls.push_back("RfcClose");
    closed.push_back(handle);
  }
  ITAB_H ItCreate(const char* name, unsigned, unsigned, unsigned) override {
    calls.push_back(std::string("ItCreate ") + name);
    ++creates;
    return fail_create ? nullptr : &rows;
  }
  unsigned ItFill(ITAB_H) override { return static_cast<unsigned>(rows.size()); }
  void* ItGetLine(ITAB_H, unsigned line) override {
    if (line == 0 || line > rows.size() || line == fail_get_line) return nullptr;
    return rows[line - 1].data();
  }
  int ItDelete(ITAB_H) override {
    calls.push_back("ItDelete");
    ++deletes;
    return fail_delete ? 1 : 0;
  }
};

// The profile of system PRD that the tests log on with.
// Landscape sections for the tests against the stand-in libraries: PRD as
// PrdProfile() addresses it, QAS on another database.
inline constexpr char kStandinPrdSection[] =
    "[PRD]\n"
    "host = sapprd01\n"
    "sysnr = 00\n"
    "gwhost = sapgw01\n"
    "gwservice = sapgw00\n"
    "logon = 000 MONI secret\n";
inline constexpr char kStandinQasSection[] =
    "[QAS]\n"
    "host = sapqas\n"
    "sysnr = 12\n"
    "logon = 100 MONI secret\n"
    "RFCDBSYS = MSSQL\n";

// The library `Library` loaded once for all tests, as the sensor loads it.
template <typename Library>
Library& LoadedOnce() {
  static std::unique_ptr<Library> library = [] {
    std::unique_ptr<Library> loaded;
    Status status = Library::Load(&loaded);
    if (!status.ok()) ADD_FAILURE() << status.message();
    return loaded;
  }();
  return *library;
}

inline ConnectionProfile PrdProfile() {
  ConnectionProfile profile;
  profile.destination = "PRD";
  profile.client = "000";
  profile.user = "MONI";
  profile.password = "secret";
  profile.language = "E";
  profile.mode = "R/3";
  profile.hostname = "sapprd01";
  profile.sysnr = "00";
  profile.gwhost = "sapgw01";
  profile.gwservice = "sapgw00";
  return profile;
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_TESTS_SUPPORT_FAKE_RFC_API_H_
