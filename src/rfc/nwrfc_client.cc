#include "rfc/nwrfc_client.h"

#include <cstdio>

#include "util/file_system.h"
#include "util/messages.h"
#include "util/text.h"
#include "util/utf16.h"

namespace vaultgauge {

namespace {

constexpr uintmax_t kDestinationFileLimit = 64u << 10;
// Texts the library hands back: a size field of a row, a host name, and so
// on. A longer answer is a broken library, not a text to take.
constexpr unsigned kTextLimit = 4096;
constexpr size_t kDatabaseSystemWidth = 10;
constexpr size_t kHostWidth = 8;

constexpr char kSystemInfo[] = "RFC_SYSTEM_INFO";
constexpr char kCurrentSizes[] = "DB_ORA_CURRENT_SIZES";

// Before a call on the rows' path, every field of every row: clears of the
// 1.8 KB error record only what Keep reads (a code, a group, two texts read
// no further than their first terminator), which costs less than the read.
void ClearReadParts(nwrfc::RFC_ERROR_INFO* info) {
  info->code = nwrfc::RFC_OK;
  info->group = nwrfc::RFC_ERROR_GROUP{};
  info->key[0] = u'\0';
  info->message[0] = u'\0';
}

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return std::string_view();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

// A field's text as the classic library delivers it: trailing blanks
// trimmed (the NetWeaver library may or may not keep them), then padded to
// the field's width in characters.
std::string PaddedField(std::string_view text, size_t width) {
  std::string field(TrimTrailingBlanks(text));
  size_t characters = 0;
  for (char c : field) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (characters < width) field.append(width - characters, ' ');
  return field;
}

void Put(NwParameters* parameters, std::string name, const std::string& value) {
  if (!value.empty()) parameters->push_back(NwParameter{std::move(name), value});
}

}  // namespace

NwParameters ProfileLogonParameters(const ConnectionProfile& profile,
                                    const LogonOverrides& overrides) {
  NwParameters parameters;
  if (profile.mode == "R/2") {
    Put(&parameters, "GWHOST", profile.gwhost);
    Put(&parameters, "GWSERV", profile.gwservice);
  } else {
    Put(&parameters, "ASHOST", overrides.host.empty() ? profile.hostname : overrides.host);
    // The classic options record takes the number as an int: two digits here.
    int sysnr = ParseInt(overrides.sysnr.empty() ? profile.sysnr : overrides.sysnr);
    std::string digits = std::to_string(sysnr);
    if (sysnr >= 0 && sysnr < 10) digits = "0" + digits;
    // The gateway is left to the library: whether it takes GWHOST and GWSERV
    // beside ASHOST for a client's logon is not known.
    Put(&parameters, "SYSNR", digits);
  }
  Put(&parameters, "CLIENT", overrides.client.empty() ? profile.client : overrides.client);
  Put(&parameters, "USER", profile.user);
  Put(&parameters, "PASSWD", profile.password);
  Put(&parameters, "LANG", profile.language);
  return parameters;
}

bool ReadDestinationFile(const std::string& path, NwParameters* parameters) {
  parameters->clear();
  // Read through the C library: the C++ streams would weigh on every start.
  std::FILE* file = OpenBinaryFile(path);
  if (file == nullptr) return false;
  std::string text;
  char block[4096];
  bool too_large = false;
  for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) {
    text.append(block, got);
    if (text.size() > kDestinationFileLimit) {
      too_large = true;
      break;
    }
  }
  const bool read_error = std::ferror(file) != 0;
  std::fclose(file);
  if (too_large || read_error) return false;

  bool entry_named = false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = TrimBlanks(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == '#' || line[0] == '*' || line[0] == ';' ||
        StartsWith(line, "//") || StartsWith(line, "/*")) {
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string name = UpperCase(TrimBlanks(line.substr(0, equals)));
    if (name.empty()) continue;
    if (name == "DEST") {
      if (entry_named) break;
      entry_named = true;
      continue;
    }
    parameters->push_back(NwParameter{name, std::string(TrimBlanks(line.substr(equals + 1)))});
  }
  return true;
}

