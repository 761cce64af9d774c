#include "rfc/system_info.h"

#include <cstdint>

#include "rfc/rfc_failure.h"

namespace vaultgauge {

namespace {

constexpr unsigned kRfcsiLength = 200;
constexpr size_t kRfcHostPosition = 45;
constexpr size_t kRfcHostLength = 8;
constexpr size_t kRfcDbSysPosition = 101;
constexpr size_t kRfcDbSysLength = 10;

// A character field of the answer, ending early at a zero.
std::string FieldText(const char* record, size_t position, size_t length) {
  std::string text(record + position, length);
  size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

}  // namespace

Status ReadSystemInfo(RfcSession& session, RFC_HANDLE handle, SystemInfo* info) {
  RfcTypeElement rfcsi[] = {
      Element("RFCPROTO", TYPC, 3),   Element("RFCCHARTYP", TYPC, 4),
      Element("RFCINTTYP", TYPC, 3),  Element("RFCFLOTYP", TYPC, 3),
      Element("RFCDEST", TYPC, 32),   Element("RFCHOST", TYPC, 8),
      Element("RFCSYSID", TYPC, 8),   Element("RFCDATABS", TYPC, 8),
      Element("RFCDBHOST", TYPC, 32), Element("RFCDBSYS", TYPC, 10),
      Element("RFCSAPRL", TYPC, 4),   Element("RFCMACH", TYPC, 5),
      Element("RFCOPSYS", TYPC, 10),  Element("RFCTZONE", TYPC, 6),
      Element("RFCDAYST", TYPC, 1),   Element("RFCIPADDR", TYPC, 15),
      Element("RFCKERNRL", TYPC, 4),  Element("RFCSI_RESV", TYPC, 44),
  };
  Status status = InstallStructureOnce(session, "RFCSI", rfcsi, sizeof rfcsi / sizeof rfcsi[0],
                                       &session.rfcsi_type);
  if (!status.ok()) return status;

  RfcParameter no_parameters[] = {RfcParameter{}};
  RfcTableEntry no_tables[] = {RfcTableEntry{}};
  RFC_RC result = session.api.Call(handle, "RFC_SYSTEM_INFO", no_parameters, no_tables);
  session.trace.Trace(handle, "RfcCall called");
  if (result != RFC_OK) return Status::RfcFailure(RfcFailureText(result, ""));

  int32_t current_resources = 0;
  char dialog_user_type = ' ';
  int32_t maximal_resources = 0;
  int32_t recommended_delay = 0;
  char record[kRfcsiLength] = {};
  char login_complete = ' ';
  RfcParameter importing[] = {
      Parameter("CURRENT_RESOURCES", TYPINT, 4, &current_resources),
      Parameter("DIALOG_USER_TYPE", TYPC, 1, &dialog_user_type),
      Parameter("MAXIMAL_RESOURCES", TYPINT, 4, &maximal_resources),
      Parameter("RECOMMENDED_DELAY", TYPINT, 4, &recommended_delay),
      Parameter("RFCSI_EXPORT", session.rfcsi_type, kRfcsiLength, record),
      Parameter("RFC_LOGIN_COMPLETE", TYPC, 1, &login_complete),
      RfcParameter{},
  };
  char* exception = nullptr;
  result = session.api.Receive(handle, importing, no_tables, &exception);
  session.trace.Trace(handle, "RfcReceive called");
  if (result != RFC_OK) {
    std::string exception_text;
    if (result == RFC_EXCEPTION || result == RFC_SYS_EXCEPTION) {
      exception_text = ExceptionText(exception);
    }
    return Status::RfcFailure(RfcFailureText(result, exception_text));
  }

  info->database_system = FieldText(record, kRfcDbSysPosition, kRfcDbSysLength);
  info->host = FieldText(record, kRfcHostPosition, kRfcHostLength);
  return Status::Ok();
}

}  // namespace vaultgauge
