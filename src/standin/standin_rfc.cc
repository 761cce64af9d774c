#include "standin/standin_rfc.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "standin/answers.h"
#include "standin/connect_data.h"
#include "standin/words.h"

namespace vaultgauge::standin {

namespace {

// Installed structures get handles above every type code.
constexpr RFC_TYPEHANDLE kFirstTypeHandle = 101;
constexpr size_t kTextLimit = 1024;
constexpr size_t kNameLimit = 64;
constexpr unsigned kListLimit = 256;
constexpr unsigned kRowLengthLimit = 65535;
constexpr size_t kDestinationFileLimit = 16u << 20;

// A text handed in by the caller, read no further than `limit` characters.
std::string Text(const char* text, size_t limit = kTextLimit) {
  if (text == nullptr) return std::string();
  size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  return std::string(text, length);
}

template <size_t N>
void PutField(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N - 1 ? text.size() : N - 1);
}

RFC_ERROR_GROUP GroupOf(const std::string& key) {
  if (key == "RFC_ERROR_LOGON_FAILURE") return RFC_ERROR_LOGON_FAILURE;
  if (key == "RFC_ERROR_COMMUNICATION") return RFC_ERROR_COMMUNICATION;
  return RFC_ERROR_PROGRAM;
}

// The error key and message of a simulated call fault.
void DescribeFault(const CallFault& fault, const std::string& function, const char* operation,
                   std::string* key, std::string* message) {
  switch (fault.code) {
    case RFC_FAILURE:
      *key = "RFC_ERROR_COMMUNICATION";
      *message = "connection broken during " + std::string(operation) + " of " + function;
      break;
    case RFC_EXCEPTION:
      *key = "RFC_ERROR_APPLICATION_EXCEPTION";
      *message = "exception " + fault.exception + " raised by " + function;
      break;
    case RFC_SYS_EXCEPTION:
      *key = "RFC_ERROR_SYSTEM_FAILURE";
      *message = fault.exception + " in " + function;
      break;
    default:
      *key = "RFC_ERROR_PROGRAM";
      *message = std::string(operation) + " of " + function + " ended with code " +
                 std::to_string(fault.code);
  }
}

}  // namespace

void StandinRfc::Environment(RFC_ENV* env) {
  handler_ = env == nullptr ? nullptr : env->errorhandler;
}

const Landscape* StandinRfc::LoadLandscape(std::string* message) {
  // Read at the first opening, not at load: the library costs nothing until used.
  const Landscape* landscape = landscape_.Get(message);
  journal_ = landscape == nullptr || landscape->journal().empty() ? std::string()
                                                                  : folder_ + landscape->journal();
  return landscape;
}

void StandinRfc::Note(const std::string& line) const { AppendLine(journal_, line); }

void StandinRfc::NoteOpening(RFC_HANDLE handle) const {
  if (handle == RFC_HANDLE_NULL) {
    Note("open failed");
  } else {
    Note("open " + std::to_string(handle) + " " + connections_.at(handle).system->name);
  }
}

// The library itself ends a connection after a system exception.
void StandinRfc::Drop(RFC_HANDLE handle) {
  connections_.erase(handle);
  Note("lost " + std::to_string(handle) + ": system exception");
}

void StandinRfc::Fail(const char* operation, RFC_HANDLE handle, std::string key,
                      std::string message) {
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::string status = "no connection";
  if (handle != RFC_HANDLE_NULL) {
    auto it = connections_.find(handle);
    status = it == connections_.end()
                 ? "handle " + std::to_string(handle) + " is not open"
                 : "connection " + std::to_string(handle) + " to " + it->second.system->name;
  }
  has_error_ = true;
  last_error_ = RFC_ERROR_INFO{};
  PutField(last_error_.key, key);
  PutField(last_error_.status, status);
  PutField(last_error_.message, message);
  PutField(last_error_.intstat, std::string("stand-in RFC library, ") + operation);

  std::FILE* trace = std::fopen((folder_ + kTraceFileName).c_str(), "ab");
  if (trace == nullptr) return;
  std::fprintf(trace, "**** ERROR %s %s, %s\nERROR key   %s\nH%05u ======> %s\n",
               LocalTime("%Y-%m-%d %H:%M:%S").c_str(), operation, status.c_str(), key.c_str(),
               handle % 100000u, message.c_str());
  std::fclose(trace);
}

const Faults* StandinRfc::CurrentFaults() const {
  return latest_system_ == nullptr ? nullptr : &latest_system_->faults;
}

