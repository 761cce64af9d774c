#include "standin/nwrfc_standin.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <thread>

#include "standin/answers.h"
#include "standin/structures.h"
#include "standin/words.h"
#include "util/utf16.h"

namespace vaultgauge::standin {

namespace {

constexpr size_t kNameLimit = 64;
constexpr size_t kValueLimit = 1024;
constexpr unsigned kParameterLimit = 64;
constexpr char kSystemInfo[] = "RFC_SYSTEM_INFO";
constexpr char kCurrentSizes[] = "DB_ORA_CURRENT_SIZES";

constexpr char16_t kVersionText[] = u"7500.0.0 Vaultgauge stand-in";

// The logon parameters SAP's library documents; others are refused.
constexpr const char* kParameterNames[] = {
    "ASHOST",  "SYSNR",  "CLIENT",   "USER",     "PASSWD",     "LANG",       "GWHOST",
    "GWSERV",  "MSHOST", "MSSERV",   "R3NAME",   "SYSID",      "GROUP",      "SAPROUTER",
    "DEST",    "TRACE",  "CODEPAGE", "LCHECK",   "USE_SAPGUI", "MYSAPSSO2",  "SAPLOGON_ID",
    "TYPE",    "WSHOST", "PORT",     "SNC_MODE", "SNC_QOP",    "SNC_MYNAME", "SNC_PARTNERNAME",
    "SNC_LIB",
};

// The result codes' names, which the library's own failures carry as key.
const char* RcName(nwrfc::RFC_RC code) {
  static const char* const names[] = {
      "RFC_OK",
      "RFC_COMMUNICATION_FAILURE",
      "RFC_LOGON_FAILURE",
      "RFC_ABAP_RUNTIME_FAILURE",
      "RFC_ABAP_MESSAGE",
      "RFC_ABAP_EXCEPTION",
      "RFC_CLOSED",
      "RFC_CANCELED",
      "RFC_TIMEOUT",
      "RFC_MEMORY_INSUFFICIENT",
      "RFC_VERSION_MISMATCH",
      "RFC_INVALID_PROTOCOL",
      "RFC_SERIALIZATION_FAILURE",
      "RFC_INVALID_HANDLE",
      "RFC_RETRY",
      "RFC_EXTERNAL_FAILURE",
      "RFC_EXECUTED",
      "RFC_NOT_FOUND",
      "RFC_NOT_SUPPORTED",
      "RFC_ILLEGAL_STATE",
      "RFC_INVALID_PARAMETER",
      "RFC_CODEPAGE_CONVERSION_FAILURE",
      "RFC_CONVERSION_FAILURE",
      "RFC_BUFFER_TOO_SMALL",
      "RFC_TABLE_MOVE_BOF",
      "RFC_TABLE_MOVE_EOF",
  };
  int index = static_cast<int>(code);
  return index >= 0 && index < static_cast<int>(std::size(names)) ? names[index]
                                                                  : "RFC_UNKNOWN_ERROR";
}

void* HandleOf(uint64_t id) { return reinterpret_cast<void*>(static_cast<uintptr_t>(id) << 4); }
uint64_t IdOf(const void* handle) { return reinterpret_cast<uintptr_t>(handle) >> 4; }

template <size_t N>
void PutText(nwrfc::SAP_UC (&field)[N], const std::string& text) {
  std::u16string utf16 = ToUtf16(text);
  size_t length = utf16.size() < N - 1 ? utf16.size() : N - 1;
  std::memset(field, 0, sizeof field);
  std::memcpy(field, utf16.data(), length * sizeof(nwrfc::SAP_UC));
}

// The structures a function module's interface uses, by the names the
// classic library installs them under.
bool UsesStructure(const std::string& module, const std::string& pattern) {
  if (module == kSystemInfo) return Matches(pattern, "RFCSI");
  return Matches(pattern, "DATE_TIME") || Matches(pattern, "TABLE_XPC");
}

// Appends `bytes` in UTF-16 as ToUtf16 gives them. ASCII, which nearly every
// field holds, is widened on the stack and appended at once: no temporary
// text per field read.
void AppendUtf16(std::string_view bytes, std::u16string* text) {
  char16_t wide[64];
  if (bytes.size() <= std::size(wide)) {
    unsigned high_bits = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      unsigned byte = static_cast<unsigned char>(bytes[i]);
      high_bits |= byte;
      wide[i] = static_cast<char16_t>(byte);
    }
    if (high_bits < 0x80) {
      text->append(wide, bytes.size());
      return;
    }
  }
  *text += ToUtf16(bytes);
}

// Appends a packed number as the library's text; false when a digit nibble
// is no digit. The digits are gathered first and appended at once.
bool AppendPackedText(std::string_view field, std::u16string* text) {
  constexpr size_t kLongestPacked = 16;  // bytes, as ABAP allows
  if (field.size() > kLongestPacked) return false;
  if (field.empty()) {
    text->push_back(u'0');
    return true;
  }
  char16_t digits[2 * kLongestPacked];
  size_t count = 0;
  const size_t last = field.size() - 1;  // its low nibble is the sign
  if ((static_cast<unsigned char>(field[last]) & 0xF) == 0xD) digits[count++] = u'-';
  size_t digits_start = count;
  // Leading zero bytes give no digit and are no fault.
  size_t i = 0;
  while (i < last && field[i] == 0) ++i;
  for (; i <= last; ++i) {
    unsigned byte = static_cast<unsigned char>(field[i]);
    unsigned high = byte >> 4;
    if (high > 9) return false;
    if (count > digits_start || high != 0) digits[count++] = static_cast<char16_t>(u'0' + high);
    if (i == last) break;
    unsigned low = byte & 0xF;
    if (low > 9) return false;
    if (count > digits_start || low != 0) digits[count++] = static_cast<char16_t>(u'0' + low);
  }
  if (count == digits_start) digits[count++] = u'0';
  text->append(digits, count);
  return true;
}

// Narrows the UTF-16 name at `text` into `buffer` when it is ASCII and ends
// within the limit, as every name a caller means does; false for anything
// else, which is then read as any text and refused or not found.
bool NarrowAsciiName(const nwrfc::SAP_UC* text, char (&buffer)[kNameLimit],
                     std::string_view* name) {
  if (text == nullptr) return false;
  for (size_t i = 0; i < kNameLimit; ++i) {
    char16_t unit = text[i];
    if (unit == u'\0') {
      *name = std::string_view(buffer, i);
      return true;
    }
    if (unit >= 0x80) return false;
    buffer[i] = static_cast<char>(unit);
  }
  return false;
}

}  // namespace

