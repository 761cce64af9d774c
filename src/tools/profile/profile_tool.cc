#include "tools/profile/profile_tool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <iterator>
#include <ostream>
#include <random>
#include <system_error>
#include <thread>

#include "platform/platform.h"
#include "profile/password.h"
#include "profile/profile_fields.h"
#include "profile/profile_reader.h"
#include "util/file_system.h"
#include "util/messages.h"

namespace vaultgauge {

namespace {

bool IsConnectionMode(std::string_view value) { return value == "R/3" || value == "R/2"; }

bool IsSystemNumber(std::string_view value) {
  return value.size() == 2 && value[0] >= '0' && value[0] <= '9' && value[1] >= '0' &&
         value[1] <= '9';
}

struct ValueOption {
  std::string_view option;
  std::string_view label;
  // For values the sensor would take without complaint but misread: which
  // ones are meant, and what to say of the others.
  bool (*accepts)(std::string_view) = nullptr;
  std::string_view accepted = "";
};

// In the order in which they are listed and written.
constexpr ValueOption kValueOptions[] = {
    {"--extcompany", "Extcompany.:"},
    {"--destination", "Destination:"},
    {"--client", "Client.....:"},
    {"--user", "User.......:"},
    {"--language", "Language...:"},
    // Any mode but "R/2" would open an R/3 connection.
    {"--mode", "Mode.......:", IsConnectionMode, "R/3 or R/2 only"},
    {"--host", "Hostname...:"},
    // Not a number would become system number 0.
    {"--sysnr", "Sysnr......:", IsSystemNumber, "two digits, 00 to 99"},
    {"--gwhost", "Gwhost.....:"},
    {"--gwservice", "Gwservice..:"},
};

// Files that are being written, before they are moved into place.
constexpr char kTemporarySuffix[] = ".tmp";

constexpr char kToolHelp[] =
    "Usage: vaultgauge-profile COMMAND ...\n"
    "Writes and checks the connection profiles (.P00 files) of the Vaultgauge sensor.\n"
    "\n"
    "Commands:\n"
    "  new FILE OPTIONS   write a new profile; the password is read from standard input\n"
    "  check FILE         read a profile as the sensor does and show what it holds\n"
    "\n"
    "'vaultgauge-profile COMMAND --help' tells more about a command.\n";

constexpr char kNewHelp[] =
    "Usage: vaultgauge-profile new FILE OPTIONS [--force] < password\n"
    "Writes the profile FILE with all eleven lines. The password is read as one line\n"
    "from standard input (typed unseen on a terminal), never from the command line,\n"
    "and is stored in its scrambled form.\n"
    "\n"
    "Every option is required (VALUE may also follow a '='):\n"
    "  --extcompany VALUE    company name, 2 to 60 characters\n"
    "  --destination VALUE   RFC destination (the SAP system id), 3 to 11 characters\n"
    "  --client VALUE        SAP client, 3 to 11 characters\n"
    "  --user VALUE          logon user, 2 to 47 characters (stored in upper case)\n"
    "  --language VALUE      logon language, 1 to 31 characters\n"
    "  --mode VALUE          connection mode: R/3, or R/2 for an R/2 system\n"
    "  --host VALUE          application server host, 2 to 47 characters\n"
    "  --sysnr VALUE         system number, two digits from 00 to 99\n"
    "  --gwhost VALUE        gateway host, 2 to 60 characters\n"
    "  --gwservice VALUE     gateway service, 2 to 31 characters\n"
    "  --force               replace FILE if it exists\n"
    "A VALUE that begins with '-' is given as --option=VALUE.\n"
    "\n"
    "The password has 2 to 20 printable ASCII characters and does not end in a\n"
    "blank. Values have no control characters and no blank at either end.\n"
    "Exit code 0 when the profile was written, 1 when it was refused.\n";

constexpr char kCheckHelp[] =
    "Usage: vaultgauge-profile check FILE\n"
    "Reads the profile FILE exactly as the sensor does and shows each value (the\n"
    "password hidden, its length shown), then \"OK\" or the sensor's error message.\n"
    "Exit code 0 for OK, 2 when the sensor would refuse the profile, 1 on a usage error.\n";

const ProfileField& FieldOfLabel(std::string_view label) {
  for (const ProfileField& field : kProfileFields) {
    if (field.label == label) return field;
  }
  return kProfileFields.front();  // every label of the options is in the table
}

bool IsHelp(const std::string& argument) { return argument == "--help" || argument == "-h"; }

// Why the sensor, or a text editor, would not keep `value` as it is, or "".
std::string CheckValue(const ValueOption& option, const std::string& value) {
  const ProfileField& field = FieldOfLabel(option.label);
  const size_t max_length = std::min(field.max_length, kMaxValueLength);
  const std::string head = std::string(option.option) + " \"" + value + "\": ";
  for (char c : value) {
    unsigned char code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) return head + "holds a control character";
  }
  if (value.size() < field.min_length) {
    return head + "too short (at least " + std::to_string(field.min_length) + " characters)";
  }
  if (value.size() > max_length) {
    return head + "too long (at most " + std::to_string(max_length) + " characters)";
  }
  if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) {
    return head + "a blank at either end would become part of the value";
  }
  if (option.accepts != nullptr && !option.accepts(value))
    return head + std::string(option.accepted);
  return std::string();
}

