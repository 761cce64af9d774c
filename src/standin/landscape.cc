#include "standin/landscape.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <unordered_set>

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

// What RFC_SYSTEM_INFO answers in a field the landscape does not set.
std::string RfcsiDefault(const SapSystem& system, std::string_view field) {
  if (field == "RFCPROTO") return "011";
  if (field == "RFCCHARTYP") return "1100";
  if (field == "RFCINTTYP") return "LIT";
  if (field == "RFCFLOTYP") return "IE3";
  if (field == "RFCDEST") return system.host + "_" + system.name + "_" + TwoDigits(system.sysnr);
  if (field == "RFCHOST" || field == "RFCDBHOST") return system.host;
  if (field == "RFCSYSID" || field == "RFCDATABS") return system.name;
  if (field == "RFCDBSYS") return "ORACLE";
  if (field == "RFCSAPRL") return "740";
  if (field == "RFCMACH") return "  324";
  if (field == "RFCOPSYS") return "Linux";
  if (field == "RFCTZONE") return "  3600";
  if (field == "RFCIPADDR") return "127.0.0.1";
  if (field == "RFCKERNRL") return "753";
  return std::string();
}

std::string HostKey(std::string_view host, int sysnr) {
  return UpperCase(host) + '\n' + std::to_string(sysnr);
}

std::string GatewayKey(std::string_view gwhost, std::string_view gwservice) {
  return UpperCase(gwhost) + '\n' + UpperCase(gwservice);
}

// Hands each system of the text on as it is finished, with where its
// section stands: `begin` and `end` in the text, the number of its first line.
using FoundSystem = std::function<void(SapSystem& system, size_t begin, size_t end, int line)>;

// The words of a line: views of the parser's word buffer.
using Words = std::vector<std::string_view>;

class Parser {
 public:
  // A complete parser builds every part of a system; otherwise it checks every
  // line and keeps only what addresses a system.
  explicit Parser(bool complete) : complete_(complete) {}

  // `text` begins with line `first_line` of the file.
  bool Parse(std::string_view text, int first_line, const FoundSystem& found, std::string* error) {
    found_ = &found;
    line_number_ = first_line - 1;
    size_t start = 0;
    while (start < text.size()) {
      ++line_number_;
      line_start_ = start;
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      start = end + 1;
      if (line.size() > kLineLimit) return Fail("the line is longer than 4096 characters", error);
      if (!Line(Trim(line))) return Fail(message_, error);
    }
    line_start_ = text.size();
    if (!FinishSystem()) return Fail(message_, error);
    return true;
  }

