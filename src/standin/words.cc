#include "standin/words.h"

#include <cstring>

namespace vaultgauge::standin {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = Upper(c);
  return upper;
}

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

bool SplitWords(std::string_view text, std::vector<std::string>* words) {
  words->clear();
  std::string word;
  bool in_word = false;
  bool quoted = false;
  size_t at = 0;
  while (at < text.size()) {
    char c = text[at];
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
      ++at;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (in_word) words->push_back(std::move(word));
      word.clear();
      in_word = false;
      ++at;
    } else {
      // The run of characters up to the next quote (or blank outside quotes).
      size_t end = at + 1;
      while (end < text.size() && text[end] != '"' &&
             (quoted || (text[end] != ' ' && text[end] != '\t'))) {
        ++end;
      }
      word.append(text.substr(at, end - at));
      in_word = true;
      at = end;
    }
  }
  if (in_word) words->push_back(std::move(word));
  return !quoted;
}

bool ParseWholeNumber(std::string_view text, int64_t* value) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return false;
  int64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  *value = negative ? -number : number;
  return true;
}

std::string TwoDigits(int number) {
  std::string text = std::to_string(number);
  return text.size() < 2 ? "0" + text : text;
}

void PutBlankPadded(std::string_view text, char* to, size_t size) {
  std::memset(to, ' ', size);
  std::memcpy(to, text.data(), text.size() < size ? text.size() : size);
}

}  // namespace vaultgauge::standin