NwrfcStandin::NwrfcStandin(std::string folder)
    : folder_(std::move(folder)), landscape_(folder_ + kLandscapeFileName) {}

nwrfc::RFC_RC NwrfcStandin::Own(nwrfc::RFC_ERROR_INFO* error, nwrfc::RFC_RC code,
                                const std::string& message) {
  return Fail(error, code, nwrfc::EXTERNAL_RUNTIME_FAILURE, RcName(code), message);
}

nwrfc::RFC_RC NwrfcStandin::Fail(nwrfc::RFC_ERROR_INFO* error, nwrfc::RFC_RC code, int group,
                                 const std::string& key, const std::string& message) {
  if (error == nullptr) return code;
  *error = nwrfc::RFC_ERROR_INFO{};
  error->code = code;
  error->group = static_cast<nwrfc::RFC_ERROR_GROUP>(group);
  PutText(error->key, key);
  PutText(error->message, message);
  return code;
}

bool NwrfcStandin::ReadText(const nwrfc::SAP_UC* text, size_t limit, const char* what,
                            std::string* utf8, nwrfc::RFC_ERROR_INFO* error) {
  std::string problem;
  if (text == nullptr) {
    problem = std::string(what) + " is a null pointer";
  } else {
    std::u16string_view view = BoundedUtf16(text, limit);
    if (view.size() == limit) {
      problem = std::string(what) + " has no terminator within " + std::to_string(limit) + " units";
    } else if (!Utf16ToUtf8(view, utf8)) {
      problem = std::string(what) + " \"" + *utf8 + "\" is no valid UTF-16";
    }
  }
  if (problem.empty()) return true;
  Own(error, nwrfc::RFC_INVALID_PARAMETER, problem);
  return false;
}

const Landscape* NwrfcStandin::LoadLandscape(std::string* message) {
  const Landscape* landscape = landscape_.Get(message);
  journal_ = landscape == nullptr || landscape->journal().empty() ? std::string()
                                                                  : folder_ + landscape->journal();
  return landscape;
}

