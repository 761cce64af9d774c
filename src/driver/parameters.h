// The parameter text (arguments 2 and 3, or a global list's sensor line) and
// what its keywords ask for, read once. The older keywords are plain
// substrings of the upper-cased text, found anywhere: that is how sensors
// have always been set up, so "xCH=2" and a host name holding "GIGABYTE"
// count as well. The fullness keywords came later and count as whole words
// only, so that no host name can switch them on.
#ifndef VAULTGAUGE_DRIVER_PARAMETERS_H_
#define VAULTGAUGE_DRIVER_PARAMETERS_H_

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
  // The first word of these keywords that is malformed, as entered; empty
  // when all are sound.
  std::string malformed;
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
  FullnessKeywords fullness;
};

Parameters ParseParameters(std::string_view raw_text);

// Error 1081 naming the first malformed fullness keyword, if there is one.
Status CheckFullnessKeywords(const Parameters& parameters);

// The global-list run reads its parameters with every colon of the raw text
// as a blank, as its progress line shows them; the upper-cased text keeps its
// colons. So a ",HOST=" value ends at a colon there.
Parameters WithColonsAsBlanks(const Parameters& parameters);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_PARAMETERS_H_
