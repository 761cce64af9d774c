// The SAP systems the stand-in library simulates, as read from the landscape
// file "SapLandscape.txt" in the working folder.
#ifndef VAULTGAUGE_STANDIN_LANDSCAPE_H_
#define VAULTGAUGE_STANDIN_LANDSCAPE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vaultgauge::standin {

inline constexpr char kLandscapeFileName[] = "SapLandscape.txt";

// Compared without their trailing blanks, as the options record pads them.
struct Logon {
  std::string client;
  std::string user;  // compared without regard to letter case
  std::string password;
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

// The systems of a landscape text. Parsing checks every line but keeps of
// each system only where its section stands and how it is addressed; a system
// is read in full when it is wanted, so that a landscape of a thousand systems
// costs an opening little more time and memory than one of three.
class Landscape {
 public:
  // Reads the landscape from `text`. False with a message naming the line when
  // the text is malformed; the landscape is then empty.
  bool Parse(std::string text, std::string* error);

  const std::string& text() const { return text_; }
  size_t size() const { return sections_.size(); }
  // A file in the working folder in which the library notes every opening and
  // closing of a connection (the line "journal = NAME" before the first
  // system); empty: none.
  const std::string& journal() const { return journal_; }

  // The system of section `index`, in file order, read in full.
  SapSystem System(size_t index) const;

  // The first system in file order whose application host (in any letter
  // case) and system number match, or whose gateway host and service do.
  // False when there is none.
  bool FindByHost(std::string_view host, int sysnr, SapSystem* system) const;
  bool FindByGateway(std::string_view gwhost, std::string_view gwservice, SapSystem* system) const;

 private:
  struct Section {
    size_t begin = 0;  // the "[SID]" line in `text_`
    size_t end = 0;    // the next section's line, or the end of the text
    int first_line = 1;
  };
  bool Find(const std::unordered_map<std::string, size_t>& index, const std::string& key,
            SapSystem* system) const;

  std::string text_;
  std::string journal_;
  std::vector<Section> sections_;
  // Addresses, upper-cased, to the first section that has them.
  std::unordered_map<std::string, size_t> by_host_;
  std::unordered_map<std::string, size_t> by_gateway_;
};

// Reads the landscape from `text`. False with a message naming the line when
// the text is malformed.
bool ParseLandscape(std::string_view text, Landscape* landscape, std::string* error);

// Reads the text of the landscape file `path`; the message says so when it
// is missing or too large.
bool ReadLandscapeText(const std::string& path, std::string* text, std::string* error);

// Reads and parses the landscape file `path`.
bool ReadLandscapeFile(const std::string& path, Landscape* landscape, std::string* error);

// The packed-decimal form of `text`: a whole number of at most 15 digits with
// an optional sign (a minus gives the sign nibble D, so "-0" is negative
// zero), or "0x" and 16 hex digits taken as the field's bytes.
bool EncodePacked(std::string_view text, unsigned char field[8]);

// A row of TABLE_XPC with blank texts, zero numbers and sizes +0.
const std::string& DefaultTablespaceRow();

// Reads a whole file of at most `limit` bytes into `contents`.
bool ReadSmallFile(const std::string& path, size_t limit, std::string* contents);

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_LANDSCAPE_H_