  const std::string& journal() const { return journal_; }

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
    // Keys are taken in any letter case, compared without an upper-cased copy.
    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Trim(line.substr(equals + 1));
    if (!SplitWords(value, &word_buffer_, &words_)) return Problem("a double quote is not closed");
    if (EqualsIgnoringCase(key, "JOURNAL")) return Journal(words_);
    if (!in_system_)
      return Problem("\"" + UpperCase(key) + "\" stands before the first [SID] line");
    return Entry(key, words_);
  }

  // The journal is the whole landscape's, and lies in the working folder.
  bool Journal(const Words& words) {
    if (in_system_ || !names_.empty()) return Problem("JOURNAL stands before the first [SID] line");
    if (!OneWord(words) || words[0].empty() || words[0].size() > kNameLimit ||
        words[0].find_first_of("/\\:") != std::string_view::npos) {
      return Problem("JOURNAL takes a file name of up to 32 characters, without a folder");
    }
    journal_ = words[0];
    return true;
  }

  bool Section(std::string_view line) {
    if (line.back() != ']') return Problem("a section line is \"[SID]\"");
    std::string name(Trim(line.substr(1, line.size() - 2)));
    if (name.empty() || name.size() > kNameLimit) {
      return Problem("the system name must have 1 to 32 characters");
    }
    if (!FinishSystem()) return false;
    if (!names_.insert(UpperCase(name)).second) return Problem("system " + name + " twice");
    if (names_.size() > kSystemLimit) return Problem("more than 1000 systems");
    system_ = SapSystem();
    system_.name = name;
    in_system_ = true;
    section_begin_ = line_start_;
    section_line_ = line_number_;
    row_count_ = 0;
    rfcsi_values_.assign(RfcsiFields().size(), std::nullopt);
    return true;
  }

  static bool OneWord(const Words& words) { return words.size() == 1; }

  // `key` is in any letter case; messages name it upper-cased.
  bool Entry(std::string_view key, const Words& words) {
    auto is = [key](std::string_view upper) { return EqualsIgnoringCase(key, upper); };
    if (is("TS")) return Tablespace(words);  // by far the most frequent
    if (is("HOST") || is("GWHOST") || is("GWSERVICE")) {
      if (!OneWord(words) || words[0].size() > 100)
        return Problem(UpperCase(key) + " takes one word");
      (is("HOST") ? system_.host : is("GWHOST") ? system_.gwhost : system_.gwservice) = words[0];
      return true;
    }
    if (is("SYSNR")) {
      int64_t sysnr;
      if (!OneWord(words) || !ParseWholeNumber(words[0], &sysnr) || sysnr < 0 || sysnr > 99) {
        return Problem("SYSNR takes a system number from 00 to 99");
      }
      system_.sysnr = static_cast<int>(sysnr);
      return true;
    }
    if (is("LOGON")) {
      if (words.size() != 3) return Problem("LOGON takes a client, a user and a password");
      if (system_.logons.size() >= kListLimit) return Problem("too many LOGON lines");
      system_.logons.push_back(
          Logon{std::string(words[0]), std::string(words[1]), std::string(words[2])});
      return true;
    }
    if (is("DATE")) {
      if (!OneWord(words) || !AllDigits(words[0], 8)) return Problem("DATE takes YYYYMMDD");
      system_.date = words[0];
      return true;
    }
    if (is("TIME")) {
      if (!OneWord(words) || !AllDigits(words[0], 6)) return Problem("TIME takes HHMMSS");
      system_.time = words[0];
      return true;
    }
    if (is("DELAY")) {
      int64_t delay;
      if (!OneWord(words) || !ParseWholeNumber(words[0], &delay) || delay < 0 || delay > 600000) {
        return Problem("DELAY takes milliseconds from 0 to 600000");
      }
      system_.delay_ms = static_cast<unsigned>(delay);
      return true;
    }
    if (is("FAULT")) return Fault(words);
    const FieldIndex& rfcsi = RfcsiIndex();
    if (const PlacedField* field = rfcsi.Find(key)) {
      if (!OneWord(words)) {
        return Problem(UpperCase(key) + " takes one word (in double quotes for blanks)");
      }
      if (words[0].size() > field->length) {
        return Problem(UpperCase(key) + " holds at most " + std::to_string(field->length) +
                       " characters");
      }
      rfcsi_values_[rfcsi.Position(field)] = std::string(words[0]);
      return true;
    }
    return Problem("unknown key \"" + UpperCase(key) + "\"");
  }

  // Writes `value` into `field` of the TABLE_XPC row.
  bool SetRowField(const PlacedField* field, std::string_view value, std::string* row) {
    char* at = &(*row)[field->offset];
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
    return true;
  }

  bool Tablespace(const Words& words) {
    if (words.empty() || words[0].find('=') != std::string_view::npos) {
      return Problem("TS takes the tablespace's name first, then FIELD=value words");
    }
    if (row_count_ >= kRowLimit) return Problem("more than 100000 tablespaces");
    const FieldIndex& fields = TableXpcIndex();
    static const PlacedField* const name = fields.FindExact("TS");
    static const PlacedField* const status = fields.FindExact("STATUS");
    // Built in a buffer kept from row to row: only a kept row is allocated.
    std::string& row = row_;
    row = DefaultTablespaceRow();
    PutBlankPadded("ONLINE", &row[status->offset], status->length);
    if (!SetRowField(name, words[0], &row)) return false;
    for (size_t i = 1; i < words.size(); ++i) {
      std::string_view setting = words[i];
      size_t equals = setting.find('=');
      const PlacedField* field =
          equals == std::string_view::npos ? nullptr : fields.Find(setting.substr(0, equals));
      if (field == nullptr) {
        return Problem("\"" + std::string(setting) + "\" is no FIELD=value of TABLE_XPC");
      }
      if (!SetRowField(field, setting.substr(equals + 1), &row)) return false;
    }
    ++row_count_;
    if (complete_) system_.tablespaces.push_back(row);
    return true;
  }

  bool CallFaultEntry(const Words& words, std::vector<CallFault>* faults) {
    int32_t code;
    if (words.size() < 3 || words.size() > 4 || !ParseInt32(words[2], &code) || code == 0) {
      return Problem("FAULT = " + std::string(words[0]) +
                     " takes a function module (or *), a non-zero code " + "and an exception name");
    }
    CallFault fault{std::string(words[1]), code,
                    std::string(words.size() == 4 ? words[3] : std::string_view())};
    if (fault.exception.empty() && code == 3) fault.exception = "SYSTEM_FAILURE";
    if (fault.exception.size() > 255) return Problem("the exception name is too long");
    if (faults->size() >= kListLimit) return Problem("too many faults");
    faults->push_back(fault);
    return true;
  }

  bool Fault(const Words& words) {
    if (words.empty()) return Problem("FAULT takes a kind of fault");
    Faults& faults = system_.faults;
    std::string kind = UpperCase(words[0]);
    if (kind == "OPEN") {
      faults.refuse_open = true;
      for (size_t i = 1; i < words.size(); ++i) {
        if (i > 1) faults.refuse_message += ' ';
        faults.refuse_message += words[i];
      }
      if (faults.refuse_message.size() > 200) return Problem("the message is too long");
      return true;
    }
    if (kind == "CALL") return CallFaultEntry(words, &faults.call);
    if (kind == "RECEIVE") return CallFaultEntry(words, &faults.receive);
    if (kind == "HANDLER") {
      if (words.size() < 2) return Problem("FAULT = HANDLER takes a function module (or *)");
      HandlerFault fault{std::string(words[1]), ""};
      for (size_t i = 2; i < words.size(); ++i) {
        if (i > 2) fault.text += ' ';
        fault.text += words[i];
      }
      if (fault.text.empty()) fault.text = "RfcReceive";
      if (fault.text.size() > 200) return Problem("the handler's text is too long");
      faults.handler.push_back(fault);
      return true;
    }
    if (kind == "INSTALL") {
      if (words.size() > 2) return Problem("FAULT = INSTALL takes a structure name (or *)");
      faults.install.emplace_back(words.size() == 2 ? words[1] : "*");
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
    return Problem("unknown fault \"" + std::string(words[0]) + "\"");
  }

  bool FinishSystem() {
    if (!in_system_) return true;
    if (complete_) {
      const std::vector<PlacedField>& fields = RfcsiIndex().fields();
      system_.rfcsi.assign(fields.back().offset + fields.back().length, ' ');
      for (size_t i = 0; i < fields.size(); ++i) {
        const std::string value =
            rfcsi_values_[i] ? *rfcsi_values_[i] : RfcsiDefault(system_, fields[i].name);
        PutBlankPadded(value, &system_.rfcsi[fields[i].offset], fields[i].length);
      }
    }
    (*found_)(system_, section_begin_, line_start_, section_line_);
    in_system_ = false;
    return true;
  }

  const bool complete_;
  const FoundSystem* found_ = nullptr;
  std::string journal_;
  SapSystem system_;  // the system being read
  bool in_system_ = false;
  size_t section_begin_ = 0;
  int section_line_ = 0;
  size_t row_count_ = 0;
  std::vector<std::optional<std::string>> rfcsi_values_;  // by field of RFCSI
  std::unordered_set<std::string> names_;                 // upper-cased, for duplicates
  std::string word_buffer_;                               // the characters of `words_`
  Words words_;
  std::string row_;  // the TABLE_XPC row being read
  size_t line_start_ = 0;
  int line_number_ = 0;
  std::string message_;
};

}  // namespace