// An argument of the command line that names an option rather than a value.
bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

std::string BaseName(const std::string& path) {
  size_t last = path.find_last_of(kPathSeparator);
  return last == std::string::npos ? path : path.substr(last + 1);
}

bool ReadPassword(ToolStreams& streams, std::string* password) {
  bool hidden = streams.interactive && SetInputEcho(false);
  if (streams.interactive) streams.err << "Password: " << std::flush;
  bool read = static_cast<bool>(std::getline(streams.in, *password));
  if (hidden) {
    SetInputEcho(true);
    streams.err << "\n";
  }
  if (!password->empty() && password->back() == '\r') password->pop_back();
  return read;
}

bool WriteFile(const std::string& path, const std::string& text) {
  // Text mode: the line ends of this platform, CR LF on Windows.
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  bool written = std::fputs(text.c_str(), file) >= 0;
  return std::fclose(file) == 0 && written;
}

// Writes `text` to a temporary file beside `path` and moves it over `path` in
// one step, so that a sensor reading the profile meanwhile reads the old one
// or the new one whole, never a part. The temporary file never stays behind.
bool ReplaceFile(const std::string& path, const std::string& text, uint32_t seed) {
  std::mt19937 random(seed);
  std::string temporary;
  std::error_code error;
  do {
    temporary = path + "." + std::to_string(random() % 1000000) + kTemporarySuffix;
  } while (std::filesystem::exists(temporary, error));
  if (!WriteFile(temporary, text)) {
    RemoveFile(temporary);
    return false;
  }
  // On Windows another program may hold the old file open for a moment
  // without letting it be replaced.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (ReplaceFileWith(path, temporary)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  RemoveFile(temporary);
  return false;
}

int Refuse(ToolStreams& streams, const std::string& message) {
  streams.err << kProfileToolName << ": " << message << "\n";
  return kToolRefused;
}

int RunNew(const std::vector<std::string>& arguments, ToolStreams& streams, uint32_t seed) {
  NewProfileCommand command;
  std::string refusal = ParseNewCommand(arguments, &command);
  if (command.help) {
    streams.out << kNewHelp;
    return kToolOk;
  }
  if (!refusal.empty()) return Refuse(streams, refusal + " (see 'new --help')");
  std::error_code error;
  if (!command.force && std::filesystem::exists(command.file, error)) {
    return Refuse(streams, command.file + " exists already; give --force to replace it");
  }

  std::string password;
  if (!ReadPassword(streams, &password)) return Refuse(streams, "no password on standard input");
  refusal = CheckPassword(password);
  if (!refusal.empty()) return Refuse(streams, refusal);
  std::optional<std::string> stored = ChooseStoredPassword(password, seed);
  if (!stored) {
    return Refuse(streams,
                  "this password has no stored form that text editors keep intact; "
                  "choose another");
  }
  const std::string text = ProfileText(command.values, *stored);

  // What the sensor will read must be what was asked for.
  MemoryFileSystem written;
  written.Add("new", text);
  ConnectionProfile read;
  Status status = ReadProfile(written, "new", BaseName(command.file), &read);
  if (!status.ok() || read.password != password) {
    return Refuse(streams, "the sensor would not read this profile back: " + status.message());
  }

  if (!ReplaceFile(command.file, text, seed)) {
    return Refuse(streams, "cannot write " + command.file);
  }
  streams.out << "Profile " << command.file << " written.\n";
  if (password.find(' ') != std::string::npos) {
    streams.err << kProfileToolName << ": warning: the password holds a blank; it logs on "
                << "through the profile's own host, but not through a destination file SapRfc."
                << command.values.destination
                << " (the connect string carries the password unquoted)\n";
  }
  return kToolOk;
}

int RunCheck(const std::vector<std::string>& arguments, ToolStreams& streams) {
  if (arguments.size() == 1 && IsHelp(arguments[0])) {
    streams.out << kCheckHelp;
    return kToolOk;
  }
  if (arguments.size() != 1 || arguments[0].empty() || arguments[0][0] == '-') {
    return Refuse(streams, "check takes one profile FILE (see 'check --help')");
  }
  const std::string& path = arguments[0];
  RealFileSystem files;
  if (!files.Exists(path)) {
    streams.out << Message(MessageId::kProfileMissing, {path}) << "\n";
    return kToolProfileInvalid;
  }
  ConnectionProfile profile;
  Status status = ReadProfile(files, path, BaseName(path), &profile);
  for (const ProfileField& field : kProfileFields) {
    const std::string& value = profile.*field.member;
    streams.out << field.label << " ";
    if (field.member == &ConnectionProfile::password) {
      streams.out << "(hidden, length " << value.size() << ")\n";
    } else {
      // Quoted, so that blanks at either end show.
      streams.out << "\"" << value << "\"\n";
    }
  }
  streams.out << (status.ok() ? std::string("OK") : status.message()) << "\n";
  return status.ok() ? kToolOk : kToolProfileInvalid;
}

}  // namespace

