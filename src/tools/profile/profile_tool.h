// vaultgauge-profile: writes connection profiles with the stored password
// form that administrators cannot write by hand, and checks profiles the way
// the sensor reads them.
#ifndef VAULTGAUGE_TOOLS_PROFILE_PROFILE_TOOL_H_
#define VAULTGAUGE_TOOLS_PROFILE_PROFILE_TOOL_H_

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/connection_profile.h"

namespace vaultgauge {

inline constexpr char kProfileToolName[] = "vaultgauge-profile";

// Exit codes of the tool.
inline constexpr int kToolOk = 0;
inline constexpr int kToolRefused = 1;         // a usage error or a refused value
inline constexpr int kToolProfileInvalid = 2;  // `check`: the sensor would refuse the profile

struct NewProfileCommand {
  std::string file;
  bool force = false;
  bool help = false;
  ConnectionProfile values;  // every field but Password and DisplayHost
};

// Parses the arguments that follow "new". Returns the refusal, or "" when the
// command is complete and every value is one the sensor accepts.
std::string ParseNewCommand(const std::vector<std::string>& arguments, NewProfileCommand* command);

// Why the sensor could not use `password`, or "".
std::string CheckPassword(std::string_view password);

// A stored form of `password` whose text survives editors (see
// IsEditorSafe); key start and filler are drawn from `seed`. None when no key
// start gives such a form, which only a rare password of 20 characters meets.
std::optional<std::string> ChooseStoredPassword(std::string_view password, uint32_t seed);

// The profile file's text: all eleven labelled lines, each ended by "\n".
std::string ProfileText(const ConnectionProfile& values, const std::string& stored_password);

struct ToolStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // Standard input is a terminal: prompt for the password and hide it.
  bool interactive = false;
};

// Runs the tool on its arguments (without the program name); returns the
// exit code. `seed` chooses the stored password form.
int RunProfileTool(const std::vector<std::string>& arguments, ToolStreams streams, uint32_t seed);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_TOOLS_PROFILE_PROFILE_TOOL_H_
