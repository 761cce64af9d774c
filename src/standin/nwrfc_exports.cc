// The exported entry points of the stand-in NetWeaver RFC library. Each
// forwards to the one instance, made at the first call; no C++ exception
// leaves through the C interface.
#include "rfc/nwrfc_abi.h"
#include "standin/nwrfc_standin.h"

namespace {

using vaultgauge::nwrfc::RFC_ERROR_INFO;
using vaultgauge::standin::NwrfcStandin;

NwrfcStandin& Library() {
  static NwrfcStandin library;
  return library;
}

// Runs `operation`; an exception becomes `on_failure` with the error record
// saying so.
template <typename Result, typename Operation>
Result Guarded(Result on_failure, RFC_ERROR_INFO* error, Operation operation) {
  try {
    return operation(Library());
  } catch (...) {
    if (error != nullptr) {
      *error = RFC_ERROR_INFO{};
      error->code = vaultgauge::nwrfc::RFC_MEMORY_INSUFFICIENT;
      error->group = vaultgauge::nwrfc::EXTERNAL_RUNTIME_FAILURE;
      const char16_t text[] = u"RFC_MEMORY_INSUFFICIENT";
      for (size_t i = 0; i + 1 < std::size(text); ++i) error->key[i] = text[i];
    }
    return on_failure;
  }
}

}  // namespace

namespace vaultgauge::nwrfc {

extern "C" {

const SAP_UC* NWRFC_API RfcGetVersion(unsigned* major, unsigned* minor, unsigned* patch) {
  return Guarded(static_cast<const SAP_UC*>(nullptr), nullptr,
                 [&](NwrfcStandin& library) { return library.GetVersion(major, minor, patch); });
}

RFC_CONNECTION_HANDLE NWRFC_API RfcOpenConnection(const RFC_CONNECTION_PARAMETER* parameters,
                                                  unsigned count, RFC_ERROR_INFO* error) {
  return Guarded(RFC_CONNECTION_HANDLE{}, error, [&](NwrfcStandin& library) {
    return library.OpenConnection(parameters, count, error);
  });
}

RFC_RC NWRFC_API RfcCloseConnection(RFC_CONNECTION_HANDLE connection, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error,
                 [&](NwrfcStandin& library) { return library.CloseConnection(connection, error); });
}

RFC_FUNCTION_DESC_HANDLE NWRFC_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE connection,
                                                      const SAP_UC* name, RFC_ERROR_INFO* error) {
  return Guarded(RFC_FUNCTION_DESC_HANDLE{}, error, [&](NwrfcStandin& library) {
    return library.GetFunctionDesc(connection, name, error);
  });
}

RFC_FUNCTION_HANDLE NWRFC_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE description,
                                                RFC_ERROR_INFO* error) {
  return Guarded(RFC_FUNCTION_HANDLE{}, error,
                 [&](NwrfcStandin& library) { return library.CreateFunction(description, error); });
}

RFC_RC NWRFC_API RfcDestroyFunction(RFC_FUNCTION_HANDLE function, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error,
                 [&](NwrfcStandin& library) { return library.DestroyFunction(function, error); });
}

RFC_RC NWRFC_API RfcInvoke(RFC_CONNECTION_HANDLE connection, RFC_FUNCTION_HANDLE function,
                           RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error, [&](NwrfcStandin& library) {
    return library.Invoke(connection, function, error);
  });
}

RFC_RC NWRFC_API RfcGetStructure(DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                                 RFC_STRUCTURE_HANDLE* structure, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error, [&](NwrfcStandin& library) {
    return library.GetStructure(container, name, structure, error);
  });
}

RFC_RC NWRFC_API RfcGetTable(DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                             RFC_TABLE_HANDLE* table, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error, [&](NwrfcStandin& library) {
    return library.GetTable(container, name, table, error);
  });
}

RFC_RC NWRFC_API RfcGetRowCount(RFC_TABLE_HANDLE table, unsigned* count, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error,
                 [&](NwrfcStandin& library) { return library.GetRowCount(table, count, error); });
}

RFC_RC NWRFC_API RfcMoveTo(RFC_TABLE_HANDLE table, unsigned index, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error,
                 [&](NwrfcStandin& library) { return library.MoveTo(table, index, error); });
}

RFC_STRUCTURE_HANDLE NWRFC_API RfcGetCurrentRow(RFC_TABLE_HANDLE table, RFC_ERROR_INFO* error) {
  return Guarded(RFC_STRUCTURE_HANDLE{}, error,
                 [&](NwrfcStandin& library) { return library.GetCurrentRow(table, error); });
}

RFC_RC NWRFC_API RfcGetString(DATA_CONTAINER_HANDLE container, const SAP_UC* name, SAP_UC* buffer,
                              unsigned buffer_length, unsigned* length, RFC_ERROR_INFO* error) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, error, [&](NwrfcStandin& library) {
    return library.GetString(container, name, buffer, buffer_length, length, error);
  });
}

}  // extern "C"

}  // namespace vaultgauge::nwrfc
