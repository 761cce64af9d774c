#include "case_file.h"

#include <cstdlib>
#include <optional>
#include <sstream>

namespace e2e {

namespace {

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

bool Decode(const std::string& line, std::string* decoded) {
  decoded->clear();
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\') {
      *decoded += line[i];
      continue;
    }
    if (++i == line.size()) return false;
    switch (line[i]) {
      case 'n':
        *decoded += '\n';
        break;
      case 'r':
        *decoded += '\r';
        break;
      case 't':
        *decoded += '\t';
        break;
      case '0':
        *decoded += '\0';
        break;
      case '\\':
        *decoded += '\\';
        break;
      case 'x': {
        if (i + 2 >= line.size()) return false;
        std::string hex = line.substr(i + 1, 2);
        char* end;
        long value = std::strtol(hex.c_str(), &end, 16);
        if (*end != '\0') return false;
        *decoded += static_cast<char>(value);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

struct BlockHead {
  std::string kind;
  std::string path;
  bool noeol = false, crlf = false, cr = false, escaped = false, append = false, fifo = false;
  long repeat = 1;
  std::optional<int> mode;
  std::string link;
  std::string fixture;  // the shared file whose lines open the block, if any
};

bool IsModifier(const std::string& word) {
  return word == "noeol" || word == "crlf" || word == "cr" || word == "escaped" ||
         word == "append" || word == "fifo" || StartsWith(word, "repeat=") ||
         StartsWith(word, "mode=") || StartsWith(word, "link=") || StartsWith(word, "fixture=");
}

// "--- kind [path] [modifiers]": a path may hold blanks, quoted or not.
bool ParseBlockHead(const std::string& line, BlockHead* head, std::string* error) {
  std::vector<std::string> words = SplitArguments(line.substr(4));
  if (words.empty()) {
    *error = "block without a kind";
    return false;
  }
  head->kind = words[0];
  size_t modifiers = words.size();
  while (modifiers > 1 && IsModifier(words[modifiers - 1])) --modifiers;
  for (size_t i = 1; i < modifiers; ++i) head->path += (i > 1 ? " " : "") + words[i];

  bool has_path = head->kind == "file" || head->kind == "folder" || head->kind == "program-file" ||
                  head->kind == "c-file" || head->kind == "expect-file" ||
                  head->kind == "expect-absent" || head->kind == "expect-exists";
  bool plain = head->kind == "stdout" || head->kind == "stderr" || head->kind == "stdin" ||
               head->kind == "arg";
  if (!has_path && !plain) {
    *error = "unknown block '" + head->kind + "'";
    return false;
  }
  if (has_path == head->path.empty()) {
    *error = has_path ? "block '" + head->kind + "' needs a path"
                      : "unknown modifier '" + head->path + "'";
    return false;
  }
  for (size_t i = modifiers; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "noeol") {
      head->noeol = true;
    } else if (word == "crlf") {
      head->crlf = true;
    } else if (word == "cr") {
      head->cr = true;
    } else if (word == "escaped") {
      head->escaped = true;
    } else if (word == "append") {
      head->append = true;
    } else if (word == "fifo") {
      head->fifo = true;
    } else if (StartsWith(word, "link=")) {
      head->link = word.substr(5);
      if (head->link.empty()) {
        *error = "link= needs a target";
        return false;
      }
    } else if (StartsWith(word, "mode=")) {
      char* end;
      long mode = std::strtol(word.c_str() + 5, &end, 8);
      if (word.size() == 5 || *end != '\0' || mode < 0 || mode > 0777) {
        *error = "bad " + word + " (octal permissions)";
        return false;
      }
      head->mode = static_cast<int>(mode);
    } else if (StartsWith(word, "fixture=")) {
      head->fixture = word.substr(8);
      if (head->fixture.empty()) {
        *error = "fixture= needs the name of a fixture";
        return false;
      }
    } else {
      head->repeat = std::strtol(word.c_str() + 7, nullptr, 10);
      if (head->repeat < 1) {
        *error = "bad " + word;
        return false;
      }
    }
  }
  if (head->cr && head->crlf) {
    *error = "cr and crlf exclude each other";
    return false;
  }
  bool laid_out = head->kind == "file" || head->kind == "folder" || head->kind == "program-file";
  bool continued = laid_out || head->kind == "c-file" || head->kind == "expect-file";
  if ((head->mode && !laid_out) || (head->append && !continued)) {
    *error = "append and mode= belong to files and folders";
    return false;
  }
  if (head->fifo || !head->link.empty()) {
    // Permissions would follow a link to its target; appending has no file to go on.
    bool placed = head->kind == "file" || head->kind == "program-file" || head->kind == "c-file";
    if (!placed || (head->fifo && !head->link.empty()) || head->mode || head->append) {
      *error = "fifo and link= lay out a file alone, without mode= or append";
      return false;
    }
  }
  bool without_text =
      head->kind == "folder" || head->kind == "expect-absent" || head->kind == "expect-exists";
  if (!head->fixture.empty() && without_text) {
    *error = "fixture= belongs to blocks with text";
    return false;
  }
  return true;
}

// The lines of a fixture, as the lines of a case file are read.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The lines of a case file, each with its line number in the file.
struct Lines {
  std::vector<std::string> text;
  std::vector<int> number;
  void Add(std::string line, int line_number) {
    text.push_back(std::move(line));
    number.push_back(line_number);
  }
};

// The cells of a table line, split at "|" ("\|" is a "|" in a cell), trimmed.
std::vector<std::string> SplitCells(const std::string& line) {
  std::vector<std::string> cells(1);
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
      cells.back() += '|';
      ++i;
    } else if (line[i] == '|') {
      cells.emplace_back();
    } else {
      cells.back() += line[i];
    }
  }
  for (std::string& cell : cells) cell = Trim(cell);
  return cells;
}

// Replaces every ${column} in `line` by the row's cell; false on an unknown column.
bool Substitute(const std::string& line, const std::vector<std::string>& columns,
                const std::vector<std::string>& cells, std::string* result, std::string* error) {
  result->clear();
  size_t at = 0;
  for (size_t open; (open = line.find("${", at)) != std::string::npos;) {
    size_t close = line.find('}', open);
    if (close == std::string::npos) {
      *error = "${ without }";
      return false;
    }
    std::string name = line.substr(open + 2, close - open - 2);
    size_t column = 0;
    while (column < columns.size() && columns[column] != name) ++column;
    if (column == columns.size()) {
      *error = "no column '" + name + "' in the table";
      return false;
    }
    *result += line.substr(at, open - at) + cells[column];
    at = close + 1;
  }
  *result += line.substr(at);
  return true;
}

// Repeats every case that carries a "--- rows" table once per row. A copy
// keeps the numbers of the lines it came from, but its "===" line takes the
// row's, so that a failing row is found at once.
bool ExpandTables(const Lines& lines, Lines* expanded, std::string* error, int* error_line) {
  auto fail = [&](int line_number, const std::string& why) {
    *error = why;
    *error_line = line_number;
    return false;
  };
  size_t i = 0;
  while (i < lines.text.size()) {
    if (!StartsWith(lines.text[i], "=== ")) {
      expanded->Add(lines.text[i], lines.number[i]);
      ++i;
      continue;
    }
    size_t begin = i, end = i + 1;
    while (end < lines.text.size() && !StartsWith(lines.text[end], "=== ")) ++end;
    size_t rows = begin;
    while (rows < end &&
           !(StartsWith(lines.text[rows], "--- ") &&
             SplitArguments(lines.text[rows].substr(4)) == std::vector<std::string>{"rows"})) {
      ++rows;
    }
    if (rows == end) {
      for (; i < end; ++i) expanded->Add(lines.text[i], lines.number[i]);
      continue;
    }
    size_t rows_end = rows + 1;
    while (rows_end < end && !StartsWith(lines.text[rows_end], "--- ")) ++rows_end;

    // The case without its table; a separating empty line at its end is set
    // again after every copy.
    Lines form;
    for (size_t k = begin; k < end; ++k) {
      if (k < rows || k >= rows_end) form.Add(lines.text[k], lines.number[k]);
    }
    if (rows_end < end && form.text.back().empty()) {
      form.text.pop_back();
      form.number.pop_back();
    }
    std::vector<std::string> columns;
    int copies = 0;
    for (size_t k = rows + 1; k < rows_end; ++k) {
      std::string trimmed = Trim(lines.text[k]);
      if (trimmed.empty() || trimmed[0] == '#') continue;
      std::vector<std::string> cells = SplitCells(lines.text[k]);
      if (columns.empty()) {
        columns = cells;
        for (const std::string& column : columns) {
          if (column.empty()) return fail(lines.number[k], "a column without a name");
        }
        continue;
      }
      if (cells.size() != columns.size()) {
        return fail(lines.number[k], "the row has " + std::to_string(cells.size()) +
                                         " cells, the table " + std::to_string(columns.size()) +
                                         " columns");
      }
      for (size_t f = 0; f < form.text.size(); ++f) {
        std::string line;
        if (!Substitute(form.text[f], columns, cells, &line, error)) {
          *error_line = form.number[f];
          return false;
        }
        expanded->Add(line, f == 0 ? lines.number[k] : form.number[f]);
      }
      expanded->Add(std::string(), lines.number[k]);
      ++copies;
    }
    if (copies == 0) return fail(lines.number[rows], "a table without rows");
    i = end;
  }
  return true;
}

}  // namespace

