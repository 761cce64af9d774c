#include "rfc/nwrfc_library.h"

#include "platform/platform.h"
#include "util/messages.h"
#include "util/utf16.h"

namespace vaultgauge {

namespace {

constexpr size_t kVersionTextLimit = 128;

}  // namespace

Status NwRfcLibrary::Load(std::unique_ptr<NwRfcLibrary>* library) {
  return Load(ProgramFolder(), NwRfcLibraryFileName(), library);
}

Status NwRfcLibrary::Load(const std::string& folder, const std::string& file_name,
                          std::unique_ptr<NwRfcLibrary>* library) {
  void* loaded = LoadSharedLibrary(folder, file_name);
  if (loaded == nullptr) {
    return Status::Error(Message(MessageId::kLibraryNotLoaded, {file_name}));
  }
  std::unique_ptr<NwRfcLibrary> api(new NwRfcLibrary());
  const char* missing = nullptr;
  auto need = [&](const char* name, auto* function) {
    if (missing == nullptr && !ResolveSymbol(loaded, name, function)) missing = name;
  };
  // Older builds of the library lack newer entry points: only what the
  // sensor cannot do without is needed.
  ResolveSymbol(loaded, "RfcGetVersion", &api->get_version_);
  need("RfcOpenConnection", &api->open_connection_);
  need("RfcCloseConnection", &api->close_connection_);
  need("RfcGetFunctionDesc", &api->get_function_desc_);
  need("RfcCreateFunction", &api->create_function_);
  need("RfcDestroyFunction", &api->destroy_function_);
  need("RfcInvoke", &api->invoke_);
  need("RfcGetStructure", &api->get_structure_);
  need("RfcGetTable", &api->get_table_);
  need("RfcGetRowCount", &api->get_row_count_);
  need("RfcMoveTo", &api->move_to_);
  need("RfcGetCurrentRow", &api->get_current_row_);
  need("RfcGetString", &api->get_string_);
  if (missing != nullptr) {
    return Status::Error(Message(MessageId::kLibraryEntryMissing, {file_name, missing}));
  }
  *library = std::move(api);
  return Status::Ok();
}

std::string NwRfcLibrary::VersionText() {
  unsigned major = 0, minor = 0, patch = 0;
  const nwrfc::SAP_UC* text = GetVersion(&major, &minor, &patch);
  if (get_version_ == nullptr) return "unknown";
  std::string version =
      std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
  // The text's form is the library's own; it is bounded and kept to one line.
  std::string own = FromUtf16(BoundedUtf16(text, kVersionTextLimit));
  for (char& c : own) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  if (!own.empty()) version += " (" + own + ")";
  return version;
}

const nwrfc::SAP_UC* NwRfcLibrary::GetVersion(unsigned* major, unsigned* minor, unsigned* patch) {
  return get_version_ == nullptr ? nullptr : get_version_(major, minor, patch);
}

nwrfc::RFC_CONNECTION_HANDLE NwRfcLibrary::OpenConnection(
    const nwrfc::RFC_CONNECTION_PARAMETER* parameters, unsigned count,
    nwrfc::RFC_ERROR_INFO* error) {
  return open_connection_(parameters, count, error);
}

nwrfc::RFC_RC NwRfcLibrary::CloseConnection(nwrfc::RFC_CONNECTION_HANDLE connection,
                                            nwrfc::RFC_ERROR_INFO* error) {
  return close_connection_(connection, error);
}

nwrfc::RFC_FUNCTION_DESC_HANDLE NwRfcLibrary::GetFunctionDesc(
    nwrfc::RFC_CONNECTION_HANDLE connection, const nwrfc::SAP_UC* name,
    nwrfc::RFC_ERROR_INFO* error) {
  return get_function_desc_(connection, name, error);
}

nwrfc::RFC_FUNCTION_HANDLE NwRfcLibrary::CreateFunction(nwrfc::RFC_FUNCTION_DESC_HANDLE description,
                                                        nwrfc::RFC_ERROR_INFO* error) {
  return create_function_(description, error);
}

nwrfc::RFC_RC NwRfcLibrary::DestroyFunction(nwrfc::RFC_FUNCTION_HANDLE function,
                                            nwrfc::RFC_ERROR_INFO* error) {
  return destroy_function_(function, error);
}

nwrfc::RFC_RC NwRfcLibrary::Invoke(nwrfc::RFC_CONNECTION_HANDLE connection,
                                   nwrfc::RFC_FUNCTION_HANDLE function,
                                   nwrfc::RFC_ERROR_INFO* error) {
  return invoke_(connection, function, error);
}

nwrfc::RFC_RC NwRfcLibrary::GetStructure(nwrfc::DATA_CONTAINER_HANDLE container,
                                         const nwrfc::SAP_UC* name,
                                         nwrfc::RFC_STRUCTURE_HANDLE* structure,
                                         nwrfc::RFC_ERROR_INFO* error) {
  return get_structure_(container, name, structure, error);
}

nwrfc::RFC_RC NwRfcLibrary::GetTable(nwrfc::DATA_CONTAINER_HANDLE container,
                                     const nwrfc::SAP_UC* name, nwrfc::RFC_TABLE_HANDLE* table,
                                     nwrfc::RFC_ERROR_INFO* error) {
  return get_table_(container, name, table, error);
}

nwrfc::RFC_RC NwRfcLibrary::GetRowCount(nwrfc::RFC_TABLE_HANDLE table, unsigned* count,
                                        nwrfc::RFC_ERROR_INFO* error) {
  return get_row_count_(table, count, error);
}

nwrfc::RFC_RC NwRfcLibrary::MoveTo(nwrfc::RFC_TABLE_HANDLE table, unsigned index,
                                   nwrfc::RFC_ERROR_INFO* error) {
  return move_to_(table, index, error);
}

nwrfc::RFC_STRUCTURE_HANDLE NwRfcLibrary::GetCurrentRow(nwrfc::RFC_TABLE_HANDLE table,
                                                        nwrfc::RFC_ERROR_INFO* error) {
  return get_current_row_(table, error);
}

nwrfc::RFC_RC NwRfcLibrary::GetString(nwrfc::DATA_CONTAINER_HANDLE container,
                                      const nwrfc::SAP_UC* name, nwrfc::SAP_UC* buffer,
                                      unsigned buffer_length, unsigned* length,
                                      nwrfc::RFC_ERROR_INFO* error) {
  return get_string_(container, name, buffer, buffer_length, length, error);
}

}  // namespace vaultgauge
