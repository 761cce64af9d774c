// SAP's NetWeaver RFC library as the client sees it: one call per entry point
// it uses. The loaded library and the tests' fakes implement it.
#ifndef VAULTGAUGE_RFC_NWRFC_API_H_
#define VAULTGAUGE_RFC_NWRFC_API_H_

#include "rfc/nwrfc_abi.h"

namespace vaultgauge {

class NwRfcApi {
 public:
  virtual ~NwRfcApi() = default;

  // Null when the library has no RfcGetVersion.
  virtual const nwrfc::SAP_UC* GetVersion(unsigned* major, unsigned* minor, unsigned* patch) = 0;
  virtual nwrfc::RFC_CONNECTION_HANDLE OpenConnection(
      const nwrfc::RFC_CONNECTION_PARAMETER* parameters, unsigned count,
      nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC CloseConnection(nwrfc::RFC_CONNECTION_HANDLE connection,
                                        nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(nwrfc::RFC_CONNECTION_HANDLE connection,
                                                          const nwrfc::SAP_UC* name,
                                                          nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_FUNCTION_HANDLE CreateFunction(nwrfc::RFC_FUNCTION_DESC_HANDLE description,
                                                    nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC DestroyFunction(nwrfc::RFC_FUNCTION_HANDLE function,
                                        nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC Invoke(nwrfc::RFC_CONNECTION_HANDLE connection,
                               nwrfc::RFC_FUNCTION_HANDLE function,
                               nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC GetStructure(nwrfc::DATA_CONTAINER_HANDLE container,
                                     const nwrfc::SAP_UC* name,
                                     nwrfc::RFC_STRUCTURE_HANDLE* structure,
                                     nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC GetTable(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                                 nwrfc::RFC_TABLE_HANDLE* table, nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC GetRowCount(nwrfc::RFC_TABLE_HANDLE table, unsigned* count,
                                    nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC MoveTo(nwrfc::RFC_TABLE_HANDLE table, unsigned index,
                               nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_STRUCTURE_HANDLE GetCurrentRow(nwrfc::RFC_TABLE_HANDLE table,
                                                    nwrfc::RFC_ERROR_INFO* error) = 0;
  virtual nwrfc::RFC_RC GetString(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                                  nwrfc::SAP_UC* buffer, unsigned buffer_length, unsigned* length,
                                  nwrfc::RFC_ERROR_INFO* error) = 0;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_NWRFC_API_H_
