#include "rfc/rfc_library.h"

#include "platform/platform.h"
#include "rfc/pe_width.h"
#include "util/messages.h"

namespace vaultgauge {

Status RfcLibrary::Load(std::unique_ptr<RfcLibrary>* library) {
  return Load(ProgramFolder(), RfcLibraryFileName(), library);
}

Status RfcLibrary::Load(const std::string& folder, const std::string& file_name,
                        std::unique_ptr<RfcLibrary>* library) {
  void* loaded = LoadSharedLibrary(folder, file_name);
  if (loaded == nullptr) {
    // A process cannot load a DLL of the other width: name the program that can.
    const PeWidth width = PeWidthOfFile(folder + file_name);
    if (width != PeWidth::kUnknown && width != ProgramWidth()) {
      return Status::Error(
          Message(width == PeWidth::k32 ? MessageId::kLibraryIs32Bit : MessageId::kLibraryIs64Bit,
                  {file_name}));
    }
    return Status::Error(Message(MessageId::kLibraryNotLoaded, {file_name}));
  }
  std::unique_ptr<RfcLibrary> api(new RfcLibrary());
  const char* missing = nullptr;
  auto need = [&](const char* name, auto* function) {
    if (missing == nullptr && !ResolveSymbol(loaded, name, function)) missing = name;
  };
  need("RfcEnvironment", &api->environment_);
  need("RfcOpen", &api->open_);
  need("RfcOpenEx", &api->open_ex_);
  need("RfcInstallStructure", &api->install_structure_);
  need("RfcCall", &api->call_);
  need("RfcReceive", &api->receive_);
  need("RfcLastError", &api->last_error_);
  need("RfcClose", &api->close_);
  need("ItCreate", &api->it_create_);
  need("ItFill", &api->it_fill_);
  need("ItGetLine", &api->it_get_line_);
  need("ItDelete", &api->it_delete_);
  if (missing != nullptr) {
    return Status::Error(Message(MessageId::kLibraryEntryMissing, {file_name, missing}));
  }
  *library = std::move(api);
  return Status::Ok();
}

void RfcLibrary::Environment(RfcEnv* env) { environment_(env); }

RFC_HANDLE RfcLibrary::Open(RfcOptions* options) { return open_(options); }

RFC_HANDLE RfcLibrary::OpenEx(const char* connect_string, RfcErrorInfoEx* error) {
  return open_ex_(connect_string, error);
}

RFC_RC RfcLibrary::InstallStructure(const char* name, RfcTypeElement* elements, unsigned count,
                                    RFC_TYPEHANDLE* type) {
  return install_structure_(name, elements, count, type);
}

RFC_RC RfcLibrary::Call(RFC_HANDLE handle, const char* function, RfcParameter* exporting,
                        RfcTableEntry* tables) {
  return call_(handle, function, exporting, tables);
}

RFC_RC RfcLibrary::Receive(RFC_HANDLE handle, RfcParameter* importing, RfcTableEntry* tables,
                           char** exception) {
  return receive_(handle, importing, tables, exception);
}

int RfcLibrary::LastError(RfcErrorInfo* info) { return last_error_(info); }

void RfcLibrary::Close(RFC_HANDLE handle) { close_(handle); }

ITAB_H RfcLibrary::ItCreate(const char* name, unsigned row_length, unsigned occu, unsigned memo) {
  return it_create_(name, row_length, occu, memo);
}

unsigned RfcLibrary::ItFill(ITAB_H table) { return it_fill_(table); }

void* RfcLibrary::ItGetLine(ITAB_H table, unsigned line) { return it_get_line_(table, line); }

int RfcLibrary::ItDelete(ITAB_H table) { return it_delete_(table); }

}  // namespace vaultgauge
