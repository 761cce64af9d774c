// Progress lines: human-readable lines on standard output besides the
// document, when the parameters ask for them.
#ifndef VAULTGAUGE_DRIVER_PROGRESS_H_
#define VAULTGAUGE_DRIVER_PROGRESS_H_

#include <string>
#include <vector>

#include "driver/locate_profile.h"
#include "profile/connection_profile.h"

namespace vaultgauge {

// A progress line is at most this long; the state word that follows it is
// printed after.
inline constexpr size_t kProgressLineLimit = 123;

// The text of a progress line, cut to its limit.
std::string ProgressText(const std::string& text);

// "* <time> <name>, <host>, <destination>, <sysnr>, <client>"
std::string SystemProgressText(const std::string& time, const std::string& name,
                               const ConnectionProfile& profile);

// The parameters as the single-system run shows them: the raw text cut at its
// first "#" and then at its first "@"; what is left of "(Parameters " or
// "(No " counts as nothing, and nothing is shown as "(No Parameters)". The
// raw text itself stays whole: its keyword values are read by position.
std::string ShownParameters(const std::string& raw_parameter_text);

// The folders the search of mode "EXEXML" tried, one line each, in order:
// "* Profile-Folder...: <folder> State=<Missing|Present|Used|Refused>", the
// working folder spelled out. Empty when no folder was searched.
std::string TriedFolderLines(const std::vector<TriedFolder>& tried_folders);

// "\n* <time> SAP Vaultgauge now processed..."
std::string ProcessedLine(const std::string& time);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_PROGRESS_H_
