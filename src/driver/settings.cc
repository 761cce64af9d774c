#include "driver/settings.h"

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

}  // namespace

Status ReadOutputModeSetting(FileSystem& files, const std::string& path, OutputMode* mode) {
  *mode = OutputMode::kExeXml;
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
    if (UpperCase(Trim(text.substr(0, equals))) != "OUTPUTMODE") continue;
    std::string_view value = Trim(text.substr(equals + 1));
    std::optional<OutputMode> selected = ParseOutputMode(value);
    if (too_long || !selected) {
      std::string shown(value.substr(0, 40));
      if (too_long || value.size() > shown.size()) shown += "...";
      return Status::Error(Message(MessageId::kInvalidOutputMode, {shown, path}));
    }
    *mode = *selected;
  }
  return Status::Ok();
}

}  // namespace vaultgauge
