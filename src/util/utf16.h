// Texts between the sensor's bytes and UTF-16, the text of SAP's NetWeaver
// RFC library. Free of the rest of the sensor: the stand-in library uses it too.
#ifndef VAULTGAUGE_UTIL_UTF16_H_
#define VAULTGAUGE_UTIL_UTF16_H_

#include <string>
#include <string_view>

namespace vaultgauge {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsUtf8(std::string_view text);

// The UTF-16 form of `text`: decoded as UTF-8 when it is well-formed UTF-8,
// else each byte taken as a Latin-1 character.
std::u16string ToUtf16(std::string_view text);

// The UTF-8 form of `text`. A unit of a broken surrogate pair becomes '?';
// the result tells whether there was none.
bool Utf16ToUtf8(std::u16string_view text, std::string* utf8);
std::string FromUtf16(std::u16string_view text);

// The text of a null-terminated UTF-16 string, read no further than `limit`
// units; null gives an empty text.
std::u16string_view BoundedUtf16(const char16_t* text, size_t limit);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_UTIL_UTF16_H_
