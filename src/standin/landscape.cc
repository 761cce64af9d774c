#include "standin/landscape.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "standin/structures.h"
#include "standin/words.h"

namespace vaultgauge::standin {

namespace {

// Bounds that keep a mistaken file from taking the sensor's memory.
constexpr size_t kFileLimit = 16u << 20;
constexpr size_t kLineLimit = 4096;
constexpr size_t kSystemLimit = 1000;
constexpr size_t kRowLimit = 100000;
constexpr size_t kListLimit = 1000;
constexpr size_t kNameLimit = 32;

bool AllDigits(std::string_view text, size_t length) {
  if (text.size() != length) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool ParseInt32(std::string_view text, int32_t* value) {
  int64_t number;
  if (!ParseWholeNumber(text, &number) || number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int32_t>(number);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

class Parser {
 public:
  bool Parse(std::string_view text, Landscape* landscape, std::string* error) {
    landscape_ = landscape;
    landscape_->systems.clear();
    landscape_->journal.clear();
    size_t start = 0;
    while (start < text.size()) {
      ++line_number_;
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      start = end + 1;
      if (line.size() > kLineLimit) return Fail("the line is longer than 4096 characters", error);
      if (!Line(Trim(line))) return Fail(message_, error);
    }
    if (!FinishSystem()) return Fail(message_, error);
    return true;
  }

 private:
  bool Fail(const std::string& message, std::string* error) {
    *error =
        std::string(kLandscapeFileName) + " line " + std::to_string(line_number_) + ": " + message;
    return false;
  }

  bool Problem(std::string message) {
    message_ = std::move(message);
    return false;
  }

  bool Line(std::string_view line) {
    if (line.empty() || line[0] == '#' || line[0] == ';') return true;
    if (line[0] == '[') return Section(line);
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return Problem("expected \"key = value\" or \"[SID]\"");
    std::string key = UpperCase(Trim(line.substr(0, equals)));
    std::string_view value = Trim(line.substr(equals + 1));
    std::vector<std::string> words;
    if (!SplitWords(value, &words)) return Problem("a double quote is not closed");
    if (key == "JOURNAL") return Journal(words);
    if (system_ == nullptr) return Problem("\"" + key + "\" stands before the first [SID] line");
    return Entry(key, words);
  }

  // The journal is the whole landscape's, and lies in the working folder.
  bool Journal(const std::vector<std::string>& words) {
    if (system_ != nullptr || !landscape_->systems.empty()) {
      return Problem("JOURNAL stands before the first [SID] line");
    }
    if (!OneWord(words) || words[0].empty() || words[0].size() > kNameLimit ||
        words[0].find_first_of("/\\:") != std::string::npos) {
      return Problem("JOURNAL takes a file name of up to 32 characters, without a folder");
    }
    landscape_->journal = words[0];
    return true;
  }

  bool Section(std::string_view line) {
    if (line.back() != ']') return Problem("a section line is \"[SID]\"");
    std::string name(Trim(line.substr(1, line.size() - 2)));
    if (name.empty() || name.size() > kNameLimit) {
      return Problem("the system name must have 1 to 32 characters");
    }
    if (!FinishSystem()) return false;
    for (const SapSystem& other : landscape_->systems) {
      if (EqualsIgnoringCase(other.name, name)) return Problem("system " + name + " twice");
    }
    if (landscape_->systems.size() >= kSystemLimit) return Problem("more than 1000 systems");
    landscape_->systems.emplace_back();
    system_ = &landscape_->systems.back();
    system_->name = name;
    rfcsi_values_.clear();
    return true;
  }

  static bool OneWord(const std::vector<std::string>& words) { return words.size() == 1; }

  bool Entry(const std::string& key, const std::vector<std::string>& words) {
    if (key == "HOST" || key == "GWHOST" || key == "GWSERVICE") {
      if (!OneWord(words) || words[0].size() > 100) return Problem(key + " takes one word");
      (key == "HOST"     ? system_->host
       : key == "GWHOST" ? system_->gwhost
                         : system_->gwservice) = words[0];
      return true;
    }
    if (key == "SYSNR") {
      int64_t sysnr;
      if (!OneWord(words) || !ParseWholeNumber(words[0], &sysnr) || sysnr < 0 || sysnr > 99) {
        return Problem("SYSNR takes a system number from 00 to 99");
      }
      system_->sysnr = static_cast<int>(sysnr);
      return true;
    }
    if (key == "LOGON") {
      if (words.size() != 3) return Problem("LOGON takes a client, a user and a password");
      if (system_->logons.size() >= kListLimit) return Problem("too many LOGON lines");
      system_->logons.push_back(Logon{words[0], words[1], words[2]});
      return true;
    }
    if (key == "DATE") {
      if (!OneWord(words) || !AllDigits(words[0], 8)) return Problem("DATE takes YYYYMMDD");
      system_->date = words[0];
      return true;
    }
    if (key == "TIME") {
      if (!OneWord(words) || !AllDigits(words[0], 6)) return Problem("TIME takes HHMMSS");
      system_->time = words[0];
      return true;
    }
    if (key == "DELAY") {
      int64_t delay;
      if (!OneWord(words) || !ParseWholeNumber(words[0], &delay) || delay < 0 || delay > 600000) {
        return Problem("DELAY takes milliseconds from 0 to 600000");
      }
      system_->delay_ms = static_cast<unsigned>(delay);
      return true;
    }
    if (key == "TS") return Tablespace(words);
    if (key == "FAULT") return Fault(words);
    if (const FieldSpec* field = FindField(RfcsiFields(), key)) {
      if (!OneWord(words)) return Problem(key + " takes one word (in double quotes for blanks)");
      if (words[0].size() > field->length) {
        return Problem(key + " holds at most " + std::to_string(field->length) + " characters");
      }
      rfcsi_values_[field->name] = words[0];
      return true;
    }
    return Problem("unknown key \"" + key + "\"");
  }

  bool Tablespace(const std::vector<std::string>& words) {
    if (words.empty() || words[0].find('=') != std::string::npos) {
      return Problem("TS takes the tablespace's name first, then FIELD=value words");
    }
    if (system_->tablespaces.size() >= kRowLimit) return Problem("more than 100000 tablespaces");
    const std::vector<FieldSpec>& fields = TableXpcFields();
    std::string row = DefaultTablespaceRow();
    std::vector<std::string> settings(words.begin() + 1, words.end());
    settings.insert(settings.begin(), "TS=" + words[0]);
    PutBlankPadded("ONLINE", &row[FieldOffset(fields, FindField(fields, "STATUS"))], 9);
    for (const std::string& setting : settings) {
      size_t equals = setting.find('=');
      const FieldSpec* field =
          equals == std::string::npos ? nullptr : FindField(fields, setting.substr(0, equals));
      if (field == nullptr) {
        return Problem("\"" + setting + "\" is no FIELD=value of TABLE_XPC");
      }
      std::string_view value = std::string_view(setting).substr(equals + 1);
      char* at = &row[FieldOffset(fields, field)];
      if (field->type == kChar) {
        if (value.size() > field->length) {
          return Problem(std::string(field->name) + " holds at most " +
                         std::to_string(field->length) + " characters");
        }
        PutBlankPadded(value, at, field->length);
      } else if (field->type == kInt) {
        int32_t number;
        if (!ParseInt32(value, &number)) {
          return Problem(std::string(field->name) + " takes a 32-bit whole number");
        }
        std::memcpy(at, &number, sizeof number);
      } else if (!EncodePacked(value, reinterpret_cast<unsigned char*>(at))) {
        return Problem(std::string(field->name) +
                       " takes a whole number of up to 15 digits, or 0x and 16 hex digits");
      }
    }
    system_->tablespaces.push_back(row);
    return true;
  }

  bool CallFaultEntry(const std::vector<std::string>& words, std::vector<CallFault>* faults) {
    int32_t code;
    if (words.size() < 3 || words.size() > 4 || !ParseInt32(words[2], &code) || code == 0) {
      return Problem("FAULT = " + words[0] + " takes a function module (or *), a non-zero code " +
                     "and an exception name");
    }
    CallFault fault{words[1], code, words.size() == 4 ? words[3] : ""};
    if (fault.exception.empty() && code == 3) fault.exception = "SYSTEM_FAILURE";
    if (fault.exception.size() > 255) return Problem("the exception name is too long");
    if (faults->size() >= kListLimit) return Problem("too many faults");
    faults->push_back(fault);
    return true;
  }

  bool Fault(const std::vector<std::string>& words) {
    if (words.empty()) return Problem("FAULT takes a kind of fault");
    Faults& faults = system_->faults;
    std::string kind = UpperCase(words[0]);
    if (kind == "OPEN") {
      faults.refuse_open = true;
      for (size_t i = 1; i < words.size(); ++i) {
        faults.refuse_message += (i > 1 ? " " : "") + words[i];
      }
      if (faults.refuse_message.size() > 200) return Problem("the message is too long");
      return true;
    }
    if (kind == "CALL") return CallFaultEntry(words, &faults.call);
    if (kind == "RECEIVE") return CallFaultEntry(words, &faults.receive);
    if (kind == "HANDLER") {
      if (words.size() < 2) return Problem("FAULT = HANDLER takes a function module (or *)");
      HandlerFault fault{words[1], ""};
      for (size_t i = 2; i < words.size(); ++i) fault.text += (i > 2 ? " " : "") + words[i];
      if (fault.text.empty()) fault.text = "RfcReceive";
      if (fault.text.size() > 200) return Problem("the handler's text is too long");
      faults.handler.push_back(fault);
      return true;
    }
    if (kind == "INSTALL") {
      if (words.size() > 2) return Problem("FAULT = INSTALL takes a structure name (or *)");
      faults.install.push_back(words.size() == 2 ? words[1] : "*");
      return true;
    }
    if (kind == "ITCREATE" || kind == "ITDELETE") {
      if (words.size() != 1) return Problem("FAULT = " + kind + " takes nothing more");
      (kind == "ITCREATE" ? faults.it_create : faults.it_delete) = true;
      return true;
    }
    int64_t number;
    bool has_number = words.size() == 2 && ParseWholeNumber(words[1], &number);
    if (kind == "ITGETLINE") {
      if (!has_number || number < 1 || number > INT32_MAX) {
        return Problem("FAULT = ITGETLINE takes the row that fails, from 1");
      }
      faults.it_get_line_row = static_cast<unsigned>(number);
      return true;
    }
    if (kind == "ROWS") {
      if (!has_number || number < 0 || number > static_cast<int64_t>(kRowLimit)) {
        return Problem("FAULT = ROWS takes the row count after the first pass");
      }
      faults.rows_after_first_pass = number;
      return true;
    }
    return Problem("unknown fault \"" + words[0] + "\"");
  }

  bool FinishSystem() {
    if (system_ == nullptr) return true;
    std::string sysnr = std::to_string(system_->sysnr);
    if (sysnr.size() < 2) sysnr.insert(0, "0");
    std::map<std::string, std::string> values = {
        {"RFCPROTO", "011"},
        {"RFCCHARTYP", "1100"},
        {"RFCINTTYP", "LIT"},
        {"RFCFLOTYP", "IE3"},
        {"RFCDEST", system_->host + "_" + system_->name + "_" + sysnr},
        {"RFCHOST", system_->host},
        {"RFCSYSID", system_->name},
        {"RFCDATABS", system_->name},
        {"RFCDBHOST", system_->host},
        {"RFCDBSYS", "ORACLE"},
        {"RFCSAPRL", "740"},
        {"RFCMACH", "  324"},
        {"RFCOPSYS", "Linux"},
        {"RFCTZONE", "  3600"},
        {"RFCIPADDR", "127.0.0.1"},
        {"RFCKERNRL", "753"},
    };
    for (const auto& [name, value] : rfcsi_values_) values[name] = value;
    const std::vector<FieldSpec>& fields = RfcsiFields();
    const std::vector<FieldLayout> layout = LayOut(fields);
    system_->rfcsi.assign(LayoutLength(layout), ' ');
    for (size_t i = 0; i < fields.size(); ++i) {
      PutBlankPadded(values[fields[i].name], &system_->rfcsi[layout[i].offset], layout[i].length);
    }
    system_ = nullptr;
    return true;
  }

  Landscape* landscape_ = nullptr;
  SapSystem* system_ = nullptr;
  std::map<std::string, std::string> rfcsi_values_;
  int line_number_ = 0;
  std::string message_;
};

}  // namespace

const SapSystem* Landscape::FindByHost(std::string_view host, int sysnr) const {
  for (const SapSystem& system : systems) {
    if (!system.host.empty() && EqualsIgnoringCase(system.host, host) && system.sysnr == sysnr) {
      return &system;
    }
  }
  return nullptr;
}

const SapSystem* Landscape::FindByGateway(std::string_view gwhost,
                                          std::string_view gwservice) const {
  for (const SapSystem& system : systems) {
    if (!system.gwhost.empty() && EqualsIgnoringCase(system.gwhost, gwhost) &&
        EqualsIgnoringCase(system.gwservice, gwservice)) {
      return &system;
    }
  }
  return nullptr;
}

std::string DefaultTablespaceRow() {
  const std::vector<FieldSpec>& fields = TableXpcFields();
  const std::vector<FieldLayout> layout = LayOut(fields);
  std::string row(LayoutLength(layout), '\0');
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].type == kChar) PutBlankPadded("", &row[layout[i].offset], layout[i].length);
    if (fields[i].type == kPacked) {
      EncodePacked("0", reinterpret_cast<unsigned char*>(&row[layout[i].offset]));
    }
  }
  return row;
}

bool ParseLandscape(std::string_view text, Landscape* landscape, std::string* error) {
  return Parser().Parse(text, landscape, error);
}

bool ReadSmallFile(const std::string& path, size_t limit, std::string* contents) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  contents->clear();
  char block[4096];
  bool ok = true;
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, file);
    contents->append(block, got);
    if (contents->size() > limit) ok = false;
    if (!ok || got < sizeof block) break;
  }
  if (std::ferror(file)) ok = false;
  std::fclose(file);
  return ok;
}

bool ReadLandscapeFile(const std::string& path, Landscape* landscape, std::string* error) {
  std::string text;
  if (!ReadSmallFile(path, kFileLimit, &text)) {
    *error = std::string(kLandscapeFileName) +
             " cannot be read in the working folder (missing, or larger than 16 MB)";
    return false;
  }
  return ParseLandscape(text, landscape, error);
}

bool EncodePacked(std::string_view text, unsigned char field[8]) {
  if (text.size() == 18 && (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")) {
    for (size_t i = 0; i < 8; ++i) {
      int high = HexDigit(text[2 + 2 * i]);
      int low = HexDigit(text[3 + 2 * i]);
      if (high < 0 || low < 0) return false;
      field[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return true;
  }
  bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty() || text.size() > 15) return false;
  // 15 digit nibbles, then the sign nibble: C positive, D negative.
  unsigned char nibbles[16] = {};
  size_t first = 15 - text.size();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    nibbles[first + i] = static_cast<unsigned char>(text[i] - '0');
  }
  nibbles[15] = negative ? 0xD : 0xC;
  for (size_t i = 0; i < 8; ++i) {
    field[i] = static_cast<unsigned char>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  }
  return true;
}

}  // namespace vaultgauge::standin
