// The logon data of one SAP system, as read from its profile file.
#ifndef VAULTGAUGE_PROFILE_CONNECTION_PROFILE_H_
#define VAULTGAUGE_PROFILE_CONNECTION_PROFILE_H_

#include <string>

namespace vaultgauge {

// Each field holds at most its size minus one characters (the sizes count the
// C terminator of the stored form).
struct ConnectionProfile {
  std::string Extcompany;   // 64
  std::string Destination;  // 12: the RFC destination
  std::string Client;       // 12
  std::string User;         // 48, upper-cased
  std::string Password;     // 32: unscrambled, at most 20 characters
  std::string Language;     // 32
  std::string Mode;         // 32: "R/2" selects an R/2 connection
  std::string Hostname;     // 48: the application server
  std::string DisplayHost;  // 48: the host shown in progress lines
  std::string Sysnr;        // 32
  std::string Gwhost;       // 62
  std::string Gwservice;    // 32
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_PROFILE_CONNECTION_PROFILE_H_
