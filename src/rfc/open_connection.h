// Logon to the SAP system of a connection profile: by options record through
// RfcOpen, or, when a destination file "SapRfc.<Destination>" lies in the
// working folder, by connect string through RfcOpenEx and "SapRfc.ini".
#ifndef VAULTGAUGE_RFC_OPEN_CONNECTION_H_
#define VAULTGAUGE_RFC_OPEN_CONNECTION_H_

#include <functional>
#include <string>

#include "profile/connection_profile.h"
#include "rfc/rfc_abi.h"
#include "rfc/rfc_session.h"

namespace vaultgauge {

// Logon values of the parameters that replace the profile's; an empty text
// leaves the profile's value in place.
struct LogonOverrides {
  std::string client;  // "CLIENT=": the client of the options record and the connect string
  std::string host;    // ",HOST=": the host name of the options record
  std::string sysnr;   // ",NO=": the system number of the options record
};

// The records of one opening. The library is handed pointers into them, so
// they stay in place: the caller keeps them for the process, and every
// opening fills them afresh.
struct ConnectionRecords {
  ConnectionRecords() = default;
  ConnectionRecords(const ConnectionRecords&) = delete;
  ConnectionRecords& operator=(const ConnectionRecords&) = delete;

  RfcOptions options{};
  RfcHostOptions host_options{};
  RfcGatewayOptions gateway_options{};
  // The texts the records point to: the user padded with blanks to 12
  // characters, the password to 10.
  std::string destination, client, user, password, language;
  std::string hostname, gwhost, gwservice;
  // "CLIENT=... USER=... PASSWD=... LANG=D DEST=...", at most 1023 characters.
  std::string connect_string;
  RfcErrorInfoEx open_error{};  // filled by RfcOpenEx on failure; not read
};

inline constexpr char kDestinationFileHead[] = "SapRfc.";
inline constexpr char kLibraryDestinationFile[] = "SapRfc.ini";

// Told the destination just before its destination file is used.
using DestinationFileNotice = std::function<void(const std::string& destination)>;

// Opens the connection; 0 when none was opened. With a destination file,
// `notice` is told and the file is copied byte by byte to "SapRfc.ini"; when
// that copy cannot be made, the library is not called and the result is 0.
RFC_HANDLE OpenConnection(RfcSession& session, const ConnectionProfile& profile,
                          const LogonOverrides& overrides, const DestinationFileNotice& notice,
                          ConnectionRecords* records);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_OPEN_CONNECTION_H_