RFC_HANDLE StandinRfc::Connect(SapSystem* system, const std::string& where, std::string_view client,
                               std::string_view user, std::string_view password, std::string* key,
                               std::string* message) {
  if (system == nullptr) {
    *key = "RFC_ERROR_COMMUNICATION";
    *message = "partner not reached: no system at " + where + " in " + kLandscapeFileName;
    return RFC_HANDLE_NULL;
  }
  if (system->faults.refuse_open) {
    *key = "RFC_ERROR_COMMUNICATION";
    *message = system->faults.refuse_message.empty() ? "connection to " + system->name + " refused"
                                                     : system->faults.refuse_message;
    return RFC_HANDLE_NULL;
  }
  // Trailing blanks count on neither side: the options record pads what it
  // carries, and a landscape may quote a logon with blanks at its end.
  client = TrimTrailingBlanks(client);
  user = TrimTrailingBlanks(user);
  password = TrimTrailingBlanks(password);
  bool accepted = false;
  for (const Logon& logon : system->logons) {
    accepted = accepted || (TrimTrailingBlanks(logon.client) == client &&
                            EqualsIgnoringCase(TrimTrailingBlanks(logon.user), user) &&
                            TrimTrailingBlanks(logon.password) == password);
  }
  if (!accepted) {
    *key = "RFC_ERROR_LOGON_FAILURE";
    *message = "Name or password is incorrect (client " + std::string(client) + ", user " +
               std::string(user) + ", system " + system->name + ")";
    return RFC_HANDLE_NULL;
  }
  if (next_handle_ == RFC_HANDLE_NULL) ++next_handle_;
  RFC_HANDLE handle = next_handle_++;
  latest_system_ = std::make_shared<const SapSystem>(std::move(*system));
  connections_[handle] = Connection{latest_system_, std::string()};
  return handle;
}

RFC_HANDLE StandinRfc::Open(RFC_OPTIONS* options) {
  std::string key = "RFC_ERROR_PROGRAM";
  std::string message;
  RFC_HANDLE handle = RFC_HANDLE_NULL;
  if (options == nullptr) {
    message = "RfcOpen without options";
  } else if (const Landscape* landscape = LoadLandscape(&message)) {
    SapSystem system;
    bool found = false;
    std::string where;
    if (options->mode == RFC_MODE_R3ONLY) {
      auto* host = static_cast<const RFC_CONNOPT_R3ONLY*>(options->connopt);
      if (host == nullptr || host->hostname == nullptr) {
        message = "RfcOpen in mode 0 needs an application host";
      } else {
        where = "host " + Text(host->hostname) + " system number " + TwoDigits(host->sysnr);
        found = landscape->FindByHost(Text(host->hostname), host->sysnr, &system);
      }
    } else if (options->mode == RFC_MODE_CPIC) {
      auto* gateway = static_cast<const RFC_CONNOPT_CPIC*>(options->connopt);
      if (gateway == nullptr || gateway->gateway_host == nullptr ||
          gateway->gateway_service == nullptr) {
        message = "RfcOpen in mode 1 needs a gateway host and service";
      } else {
        where =
            "gateway " + Text(gateway->gateway_host) + " service " + Text(gateway->gateway_service);
        found = landscape->FindByGateway(Text(gateway->gateway_host),
                                         Text(gateway->gateway_service), &system);
      }
    } else {
      message =
          "RfcOpen mode " + std::to_string(static_cast<int>(options->mode)) + " is not simulated";
    }
    if (message.empty()) {
      handle = Connect(found ? &system : nullptr, where, Text(options->client), Text(options->user),
                       Text(options->password), &key, &message);
    }
  }
  if (handle == RFC_HANDLE_NULL) Fail("RfcOpen", RFC_HANDLE_NULL, key, message);
  NoteOpening(handle);
  return handle;
}