bool Landscape::Parse(std::string text, std::string* error) {
  Landscape parsed;
  parsed.text_ = std::move(text);
  FoundSystem index = [&parsed](SapSystem& system, size_t begin, size_t end, int line) {
    size_t section = parsed.sections_.size();
    parsed.sections_.push_back(Section{begin, end, line});
    if (!system.host.empty()) parsed.by_host_.emplace(HostKey(system.host, system.sysnr), section);
    if (!system.gwhost.empty()) {
      parsed.by_gateway_.emplace(GatewayKey(system.gwhost, system.gwservice), section);
    }
  };
  Parser parser(false);
  if (!parser.Parse(parsed.text_, 1, index, error)) {
    *this = Landscape();
    return false;
  }
  parsed.journal_ = parser.journal();
  *this = std::move(parsed);
  return true;
}

SapSystem Landscape::System(size_t index) const {
  const Section& section = sections_.at(index);
  SapSystem system;
  FoundSystem keep = [&system](SapSystem& found, size_t, size_t, int) {
    system = std::move(found);
  };
  // Every line was checked when the whole text was parsed.
  std::string ignored;
  Parser(true).Parse(std::string_view(text_).substr(section.begin, section.end - section.begin),
                     section.first_line, keep, &ignored);
  return system;
}

