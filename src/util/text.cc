#include "util/text.h"

#include <limits>

namespace vaultgauge {

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

void ReplaceAll(std::string* text, char from, char to) {
  for (char& c : *text) {
    if (c == from) c = to;
  }
}

void CutAt(std::string* text, std::string_view mark) {
  size_t at = text->find(mark);
  if (at != std::string::npos) text->resize(at);
}

int64_t ParseDecimal(std::string_view text) {
  size_t i = 0;
  auto is_space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate negatively so that the most negative value fits too.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    if (value < (kMin + digit) / 10) {
      value = kMin;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int ParseInt(std::string_view text) {
  int64_t value = ParseDecimal(text);
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// when it does not start with one (overlong forms, surrogates and code
// points past U+10FFFF are not well-formed).
size_t Utf8SequenceLength(std::string_view text, uint32_t* code_point) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length;
  uint32_t value;
  if (lead < 0x80) {
    *code_point = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte(i) & 0x3F);
  }
  const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  *code_point = value;
  return length;
}

// The form of the character at the start of `text` as XML text: markup as
// entities, characters XML cannot carry as "?", a byte that begins no UTF-8
// character taken as the Latin-1 character it stands for on a Windows ANSI
// system (written into `latin1`). `*used` is the length of the character.
std::string_view XmlUnit(std::string_view text, char (&latin1)[2], size_t* used) {
  uint32_t code_point = 0;
  const size_t length = Utf8SequenceLength(text, &code_point);
  if (length == 0) {
    *used = 1;
    const unsigned char byte = static_cast<unsigned char>(text[0]);
    latin1[0] = static_cast<char>(0xC0 | byte >> 6);
    latin1[1] = static_cast<char>(0x80 | (byte & 0x3F));
    return std::string_view(latin1, 2);
  }
  *used = length;
  switch (code_point) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case 0xFFFE:
    case 0xFFFF:
      return "?";
    default:
      // Not even a character reference may stand for these in XML 1.0.
      if (code_point < 0x20 && code_point != '\t' && code_point != '\n' && code_point != '\r') {
        return "?";
      }
      return text.substr(0, length);
  }
}

}  // namespace

void AppendEscapedXml(std::string_view text, size_t limit, std::string* out) {
  const size_t start = out->size();
  char latin1[2];
  while (!text.empty()) {
    size_t used = 0;
    const std::string_view unit = XmlUnit(text, latin1, &used);
    if (out->size() - start + unit.size() > limit) break;
    out->append(unit);
    text.remove_prefix(used);
  }
}

std::string EscapeXml(std::string_view text, size_t limit) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedXml(text, limit, &escaped);
  return escaped;
}

}  // namespace vaultgauge
