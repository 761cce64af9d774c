#include "util/utf16.h"

namespace vaultgauge {

namespace {

// Decodes the UTF-8 sequence at `text[*at]` into `*code`, advancing `*at`;
// false when it is no well-formed sequence.
bool DecodeUtf8(std::string_view text, size_t* at, char32_t* code) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(*at);
  size_t length;
  char32_t value;
  char32_t minimum;
  if (lead < 0x80) {
    *code = lead;
    ++*at;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (text.size() - *at < length) return false;
  for (size_t i = 1; i < length; ++i) {
    unsigned char next = byte(*at + i);
    if ((next & 0xC0) != 0x80) return false;
    value = value << 6 | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *code = value;
  *at += length;
  return true;
}

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | code >> 6));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | code >> 12));
    out->push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | code >> 18));
    out->push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

bool IsUtf8(std::string_view text) {
  char32_t code = 0;
  for (size_t at = 0; at < text.size();) {
    if (!DecodeUtf8(text, &at, &code)) return false;
  }
  return true;
}

std::u16string ToUtf16(std::string_view text) {
  // Most texts are ASCII, one unit per byte: converted without decoding, as
  // every field of every row crosses here.
  size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) return std::u16string(text.begin(), text.end());
  std::u16string utf16;
  utf16.reserve(text.size());
  if (!IsUtf8(text)) {
    for (char c : text) utf16.push_back(static_cast<unsigned char>(c));
    return utf16;
  }
  char32_t code = 0;
  for (size_t at = 0; at < text.size();) {
    DecodeUtf8(text, &at, &code);
    if (code < 0x10000) {
      utf16.push_back(static_cast<char16_t>(code));
    } else {
      code -= 0x10000;
      utf16.push_back(static_cast<char16_t>(0xD800 | code >> 10));
      utf16.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
    }
  }
  return utf16;
}

bool Utf16ToUtf8(std::u16string_view text, std::string* utf8) {
  // ASCII, one byte per unit, copied in one pass.
  utf8->resize(text.size());
  size_t ascii = 0;
  char* out = utf8->data();
  for (; ascii < text.size() && text[ascii] < 0x80; ++ascii)
    out[ascii] = static_cast<char>(text[ascii]);
  if (ascii == text.size()) return true;
  utf8->clear();
  utf8->reserve(text.size());
  bool whole = true;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00), utf8);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      utf8->push_back('?');
      whole = false;
    } else {
      AppendUtf8(unit, utf8);
    }
  }
  return whole;
}

std::string FromUtf16(std::u16string_view text) {
  std::string utf8;
  Utf16ToUtf8(text, &utf8);
  return utf8;
}

std::u16string_view BoundedUtf16(const char16_t* text, size_t limit) {
  if (text == nullptr) return std::u16string_view();
  size_t length = 0;
  while (length < limit && text[length] != u'\0') ++length;
  return std::u16string_view(text, length);
}

}  // namespace vaultgauge
