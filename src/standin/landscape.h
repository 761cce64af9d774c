// The SAP systems the stand-in library simulates, as read from the landscape
// file "SapLandscape.txt" in the working folder.
#ifndef VAULTGAUGE_STANDIN_LANDSCAPE_H_
#define VAULTGAUGE_STANDIN_LANDSCAPE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vaultgauge::standin {

inline constexpr char kLandscapeFileName[] = "SapLandscape.txt";

struct Logon {
  std::string client;
  std::string user;      // compared without regard to letter case
  std::string password;  // compared as written
};

// A remote call that fails with `code` (1, 2, 3 or any other non-zero code);
// codes 2 and 3 name the exception.
struct CallFault {
  std::string function;  // "*": every function module
  int code = 1;
  std::string exception;
};

// A failure reported to the error handler installed with RfcEnvironment.
struct HandlerFault {
  std::string function;  // "*": every function module
  std::string text;      // what the handler is called with
};

struct Faults {
  bool refuse_open = false;
  std::string refuse_message;
  std::vector<CallFault> call;     // at RfcCall
  std::vector<CallFault> receive;  // at RfcReceive
  std::vector<HandlerFault> handler;
  std::vector<std::string> install;  // structure names, or "*"
  bool it_create = false;
  unsigned it_get_line_row = 0;  // 0: no fault
  bool it_delete = false;
  int64_t rows_after_first_pass = -1;  // -1: the row count stays
};

struct SapSystem {
  std::string name;  // the section name: the system id
  std::string host;
  int sysnr = 0;
  std::string gwhost;
  std::string gwservice;
  std::vector<Logon> logons;
  std::string rfcsi;                     // the 200-byte answer of RFC_SYSTEM_INFO
  std::string date;                      // YYYYMMDD; empty: the current local date
  std::string time;                      // HHMMSS; empty: the current local time
  std::vector<std::string> tablespaces;  // 112-byte rows of table TS
  Faults faults;
  unsigned delay_ms = 0;  // before every answer
};

struct Landscape {
  // A file in the working folder in which the library notes every opening and
  // closing of a connection (the line "journal = NAME" before the first
  // system); empty: none.
  std::string journal;
  std::vector<SapSystem> systems;

  const SapSystem* FindByHost(std::string_view host, int sysnr) const;
  const SapSystem* FindByGateway(std::string_view gwhost, std::string_view gwservice) const;
};

// Reads the landscape from `text`. False with a message naming the line when
// the text is malformed.
bool ParseLandscape(std::string_view text, Landscape* landscape, std::string* error);

// Reads the landscape file `path`; the message says so when it is missing.
bool ReadLandscapeFile(const std::string& path, Landscape* landscape, std::string* error);

// The packed-decimal form of `text`: a whole number of at most 15 digits with
// an optional sign (a minus gives the sign nibble D, so "-0" is negative
// zero), or "0x" and 16 hex digits taken as the field's bytes.
bool EncodePacked(std::string_view text, unsigned char field[8]);

// A row of TABLE_XPC with blank texts, zero numbers and sizes +0.
std::string DefaultTablespaceRow();

// Reads a whole file of at most `limit` bytes into `contents`.
bool ReadSmallFile(const std::string& path, size_t limit, std::string* contents);

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_LANDSCAPE_H_