bool Landscape::Find(const std::unordered_map<std::string, size_t>& index, const std::string& key,
                     SapSystem* system) const {
  auto it = index.find(key);
  if (it == index.end()) return false;
  *system = System(it->second);
  return true;
}

bool Landscape::FindByHost(std::string_view host, int sysnr, SapSystem* system) const {
  return Find(by_host_, HostKey(host, sysnr), system);
}

bool Landscape::FindByGateway(std::string_view gwhost, std::string_view gwservice,
                              SapSystem* system) const {
  return Find(by_gateway_, GatewayKey(gwhost, gwservice), system);
}

const std::string& DefaultTablespaceRow() {
  static const std::string row = [] {
    const std::vector<FieldDefinition>& fields = TableXpcFields();
    const std::vector<FieldLayout> layout = LayOut(fields);
    std::string blank_row(LayoutLength(layout), '\0');
    for (size_t i = 0; i < fields.size(); ++i) {
      char* at = &blank_row[layout[i].offset];
      if (fields[i].type == kChar) PutBlankPadded("", at, layout[i].length);
      if (fields[i].type == kPacked) EncodePacked("0", reinterpret_cast<unsigned char*>(at));
    }
    return blank_row;
  }();
  return row;
}

bool ParseLandscape(std::string_view text, Landscape* landscape, std::string* error) {
  return landscape->Parse(std::string(text), error);
}

bool ReadSmallFile(const std::string& path, size_t limit, std::string* contents) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  contents->clear();
  // One allocation of the file's size: a large file is not copied as it grows.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long size = std::ftell(file);
    if (size > 0 && static_cast<unsigned long>(size) <= limit) {
      contents->reserve(static_cast<size_t>(size));
    }
    std::rewind(file);
  }
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

bool ReadLandscapeText(const std::string& path, std::string* text, std::string* error) {
  if (ReadSmallFile(path, kFileLimit, text)) return true;
  *error = std::string(kLandscapeFileName) +
           " cannot be read in the working folder (missing, or larger than 16 MB)";
  return false;
}

bool ReadLandscapeFile(const std::string& path, Landscape* landscape, std::string* error) {
  std::string text;
  return ReadLandscapeText(path, &text, error) && landscape->Parse(std::move(text), error);
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
  // 15 digit nibbles, then the sign nibble: C positive, D negative. Nibble n
  // is the high half of byte n / 2 when n is even; the digits are placed from
  // the last (nibble 14) leftwards.
  unsigned char packed[8] = {};
  packed[7] = negative ? 0xD : 0xC;
  size_t nibble = 14;
  for (size_t i = text.size(); i-- > 0; --nibble) {
    if (text[i] < '0' || text[i] > '9') return false;
    packed[nibble / 2] |= static_cast<unsigned char>((text[i] - '0') << (nibble % 2 == 0 ? 4 : 0));
  }
  std::memcpy(field, packed, sizeof packed);
  return true;
}

}  // namespace vaultgauge::standin