std::vector<std::string> Case::ArgsFor(Platform platform) const {
  std::vector<std::string> list = args;
  if (platform == Platform::kNative && args_native) list = *args_native;
  if (platform == Platform::kWindows && args_windows) list = *args_windows;
  list.insert(list.end(), extra_args.begin(), extra_args.end());
  return list;
}

std::vector<std::string> SplitArguments(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    std::string arg;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '"') {
        quoted = !quoted;
      } else if (quoted && c == '\\' && i + 1 < line.size() &&
                 (line[i + 1] == '"' || line[i + 1] == '\\')) {
        arg += line[++i];
      } else {
        arg += c;
      }
    }
    args.push_back(arg);
  }
  return args;
}

bool MatchesWithPlaceholders(const std::string& expected, const std::string& actual) {
  static const std::string kTime = "{TIME}";
  size_t e = 0, a = 0;
  while (e < expected.size()) {
    if (expected.compare(e, kTime.size(), kTime) == 0) {
      if (a + 8 > actual.size()) return false;
      for (int k = 0; k < 8; ++k) {
        char c = actual[a + k];
        bool ok = (k == 2 || k == 5) ? c == ':' : (c >= '0' && c <= '9');
        if (!ok) return false;
      }
      e += kTime.size();
      a += 8;
      continue;
    }
    if (a >= actual.size() || expected[e] != actual[a]) return false;
    ++e;
    ++a;
  }
  return a == actual.size();
}

