#include "driver/parameters.h"

#include <optional>

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

// The value of the whole-word keyword `keyword` ("TIMEOUT="): words are
// separated by blanks or commas, and the keyword opens its word. Empty when
// there is no such word.
std::optional<std::string> WordValue(const std::string& text, std::string_view keyword) {
  for (size_t at = text.find(keyword); at != std::string::npos; at = text.find(keyword, at + 1)) {
    if (at != 0 && text[at - 1] != ' ' && text[at - 1] != ',') continue;
    size_t end = text.find_first_of(" ,", at);
    return text.substr(at + keyword.size(),
                       end == std::string::npos ? end : end - at - keyword.size());
  }
  return std::nullopt;
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
  if (std::optional<std::string> width = WordValue(text, "PARALLEL=")) {
    std::optional<unsigned> parsed = ParseParallelWidth(*width);
    parameters.parallel = parsed.value_or(0);
    parameters.parallel_malformed = !parsed;
    parameters.parallel_text = *width;
  }
  if (std::optional<std::string> timeout = WordValue(text, "TIMEOUT=")) {
    parameters.timeout_text = *timeout;
    const bool digits = !timeout->empty() && timeout->size() <= 3 &&
                        timeout->find_first_not_of("0123456789") == std::string::npos;
    const int seconds = digits ? std::stoi(*timeout) : 0;
    parameters.timeout_seconds = seconds >= 1 && seconds <= 900 ? seconds : 0;
    parameters.timeout_malformed = parameters.timeout_seconds == 0;
  }
  ReadLogonKeywords(&parameters);
  return parameters;
}

std::optional<unsigned> ParseParallelWidth(std::string_view text) {
  if (text.empty() || text.size() > 2 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  unsigned width = static_cast<unsigned>(ParseDecimal(text));
  if (width < 2 || width > 32) return std::nullopt;
  return width;
}

Status CheckWordKeywords(const Parameters& parameters) {
  if (parameters.timeout_malformed) {
    return Status::Error(
        Message(MessageId::kInvalidKeyword, {"TIMEOUT=" + parameters.timeout_text}));
  }
  if (parameters.parallel_malformed) {
    return Status::Error(
        Message(MessageId::kInvalidKeyword, {"PARALLEL=" + parameters.parallel_text}));
  }
  return Status::Ok();
}

Parameters WithColonsAsBlanks(const Parameters& parameters) {
  Parameters changed = parameters;
  ReplaceAll(&changed.raw_text, ':', ' ');
  ReadLogonKeywords(&changed);
  return changed;
}

}  // namespace vaultgauge