void NwrfcStandin::Note(const std::string& line) const { AppendLine(journal_, line); }

void NwrfcStandin::Drop(uint64_t id, const char* reason) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  Note("lost " + std::to_string(it->second.number) + ": " + reason);
  closed_[id] = it->second.number;
  connections_.erase(it);
}

NwrfcStandin::Connection* NwrfcStandin::FindConnection(nwrfc::RFC_CONNECTION_HANDLE handle) {
  auto it = connections_.find(IdOf(handle));
  return handle == nullptr || it == connections_.end() ? nullptr : &it->second;
}

NwrfcStandin::Container* NwrfcStandin::FindContainer(const void* handle) {
  if (handle == nullptr) return nullptr;
  uint64_t id = IdOf(handle);
  if (last_found_ < containers_.size() && containers_[last_found_].first == id) {
    return &containers_[last_found_].second;
  }
  auto it =
      std::lower_bound(containers_.begin(), containers_.end(), id,
                       [](const auto& entry, uint64_t wanted) { return entry.first < wanted; });
  if (it == containers_.end() || it->first != id) return nullptr;
  last_found_ = static_cast<size_t>(it - containers_.begin());
  return &it->second;
}

NwrfcStandin::Function* NwrfcStandin::FunctionOf(const Container& container) {
  return container.owner;
}

const nwrfc::SAP_UC* NwrfcStandin::GetVersion(unsigned* major, unsigned* minor, unsigned* patch) {
  if (major != nullptr) *major = 7500;
  if (minor != nullptr) *minor = 0;
  if (patch != nullptr) *patch = 0;
  return kVersionText;
}

nwrfc::RFC_CONNECTION_HANDLE NwrfcStandin::OpenConnection(
    const nwrfc::RFC_CONNECTION_PARAMETER* parameters, unsigned count,
    nwrfc::RFC_ERROR_INFO* error) {
  auto refuse = [&](nwrfc::RFC_RC code, int group, const std::string& key,
                    const std::string& message) {
    Fail(error, code, group, key, message);
    Note("open failed");
    return nullptr;
  };
  auto invalid = [&](const std::string& message) {
    return refuse(nwrfc::RFC_INVALID_PARAMETER, nwrfc::EXTERNAL_RUNTIME_FAILURE,
                  RcName(nwrfc::RFC_INVALID_PARAMETER), message);
  };
  std::string message;
  const Landscape* landscape = LoadLandscape(&message);
  if (landscape == nullptr) return invalid(message);
  if (count > kParameterLimit) return invalid("more than 64 connection parameters");
  if (parameters == nullptr && count > 0) return invalid("the parameter list is a null pointer");
  std::map<std::string, std::string> values;
  for (unsigned i = 0; i < count; ++i) {
    std::string name, value;
    if (!ReadText(parameters[i].name, kNameLimit, "a parameter name", &name, error)) {
      Note("open failed");
      return nullptr;
    }
    name = UpperCase(name);
    if (!ReadText(parameters[i].value, kValueLimit, ("the value of " + name).c_str(), &value,
                  error)) {
      Note("open failed");
      return nullptr;
    }
    bool known = false;
    for (const char* candidate : kParameterNames) known = known || name == candidate;
    if (!known) return invalid("unknown connection parameter '" + name + "'");
    if (!values.emplace(name, value).second) return invalid("parameter " + name + " given twice");
  }
  if (values.count("DEST") != 0) {
    return invalid("DEST: the stand-in library reads no sapnwrfc.ini; give the parameters");
  }
  SapSystem system;
  bool found = false;
  std::string partner;
  if (values.count("ASHOST") != 0) {
    int64_t sysnr = -1;
    std::string digits = values["SYSNR"];
    if (digits.size() != 2 || !ParseWholeNumber(digits, &sysnr) || sysnr < 0) {
      return invalid("SYSNR '" + digits + "' is no system number of two digits");
    }
    partner = values["ASHOST"] + ":33" + digits;
    found = landscape->FindByHost(values["ASHOST"], static_cast<int>(sysnr), &system);
  } else if (values.count("GWHOST") != 0) {
    partner = values["GWHOST"] + ":" + values["GWSERV"];
    found = landscape->FindByGateway(values["GWHOST"], values["GWSERV"], &system);
  } else {
    return invalid("Parameter ASHOST, GWHOST, MSHOST or PORT is missing.");
  }
  if (!found) {
    return refuse(nwrfc::RFC_COMMUNICATION_FAILURE, nwrfc::COMMUNICATION_FAILURE,
                  RcName(nwrfc::RFC_COMMUNICATION_FAILURE),
                  "partner '" + partner + "' not reached: no such system in " + kLandscapeFileName);
  }
  if (system.faults.refuse_open) {
    return refuse(nwrfc::RFC_LOGON_FAILURE, nwrfc::LOGON_FAILURE, RcName(nwrfc::RFC_LOGON_FAILURE),
                  system.faults.refuse_message.empty() ? "connection to " + system.name + " refused"
                                                       : system.faults.refuse_message);
  }
  std::string client(TrimTrailingBlanks(values["CLIENT"]));
  std::string user(TrimTrailingBlanks(values["USER"]));
  std::string password(TrimTrailingBlanks(values["PASSWD"]));
  bool accepted = false;
  // The landscape's texts are compared as the library sees them: in UTF-16.
  for (const Logon& logon : system.logons) {
    accepted = accepted || (logon.client == client &&
                            EqualsIgnoringCase(FromUtf16(ToUtf16(logon.user)), user) &&
                            FromUtf16(ToUtf16(logon.password)) == password);
  }
  if (!accepted) {
    return refuse(nwrfc::RFC_LOGON_FAILURE, nwrfc::LOGON_FAILURE, RcName(nwrfc::RFC_LOGON_FAILURE),
                  "Name or password is incorrect (repeat logon)");
  }
  uint64_t id = NewId();
  unsigned number = next_connection_number_++;
  connections_[id] = Connection{number, std::make_shared<const SapSystem>(std::move(system))};
  Note("open " + std::to_string(number) + " " + connections_[id].system->name);
  return static_cast<nwrfc::RFC_CONNECTION_HANDLE>(HandleOf(id));
}

