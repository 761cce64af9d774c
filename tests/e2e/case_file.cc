#include "case_file.h"

#include <cstdlib>
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
  bool noeol = false, crlf = false, escaped = false;
  long repeat = 1;
};

bool IsModifier(const std::string& word) {
  return word == "noeol" || word == "crlf" || word == "escaped" || StartsWith(word, "repeat=");
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

  bool has_path = head->kind == "file" || head->kind == "program-file" || head->kind == "c-file" ||
                  head->kind == "expect-file" || head->kind == "expect-absent" ||
                  head->kind == "expect-exists";
  bool plain = head->kind == "stdout" || head->kind == "stderr" || head->kind == "stdin";
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
    } else if (word == "escaped") {
      head->escaped = true;
    } else {
      head->repeat = std::strtol(word.c_str() + 7, nullptr, 10);
      if (head->repeat < 1) {
        *error = "bad " + word;
        return false;
      }
    }
  }
  return true;
}

}  // namespace

const std::vector<std::string>& Case::ArgsFor(Platform platform) const {
  if (platform == Platform::kNative && args_native) return *args_native;
  if (platform == Platform::kWindows && args_windows) return *args_windows;
  return args;
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

bool ParseCaseFile(const std::string& file_name, const std::string& text, std::vector<Case>* cases,
                   std::string* error) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);

  Case* current = nullptr;
  size_t i = 0;
  auto fail = [&](const std::string& why) {
    *error = file_name + ":" + std::to_string(i + 1) + ": " + why;
    return false;
  };
  while (i < lines.size()) {
    const std::string& line = lines[i];
    if (StartsWith(line, "=== ")) {
      cases->emplace_back();
      current = &cases->back();
      current->file = file_name;
      current->line = static_cast<int>(i + 1);
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
      for (size_t k = first; k < end; ++k) {
        std::string piece = lines[k];
        if (head.escaped && !Decode(lines[k], &piece)) {
          i = k;
          return fail("bad escape");
        }
        contents += piece;
        contents += head.crlf ? "\r\n" : "\n";
      }
      if (head.noeol && !contents.empty()) contents.resize(contents.size() - (head.crlf ? 2 : 1));
      std::string repeated;
      for (long r = 0; r < head.repeat; ++r) repeated += contents;

      if (head.kind == "file") {
        current->files.push_back({head.path, repeated});
      } else if (head.kind == "program-file") {
        current->program_files.push_back({head.path, repeated});
      } else if (head.kind == "c-file") {
        current->c_files.push_back({head.path, repeated});
      } else if (head.kind == "expect-file") {
        current->expect_files.push_back({head.path, repeated});
      } else if (head.kind == "expect-absent") {
        current->expect_absent.push_back(head.path);
      } else if (head.kind == "expect-exists") {
        current->expect_exists.push_back(head.path);
      } else if (head.kind == "stdout") {
        current->stdout_text = repeated;
      } else if (head.kind == "stderr") {
        current->stderr_text = repeated;
      } else {
        current->stdin_text = repeated;
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
      if (value != "none") return fail("library can only be none");
      current->without_library = true;
    } else if (key == "program") {
      current->program = value;
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
