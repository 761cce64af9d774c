// Logon to the SAP system of a connection profile: by options record through
// RfcOpen, or, when a destination file "SapRfc.<Destination>" lies in the
// working folder, by connect string through RfcOpenEx and "SapRfc.ini".
#ifndef VAULTGAUGE_RFC_OPEN_CONNECTION_H_
#define VAULTGAUGE_RFC_OPEN_CONNECTION_H_

#include <string>

#include "output/output.h"
#include "profile/connection_profile.h"
#include "rfc/rfc_abi.h"
#include "rfc/rfc_session.h"

namespace vaultgauge {

// Logon values of the parameter text that replace the profile's; an empty
// text leaves the profile's value in place.
struct LogonOverrides {
  std::string Client;  // "CLIENT=": the client of the options record and the connect string
  std::string Host;    // ",HOST=": the host name of the options record
  std::string Sysnr;   // ",NO=": the system number of the options record
};

// Takes the overrides from the command line: `client_override` as start-up
// found it; ",HOST=" and ",NO=" are found in the upper-cased `parameter_text`
// and their values, up to the next comma or blank, copied as entered from
// `raw_parameter_text` at the same positions.
LogonOverrides ReadLogonOverrides(const std::string& parameter_text,
                                  const std::string& raw_parameter_text,
                                  const std::string& client_override);

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

// Opens the connection; 0 when none was opened. With a destination file, its
// line "* SapRfc.Ini.......: <Destination><" goes to `output` at once and the
// file is copied byte by byte to "SapRfc.ini"; when that copy cannot be
// made, the library is not called and the result is 0.
RFC_HANDLE OpenConnection(RfcSession& session, const ConnectionProfile& profile,
                          const LogonOverrides& overrides, Output& output,
                          ConnectionRecords* records);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_OPEN_CONNECTION_H_
