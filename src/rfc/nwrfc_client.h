// The sensor's RFC steps over SAP's NetWeaver RFC library: logon, the system
// information and the current sizes. The sensor's texts are bytes; they turn
// into UTF-16 only at the library's boundary (texts from the library come back
// as UTF-8; texts to it are read as UTF-8 when they are valid UTF-8, else as
// Latin-1).
#ifndef VAULTGAUGE_RFC_NWRFC_CLIENT_H_
#define VAULTGAUGE_RFC_NWRFC_CLIENT_H_

#include <string>
#include <string_view>
#include <vector>

#include "measure/tablespace_sums.h"
#include "profile/connection_profile.h"
#include "rfc/nwrfc_api.h"
#include "rfc/open_connection.h"
#include "rfc/system_info.h"
#include "util/status.h"

namespace vaultgauge {

class NwRfcClient;

// One connection parameter, NAME and VALUE as the sensor's texts.
struct NwParameter {
  std::string name;
  std::string value;
  bool operator==(const NwParameter&) const = default;
};
using NwParameters = std::vector<NwParameter>;

// The library's error record, its texts as UTF-8.
struct NwError {
  int code = 0;   // RFC_RC
  int group = 0;  // RFC_ERROR_GROUP
  std::string key;
  std::string message;
};

// The logon parameters of a profile: ASHOST and SYSNR (two digits), or for
// mode "R/2" GWHOST and GWSERV, then CLIENT, USER, PASSWD and LANG.
// "CLIENT=", ",HOST=" and ",NO=" replace the profile's values as with the
// classic library. Empty values are left out.
NwParameters ProfileLogonParameters(const ConnectionProfile& profile,
                                    const LogonOverrides& overrides);

// Reads the NAME=VALUE lines of a destination file ("SapRfc.<Destination>"):
// a regular file of at most 64 KB. Names are upper-cased, names and values
// trimmed; blank lines, comments (#, *, ;, //, /*) and lines without a name
// are skipped, and so is DEST, which would send the library to its own ini
// file. A second DEST line ends the entry. False when the file cannot be
// read, is no regular file or is larger.
bool ReadDestinationFile(const std::string& path, NwParameters* parameters);

// The parameters of a logon through a destination file: its lines, with
// CLIENT, USER, PASSWD and LANG taken from the profile (the client from
// "CLIENT=" when given) in place of lines of the same names, as the classic
// library's connect string does ("LANG=D").
NwParameters DestinationLogonParameters(const ConnectionProfile& profile,
                                        const LogonOverrides& overrides,
                                        const NwParameters& file_lines);

// The error text of a failed remote step: 1012 to 1015 by the library's
// result code, completed by " - " and the library's message.
std::string NwFailureText(const NwError& error);

// The rows of table TS of one call of DB_ORA_CURRENT_SIZES, read from the
// library row by row. Holds the function's handle until Release(), or until
// it is destroyed, which must happen before its client is.
class NwSizesTable {
 public:
  NwSizesTable() = default;
  NwSizesTable(const NwSizesTable&) = delete;
  NwSizesTable& operator=(const NwSizesTable&) = delete;
  ~NwSizesTable();

  // The number of rows, asked of the library each time (like ItFill).
  Status RowCount(unsigned* count);
  // Row `number`, counted from 1, decoded by the code that decodes the
  // classic library's rows: a corrupt size is error 1016. A size the library
  // cannot convert to text counts as corrupt; any other failure to read the
  // row is a library error.
  Status Read(unsigned number, Tablespace* tablespace);
  // The raw texts of row `number`: TS, TSIZE, TFREE and STATUS.
  struct Row {
    std::string ts, tsize, tfree, status;
  };
  Status ReadRow(unsigned number, Row* row);

  // Destroys the function and with it the table; a failure is a library
  // error. Idempotent.
  Status Release();

 private:
  friend class NwRfcClient;
  // ReadRow, STATUS only `with_status`.
  Status ReadFields(unsigned number, bool with_status, Row* row);

  NwRfcClient* client_ = nullptr;
  nwrfc::RFC_FUNCTION_HANDLE function_ = nullptr;
  nwrfc::RFC_TABLE_HANDLE table_ = nullptr;
};

class NwRfcClient {
 public:
  explicit NwRfcClient(NwRfcApi& api) : api_(api) {}
  NwRfcClient(const NwRfcClient&) = delete;
  NwRfcClient& operator=(const NwRfcClient&) = delete;
  ~NwRfcClient() { Close(); }

  // Logs on. False when no connection was opened: last_error() holds the
  // library's record, OpenFailureDetail() the text to append to error 1011.
  bool Open(const NwParameters& parameters);
  bool is_open() const { return connection_ != nullptr; }
  std::string OpenFailureDetail() const { return " - " + last_error_.message; }

  // RFC_SYSTEM_INFO: RFCDBSYS padded with blanks to 10 characters and
  // RFCHOST to 8, as the classic library delivers them; RFCDEST trimmed.
  // A failed remote step gives Status::RfcFailure (errors 1012 to 1015 with
  // the library's message), a failed library operation
  // Status::LibraryError naming it.
  Status ReadSystemInfo(SystemInfo* info, std::string* destination = nullptr);

  // Calls DB_ORA_CURRENT_SIZES; on success `table` holds its table TS. The
  // same failures as ReadSystemInfo; the function is destroyed after one.
  Status CallCurrentSizes(NwSizesTable* table);

  // Closes the connection, once; the library's answer is not needed, as
  // after a failure it may have closed the connection itself.
  void Close();

  // The library's record of the latest failure.
  const NwError& last_error() const { return last_error_; }

 private:
  friend class NwSizesTable;

  // Keeps the record of a failed library call.
  void Keep(const nwrfc::RFC_ERROR_INFO& info);
  // A failed remote step: the record kept, its error text as the status.
  Status RemoteFailure(const nwrfc::RFC_ERROR_INFO& info);
  Status LibraryFailure(const nwrfc::RFC_ERROR_INFO& info, std::string operation);
  // The function module `name`, created from the system's description.
  Status CreateFunction(const char* name, nwrfc::RFC_FUNCTION_HANDLE* function);
  Status Invoke(nwrfc::RFC_FUNCTION_HANDLE function);
  Status Destroy(const char* name, nwrfc::RFC_FUNCTION_HANDLE* function);
  // Reads field `name` of `container` as text; RFC_CONVERSION_FAILURE is
  // told apart through `convertible` when it is given.
  Status GetText(nwrfc::DATA_CONTAINER_HANDLE container, const char* name, std::string* text,
                 bool* convertible = nullptr);

  NwRfcApi& api_;
  nwrfc::RFC_CONNECTION_HANDLE connection_ = nullptr;
  NwError last_error_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_NWRFC_CLIENT_H_