RFC_HANDLE StandinRfc::OpenEx(const char* connect_string, RFC_ERROR_INFO_EX* error_info) {
  std::string key = "RFC_ERROR_PROGRAM";
  std::string message;
  RFC_HANDLE handle = RFC_HANDLE_NULL;
  std::map<std::string, std::string> values;
  if (connect_string == nullptr || !ParseConnectString(Text(connect_string), &values)) {
    message = "the connect string is no list of ID=value";
  } else if (const Landscape* landscape = LoadLandscape(&message)) {
    std::map<std::string, std::string> address = values;
    if (values.count("DEST") != 0) {
      std::string ini;
      if (!ReadSmallFile(folder_ + kDestinationFileName, kDestinationFileLimit, &ini)) {
        message = std::string(kDestinationFileName) + " cannot be read in the working folder";
      } else if (!FindDestinationEntry(ini, values["DEST"], &address)) {
        message = "destination " + values["DEST"] + " has no entry in " + kDestinationFileName;
      }
    }
    SapSystem system;
    bool found = false;
    std::string where;
    if (message.empty()) {
      bool gateway = EqualsIgnoringCase(address["TYPE"], "R") || address.count("ASHOST") == 0;
      int64_t sysnr = 0;
      if (!gateway) {
        if (!ParseWholeNumber(address["SYSNR"], &sysnr) || sysnr < 0 || sysnr > 99) {
          message = "SYSNR " + address["SYSNR"] + " is no system number";
        } else {
          where = "host " + address["ASHOST"] + " system number " + address["SYSNR"];
          found = landscape->FindByHost(address["ASHOST"], static_cast<int>(sysnr), &system);
        }
      } else if (address.count("GWHOST") != 0) {
        where = "gateway " + address["GWHOST"] + " service " + address["GWSERV"];
        found = landscape->FindByGateway(address["GWHOST"], address["GWSERV"], &system);
      } else {
        message = "neither ASHOST nor GWHOST tells where to connect";
      }
    }
    if (message.empty()) {
      std::string password = values.count("PASSWD") != 0 ? values["PASSWD"] : values["PASSWORD"];
      handle = Connect(found ? &system : nullptr, where, values["CLIENT"], values["USER"], password,
                       &key, &message);
    }
  }
  if (handle == RFC_HANDLE_NULL) {
    Fail("RfcOpenEx", RFC_HANDLE_NULL, key, message);
    if (error_info != nullptr) {
      *error_info = RFC_ERROR_INFO_EX{};
      error_info->group = GroupOf(key);
      PutField(error_info->key, key);
      PutField(error_info->message, message);
    }
  }
  NoteOpening(handle);
  return handle;
}

RFC_RC StandinRfc::InstallStructure(const char* name, RFC_TYPE_ELEMENT* elements, unsigned count,
                                    RFC_TYPEHANDLE* type) {
  std::string type_name = Text(name, kNameLimit);
  if (elements == nullptr || type == nullptr || count == 0 || count > kListLimit) {
    Fail("RfcInstallStructure", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM",
         "structure " + type_name + ": no elements, too many, or no place for the handle");
    return RFC_INVALID_PARAMETER;
  }
  if (const Faults* faults = CurrentFaults()) {
    for (const std::string& pattern : faults->install) {
      if (Matches(pattern, type_name)) {
        Fail("RfcInstallStructure", RFC_HANDLE_NULL, "RFC_ERROR_RESOURCE",
             "no memory for structure " + type_name);
        return RFC_MEMORY_INSUFFICIENT;
      }
    }
  }
  std::vector<FieldDefinition> fields;
  for (unsigned i = 0; i < count; ++i) {
    unsigned code = elements[i].type;
    unsigned length = elements[i].length;
    bool fits = false;
    switch (code) {
      case kChar:
      case kNumeric:
      case kRaw:
        fits = length >= 1 && length <= kRowLengthLimit;
        break;
      case kDate:
      case kFloat:
        fits = length == 8;
        break;
      case kTime:
        fits = length == 6;
        break;
      case kPacked:
        fits = length >= 1 && length <= 16;
        break;
      case kInt:
        fits = length == 4;
        break;
      case kInt2:
        fits = length == 2;
        break;
      case kInt1:
        fits = length == 1;
        break;
      default:
        break;
    }
    if (!fits) {
      Fail("RfcInstallStructure", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM",
           "structure " + type_name + ", element " + std::to_string(i + 1) + ": type " +
               std::to_string(code) + " with length " + std::to_string(length) + " is not valid");
      return RFC_INVALID_PARAMETER;
    }
    fields.push_back(FieldDefinition{{}, code, length});
  }
  std::vector<FieldLayout> layout = LayOut(fields);
  if (LayoutLength(layout) > kRowLengthLimit) {
    Fail("RfcInstallStructure", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM",
         "structure " + type_name + " is longer than 65535 bytes");
    return RFC_INVALID_PARAMETER;
  }
  // An identical description gets the handle installed before.
  for (size_t i = 0; i < types_.size(); ++i) {
    if (types_[i].layout == layout) {
      *type = kFirstTypeHandle + static_cast<RFC_TYPEHANDLE>(i);
      return RFC_OK;
    }
  }
  types_.push_back(InstalledType{type_name, layout});
  *type = kFirstTypeHandle + static_cast<RFC_TYPEHANDLE>(types_.size() - 1);
  return RFC_OK;
}

