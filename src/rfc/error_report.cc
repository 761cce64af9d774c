#include "rfc/error_report.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// A build with AddressSanitizer (GCC and clang say so differently) checks for
// leaks also where the process ends without running its exit handlers.
#if defined(__SANITIZE_ADDRESS__)
#define VAULTGAUGE_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VAULTGAUGE_LEAK_CHECK 1
#endif
#endif
#if defined(VAULTGAUGE_LEAK_CHECK)
#include <sanitizer/lsan_interface.h>
#endif

namespace vaultgauge {

namespace {

// A text of a fixed-size field: up to its first zero, never past its end.
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string_view(field, length);
}

void AppendLabelledLine(std::string* report, std::string_view label, std::string_view text) {
  char head[32];
  std::snprintf(head, sizeof head, "%-15.*s : ", static_cast<int>(label.size()), label.data());
  std::string line(head);
  line.append(text).append("\n");
  report->append(line);
}

// The C handler has no context of its own: the library and the document it
// reports through are kept here, set by InstallRfcErrorReport.
struct ReportTarget {
  RfcApi* api = nullptr;
  DocumentWriter* document = nullptr;
};

ReportTarget& Target() {
  static ReportTarget target;
  return target;
}

}  // namespace

void WriteRfcErrorReport(RfcApi& api, DocumentWriter& document, std::string_view operation) {
  std::string report = "RFC error\n";
  AppendLabelledLine(&report, "operation/code", operation);
  RfcErrorInfo info{};
  api.LastError(&info);
  AppendLabelledLine(&report, "key", FieldText(info.key));
  AppendLabelledLine(&report, "status", FieldText(info.status));
  AppendLabelledLine(&report, "message", FieldText(info.message));
  AppendLabelledLine(&report, "internal status", FieldText(info.intstat));
  report += "\n";
  api.Close(RFC_HANDLE_NULL);
  // "Programm" and the marker file's line are the report's documented words,
  // kept as monitoring scripts match them; no marker file is kept.
  report += "* Programm aborted...\n";
  report += "* Error at EoXput-File...\n";
  document.ErrorReport(report);
}

std::string LastErrorMessage(RfcApi& api) {
  RfcErrorInfo info{};
  if (api.LastError(&info) != 0) return std::string();
  return std::string(FieldText(info.message));
}

void InstallRfcErrorReport(RfcSession& session, DocumentWriter& document) {
  Target() = ReportTarget{&session.api, &document};
  static RfcEnv env{&RfcErrorReport, nullptr};
  session.api.Environment(&env);
  session.trace.Trace(RFC_HANDLE_NULL, "RfcEnvironment called");
}

extern "C" void DLL_CALL_BACK_FUNCTION RfcErrorReport(RFC_CHAR* operation) {
  // Called from the library's C frames: nothing may be thrown through them.
  try {
    ReportTarget target = Target();
    if (target.api != nullptr && target.document != nullptr) {
      size_t length = 0;
      // The library's text is bounded here in case it lacks its terminator.
      while (operation != nullptr && length < 255 && operation[length] != '\0') ++length;
      WriteRfcErrorReport(*target.api, *target.document,
                          std::string_view(operation == nullptr ? "" : operation, length));
    }
  } catch (...) {
  }
  ReportTarget target = Target();
  if (target.document != nullptr) target.document->Flush();
  std::fflush(nullptr);
#if defined(VAULTGAUGE_LEAK_CHECK)
  // The leak check runs at exit, which _Exit skips.
  __lsan_do_leak_check();
#endif
  // Ends at once, without unwinding through the library or running the
  // destructors of objects the library's frames may still be using.
  std::_Exit(kErrorReportExitCode);
}

}  // namespace vaultgauge
