#include "driver/settings.h"

#include <optional>

#include "driver/parameters.h"
#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The value of an "RfcLibrary=" line.
std::optional<RfcLibraryChoice> ParseRfcLibrary(std::string_view value) {
  std::string upper = UpperCase(value);
  if (upper == "CLASSIC") return RfcLibraryChoice::kClassic;
  if (upper == "NETWEAVER") return RfcLibraryChoice::kNetWeaver;
  return std::nullopt;
}

// The value as the refusal shows it: at most 40 characters.
std::string ShownValue(std::string_view value, bool too_long) {
  std::string shown(value.substr(0, 40));
  if (too_long || value.size() > shown.size()) shown += "...";
  return shown;
}

}  // namespace

Status ReadSettings(FileSystem& files, const std::string& path, Settings* settings) {
  *settings = Settings();
  std::unique_ptr<TextFile> file = files.Open(path);
  if (file == nullptr) return Status::Ok();

  // Long enough for any sensible line; a longer value is refused below anyway.
  constexpr size_t kLineLimit = 255;
  std::string line;
  bool too_long;
  while (file->ReadLine(kLineLimit, &line, &too_long)) {
    std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '#') continue;
    size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    // Windows settings files name their keys in any case.
    std::string key = UpperCase(Trim(text.substr(0, equals)));
    std::string_view value = Trim(text.substr(equals + 1));
    if (key == "OUTPUTMODE") {
      std::optional<OutputMode> selected = ParseOutputMode(value);
      if (too_long || !selected) {
        return Status::Error(
            Message(MessageId::kInvalidOutputMode, {ShownValue(value, too_long), path}));
      }
      settings->output_mode = *selected;
    } else if (key == "RFCLIBRARY") {
      std::optional<RfcLibraryChoice> choice = ParseRfcLibrary(value);
      if (too_long || !choice) {
        return Status::Error(
            Message(MessageId::kInvalidRfcLibrary, {ShownValue(value, too_long), path}));
      }
      settings->rfc_library = *choice;
    } else if (key == "PARALLEL") {
      std::optional<unsigned> width = ParseParallelWidth(value);
      if (too_long || !width) {
        return Status::Error(
            Message(MessageId::kInvalidParallel, {ShownValue(value, too_long), path}));
      }
      settings->parallel = *width;
    }
  }
  return Status::Ok();
}

Status ReadOutputModeSetting(FileSystem& files, const std::string& path, OutputMode* mode) {
  Settings settings;
  Status status = ReadSettings(files, path, &settings);
  *mode = settings.output_mode;
  return status;
}

}  // namespace vaultgauge
