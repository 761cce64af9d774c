#include "rfc/rfc_session.h"

namespace vaultgauge {

Status InstallStructureOnce(RfcSession& session, const char* name, RfcTypeElement* elements,
                            unsigned count, RFC_TYPEHANDLE* type) {
  if (*type != 0) return Status::Ok();
  RFC_TYPEHANDLE installed = 0;
  if (session.api.InstallStructure(name, elements, count, &installed) != RFC_OK) {
    return Status::LibraryError("RfcInstallStructure");
  }
  *type = installed;
  return Status::Ok();
}

}  // namespace vaultgauge