// Adds a laid-out file or folder, or continues an earlier file with "append".
bool AddLaidOut(const BlockHead& head, const std::string& contents, std::vector<FileBlock>* list,
                std::string* error) {
  if (head.append) {
    for (auto it = list->rbegin(); it != list->rend(); ++it) {
      if (it->path == head.path && !it->folder) {
        it->contents += contents;
        if (head.mode) it->mode = head.mode;
        return true;
      }
    }
    *error = "append to " + head.path + ", which no earlier block lays out";
    return false;
  }
  FileBlock block{head.path, contents, head.kind == "folder", head.mode, head.fifo, head.link};
  if ((block.folder || block.fifo || !block.link.empty()) && !contents.empty()) {
    *error = "a folder, a fifo or a link holds no text";
    return false;
  }
  list->push_back(block);
  return true;
}

bool ParseCaseFile(const std::string& file_name, const std::string& text, std::vector<Case>* cases,
                   std::string* error) {
  return ParseCaseFile(file_name, text, Fixtures(), cases, error);
}

bool ParseCaseFile(const std::string& file_name, const std::string& text, const Fixtures& fixtures,
                   std::vector<Case>* cases, std::string* error) {
  Lines read;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    read.Add(line, static_cast<int>(read.text.size() + 1));
  }
  Lines expanded;
  int error_line = 0;
  if (!ExpandTables(read, &expanded, error, &error_line)) {
    *error = file_name + ":" + std::to_string(error_line) + ": " + *error;
    return false;
  }
  const std::vector<std::string>& lines = expanded.text;

  Case* current = nullptr;
  size_t i = 0;
  auto fail = [&](const std::string& why) {
    int number = i < lines.size() ? expanded.number[i] : static_cast<int>(read.text.size());
    *error = file_name + ":" + std::to_string(number) + ": " + why;
    return false;
  };
  while (i < lines.size()) {
    const std::string& line = lines[i];
    if (StartsWith(line, "=== ")) {
      cases->emplace_back();
      current = &cases->back();
      current->file = file_name;
      current->line = expanded.number[i];
      current->name = Trim(line.substr(4));
      ++i;
      continue;
    }
    if (StartsWith(line, "--- ")) {
      if (current == nullptr) return fail("block outside a case");
      BlockHead head;
      if (!ParseBlockHead(line, &head, error)) return fail(*error);
      std::string contents;
      size_t first = ++i;
      while (i < lines.size() && !StartsWith(lines[i], "--- ") && !StartsWith(lines[i], "=== ")) {
        ++i;
      }
      // One empty line before the next case separates the cases; it belongs to no block.
      size_t end = i;
      if ((i == lines.size() || StartsWith(lines[i], "=== ")) && end > first &&
          lines[end - 1].empty()) {
        --end;
      }
      // A fixture's lines stand first, as if they were pasted into the block.
      std::vector<std::string> body;
      if (!head.fixture.empty()) {
        auto fixture = fixtures.find(head.fixture);
        if (fixture == fixtures.end()) {
          i = first - 1;
          return fail("no fixture '" + head.fixture + "'");
        }
        body = LinesOf(fixture->second);
      }
      const size_t shared = body.size();
      body.insert(body.end(), lines.begin() + first, lines.begin() + end);
      const std::string line_end = head.crlf ? "\r\n" : head.cr ? "\r" : "\n";
      for (size_t k = 0; k < body.size(); ++k) {
        std::string piece = body[k];
        if (head.escaped && !Decode(body[k], &piece)) {
          if (k < shared) {
            i = first - 1;
            return fail("bad escape in fixture '" + head.fixture + "'");
          }
          i = first + (k - shared);
          return fail("bad escape");
        }
        contents += piece;
        contents += line_end;
      }
      if (head.noeol && !contents.empty()) contents.resize(contents.size() - line_end.size());
      std::string repeated;
      for (long r = 0; r < head.repeat; ++r) repeated += contents;

      bool added = true;
      if (head.kind == "file" || head.kind == "folder") {
        added = AddLaidOut(head, repeated, &current->files, error);
      } else if (head.kind == "program-file") {
        added = AddLaidOut(head, repeated, &current->program_files, error);
      } else if (head.kind == "c-file") {
        added = AddLaidOut(head, repeated, &current->c_files, error);
      } else if (head.kind == "expect-file") {
        added = AddLaidOut(head, repeated, &current->expect_files, error);
      } else if (head.kind == "expect-absent") {
        current->expect_absent.push_back(head.path);
      } else if (head.kind == "expect-exists") {
        current->expect_exists.push_back(head.path);
      } else if (head.kind == "stdout") {
        current->stdout_text = repeated;
      } else if (head.kind == "stderr") {
        current->stderr_text = repeated;
      } else if (head.kind == "arg") {
        current->extra_args.push_back(repeated);
      } else {
        current->stdin_text = repeated;
      }
      if (!added) {
        i = first - 1;
        return fail(*error);
      }
      continue;
    }
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') {
      ++i;
      continue;
    }
    if (current == nullptr) return fail("text outside a case");
    size_t colon = trimmed.find(':');
    if (colon == std::string::npos) return fail("expected 'key: value'");
    std::string key = trimmed.substr(0, colon);
    std::string value = Trim(trimmed.substr(colon + 1));
    if (key == "args") {
      current->args = SplitArguments(value);
    } else if (key == "args.native") {
      current->args_native = SplitArguments(value);
    } else if (key == "args.windows") {
      current->args_windows = SplitArguments(value);
    } else if (key == "platform") {
      if (value == "native") {
        current->only_on = Platform::kNative;
      } else if (value == "windows") {
        current->only_on = Platform::kWindows;
      } else {
        return fail("platform is native or windows");
      }
    } else if (key == "drive") {
      if (value != "c") return fail("drive can only be c");
      current->on_drive_c = true;
      current->only_on = Platform::kWindows;
    } else if (key == "library") {
      if (value == "none") {
        current->library = Library::kNone;
      } else if (value == "other-width") {
        current->library = Library::kOtherWidth;
        current->only_on = Platform::kWindows;
      } else {
        return fail("library is none or other-width");
      }
    } else if (key == "width") {
      if (value != "32" && value != "64") return fail("width is 32 or 64");
      current->width = std::atoi(value.c_str());
      current->only_on = Platform::kWindows;
    } else if (key == "program") {
      current->program = value;
    } else if (key == "stdout") {
      if (value != "full") return fail("stdout can only be full");
      current->stdout_full = true;
    } else if (key == "exit") {
      current->exit_code = std::atoi(value.c_str());
    } else {
      return fail("unknown key '" + key + "'");
    }
    ++i;
  }
  for (const Case& c : *cases) {
    if (!c.exit_code) {
      *error = file_name + ":" + std::to_string(c.line) + ": case '" + c.name + "' has no exit";
      return false;
    }
  }
  return true;
}

}  // namespace e2e
