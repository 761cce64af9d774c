// The logon data of one SAP system, as read from its profile file.
#ifndef VAULTGAUGE_PROFILE_CONNECTION_PROFILE_H_
#define VAULTGAUGE_PROFILE_CONNECTION_PROFILE_H_

#include <string>

namespace vaultgauge {

// The most characters each value may have stand in profile_fields.h.
struct ConnectionProfile {
  std::string extcompany;
  std::string destination;  // the RFC destination
  std::string client;
  std::string user;      // upper-cased
  std::string password;  // unscrambled, at most 20 characters
  std::string language;
  std::string mode;          // "R/2" selects an R/2 connection
  std::string hostname;      // the application server
  std::string display_host;  // the host shown in progress lines
  std::string sysnr;
  std::string gwhost;
  std::string gwservice;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_PROFILE_CONNECTION_PROFILE_H_
