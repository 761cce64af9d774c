#include "standin/words.h"

#include <array>
#include <cstring>

namespace vaultgauge::standin {

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = Upper(c);
  return upper;
}

namespace {

// Character classes of the scans below, looked up once per character.
enum CharClass : unsigned char { kBlank = 1, kQuote = 2, kLineEnd = 4 };

constexpr std::array<unsigned char, 256> kClasses = [] {
  std::array<unsigned char, 256> classes{};
  classes[' '] = kBlank;
  classes['\t'] = kBlank;
  classes['"'] = kQuote;
  classes['\r'] = kLineEnd;
  classes['\n'] = kLineEnd;
  return classes;
}();

unsigned char ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// Blanks, tabs and line ends: what Trim drops.
bool IsSpace(char c) { return (ClassOf(c) & (kBlank | kLineEnd)) != 0; }

// What ends a plain run of a word.
bool EndsRun(char c) { return (ClassOf(c) & (kBlank | kQuote)) != 0; }

}  // namespace

std::string_view Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

bool SplitWords(std::string_view text, std::string* buffer, std::vector<std::string_view>* words) {
  words->clear();
  buffer->clear();
  // No word is longer than the text: the buffer never moves under the views.
  buffer->reserve(text.size());
  bool open_quote = false;
  size_t at = 0;
  const size_t size = text.size();
  while (at < size) {
    if (ClassOf(text[at]) == kBlank) {
      ++at;
      continue;
    }
    // The word: plain runs and quoted parts, up to a blank outside quotes.
    size_t start = at;
    bool has_quotes = false;
    while (at < size) {
      while (at < size && !EndsRun(text[at])) ++at;
      if (at == size || ClassOf(text[at]) != kQuote) break;
      has_quotes = true;
      size_t close = text.find('"', at + 1);
      open_quote = close == std::string_view::npos;
      at = open_quote ? size : close + 1;
    }
    std::string_view word = text.substr(start, at - start);
    if (!has_quotes) {
      words->push_back(word);  // a view of the text itself: most words have no quotes
      continue;
    }
    size_t word_start = buffer->size();
    for (char c : word) {
      if (c != '"') buffer->push_back(c);
    }
    words->emplace_back(buffer->data() + word_start, buffer->size() - word_start);
  }
  return !open_quote;
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