const StandinRfc::InstalledType* StandinRfc::FindType(RFC_TYPEHANDLE type) const {
  if (type < kFirstTypeHandle || type - kFirstTypeHandle >= types_.size()) return nullptr;
  return &types_[type - kFirstTypeHandle];
}

StandinRfc::Table* StandinRfc::FindTable(ITAB_H table) {
  auto it = tables_.find(table);
  return it == tables_.end() ? nullptr : it->second.get();
}

const StandinRfc::FunctionInterface* StandinRfc::FindFunction(std::string_view name) {
  static const FunctionInterface functions[] = {
      {"RFC_SYSTEM_INFO",
       {
           {"CURRENT_RESOURCES", kInt, nullptr, 4},
           {"DIALOG_USER_TYPE", kChar, nullptr, 1},
           {"MAXIMAL_RESOURCES", kInt, nullptr, 4},
           {"RECOMMENDED_DELAY", kInt, nullptr, 4},
           {"RFCSI_EXPORT", 0, &RfcsiFields(), 200},
           {"RFC_LOGIN_COMPLETE", kChar, nullptr, 1},
       },
       {}},
      {"DB_ORA_CURRENT_SIZES",
       {
           {"CURR_DATE", kDate, nullptr, 8},
           {"CURR_TIME", kTime, nullptr, 6},
           {"DATETIME", 0, &DateTimeFields(), 14},
       },
       {{"TS", 0, &TableXpcFields(), 112}}},
  };
  for (const FunctionInterface& function : functions) {
    if (name == function.name) return &function;
  }
  return nullptr;
}

bool StandinRfc::MatchesSpec(RFC_TYPEHANDLE type, unsigned length,
                             const ExpectedParameter& expected, std::string* message) const {
  std::string name = expected.name;
  if (expected.structure != nullptr) {
    const InstalledType* installed = FindType(type);
    if (installed == nullptr || installed->layout != LayOut(*expected.structure)) {
      *message = name + ": type " + std::to_string(type) + " is not an installed structure of " +
                 std::to_string(expected.structure->size()) + " fields laid out as expected";
      return false;
    }
  } else if (type != expected.type) {
    *message = name + ": type " + std::to_string(type) + " where " + std::to_string(expected.type) +
               " is expected";
    return false;
  }
  if (length != expected.length) {
    *message = name + ": length " + std::to_string(length) + " where " +
               std::to_string(expected.length) + " is expected";
    return false;
  }
  return true;
}

template <typename Entry, typename EntryCheck>
bool StandinRfc::CheckList(const Entry* list, const std::vector<ExpectedParameter>& specs,
                           EntryCheck check, std::string* message) const {
  if (list == nullptr) return true;
  for (unsigned i = 0; i < kListLimit; ++i) {
    const Entry& entry = list[i];
    if (entry.name == nullptr) return true;
    std::string name = Text(entry.name, kNameLimit);
    if (entry.nlen != name.size()) {
      *message = name + ": name length " + std::to_string(entry.nlen) + " is wrong";
      return false;
    }
    const ExpectedParameter* expected = nullptr;
    for (const ExpectedParameter& candidate : specs) {
      if (name == candidate.name) expected = &candidate;
    }
    if (expected == nullptr) {
      *message = name + " is not in the interface of the function module";
      return false;
    }
    if (!MatchesSpec(entry.type, entry.leng, *expected, message)) return false;
    if (!check(entry, name, message)) return false;
  }
  *message = "the list has no end";
  return false;
}

bool StandinRfc::CheckParameters(const RFC_PARAMETER* list,
                                 const std::vector<ExpectedParameter>& specs,
                                 std::string* message) const {
  auto has_place = [](const RFC_PARAMETER& entry, const std::string& name, std::string* message) {
    if (entry.addr != nullptr) return true;
    *message = name + ": no place for the value";
    return false;
  };
  return CheckList(list, specs, has_place, message);
}

bool StandinRfc::CheckTables(const RFC_TABLE* list, const std::vector<ExpectedParameter>& specs,
                             std::string* message) const {
  auto is_table = [this](const RFC_TABLE& entry, const std::string& name, std::string* message) {
    auto it = tables_.find(entry.ithandle);
    if (it == tables_.end()) {
      *message = name + ": the table handle is not a table of this library";
      return false;
    }
    if (it->second->row_length != entry.leng) {
      *message = name + ": the table's rows have " + std::to_string(it->second->row_length) +
                 " bytes, the row type " + std::to_string(entry.leng);
      return false;
    }
    return true;
  };
  return CheckList(list, specs, is_table, message);
}

