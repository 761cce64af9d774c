#include "standin/connect_data.h"

#include <vector>

#include "standin/words.h"

namespace vaultgauge::standin {

bool ParseConnectString(std::string_view text, std::map<std::string, std::string>* values) {
  values->clear();
  std::string buffer;
  std::vector<std::string_view> words;
  if (!SplitWords(text, &buffer, &words)) return false;
  for (std::string_view word : words) {
    size_t equals = word.find('=');
    if (equals == std::string_view::npos || equals == 0) return false;
    (*values)[UpperCase(word.substr(0, equals))] = word.substr(equals + 1);
  }
  return true;
}

bool FindDestinationEntry(std::string_view ini_text, std::string_view destination,
                          std::map<std::string, std::string>* entry) {
  entry->clear();
  bool in_entry = false;
  bool found = false;
  size_t start = 0;
  while (start < ini_text.size()) {
    size_t end = ini_text.find('\n', start);
    if (end == std::string_view::npos) end = ini_text.size();
    std::string_view line = Trim(ini_text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == '#' || line[0] == '*' || line[0] == ';') continue;
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string key = UpperCase(Trim(line.substr(0, equals)));
    std::string value(Trim(line.substr(equals + 1)));
    if (key == "DEST") {
      if (found) break;
      in_entry = EqualsIgnoringCase(value, destination);
      found = in_entry;
    }
    if (in_entry) (*entry)[key] = value;
  }
  return found;
}

}  // namespace vaultgauge::standin
