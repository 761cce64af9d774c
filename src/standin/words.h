// Small text helpers of the stand-in library, which links nothing of the
// sensor: the landscape file and the connect string are lists of words.
#ifndef VAULTGAUGE_STANDIN_WORDS_H_
#define VAULTGAUGE_STANDIN_WORDS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vaultgauge::standin {

inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Inline: the landscape's parser compares names with it in its inner loops.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}
std::string UpperCase(std::string_view text);
std::string_view Trim(std::string_view text);
std::string_view TrimTrailingBlanks(std::string_view text);

// Splits `text` at blanks and tabs. Double quotes group blanks into a word and
// are dropped ("" is an empty word). False when a quote is left open. The
// words are views of `text`, or of `buffer` for words that had quotes: a
// caller that keeps both across lines splits each line without allocating.
bool SplitWords(std::string_view text, std::string* buffer, std::vector<std::string_view>* words);

// A whole decimal number: an optional sign and 1 to 18 digits, nothing else.
bool ParseWholeNumber(std::string_view text, int64_t* value);

// The number with at least two digits ("07").
std::string TwoDigits(int number);

// Copies `text` into the `size` bytes at `to`, blank-padded, cut at `size`.
void PutBlankPadded(std::string_view text, char* to, size_t size);

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_WORDS_H_
