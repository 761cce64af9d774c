#include "profile/password.h"

namespace vaultgauge {

namespace {

constexpr size_t kHeaderLength = kScrambledPasswordLength - kPasswordBodyLength;

char Mask(char c, size_t key_position) {
  return static_cast<char>(static_cast<unsigned char>(c) ^ kPasswordKey[key_position]);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where body character j belongs in the text: the body holds the even
// positions of the text forwards, then the odd positions backwards.
size_t TextPosition(size_t j) {
  return j < kPasswordBodyLength / 2 ? 2 * j : 2 * (kPasswordBodyLength - 1 - j) + 1;
}

}  // namespace

char CheckDigit(std::string_view text) {
  unsigned sum = 0;
  for (char c : text) {
    if (kCheckAlphabet.find(c) != std::string_view::npos) sum += static_cast<unsigned char>(c);
  }
  return static_cast<char>('0' + sum % 10);
}

UnscrambledPassword UnscramblePassword(std::string_view stored) {
  UnscrambledPassword result;
  if (stored.size() != kScrambledPasswordLength) return result;
  char header[kHeaderLength];
  for (size_t i = 0; i < kHeaderLength; ++i) {
    header[i] = Mask(stored[i], i);
    if (!IsDigit(header[i])) return result;
  }
  const size_t key_start = static_cast<size_t>(header[1] - '0');
  const size_t length = static_cast<size_t>((header[2] - '0') * 10 + (header[3] - '0'));

  std::string text(kPasswordBodyLength, ' ');
  for (size_t j = 0; j < kPasswordBodyLength; ++j) {
    text[TextPosition(j)] = Mask(stored[kHeaderLength + j], key_start + j);
  }

  if (CheckDigit(text) != header[0]) {
    result.outcome = UnscrambledPassword::Outcome::kWrongCheckDigit;
    return result;
  }
  result.outcome = UnscrambledPassword::Outcome::kPassword;
  result.password = text.substr(0, length);
  return result;
}

std::string ScramblePassword(std::string_view password, std::string_view filler, int key_start) {
  std::string text(password.substr(0, kPasswordBodyLength));
  const size_t length = text.size();
  for (size_t i = 0; text.size() < kPasswordBodyLength; ++i) {
    text += i < filler.size() ? filler[i] : ' ';
  }
  const size_t start = static_cast<size_t>(key_start) % kKeyStartCount;

  std::string stored;
  stored += Mask(CheckDigit(text), 0);
  stored += Mask(static_cast<char>('0' + start), 1);
  stored += Mask(static_cast<char>('0' + length / 10), 2);
  stored += Mask(static_cast<char>('0' + length % 10), 3);
  for (size_t j = 0; j < kPasswordBodyLength; ++j) stored += Mask(text[TextPosition(j)], start + j);
  return stored;
}

bool IsEditorSafe(std::string_view stored) {
  for (char c : stored) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return !stored.empty() && stored.back() != ' ';
}

}  // namespace vaultgauge
