// The exported entry points of the stand-in library. Each forwards to the one
// instance, made at the first call so that loading the library costs nothing;
// no C++ exception leaves through the C interface.
#include "rfc/rfc_abi.h"
#include "standin/standin_rfc.h"

namespace {

using vaultgauge::standin::StandinRfc;

StandinRfc& Library() {
  static StandinRfc library;
  return library;
}

template <typename Result, typename Operation>
Result Guarded(Result on_failure, Operation operation) {
  try {
    return operation(Library());
  } catch (...) {
    return on_failure;
  }
}

}  // namespace

extern "C" {

void SAP_API RfcEnvironment(RFC_ENV* new_env) {
  Guarded(0, [&](StandinRfc& library) {
    library.Environment(new_env);
    return 0;
  });
}

RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  return Guarded(RFC_HANDLE_NULL, [&](StandinRfc& library) { return library.Open(options); });
}

RFC_HANDLE SAP_API RfcOpenEx(const RFC_CHAR* connect_param, RFC_ERROR_INFO_EX* error_info) {
  return Guarded(RFC_HANDLE_NULL,
                 [&](StandinRfc& library) { return library.OpenEx(connect_param, error_info); });
}

RFC_RC SAP_API RfcInstallStructure(const RFC_CHAR* name, RFC_TYPE_ELEMENT* elements,
                                   unsigned entries, RFC_TYPEHANDLE* pTypeHandle) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, [&](StandinRfc& library) {
    return library.InstallStructure(name, elements, entries, pTypeHandle);
  });
}

RFC_RC SAP_API RfcCall(RFC_HANDLE handle, const RFC_CHAR* function, RFC_PARAMETER* parameters,
                       RFC_TABLE* tables) {
  return Guarded(RFC_FAILURE, [&](StandinRfc& library) {
    return library.Call(handle, function, parameters, tables);
  });
}

RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* parameters, RFC_TABLE* tables,
                          RFC_CHAR** exception) {
  return Guarded(RFC_FAILURE, [&](StandinRfc& library) {
    return library.Receive(handle, parameters, tables, exception);
  });
}

int SAP_API RfcLastError(RFC_ERROR_INFO* error_info) {
  return Guarded(1, [&](StandinRfc& library) { return library.LastError(error_info); });
}

void SAP_API RfcClose(RFC_HANDLE handle) {
  Guarded(0, [&](StandinRfc& library) {
    library.Close(handle);
    return 0;
  });
}

ITAB_H SAP_API ItCreate(const RFC_CHAR* name, unsigned leng, unsigned occu, unsigned memo) {
  return Guarded(ITAB_H{ITAB_NULL},
                 [&](StandinRfc& library) { return library.ItCreate(name, leng, occu, memo); });
}

unsigned SAP_API ItFill(ITAB_H itab) {
  return Guarded(0u, [&](StandinRfc& library) { return library.ItFill(itab); });
}

void* SAP_API ItGetLine(ITAB_H itab, unsigned line) {
  return Guarded(static_cast<void*>(nullptr),
                 [&](StandinRfc& library) { return library.ItGetLine(itab, line); });
}

int SAP_API ItDelete(ITAB_H itab) {
  return Guarded(1, [&](StandinRfc& library) { return library.ItDelete(itab); });
}

}  // extern "C"