nwrfc::RFC_RC NwrfcStandin::CloseConnection(nwrfc::RFC_CONNECTION_HANDLE connection,
                                            nwrfc::RFC_ERROR_INFO* error) {
  uint64_t id = IdOf(connection);
  auto it = connections_.find(id);
  if (connection == nullptr || it == connections_.end()) {
    auto closed = closed_.find(id);
    if (connection != nullptr && closed != closed_.end()) {
      Note("close " + std::to_string(closed->second) + ": not open");
    }
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "the connection handle is not open");
  }
  Note("close " + std::to_string(it->second.number));
  closed_[id] = it->second.number;
  connections_.erase(it);
  return nwrfc::RFC_OK;
}

nwrfc::RFC_RC NwrfcStandin::FaultOf(const CallFault& fault, const std::string& module,
                                    const char* operation, uint64_t connection,
                                    nwrfc::RFC_ERROR_INFO* error) {
  switch (fault.code) {
    case 1:
      Fail(error, nwrfc::RFC_COMMUNICATION_FAILURE, nwrfc::COMMUNICATION_FAILURE,
           RcName(nwrfc::RFC_COMMUNICATION_FAILURE),
           "connection broken during " + std::string(operation) + " of " + module);
      Drop(connection, "communication failure");
      return nwrfc::RFC_COMMUNICATION_FAILURE;
    case 2:
      return Fail(error, nwrfc::RFC_ABAP_EXCEPTION, nwrfc::ABAP_APPLICATION_FAILURE,
                  fault.exception, "exception " + fault.exception + " raised by " + module);
    case 3:
      Fail(error, nwrfc::RFC_ABAP_RUNTIME_FAILURE, nwrfc::ABAP_RUNTIME_FAILURE, fault.exception,
           fault.exception + " in " + module);
      Drop(connection, "runtime failure");
      return nwrfc::RFC_ABAP_RUNTIME_FAILURE;
    default: {
      // Any other code as it stands; 5 would read as an ABAP exception here.
      nwrfc::RFC_RC code = fault.code == nwrfc::RFC_ABAP_EXCEPTION
                               ? nwrfc::RFC_UNKNOWN_ERROR
                               : static_cast<nwrfc::RFC_RC>(fault.code);
      return Fail(error, code, nwrfc::EXTERNAL_RUNTIME_FAILURE, RcName(code),
                  std::string(operation) + " of " + module + " ended with code " +
                      std::to_string(fault.code));
    }
  }
}

