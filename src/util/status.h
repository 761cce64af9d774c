// The outcome of a step that can fail in an orderly way. A failure travels up
// to the driver, which prints it, closes the connection and picks the exit
// code in one place.
#ifndef VAULTGAUGE_UTIL_STATUS_H_
#define VAULTGAUGE_UTIL_STATUS_H_

#include <string>
#include <utility>

namespace vaultgauge {

class Status {
 public:
  enum class Kind {
    kOk,
    kError,         // message for the error document; exit code 2
    kRfcFailure,    // a remote call failed: the message, completed from the library's
                    // trace file, for the error document; exit code 2
    kLibraryError,  // a library operation failed; the RFC error report, exit code 1
    kErrorReport,   // the same, its report written already by another process: the
                    // message is the report's text; exit code 1
  };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string message) { return Status(Kind::kError, std::move(message)); }
  static Status RfcFailure(std::string message) {
    return Status(Kind::kRfcFailure, std::move(message));
  }
  // `operation` names the failed library operation, as the error report prints it.
  static Status LibraryError(std::string operation) {
    return Status(Kind::kLibraryError, std::move(operation));
  }

  static Status ErrorReport(std::string report) {
    return Status(Kind::kErrorReport, std::move(report));
  }

  bool ok() const { return kind_ == Kind::kOk; }
  Kind kind() const { return kind_; }
  bool is_library_error() const { return kind_ == Kind::kLibraryError; }
  bool is_rfc_failure() const { return kind_ == Kind::kRfcFailure; }
  // The error document's message, or the failed operation of a library error.
  const std::string& message() const { return message_; }

 private:
  Status(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

  Kind kind_ = Kind::kOk;
  std::string message_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_UTIL_STATUS_H_
