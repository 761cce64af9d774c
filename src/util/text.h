// Small text helpers with the exact semantics the sensor's texts rely on.
#ifndef VAULTGAUGE_UTIL_TEXT_H_
#define VAULTGAUGE_UTIL_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vaultgauge {

// Upper-cases the letters a to z only; every other byte stays as it is.
std::string UpperCase(std::string_view text);

inline bool Contains(std::string_view text, std::string_view keyword) {
  return text.find(keyword) != std::string_view::npos;
}

inline bool StartsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

// Replaces every `from` in `text` by `to`.
void ReplaceAll(std::string* text, char from, char to);

// Cuts `text` at the first occurrence of `mark` (the mark is removed too).
void CutAt(std::string* text, std::string_view mark);

// The standard decimal conversion: leading white space skipped, an optional
// sign, then digits up to the first non-digit; no digits give 0. Saturates
// instead of overflowing.
int64_t ParseDecimal(std::string_view text);

// The same conversion into an int, saturating at its bounds.
int ParseInt(std::string_view text);

std::string_view TrimTrailingBlanks(std::string_view text);

// The text as XML character data in UTF-8: &, < and > as entities, so that a
// text cannot break or extend an XML document; every character XML does not
// allow (control characters but tab, line feed and carriage return; U+FFFE,
// U+FFFF) as "?"; and every byte that is not part of a well-formed UTF-8
// character as the Latin-1 character it stands for, as Windows' ANSI code
// page and non-Unicode SAP systems give them. Stops before the character
// whose form would take the result past `limit` bytes.
std::string EscapeXml(std::string_view text, size_t limit = std::string_view::npos);
// The same, appended to `out`; `limit` bounds what is appended.
void AppendEscapedXml(std::string_view text, size_t limit, std::string* out);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_UTIL_TEXT_H_
