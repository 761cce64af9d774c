#include "driver/parameters.h"

#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

// The profile's capacities for the values the logon keywords replace.
constexpr size_t kHostLimit = 47;
constexpr size_t kSysnrLimit = 31;

// The value after `keyword` in `parameters.text`, copied as entered from the
// raw text at the same positions, up to a comma, a blank or `limit` characters.
std::string KeywordValue(const Parameters& parameters, std::string_view keyword, size_t limit) {
  size_t at = parameters.text.find(keyword);
  if (at == std::string::npos) return std::string();
  std::string value;
  for (size_t i = at + keyword.size(); i < parameters.raw_text.size() && value.size() < limit;
       ++i) {
    char c = parameters.raw_text[i];
    if (c == ',' || c == ' ') break;
    value.push_back(c);
  }
  return value;
}

void ReadLogonKeywords(Parameters* parameters) {
  LogonOverrides& logon = parameters->logon;
  logon.client.clear();
  size_t client = parameters->text.find("CLIENT=");
  if (client != std::string::npos) logon.client = parameters->text.substr(client + 7, 3);
  logon.host = KeywordValue(*parameters, ",HOST=", kHostLimit);
  logon.sysnr = KeywordValue(*parameters, ",NO=", kSysnrLimit);
}

// A value of at most `max_digits` decimal digits and nothing else, from `low`
// to `high`: the form of every numeric keyword and setting.
std::optional<unsigned> SmallNumber(std::string_view digits, size_t max_digits, unsigned low,
                                    unsigned high) {
  if (digits.empty() || digits.size() > max_digits ||
      digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const int64_t value = ParseDecimal(digits);
  if (value < low || value > high) return std::nullopt;
  return static_cast<unsigned>(value);
}

// At most three characters after "CH=", ending early at a comma. The digits
// are read from the upper-cased text, which has them as entered.
ChannelSelection ReadChannelSelection(const std::string& text) {
  ChannelSelection selection;
  size_t at = text.find("CH=");
  if (at == std::string::npos) return selection;
  std::string_view number = std::string_view(text).substr(at + 3, 3);
  selection.active = true;
  selection.number = ParseDecimal(number.substr(0, number.find(',')));
  return selection;
}

// A whole per cent of LIMITS=: one to three digits, 1 to 100.
bool ReadLimit(std::string_view digits, unsigned* limit) {
  std::optional<unsigned> value = SmallNumber(digits, 3, 1, 100);
  if (value) *limit = *value;
  return value.has_value();
}

bool ReadLimits(std::string_view value, Parameters* parameters) {
  FullnessKeywords* fullness = &parameters->fullness;
  size_t slash = value.find('/');
  unsigned warning = 0, error = 0;
  if (slash == std::string_view::npos || !ReadLimit(value.substr(0, slash), &warning) ||
      !ReadLimit(value.substr(slash + 1), &error) || warning >= error) {
    return false;
  }
  fullness->warning_limit = warning;
  fullness->error_limit = error;
  return true;
}

// Names separated by colons; an empty name is a slip of the pen.
bool ReadSkipped(std::string_view value, Parameters* parameters) {
  FullnessKeywords* fullness = &parameters->fullness;
  for (;;) {
    size_t colon = value.find(':');
    std::string_view name = value.substr(0, colon);
    if (name.empty()) return false;
    fullness->skipped.emplace_back(name);
    if (colon == std::string_view::npos) return true;
    value.remove_prefix(colon + 1);
  }
}

bool ReadPercent(std::string_view /*value*/, Parameters* parameters) {
  parameters->fullness.percent = true;
  return true;
}

// Seconds from 1 to 900.
bool ReadTimeout(std::string_view value, Parameters* parameters) {
  std::optional<unsigned> seconds = SmallNumber(value, 3, 1, 900);
  if (seconds) parameters->timeout_seconds = *seconds;
  return seconds.has_value();
}

bool ReadParallel(std::string_view value, Parameters* parameters) {
  std::optional<unsigned> width = ParseParallelWidth(value);
  if (!width) return false;
  parameters->parallel = *width;
  return true;
}

// A keyword that counts as a whole word only: the word alone, or, when it
// ends in "=", the word's beginning with its value after it.
struct WordKeyword {
  std::string_view word;
  // Takes the value from the upper-cased word; false when it is malformed.
  bool (*read)(std::string_view value, Parameters* parameters);
};

constexpr WordKeyword kWordKeywords[] = {
    {"PERCENT", ReadPercent},  {"LIMITS=", ReadLimits},     {"SKIP=", ReadSkipped},
    {"TIMEOUT=", ReadTimeout}, {"PARALLEL=", ReadParallel},
};

void ReadWordKeywords(Parameters* parameters) {
  const std::string& text = parameters->text;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(" ,", start);
    if (end == std::string::npos) end = text.size();
    std::string_view word = std::string_view(text).substr(start, end - start);
    for (const WordKeyword& keyword : kWordKeywords) {
      const bool takes_value = keyword.word.back() == '=';
      if (takes_value ? !word.starts_with(keyword.word) : word != keyword.word) continue;
      if (!keyword.read(word.substr(keyword.word.size()), parameters) &&
          parameters->malformed_word.empty()) {
        parameters->malformed_word = parameters->raw_text.substr(start, end - start);
      }
    }
    start = end + 1;
  }
}

}  // namespace

Parameters ParseParameters(std::string_view raw_text) {
  Parameters parameters;
  parameters.raw_text = std::string(raw_text);
  parameters.text = UpperCase(raw_text);
  const std::string& text = parameters.text;

  size_t item = text.find("ITEM=");
  if (item != std::string::npos) {
    parameters.item_given = true;
    std::string& name = parameters.item_name;
    for (size_t i = item + 5; i < raw_text.size() && name.size() < kItemNameCapacity; ++i) {
      char c = raw_text[i];
      if (c == ' ' || c == ',') break;
      name += c == ':' ? ' ' : c;
    }
  }
  parameters.show_progress = text.find_first_of("#@$%") != std::string::npos;
  parameters.console = Contains(text, "@");
  parameters.syslog = Contains(text, ",SYSLOG");
  parameters.gigabyte = Contains(text, "GIGABYTE");
  parameters.channel = ReadChannelSelection(text);
  ReadLogonKeywords(&parameters);
  ReadWordKeywords(&parameters);
  return parameters;
}

std::optional<unsigned> ParseParallelWidth(std::string_view text) {
  return SmallNumber(text, 2, kMinParallelWidth, kMaxParallelWidth);
}

Status CheckWordKeywords(const Parameters& parameters) {
  if (parameters.malformed_word.empty()) return Status::Ok();
  return Status::Error(Message(MessageId::kInvalidKeyword, {parameters.malformed_word}));
}

Parameters WithColonsAsBlanks(const Parameters& parameters) {
  Parameters changed = parameters;
  ReplaceAll(&changed.raw_text, ':', ' ');
  ReadLogonKeywords(&changed);
  return changed;
}

}  // namespace vaultgauge
