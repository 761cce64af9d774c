// What a failed remote call reports: the result codes of RfcCall and
// RfcReceive as the error texts of the document.
#ifndef VAULTGAUGE_RFC_RFC_FAILURE_H_
#define VAULTGAUGE_RFC_RFC_FAILURE_H_

#include <string>
#include <string_view>

#include "rfc/rfc_abi.h"
#include "util/messages.h"

namespace vaultgauge {

inline constexpr size_t kExceptionTextLimit = 255;

// The exception name the library handed out after results 2 and 3, at most
// 255 characters; empty for a null text.
inline std::string ExceptionText(const char* exception) {
  if (exception == nullptr) return std::string();
  size_t length = 0;
  while (length < kExceptionTextLimit && exception[length] != '\0') ++length;
  return std::string(exception, length);
}

// The error text of a result other than RFC_OK.
inline std::string RfcFailureText(RFC_RC result, std::string_view exception_text) {
  switch (result) {
    case RFC_FAILURE:
      return Message(MessageId::kRfcFailure);
    case RFC_EXCEPTION:
      return Message(MessageId::kException, {exception_text});
    case RFC_SYS_EXCEPTION:
      return Message(MessageId::kSysException);
    default:
      return Message(MessageId::kOtherFailure);
  }
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_RFC_FAILURE_H_
