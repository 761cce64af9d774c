// The RFC library as the rest of the sensor sees it: one call per operation,
// no function pointers. The loaded library and the tests' fakes implement it.
#ifndef VAULTGAUGE_RFC_RFC_API_H_
#define VAULTGAUGE_RFC_RFC_API_H_

#include "rfc/rfc_abi.h"

namespace vaultgauge {

class RfcApi {
 public:
  virtual ~RfcApi() = default;

  virtual void Environment(RfcEnv* env) = 0;
  // Both openings give 0 when no connection was opened.
  virtual RFC_HANDLE Open(RfcOptions* options) = 0;
  virtual RFC_HANDLE OpenEx(const char* connect_string, RfcErrorInfoEx* error) = 0;
  virtual RFC_RC InstallStructure(const char* name, RfcTypeElement* elements, unsigned count,
                                  RFC_TYPEHANDLE* type) = 0;
  virtual RFC_RC Call(RFC_HANDLE handle, const char* function, RfcParameter* exporting,
                      RfcTableEntry* tables) = 0;
  virtual RFC_RC Receive(RFC_HANDLE handle, RfcParameter* importing, RfcTableEntry* tables,
                         char** exception) = 0;
  // Fills `info` with the last error; 0 when it did.
  virtual int LastError(RfcErrorInfo* info) = 0;
  // Handle 0 closes every connection.
  virtual void Close(RFC_HANDLE handle) = 0;
  virtual ITAB_H ItCreate(const char* name, unsigned row_length, unsigned occu, unsigned memo) = 0;
  virtual unsigned ItFill(ITAB_H table) = 0;
  // Rows count from 1; null when there is no such row.
  virtual void* ItGetLine(ITAB_H table, unsigned line) = 0;
  virtual int ItDelete(ITAB_H table) = 0;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_RFC_API_H_
