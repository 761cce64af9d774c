// The parameter text (arguments 2 and 3, or a global list's sensor line) and
// what its keywords ask for, read once. Keywords are plain substrings of the
// upper-cased text, found anywhere: that is how sensors have always been set
// up, so "xCH=2" and a host name holding "GIGABYTE" count as well.
#ifndef VAULTGAUGE_DRIVER_PARAMETERS_H_
#define VAULTGAUGE_DRIVER_PARAMETERS_H_

#include <optional>
#include <string>
#include <string_view>

#include "output/document_writer.h"
#include "rfc/open_connection.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr size_t kParameterTextCapacity = 127;
inline constexpr size_t kItemNameCapacity = 90;

struct Parameters {
  std::string raw_text;  // as entered
  std::string text;      // upper-cased, at the same positions as raw_text

  bool item_given = false;     // "ITEM=": the global-list form over the profile list
  std::string item_name;       // its value: up to a blank or comma, colons as blanks
  bool show_progress = false;  // any of "#", "@", "$", "%"
  bool console = false;        // "@": the profile lies where argument 1 says, in every mode
  bool syslog = false;         // ",SYSLOG": trace lines on standard error
  bool gigabyte = false;       // "GIGABYTE": channels in GByte
  ChannelSelection channel;    // "CH="
  // New keywords are whole words (separated by blanks or commas, any case),
  // so that a host name such as "saptimeout=1x" cannot switch them on.
  unsigned timeout_seconds = 0;    // "TIMEOUT=S": the run's time limit, 1 to 900; 0 for none
  bool timeout_malformed = false;  // "TIMEOUT=" with anything else
  std::string timeout_text;        // its value as given
  unsigned parallel = 0;           // "PARALLEL=N": a global list N systems at once, 2 to 32
  bool parallel_malformed = false;
  std::string parallel_text;
  // "CLIENT=" (its next three characters), ",HOST=" and ",NO=" (up to a
  // comma or blank, as entered).
  LogonOverrides logon;
};

Parameters ParseParameters(std::string_view raw_text);

// A width of a parallel run: a whole number from 2 to 32.
std::optional<unsigned> ParseParallelWidth(std::string_view text);

// A malformed value of a whole-word keyword: error 1081 naming it.
Status CheckWordKeywords(const Parameters& parameters);

// The global-list run reads its parameters with every colon of the raw text
// as a blank, as its progress line shows them; the upper-cased text keeps its
// colons. So a ",HOST=" value ends at a colon there.
Parameters WithColonsAsBlanks(const Parameters& parameters);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_PARAMETERS_H_