nwrfc::RFC_FUNCTION_DESC_HANDLE NwrfcStandin::GetFunctionDesc(
    nwrfc::RFC_CONNECTION_HANDLE connection, const nwrfc::SAP_UC* name,
    nwrfc::RFC_ERROR_INFO* error) {
  Connection* open = FindConnection(connection);
  if (open == nullptr) {
    Own(error, nwrfc::RFC_INVALID_HANDLE, "the connection handle is not open");
    return nullptr;
  }
  std::string module;
  if (!ReadText(name, kNameLimit, "the function name", &module, error)) return nullptr;
  if (module != kSystemInfo && module != kCurrentSizes) {
    Fail(error, nwrfc::RFC_ABAP_EXCEPTION, nwrfc::ABAP_APPLICATION_FAILURE, "FU_NOT_FOUND",
         "ID:FL Type:E Number:046 " + module);
    return nullptr;
  }
  // The request for the description is the first round trip: the faults of
  // sending a call strike here.
  std::shared_ptr<const SapSystem> system = open->system;
  for (const CallFault& fault : system->faults.call) {
    if (Matches(fault.function, module)) {
      FaultOf(fault, module, "RfcGetFunctionDesc", IdOf(connection), error);
      return nullptr;
    }
  }
  auto [it, added] = description_ids_.emplace(system->name + "\n" + module, 0);
  if (added) it->second = NewId();
  descriptions_[it->second] = Description{module, system};
  return static_cast<nwrfc::RFC_FUNCTION_DESC_HANDLE>(HandleOf(it->second));
}

nwrfc::RFC_FUNCTION_HANDLE NwrfcStandin::CreateFunction(nwrfc::RFC_FUNCTION_DESC_HANDLE description,
                                                        nwrfc::RFC_ERROR_INFO* error) {
  auto it = descriptions_.find(IdOf(description));
  if (description == nullptr || it == descriptions_.end()) {
    Own(error, nwrfc::RFC_INVALID_HANDLE, "not a function description of this library");
    return nullptr;
  }
  const Description& desc = it->second;
  for (const std::string& pattern : desc.system->faults.install) {
    if (UsesStructure(desc.module, pattern)) {
      Own(error, nwrfc::RFC_MEMORY_INSUFFICIENT, "no memory for function " + desc.module);
      return nullptr;
    }
  }
  uint64_t id = NewId();
  Function& function = functions_[id];
  function.module = desc.module;
  function.system = desc.system;
  containers_.emplace_back(id, Container{Kind::kFunction, id, &function, desc.module, 0});
  return static_cast<nwrfc::RFC_FUNCTION_HANDLE>(HandleOf(id));
}

nwrfc::RFC_RC NwrfcStandin::DestroyFunction(nwrfc::RFC_FUNCTION_HANDLE function,
                                            nwrfc::RFC_ERROR_INFO* error) {
  Container* container = FindContainer(function);
  if (container == nullptr || container->kind != Kind::kFunction) {
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "not a function handle of this library");
  }
  uint64_t id = IdOf(function);
  Function destroyed = std::move(functions_.at(id));
  functions_.erase(id);
  // Every handle taken from the function goes with it.
  std::erase_if(containers_, [id](const auto& entry) { return entry.second.function == id; });
  if (destroyed.module == kCurrentSizes && destroyed.system->faults.it_delete) {
    return Own(error, nwrfc::RFC_MEMORY_INSUFFICIENT, "the table TS cannot be freed");
  }
  return nwrfc::RFC_OK;
}