RFC_RC StandinRfc::Call(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting,
                        RFC_TABLE* tables) {
  auto it = connections_.find(handle);
  if (it == connections_.end()) {
    Fail("RfcCall", handle, "RFC_ERROR_PROGRAM",
         "handle " + std::to_string(handle) + " is not open");
    return RFC_INVALID_HANDLE;
  }
  std::string name = Text(function, kNameLimit);
  const FunctionInterface* module = FindFunction(name);
  std::string message;
  if (module == nullptr) {
    message = "function module " + name + " not found";
  } else if (CheckParameters(exporting, {}, &message) &&
             CheckTables(tables, module->tables, &message)) {
    message.clear();
  }
  if (!message.empty()) {
    Fail("RfcCall", handle, "RFC_ERROR_PROGRAM", message);
    return RFC_FAILURE;
  }
  std::shared_ptr<const SapSystem> system = it->second.system;
  for (const CallFault& fault : system->faults.call) {
    if (!Matches(fault.function, name)) continue;
    std::string key;
    DescribeFault(fault, name, "RfcCall", &key, &message);
    Fail("RfcCall", handle, key, message);
    if (fault.code == RFC_SYS_EXCEPTION) Drop(handle);
    return static_cast<RFC_RC>(fault.code);
  }
  it->second.pending_function = module->name;
  return RFC_OK;
}

RFC_RC StandinRfc::Receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                           char** exception) {
  auto it = connections_.find(handle);
  if (it == connections_.end()) {
    Fail("RfcReceive", handle, "RFC_ERROR_PROGRAM",
         "handle " + std::to_string(handle) + " is not open");
    return RFC_INVALID_HANDLE;
  }
  std::string name = it->second.pending_function;
  it->second.pending_function.clear();
  const FunctionInterface* module = FindFunction(name);
  std::string message;
  if (module == nullptr) {
    message = "RfcReceive without an RfcCall before it";
  } else if (CheckParameters(importing, module->importing, &message) &&
             CheckTables(tables, module->tables, &message)) {
    message.clear();
  }
  if (!message.empty()) {
    Fail("RfcReceive", handle, "RFC_ERROR_PROGRAM", message);
    return RFC_FAILURE;
  }
  std::shared_ptr<const SapSystem> system = it->second.system;
  if (system->delay_ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(system->delay_ms));
  }
  for (const HandlerFault& fault : system->faults.handler) {
    if (!Matches(fault.function, name)) continue;
    Fail("RfcReceive", handle, "RFC_ERROR_SYSTEM_FAILURE",
         "failure of " + name + " reported to the error handler");
    PutField(handler_text_, fault.text);
    // The handler may close connections or end the process.
    if (handler_ != nullptr) handler_(handler_text_);
    return RFC_FAILURE;
  }
  for (const CallFault& fault : system->faults.receive) {
    if (!Matches(fault.function, name)) continue;
    std::string key;
    DescribeFault(fault, name, "RfcReceive", &key, &message);
    Fail("RfcReceive", handle, key, message);
    if (fault.code == RFC_EXCEPTION || fault.code == RFC_SYS_EXCEPTION) {
      exception_ = fault.exception;
      if (exception != nullptr) *exception = exception_.data();
    }
    if (fault.code == RFC_SYS_EXCEPTION) Drop(handle);
    return static_cast<RFC_RC>(fault.code);
  }
  Answer(it->second, *module, importing, tables);
  return RFC_OK;
}

void StandinRfc::Answer(const Connection& connection, const FunctionInterface& function,
                        RFC_PARAMETER* importing, RFC_TABLE* tables) {
  const SapSystem& system = *connection.system;
  for (unsigned i = 0; importing != nullptr && importing[i].name != nullptr; ++i) {
    std::string value =
        ImportedValue(system, std::string_view(importing[i].name, importing[i].nlen));
    value.resize(importing[i].leng, ' ');
    std::memcpy(importing[i].addr, value.data(), importing[i].leng);
  }
  for (unsigned i = 0; tables != nullptr && tables[i].name != nullptr; ++i) {
    Table* table = FindTable(tables[i].ithandle);
    if (std::string_view(tables[i].name, tables[i].nlen) != "TS" || function.tables.empty()) {
      continue;
    }
    table->rows.clear();
    for (const std::string& row : system.tablespaces) {
      table->rows.push_back(std::make_unique<char[]>(row.size()));
      std::memcpy(table->rows.back().get(), row.data(), row.size());
    }
    table->rows_after_first_pass = system.faults.rows_after_first_pass;
    table->last_row_read = table->rows.empty();
    table->first_pass_over = false;
  }
}