NwParameters DestinationLogonParameters(const ConnectionProfile& profile,
                                        const LogonOverrides& overrides,
                                        const NwParameters& file_lines) {
  NwParameters logon;
  Put(&logon, "CLIENT", overrides.client.empty() ? profile.client : overrides.client);
  Put(&logon, "USER", profile.user);
  Put(&logon, "PASSWD", profile.password);
  Put(&logon, "LANG", "D");
  NwParameters parameters;
  for (const NwParameter& line : file_lines) {
    bool replaced = false;
    for (const NwParameter& value : logon) replaced = replaced || value.name == line.name;
    bool repeated = false;
    for (const NwParameter& kept : parameters) repeated = repeated || kept.name == line.name;
    // A name the file repeats counts once, with its last value.
    if (repeated) {
      for (NwParameter& kept : parameters) {
        if (kept.name == line.name) kept.value = line.value;
      }
    } else if (!replaced) {
      parameters.push_back(line);
    }
  }
  parameters.insert(parameters.end(), logon.begin(), logon.end());
  return parameters;
}

std::string NwFailureText(const NwError& error) {
  std::string text;
  switch (error.code) {
    case nwrfc::RFC_ABAP_EXCEPTION:
      text = Message(MessageId::kException, {error.key});
      break;
    case nwrfc::RFC_ABAP_RUNTIME_FAILURE:
      text = Message(MessageId::kSysException);
      break;
    case nwrfc::RFC_COMMUNICATION_FAILURE:
      text = Message(MessageId::kRfcFailure);
      break;
    default:
      text = Message(MessageId::kOtherFailure);
  }
  return text + " - " + error.message;
}

