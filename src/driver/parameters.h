// The parameter text (arguments 2 and 3, or a global list's sensor line) and
// what its keywords ask for, read once. The older keywords are plain
// substrings of the upper-cased text, found anywhere: that is how sensors
// have always been set up, so "xCH=2" and a host name holding "GIGABYTE"
// count as well. The fullness keywords came later and count as whole words
// only, so that no host name can switch them on.
#ifndef VAULTGAUGE_DRIVER_PARAMETERS_H_
#define VAULTGAUGE_DRIVER_PARAMETERS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/document_writer.h"
#include "rfc/open_connection.h"
#include "util/status.h"

namespace vaultgauge {

inline constexpr size_t kParameterTextCapacity = 127;
inline constexpr size_t kItemNameCapacity = 90;

// "PERCENT", "LIMITS=W/E" and "SKIP=NAME:NAME": each tablespace's used share
// with limits for the host. Words are separated by blanks or commas, in any
// case of letters.
struct FullnessKeywords {
  bool percent = false;         // "PERCENT": used shares instead of sizes
  unsigned warning_limit = 85;  // "LIMITS=W/E": whole per cents, 1 <= W < E <= 100
  unsigned error_limit = 95;
  std::vector<std::string> skipped;  // "SKIP=": upper-cased names left out of the channels
};

// The limits of the percent channels.
inline ChannelLimits FullnessLimits(const FullnessKeywords& fullness) {
  ChannelLimits limits;
  limits.max_warning = fullness.warning_limit;
  limits.max_error = fullness.error_limit;
  return limits;
}

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
  // "CLIENT=" (its next three characters), ",HOST=" and ",NO=" (up to a
  // comma or blank, as entered).
  LogonOverrides logon;

  // The newer keywords are whole words (separated by blanks or commas, in any
  // case), so that a host name such as "sappercent01" cannot switch them on.
  FullnessKeywords fullness;
  unsigned timeout_seconds = 0;  // "TIMEOUT=S": the run's time limit, 1 to 900; 0 for none
  unsigned parallel = 0;         // "PARALLEL=N": a global list N systems at once; 0 for none
  // The first of these words that is malformed, as entered; empty when all
  // are sound.
  std::string malformed_word;
};

Parameters ParseParameters(std::string_view raw_text);

// Error 1081 naming the first malformed whole-word keyword, if there is one.
Status CheckWordKeywords(const Parameters& parameters);

inline constexpr unsigned kMinParallelWidth = 2;
inline constexpr unsigned kMaxParallelWidth = 32;

// A width of a parallel run: a whole number from 2 to 32.
std::optional<unsigned> ParseParallelWidth(std::string_view text);

// The global-list run reads its parameters with every colon of the raw text
// as a blank, as its progress line shows them; the upper-cased text keeps its
// colons. So a ",HOST=" value ends at a colon there.
Parameters WithColonsAsBlanks(const Parameters& parameters);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_PARAMETERS_H_