nwrfc::RFC_RC NwrfcStandin::Invoke(nwrfc::RFC_CONNECTION_HANDLE connection,
                                   nwrfc::RFC_FUNCTION_HANDLE function,
                                   nwrfc::RFC_ERROR_INFO* error) {
  Connection* open = FindConnection(connection);
  if (open == nullptr) {
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "the connection handle is not open");
  }
  Container* container = FindContainer(function);
  if (container == nullptr || container->kind != Kind::kFunction) {
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "not a function handle of this library");
  }
  Function& called = *FunctionOf(*container);
  std::shared_ptr<const SapSystem> system = open->system;
  if (system->delay_ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(system->delay_ms));
  }
  for (const CallFault& fault : system->faults.receive) {
    if (Matches(fault.function, called.module)) {
      return FaultOf(fault, called.module, "RfcInvoke", IdOf(connection), error);
    }
  }
  called.system = system;
  called.handler_text.clear();
  for (const HandlerFault& fault : system->faults.handler) {
    if (Matches(fault.function, called.module)) called.handler_text = fault.text;
  }
  called.rfcsi = ImportedValue(*system, "RFCSI_EXPORT");
  called.date_time = ImportedValue(*system, "CURR_DATE") + ImportedValue(*system, "CURR_TIME");
  if (called.module == kCurrentSizes) {
    called.rows = system->tablespaces;
    called.rows_after_first_pass = system->faults.rows_after_first_pass;
    called.last_row_read = called.rows.empty();
    called.first_pass_over = false;
    called.cursor = called.rows.empty() ? -1 : 0;
  }
  return nwrfc::RFC_OK;
}

void* NwrfcStandin::Child(uint64_t function, Function* owner, Kind kind, std::string_view name,
                          size_t row) {
  uint64_t id = NewId();
  containers_.emplace_back(id, Container{kind, function, owner, std::string(name), row});
  return HandleOf(id);
}

NwrfcStandin::Function* NwrfcStandin::ParameterOf(nwrfc::DATA_CONTAINER_HANDLE container,
                                                  const nwrfc::SAP_UC* name, const char* what,
                                                  std::string* parameter, nwrfc::RFC_RC* result,
                                                  nwrfc::RFC_ERROR_INFO* error) {
  Container* parent = FindContainer(container);
  if (parent == nullptr || parent->kind != Kind::kFunction) {
    *result = Own(error, nwrfc::RFC_INVALID_HANDLE, "not a function handle of this library");
    return nullptr;
  }
  if (!ReadText(name, kNameLimit, what, parameter, error)) {
    *result = nwrfc::RFC_INVALID_PARAMETER;
    return nullptr;
  }
  return FunctionOf(*parent);
}

nwrfc::RFC_RC NwrfcStandin::GetStructure(nwrfc::DATA_CONTAINER_HANDLE container,
                                         const nwrfc::SAP_UC* name,
                                         nwrfc::RFC_STRUCTURE_HANDLE* structure,
                                         nwrfc::RFC_ERROR_INFO* error) {
  std::string parameter;
  nwrfc::RFC_RC result = nwrfc::RFC_OK;
  Function* function =
      ParameterOf(container, name, "the structure name", &parameter, &result, error);
  if (function == nullptr) return result;
  bool is_structure = (function->module == kSystemInfo && parameter == "RFCSI_EXPORT") ||
                      (function->module == kCurrentSizes && parameter == "DATETIME");
  if (!is_structure || structure == nullptr) {
    return Own(error, nwrfc::RFC_INVALID_PARAMETER,
               "field '" + parameter + "' not found as a structure of " + function->module);
  }
  if (!function->handler_text.empty()) {
    return Own(error, nwrfc::RFC_MEMORY_INSUFFICIENT, function->handler_text);
  }
  *structure = static_cast<nwrfc::RFC_STRUCTURE_HANDLE>(
      Child(IdOf(container), function, Kind::kStructure, parameter, 0));
  return nwrfc::RFC_OK;
}

nwrfc::RFC_RC NwrfcStandin::GetTable(nwrfc::DATA_CONTAINER_HANDLE container,
                                     const nwrfc::SAP_UC* name, nwrfc::RFC_TABLE_HANDLE* table,
                                     nwrfc::RFC_ERROR_INFO* error) {
  std::string parameter;
  nwrfc::RFC_RC result = nwrfc::RFC_OK;
  Function* function = ParameterOf(container, name, "the table name", &parameter, &result, error);
  if (function == nullptr) return result;
  if (function->module != kCurrentSizes || parameter != "TS" || table == nullptr) {
    return Own(error, nwrfc::RFC_INVALID_PARAMETER,
               "field '" + parameter + "' not found as a table of " + function->module);
  }
  if (function->system->faults.it_create) {
    return Own(error, nwrfc::RFC_MEMORY_INSUFFICIENT, "no memory for table TS");
  }
  if (!function->handler_text.empty()) {
    return Own(error, nwrfc::RFC_MEMORY_INSUFFICIENT, function->handler_text);
  }
  if (function->table == 0)
    function->table = IdOf(Child(IdOf(container), function, Kind::kTable, parameter, 0));
  *table = static_cast<nwrfc::RFC_TABLE_HANDLE>(HandleOf(function->table));
  return nwrfc::RFC_OK;
}