void NwRfcClient::Keep(const nwrfc::RFC_ERROR_INFO& info) {
  last_error_.code = info.code;
  last_error_.group = info.group;
  // The arrays are read no further than their ends, terminated or not.
  last_error_.key = FromUtf16(BoundedUtf16(info.key, std::size(info.key)));
  last_error_.message = FromUtf16(BoundedUtf16(info.message, std::size(info.message)));
  // One line in the document: the library's messages may span several.
  for (char& c : last_error_.message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
}

Status NwRfcClient::RemoteFailure(const nwrfc::RFC_ERROR_INFO& info) {
  Keep(info);
  // After these the library has closed the connection: only its handle is left.
  return Status::RfcFailure(NwFailureText(last_error_));
}

Status NwRfcClient::LibraryFailure(const nwrfc::RFC_ERROR_INFO& info, std::string operation) {
  Keep(info);
  return Status::LibraryError(std::move(operation));
}

bool NwRfcClient::Open(const NwParameters& parameters) {
  Close();
  // The texts stay in place until the library has returned.
  std::vector<std::u16string> texts;
  texts.reserve(2 * parameters.size());
  std::vector<nwrfc::RFC_CONNECTION_PARAMETER> list;
  list.reserve(parameters.size());
  for (const NwParameter& parameter : parameters) {
    texts.push_back(ToUtf16(parameter.name));
    texts.push_back(ToUtf16(parameter.value));
    list.push_back(
        nwrfc::RFC_CONNECTION_PARAMETER{texts[texts.size() - 2].c_str(), texts.back().c_str()});
  }
  nwrfc::RFC_ERROR_INFO info{};
  connection_ = api_.OpenConnection(list.data(), static_cast<unsigned>(list.size()), &info);
  if (connection_ == nullptr) {
    Keep(info);
    return false;
  }
  return true;
}

void NwRfcClient::Close() {
  if (connection_ == nullptr) return;
  nwrfc::RFC_ERROR_INFO info{};
  api_.CloseConnection(connection_, &info);
  connection_ = nullptr;
}

Status NwRfcClient::CreateFunction(const char* name, nwrfc::RFC_FUNCTION_HANDLE* function) {
  nwrfc::RFC_ERROR_INFO info{};
  std::u16string name16 = ToUtf16(name);
  // The description belongs to the library's cache: it is never destroyed.
  nwrfc::RFC_FUNCTION_DESC_HANDLE description =
      api_.GetFunctionDesc(connection_, name16.c_str(), &info);
  if (description == nullptr) return RemoteFailure(info);
  info = nwrfc::RFC_ERROR_INFO{};
  *function = api_.CreateFunction(description, &info);
  if (*function == nullptr) {
    return LibraryFailure(info, std::string("RfcCreateFunction ") + name);
  }
  return Status::Ok();
}

Status NwRfcClient::Invoke(nwrfc::RFC_FUNCTION_HANDLE function) {
  nwrfc::RFC_ERROR_INFO info{};
  if (api_.Invoke(connection_, function, &info) != nwrfc::RFC_OK) return RemoteFailure(info);
  return Status::Ok();
}

Status NwRfcClient::Destroy(const char* name, nwrfc::RFC_FUNCTION_HANDLE* function) {
  if (*function == nullptr) return Status::Ok();
  nwrfc::RFC_ERROR_INFO info{};
  nwrfc::RFC_RC result = api_.DestroyFunction(*function, &info);
  *function = nullptr;
  if (result != nwrfc::RFC_OK) {
    return LibraryFailure(info, std::string("RfcDestroyFunction ") + name);
  }
  return Status::Ok();
}

Status NwRfcClient::GetText(nwrfc::DATA_CONTAINER_HANDLE container, const char* name,
                            std::string* text, bool* convertible) {
  // Every field of every row is read here: the name and most texts fit on
  // the stack. The names are the program's own ASCII.
  char16_t name16[32];
  size_t name_length = 0;
  for (; name[name_length] != '\0' && name_length + 1 < std::size(name16); ++name_length) {
    name16[name_length] = static_cast<unsigned char>(name[name_length]);
  }
  name16[name_length] = u'\0';
  char16_t small[64];
  std::u16string large;
  char16_t* buffer = small;
  size_t buffer_size = std::size(small);
  nwrfc::RFC_ERROR_INFO info;
  for (;;) {
    ClearReadParts(&info);
    unsigned length = 0;
    nwrfc::RFC_RC result = api_.GetString(container, name16, buffer,
                                          static_cast<unsigned>(buffer_size), &length, &info);
    if (result == nwrfc::RFC_BUFFER_TOO_SMALL && length >= buffer_size && length < kTextLimit) {
      large.assign(length + 1, u'\0');
      buffer = large.data();
      buffer_size = large.size();
      continue;
    }
    if (result == nwrfc::RFC_CONVERSION_FAILURE && convertible != nullptr) {
      Keep(info);
      *convertible = false;
      text->clear();
      return Status::Ok();
    }
    if (result != nwrfc::RFC_OK) return LibraryFailure(info, std::string("RfcGetString ") + name);
    if (convertible != nullptr) *convertible = true;
    // The length is the library's word; the buffer's end bounds it.
    Utf16ToUtf8(BoundedUtf16(buffer, std::min<size_t>(length, buffer_size)), text);
    return Status::Ok();
  }
}

Status NwRfcClient::ReadSystemInfo(SystemInfo* info, std::string* destination) {
  nwrfc::RFC_FUNCTION_HANDLE function = nullptr;
  Status status = CreateFunction(kSystemInfo, &function);
  if (status.ok()) status = Invoke(function);
  std::string database, host, dest;
  if (status.ok()) {
    nwrfc::RFC_ERROR_INFO error{};
    nwrfc::RFC_STRUCTURE_HANDLE rfcsi = nullptr;
    std::u16string name = ToUtf16("RFCSI_EXPORT");
    if (api_.GetStructure(function, name.c_str(), &rfcsi, &error) != nwrfc::RFC_OK) {
      status = LibraryFailure(error, "RfcGetStructure RFCSI_EXPORT");
    }
    if (status.ok()) status = GetText(rfcsi, "RFCDBSYS", &database);
    if (status.ok()) status = GetText(rfcsi, "RFCHOST", &host);
    if (status.ok()) status = GetText(rfcsi, "RFCDEST", &dest);
  }
  Status destroyed = Destroy(kSystemInfo, &function);
  if (status.ok()) status = destroyed;
  if (!status.ok()) return status;
  info->database_system = PaddedField(database, kDatabaseSystemWidth);
  info->host = PaddedField(host, kHostWidth);
  if (destination != nullptr) *destination = std::string(TrimTrailingBlanks(dest));
  return Status::Ok();
}

Status NwRfcClient::CallCurrentSizes(NwSizesTable* table) {
  Status released = table->Release();
  if (!released.ok()) return released;
  nwrfc::RFC_FUNCTION_HANDLE function = nullptr;
  Status status = CreateFunction(kCurrentSizes, &function);
  if (status.ok()) status = Invoke(function);
  nwrfc::RFC_TABLE_HANDLE ts = nullptr;
  if (status.ok()) {
    nwrfc::RFC_ERROR_INFO error{};
    std::u16string name = ToUtf16("TS");
    if (api_.GetTable(function, name.c_str(), &ts, &error) != nwrfc::RFC_OK) {
      status = LibraryFailure(error, "RfcGetTable TS");
    }
  }
  if (!status.ok()) {
    Destroy(kCurrentSizes, &function);
    return status;
  }
  table->client_ = this;
  table->function_ = function;
  table->table_ = ts;
  return Status::Ok();
}

NwSizesTable::~NwSizesTable() { Release(); }

Status NwSizesTable::Release() {
  table_ = nullptr;
  if (client_ == nullptr) return Status::Ok();
  NwRfcClient* client = client_;
  client_ = nullptr;
  return client->Destroy(kCurrentSizes, &function_);
}

Status NwSizesTable::RowCount(unsigned* count) {
  *count = 0;
  if (client_ == nullptr) return Status::LibraryError("RfcGetRowCount TS");
  nwrfc::RFC_ERROR_INFO error;
  ClearReadParts(&error);
  if (client_->api_.GetRowCount(table_, count, &error) != nwrfc::RFC_OK) {
    *count = 0;
    return client_->LibraryFailure(error, "RfcGetRowCount TS");
  }
  return Status::Ok();
}

Status NwSizesTable::ReadRow(unsigned number, Row* row) { return ReadFields(number, true, row); }

Status NwSizesTable::ReadFields(unsigned number, bool with_status, Row* row) {
  if (client_ == nullptr || number == 0) return Status::LibraryError("RfcMoveTo TS");
  NwRfcApi& api = client_->api_;
  nwrfc::RFC_ERROR_INFO error;
  ClearReadParts(&error);
  // The cursor's place after the call is not settled: move to each row.
  if (api.MoveTo(table_, number - 1, &error) != nwrfc::RFC_OK) {
    return client_->LibraryFailure(error, "RfcMoveTo TS");
  }
  ClearReadParts(&error);
  nwrfc::RFC_STRUCTURE_HANDLE current = api.GetCurrentRow(table_, &error);
  if (current == nullptr) return client_->LibraryFailure(error, "RfcGetCurrentRow TS");
  bool tsize_convertible = true, tfree_convertible = true;
  Status status = client_->GetText(current, "TS", &row->ts);
  if (status.ok()) status = client_->GetText(current, "TSIZE", &row->tsize, &tsize_convertible);
  if (status.ok()) status = client_->GetText(current, "TFREE", &row->tfree, &tfree_convertible);
  if (status.ok() && with_status) status = client_->GetText(current, "STATUS", &row->status);
  // A size the library cannot turn into text is left empty: a corrupt size.
  if (!tsize_convertible) row->tsize.clear();
  if (!tfree_convertible) row->tfree.clear();
  return status;
}

Status NwSizesTable::Read(unsigned number, Tablespace* tablespace) {
  Row row;
  Status status = ReadFields(number, true, &row);
  if (!status.ok()) return status;
  return DecodeTablespaceTexts(row.ts, row.tsize, row.tfree, row.status, number, tablespace);
}

}  // namespace vaultgauge
