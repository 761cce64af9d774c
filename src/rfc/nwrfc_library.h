// SAP's NetWeaver RFC library loaded at run time: sapnwrfc.dll on Windows,
// libsapnwrfc.so on POSIX, first from the program's folder, then through the
// system's search. No link-time dependency: each entry point is resolved on
// its own.
#ifndef VAULTGAUGE_RFC_NWRFC_LIBRARY_H_
#define VAULTGAUGE_RFC_NWRFC_LIBRARY_H_

#include <memory>
#include <string>

#include "rfc/nwrfc_api.h"
#include "util/status.h"

namespace vaultgauge {

class NwRfcLibrary : public NwRfcApi {
 public:
  // Loads the platform's library beside the program or through the system's
  // search. Errors 1061 (not loaded) and 1062 (a needed entry point missing)
  // name the library's file; RfcGetVersion may be missing.
  static Status Load(std::unique_ptr<NwRfcLibrary>* library);
  // The same for the library file `file_name`, looked for in `folder` first.
  static Status Load(const std::string& folder, const std::string& file_name,
                     std::unique_ptr<NwRfcLibrary>* library);

  // The library's version for the trace lines, "<major>.<minor>.<patch>"
  // followed by its own text in parentheses when it gives one; "unknown"
  // without RfcGetVersion.
  std::string VersionText();

  const nwrfc::SAP_UC* GetVersion(unsigned* major, unsigned* minor, unsigned* patch) override;
  nwrfc::RFC_CONNECTION_HANDLE OpenConnection(const nwrfc::RFC_CONNECTION_PARAMETER* parameters,
                                              unsigned count,
                                              nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC CloseConnection(nwrfc::RFC_CONNECTION_HANDLE connection,
                                nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(nwrfc::RFC_CONNECTION_HANDLE connection,
                                                  const nwrfc::SAP_UC* name,
                                                  nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_FUNCTION_HANDLE CreateFunction(nwrfc::RFC_FUNCTION_DESC_HANDLE description,
                                            nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC DestroyFunction(nwrfc::RFC_FUNCTION_HANDLE function,
                                nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC Invoke(nwrfc::RFC_CONNECTION_HANDLE connection, nwrfc::RFC_FUNCTION_HANDLE function,
                       nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetStructure(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                             nwrfc::RFC_STRUCTURE_HANDLE* structure,
                             nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetTable(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                         nwrfc::RFC_TABLE_HANDLE* table, nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetRowCount(nwrfc::RFC_TABLE_HANDLE table, unsigned* count,
                            nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC MoveTo(nwrfc::RFC_TABLE_HANDLE table, unsigned index,
                       nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_STRUCTURE_HANDLE GetCurrentRow(nwrfc::RFC_TABLE_HANDLE table,
                                            nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetString(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                          nwrfc::SAP_UC* buffer, unsigned buffer_length, unsigned* length,
                          nwrfc::RFC_ERROR_INFO* error) override;

 private:
  NwRfcLibrary() = default;

  // The library stays loaded until the process ends, like the classic one.
  nwrfc::RfcGetVersionFunction get_version_ = nullptr;  // optional
  nwrfc::RfcOpenConnectionFunction open_connection_ = nullptr;
  nwrfc::RfcCloseConnectionFunction close_connection_ = nullptr;
  nwrfc::RfcGetFunctionDescFunction get_function_desc_ = nullptr;
  nwrfc::RfcCreateFunctionFunction create_function_ = nullptr;
  nwrfc::RfcDestroyFunctionFunction destroy_function_ = nullptr;
  nwrfc::RfcInvokeFunction invoke_ = nullptr;
  nwrfc::RfcGetStructureFunction get_structure_ = nullptr;
  nwrfc::RfcGetTableFunction get_table_ = nullptr;
  nwrfc::RfcGetRowCountFunction get_row_count_ = nullptr;
  nwrfc::RfcMoveToFunction move_to_ = nullptr;
  nwrfc::RfcGetCurrentRowFunction get_current_row_ = nullptr;
  nwrfc::RfcGetStringFunction get_string_ = nullptr;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_NWRFC_LIBRARY_H_