size_t NwrfcStandin::RowCount(Function& function) {
  // As the classic library's ItFill: the first pass ends with the count read
  // after its last row; the count read after that sees the changed table.
  if (function.rows_after_first_pass >= 0) {
    if (function.first_pass_over) {
      size_t count = static_cast<size_t>(function.rows_after_first_pass);
      std::string copied = function.rows.empty() ? DefaultTablespaceRow() : function.rows.back();
      function.rows.resize(count, copied);
      function.rows_after_first_pass = -1;
    } else if (function.last_row_read) {
      function.first_pass_over = true;
    }
  }
  return function.rows.size();
}

nwrfc::RFC_RC NwrfcStandin::GetRowCount(nwrfc::RFC_TABLE_HANDLE table, unsigned* count,
                                        nwrfc::RFC_ERROR_INFO* error) {
  Container* container = FindContainer(table);
  if (container == nullptr || container->kind != Kind::kTable || count == nullptr) {
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "not a table handle of this library");
  }
  *count = static_cast<unsigned>(RowCount(*FunctionOf(*container)));
  return nwrfc::RFC_OK;
}

nwrfc::RFC_RC NwrfcStandin::MoveTo(nwrfc::RFC_TABLE_HANDLE table, unsigned index,
                                   nwrfc::RFC_ERROR_INFO* error) {
  Container* container = FindContainer(table);
  if (container == nullptr || container->kind != Kind::kTable) {
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "not a table handle of this library");
  }
  Function& function = *FunctionOf(*container);
  if (index >= function.rows.size()) {
    return Own(error, nwrfc::RFC_TABLE_MOVE_EOF,
               "row " + std::to_string(index) + " is beyond the last of " +
                   std::to_string(function.rows.size()) + " rows");
  }
  function.cursor = index;
  return nwrfc::RFC_OK;
}

nwrfc::RFC_STRUCTURE_HANDLE NwrfcStandin::GetCurrentRow(nwrfc::RFC_TABLE_HANDLE table,
                                                        nwrfc::RFC_ERROR_INFO* error) {
  Container* container = FindContainer(table);
  if (container == nullptr || container->kind != Kind::kTable) {
    Own(error, nwrfc::RFC_INVALID_HANDLE, "not a table handle of this library");
    return nullptr;
  }
  Function& function = *FunctionOf(*container);
  if (function.cursor < 0 || static_cast<size_t>(function.cursor) >= function.rows.size()) {
    Own(error, nwrfc::RFC_TABLE_MOVE_EOF, "the cursor stands on no row");
    return nullptr;
  }
  size_t row = static_cast<size_t>(function.cursor);
  if (function.system->faults.it_get_line_row == row + 1) {
    Own(error, nwrfc::RFC_MEMORY_INSUFFICIENT,
        "row " + std::to_string(row + 1) + " cannot be read");
    return nullptr;
  }
  if (row + 1 == function.rows.size()) function.last_row_read = true;
  if (function.row_handles.size() <= row) function.row_handles.resize(function.rows.size(), 0);
  uint64_t& handle = function.row_handles[row];
  if (handle == 0) handle = IdOf(Child(container->function, &function, Kind::kRow, "TS", row));
  return static_cast<nwrfc::RFC_STRUCTURE_HANDLE>(HandleOf(handle));
}