int StandinRfc::LastError(RFC_ERROR_INFO* info) {
  if (info == nullptr || !has_error_) return 1;
  *info = last_error_;
  return 0;
}

void StandinRfc::Close(RFC_HANDLE handle) {
  if (handle == RFC_HANDLE_NULL) {
    std::string closed;
    for (const auto& [open, connection] : connections_) closed += " " + std::to_string(open);
    Note("close all:" + (closed.empty() ? std::string(" none") : closed));
    connections_.clear();
  } else {
    bool open = connections_.erase(handle) != 0;
    Note("close " + std::to_string(handle) + (open ? "" : ": not open"));
  }
}

ITAB_H StandinRfc::ItCreate(const char* name, unsigned row_length, unsigned occu, unsigned memo) {
  (void)occu;
  (void)memo;
  std::string table_name = Text(name, kNameLimit);
  const Faults* faults = CurrentFaults();
  if (faults != nullptr && faults->it_create) {
    Fail("ItCreate", RFC_HANDLE_NULL, "RFC_ERROR_RESOURCE", "no memory for table " + table_name);
    return ITAB_NULL;
  }
  if (row_length == 0 || row_length > kRowLengthLimit) {
    Fail("ItCreate", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM",
         "table " + table_name + ": row length " + std::to_string(row_length) + " is not valid");
    return ITAB_NULL;
  }
  auto table = std::make_unique<Table>();
  table->row_length = row_length;
  ITAB_H handle = table.get();
  tables_[handle] = std::move(table);
  return handle;
}

unsigned StandinRfc::ItFill(ITAB_H handle) {
  Table* table = FindTable(handle);
  if (table == nullptr) {
    Fail("ItFill", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM", "not a table of this library");
    return 0;
  }
  // The first pass ends with the fill read after its last row; the fill read
  // after that starts the next pass, which sees the changed row count.
  if (table->rows_after_first_pass >= 0) {
    if (table->first_pass_over) {
      size_t count = static_cast<size_t>(table->rows_after_first_pass);
      std::string copied = table->rows.empty()
                               ? DefaultTablespaceRow()
                               : std::string(table->rows.back().get(), table->row_length);
      copied.resize(table->row_length, '\0');
      if (count < table->rows.size()) table->rows.resize(count);
      while (table->rows.size() < count) {
        table->rows.push_back(std::make_unique<char[]>(table->row_length));
        std::memcpy(table->rows.back().get(), copied.data(), table->row_length);
      }
      table->rows_after_first_pass = -1;
    } else if (table->last_row_read) {
      table->first_pass_over = true;
    }
  }
  return static_cast<unsigned>(table->rows.size());
}

void* StandinRfc::ItGetLine(ITAB_H handle, unsigned line) {
  Table* table = FindTable(handle);
  if (table == nullptr) {
    Fail("ItGetLine", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM", "not a table of this library");
    return nullptr;
  }
  const Faults* faults = CurrentFaults();
  if (faults != nullptr && faults->it_get_line_row == line) {
    Fail("ItGetLine", RFC_HANDLE_NULL, "RFC_ERROR_RESOURCE",
         "row " + std::to_string(line) + " cannot be read");
    return nullptr;
  }
  if (line == 0 || line > table->rows.size()) {
    Fail("ItGetLine", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM",
         "row " + std::to_string(line) + " of " + std::to_string(table->rows.size()) +
             " does not exist");
    return nullptr;
  }
  if (line == table->rows.size()) table->last_row_read = true;
  return table->rows[line - 1].get();
}

int StandinRfc::ItDelete(ITAB_H handle) {
  if (tables_.erase(handle) == 0) {
    Fail("ItDelete", RFC_HANDLE_NULL, "RFC_ERROR_PROGRAM", "not a table of this library");
    return 1;
  }
  const Faults* faults = CurrentFaults();
  if (faults != nullptr && faults->it_delete) {
    Fail("ItDelete", RFC_HANDLE_NULL, "RFC_ERROR_RESOURCE", "the table cannot be freed");
    return 1;
  }
  return 0;
}

}  // namespace vaultgauge::standin