std::string ParseNewCommand(const std::vector<std::string>& arguments, NewProfileCommand* command) {
  bool given[std::size(kValueOptions)] = {};
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (IsHelp(argument)) {
      command->help = true;
      return std::string();
    }
    if (argument == "--force") {
      command->force = true;
      continue;
    }
    if (argument.rfind("-", 0) != 0 || argument == "-") {
      if (!command->file.empty()) return "more than one FILE: " + command->file + ", " + argument;
      command->file = argument;
      continue;
    }
    size_t equals = argument.find('=');
    std::string name = argument.substr(0, equals);
    size_t option = 0;
    while (option < std::size(kValueOptions) && kValueOptions[option].option != name) ++option;
    if (option == std::size(kValueOptions)) return "unknown option " + name;
    if (given[option]) return name + " given twice";
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size() && !IsOption(arguments[i + 1])) {
      value = arguments[++i];
    } else if (i + 1 < arguments.size()) {
      return name + " needs a value, not the option " + arguments[i + 1] +
             " (a value that begins with '-' is given as " + name + "=VALUE)";
    } else {
      return name + " needs a value";
    }
    given[option] = true;
    const ProfileField& field = FieldOfLabel(kValueOptions[option].label);
    command->values.*field.member = value;
  }

  if (command->file.empty()) return "no FILE given";
  if (command->file == "-") {
    return "\"-\" is no profile FILE (standard input carries the password; name the file)";
  }
  std::string missing;
  for (size_t option = 0; option < std::size(kValueOptions); ++option) {
    if (!given[option])
      missing += (missing.empty() ? "" : ", ") + std::string(kValueOptions[option].option);
  }
  if (!missing.empty()) return "missing " + missing;
  for (const ValueOption& option : kValueOptions) {
    std::string refusal = CheckValue(option, command->values.*FieldOfLabel(option.label).member);
    if (!refusal.empty()) return refusal;
  }
  return std::string();
}

std::string CheckPassword(std::string_view password) {
  for (char c : password) {
    if (c < 0x20 || c > 0x7E) return "the password may hold printable ASCII characters only";
  }
  if (password.size() > kMaxPasswordLength) {
    return "the password is longer than " + std::to_string(kMaxPasswordLength) + " characters";
  }
  const size_t min_length = FieldOfLabel("Password...:").min_length;
  if (password.size() < min_length) {
    return "the password is shorter than " + std::to_string(min_length) + " characters";
  }
  if (password.back() == ' ') {
    return "the password ends in a blank, which the logon loses (it pads the password with "
           "blanks): it could never log on";
  }
  return std::string();
}

std::optional<std::string> ChooseStoredPassword(std::string_view password, uint32_t seed) {
  constexpr std::string_view kFillerCharacters =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::mt19937 random(seed);
  // The filler helps only where the password leaves room for it.
  const int attempts = password.size() < kPasswordBodyLength ? 20 : 1;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    std::string filler;
    for (size_t i = 0; i < kPasswordBodyLength; ++i) {
      filler += kFillerCharacters[random() % kFillerCharacters.size()];
    }
    const int first = static_cast<int>(random() % kKeyStartCount);
    for (int i = 0; i < kKeyStartCount; ++i) {
      std::string stored = ScramblePassword(password, filler, (first + i) % kKeyStartCount);
      if (IsEditorSafe(stored)) return stored;
    }
  }
  return std::nullopt;
}

std::string ProfileText(const ConnectionProfile& values, const std::string& stored_password) {
  std::string text;
  for (const ProfileField& field : kProfileFields) {
    const std::string& value =
        field.member == &ConnectionProfile::password ? stored_password : values.*field.member;
    text.append(field.label).append(" ").append(value).append("\n");
  }
  return text;
}

int RunProfileTool(const std::vector<std::string>& arguments, ToolStreams streams, uint32_t seed) {
  if (arguments.empty()) return Refuse(streams, "no command given (see --help)");
  const std::string& command = arguments[0];
  std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
  if (IsHelp(command)) {
    streams.out << kToolHelp;
    return kToolOk;
  }
  if (command == "new") return RunNew(rest, streams, seed);
  if (command == "check") return RunCheck(rest, streams);
  return Refuse(streams, "unknown command " + command + " (see --help)");
}

}  // namespace vaultgauge