nwrfc::RFC_RC NwrfcStandin::FieldText(const FieldIndex& fields, std::string_view record,
                                      std::string_view name, std::u16string* text,
                                      nwrfc::RFC_ERROR_INFO* error) {
  const PlacedField* field = fields.FindExact(name);
  if (field == nullptr) {
    return Own(error, nwrfc::RFC_INVALID_PARAMETER, "field '" + std::string(name) + "' not found");
  }
  text->clear();
  if (field->offset + field->length > record.size()) {
    // Before the call the record is empty: the field's initial value.
    if (field->type == kChar) {
      text->assign(field->length, u' ');
    } else {
      text->assign(1, u'0');
    }
    return nwrfc::RFC_OK;
  }
  std::string_view bytes = record.substr(field->offset, field->length);
  if (field->type == kPacked) {
    if (!AppendPackedText(bytes, text)) {
      return Own(error, nwrfc::RFC_CONVERSION_FAILURE,
                 "field '" + std::string(name) + "' holds no packed number");
    }
  } else if (field->type == kInt) {
    int32_t value;
    std::memcpy(&value, bytes.data(), sizeof value);
    char digits[16];
    char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    AppendUtf16(std::string_view(digits, static_cast<size_t>(end - digits)), text);
  } else {
    AppendUtf16(bytes, text);
  }
  return nwrfc::RFC_OK;
}

nwrfc::RFC_RC NwrfcStandin::ValueText(Container& container, std::string_view name,
                                      std::u16string* text, nwrfc::RFC_ERROR_INFO* error) {
  Function& function = *FunctionOf(container);
  switch (container.kind) {
    case Kind::kStructure:
      return container.name == "RFCSI_EXPORT"
                 ? FieldText(RfcsiIndex(), function.rfcsi, name, text, error)
                 : FieldText(DateTimeIndex(), function.date_time, name, text, error);
    case Kind::kTable:
    case Kind::kRow: {
      size_t row =
          container.kind == Kind::kRow ? container.row : static_cast<size_t>(function.cursor);
      if (function.cursor < 0 || row >= function.rows.size()) {
        return Own(error, nwrfc::RFC_ILLEGAL_STATE, "the row is no longer in the table");
      }
      return FieldText(TableXpcIndex(), function.rows[row], name, text, error);
    }
    case Kind::kFunction:
      break;
  }
  if ((function.module == kSystemInfo &&
       (name == "CURRENT_RESOURCES" || name == "MAXIMAL_RESOURCES" ||
        name == "RECOMMENDED_DELAY")) ||
      (function.module == kCurrentSizes && (name == "CURR_DATE" || name == "CURR_TIME"))) {
    std::string value = function.system == nullptr ? "" : ImportedValue(*function.system, name);
    if (value.size() == 4 && name.find("RESOURCES") != std::string_view::npos) {
      int32_t number;
      std::memcpy(&number, value.data(), sizeof number);
      value = std::to_string(number);
    }
    *text = ToUtf16(value);
    return nwrfc::RFC_OK;
  }
  return Own(error, nwrfc::RFC_INVALID_PARAMETER,
             "field '" + std::string(name) + "' not found as a scalar of " + function.module);
}

nwrfc::RFC_RC NwrfcStandin::GetString(nwrfc::DATA_CONTAINER_HANDLE container,
                                      const nwrfc::SAP_UC* name, nwrfc::SAP_UC* buffer,
                                      unsigned buffer_length, unsigned* length,
                                      nwrfc::RFC_ERROR_INFO* error) {
  Container* data = FindContainer(container);
  if (data == nullptr) {
    return Own(error, nwrfc::RFC_INVALID_HANDLE, "not a data container of this library");
  }
  char narrow[kNameLimit];
  std::string converted;
  std::string_view field;
  if (!NarrowAsciiName(name, narrow, &field)) {
    if (!ReadText(name, kNameLimit, "the field name", &converted, error)) {
      return nwrfc::RFC_INVALID_PARAMETER;
    }
    field = converted;
  }
  if (length == nullptr || (buffer == nullptr && buffer_length > 0)) {
    return Own(error, nwrfc::RFC_INVALID_PARAMETER, "no place for the text or its length");
  }
  std::u16string& text = text_;
  nwrfc::RFC_RC result = ValueText(*data, field, &text, error);
  if (result != nwrfc::RFC_OK) return result;
  *length = static_cast<unsigned>(text.size());
  if (buffer_length < text.size() + 1) {
    return Own(
        error, nwrfc::RFC_BUFFER_TOO_SMALL,
        "field '" + std::string(field) + "' needs " + std::to_string(text.size() + 1) + " units");
  }
  std::memcpy(buffer, text.data(), text.size() * sizeof(nwrfc::SAP_UC));
  buffer[text.size()] = u'\0';
  return nwrfc::RFC_OK;
}

}  // namespace vaultgauge::standin
