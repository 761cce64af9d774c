// The stored form of a profile's logon password: 24 characters that carry the
// password, its length, a key start and a check digit, masked with a fixed key.
#ifndef VAULTGAUGE_PROFILE_PASSWORD_H_
#define VAULTGAUGE_PROFILE_PASSWORD_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vaultgauge {

// The XOR masks. Every profile ever written depends on these values: never
// change them.
inline constexpr std::array<unsigned char, 32> kPasswordKey = {
    0x0B, 0x1D, 0x05, 0x17, 0x02, 0x13, 0x1A, 0x08, 0x11, 0x0E, 0x1C, 0x04, 0x15, 0x09, 0x1F, 0x06,
    0x12, 0x0C, 0x19, 0x01, 0x16, 0x0A, 0x1E, 0x03, 0x14, 0x0D, 0x18, 0x07, 0x10, 0x0F, 0x1B, 0x0B,
};

// The characters that count for the check digit (the digit 0 stands twice,
// which changes nothing).
inline constexpr std::string_view kCheckAlphabet =
    "01234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

inline constexpr size_t kScrambledPasswordLength = 24;
inline constexpr size_t kPasswordBodyLength = 20;  // the password and its filler
inline constexpr size_t kMaxPasswordLength = kPasswordBodyLength;
inline constexpr int kKeyStartCount = 10;  // key starts 0 to 9

struct UnscrambledPassword {
  enum class Outcome {
    kPassword,         // `password` holds the logon password
    kInvalidForm,      // not 24 characters, or a header that is no digits
    kWrongCheckDigit,  // the check digit does not match the text
  };
  Outcome outcome = Outcome::kInvalidForm;
  std::string password;
};

// Turns the stored form back into the logon password (0 to 20 characters).
UnscrambledPassword UnscramblePassword(std::string_view stored);

// The check digit over the 20-character text of password and filler: the sum
// of the codes of its letters and digits, modulo 10.
char CheckDigit(std::string_view text);

// The stored form of `password` (at most 20 characters; a longer one is cut,
// callers refuse it first), padded to 20 characters with the first characters
// of `filler` (blanks where `filler` is short), masked from key position
// `key_start` (0 to 9).
std::string ScramblePassword(std::string_view password, std::string_view filler, int key_start);

// Whether a stored form survives a text editor unchanged: printable ASCII
// only (no DEL), and no blank at its end, which editors strip.
bool IsEditorSafe(std::string_view stored);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_PROFILE_PASSWORD_H_
