// The RFC library loaded at run time: librfc32.dll on Windows, librfccm.so on
// POSIX, first from the program's folder, then through the system's search.
#ifndef VAULTGAUGE_RFC_RFC_LIBRARY_H_
#define VAULTGAUGE_RFC_RFC_LIBRARY_H_

#include <memory>
#include <string>

#include "rfc/rfc_api.h"
#include "util/status.h"

namespace vaultgauge {

class RfcLibrary : public RfcApi {
 public:
  // Loads the platform's library beside the program or through the system's
  // search. Errors 1061 (not loaded) and 1062 (an entry point missing) name
  // the library's file.
  static Status Load(std::unique_ptr<RfcLibrary>* library);
  // The same for the library file `file_name`, looked for in `folder` first.
  static Status Load(const std::string& folder, const std::string& file_name,
                     std::unique_ptr<RfcLibrary>* library);

  void Environment(RfcEnv* env) override;
  RFC_HANDLE Open(RfcOptions* options) override;
  RFC_HANDLE OpenEx(const char* connect_string, RfcErrorInfoEx* error) override;
  RFC_RC InstallStructure(const char* name, RfcTypeElement* elements, unsigned count,
                          RFC_TYPEHANDLE* type) override;
  RFC_RC Call(RFC_HANDLE handle, const char* function, RfcParameter* exporting,
              RfcTableEntry* tables) override;
  RFC_RC Receive(RFC_HANDLE handle, RfcParameter* importing, RfcTableEntry* tables,
                 char** exception) override;
  int LastError(RfcErrorInfo* info) override;
  void Close(RFC_HANDLE handle) override;
  ITAB_H ItCreate(const char* name, unsigned row_length, unsigned occu, unsigned memo) override;
  unsigned ItFill(ITAB_H table) override;
  void* ItGetLine(ITAB_H table, unsigned line) override;
  int ItDelete(ITAB_H table) override;

 private:
  RfcLibrary() = default;

  // The library stays loaded until the process ends: its error handler may be
  // called at any time, and the real library keeps connections of its own.
  RfcEnvironmentFunction environment_ = nullptr;
  RfcOpenFunction open_ = nullptr;
  RfcOpenExFunction open_ex_ = nullptr;
  RfcInstallStructureFunction install_structure_ = nullptr;
  RfcCallFunction call_ = nullptr;
  RfcReceiveFunction receive_ = nullptr;
  RfcLastErrorFunction last_error_ = nullptr;
  RfcCloseFunction close_ = nullptr;
  ItCreateFunction it_create_ = nullptr;
  ItFillFunction it_fill_ = nullptr;
  ItGetLineFunction it_get_line_ = nullptr;
  ItDeleteFunction it_delete_ = nullptr;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_RFC_LIBRARY_H_
