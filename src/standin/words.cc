#include "standin/words.h"

#include <cstring>

namespace vaultgauge::standin {

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = Upper(c);
  return upper;
}

std::string_view Trim(std::string_view text) {
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && space(text[begin])) ++begin;
  while (end > begin && space(text[end - 1])) --end;
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
  while (at < text.size()) {
    if (text[at] == ' ' || text[at] == '\t') {
      ++at;
      continue;
    }
    // The word: plain runs and quoted parts, up to a blank outside quotes.
    size_t start = at;
    bool has_quotes = false;
    while (at < text.size()) {
      while (at < text.size() && text[at] != ' ' && text[at] != '\t' && text[at] != '"') ++at;
      if (at == text.size() || text[at] != '"') break;
      has_quotes = true;
      size_t close = text.find('"', at + 1);
      open_quote = close == std::string_view::npos;
      at = open_quote ? text.size() : close + 1;
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
