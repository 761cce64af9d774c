// End-to-end cases as data: a case file holds many cases, each with the
// command line, the files it lays out and what it expects.
//
//   === name of the case
//   args: PRD "two words" GIGABYTE   double quotes group; \" and \\ escape inside
//   args.windows: sub\PRD            replaces args under Wine (args.native likewise)
//   platform: windows                native | windows; default both
//   drive: c                         working folder C:\vgcase\ on the prepared C: drive
//   library: none                    no stand-in RFC library beside the program
//   library: other-width             the stand-in of the other width (a 32-bit DLL beside
//                                    a 64-bit program, or the reverse); Windows only
//   width: 32                        32 | 64: only for the Windows build of that width
//   program: vaultgauge-profile      another program of the bin folder
//   stdout: full                     standard output is a full disk (/dev/full)
//   exit: 2
//   --- arg                          one more argument: the block's text (after args)
//   --- file PRD.P00                 a file in the working folder
//   --- folder PRD.P00               a folder in the working folder (no text)
//   --- program-file vaultgauge.ini  a file beside the program
//   --- c-file PRTG_Path.Txt         a file on the C: drive (with drive: c)
//   --- stdin                        standard input
//   --- stdout                       expected standard output
//   --- stderr                       expected standard error (unchecked without)
//   --- expect-file SapRfc.ini       a file that must be left with this content
//   --- expect-absent Dev_Rfc.Trc    a file that must be gone
//   --- expect-exists Dev_Rfc.Trc    a file that must be left, whatever it holds
//   --- rows                         a table: the case once per row (see below)
//
// A block runs to the next line beginning with "--- " or "=== "; one empty
// line before the next case (or the end of the file) separates and belongs to
// no block, so a block that ends in an empty line is followed by two. Each
// line ends with "\n". After the
// path, modifiers: noeol (no line end after the last line), crlf ("\r\n"),
// cr (a lone "\r"), escaped (\n \r \t \0 \xHH \\ decoded), repeat=N (the
// content N times), append (continues the file of an earlier block of the
// same kind: file, program-file, c-file, expect-file),
// mode=NNN (octal permissions, set after everything is laid out; natively the
// program runs without the power to override them, as an ordinary user),
// fifo (a named pipe in place of the file, no text) and link=TARGET (a
// symbolic link to TARGET in place of the file, no text; TARGET as the host
// spells it, e.g. link=/dev/zero); fifo and link= lay out files only (file,
// program-file, c-file), and the runner checks that they are left as they were.
// fixture=NAME (the block's text begins with the lines of the shared file NAME
// of tests/e2e/fixtures/, as if they were pasted there: the block's own lines,
// if any, follow them, and every other modifier applies to both; not for the
// blocks without text: folder, expect-absent, expect-exists). A fixture named
// but not found is an error of the case file.
//
//   --- file PRD.P00 fixture=prd.P00 crlf
//
// In expected output {TIME} matches any HH:MM:SS, {PROGRAM} and {WORK} stand
// for the program's and the working folder as the program spells them. Under
// Wine every "\n" of expected output is compared as "\r\n".
//
// Files laid out and not named by an expect- block must be left unchanged, and
// the program must leave no file that no expect- block names.
//
// A "--- rows" block makes the case a table: its first line names the
// columns, separated by "|", and every further line is a row (blank lines and
// lines beginning with "#" aside). The case is repeated once per row, with
// each ${column} in its other lines replaced by the row's cell; cells are
// trimmed, "\|" stands for a "|" inside a cell. So "fixture=${profile}" picks
// a fixture per row; the text of a fixture is never substituted.
#ifndef VAULTGAUGE_TESTS_E2E_CASE_FILE_H_
#define VAULTGAUGE_TESTS_E2E_CASE_FILE_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

enum class Platform { kNative, kWindows };

// Which RFC library a case places beside the program.
enum class Library { kStandin, kNone, kOtherWidth };

struct FileBlock {
  std::string path;  // relative, with "/" separators
  std::string contents;
  bool folder = false;      // a folder, not a file
  std::optional<int> mode;  // permissions to set once everything is laid out
  bool fifo = false;        // a named pipe, not a file
  std::string link;         // not empty: a symbolic link to this target, not a file
};

struct Case {
  std::string file;  // the case file it came from, for messages
  int line = 0;
  std::string name;
  std::vector<std::string> args;
  std::vector<std::string> extra_args;  // "--- arg" blocks, after any of the lists
  std::optional<std::vector<std::string>> args_native;
  std::optional<std::vector<std::string>> args_windows;
  std::optional<Platform> only_on;
  bool on_drive_c = false;
  Library library = Library::kStandin;
  std::optional<int> width;  // 32 or 64: only under Wine, for the build of that width
  bool stdout_full = false;  // standard output is a full disk
  std::string program = "vaultgauge";
  std::optional<int> exit_code;
  std::vector<FileBlock> files;          // in the working folder, files and folders
  std::vector<FileBlock> program_files;  // beside the program
  std::vector<FileBlock> c_files;        // on the C: drive
  std::optional<std::string> stdin_text;
  std::optional<std::string> stdout_text;
  std::optional<std::string> stderr_text;
  std::vector<FileBlock> expect_files;
  std::vector<std::string> expect_absent;
  std::vector<std::string> expect_exists;

  std::vector<std::string> ArgsFor(Platform platform) const;
};

// The shared files that "fixture=" names: name to contents.
using Fixtures = std::map<std::string, std::string>;

// Parses a case file's text; returns false with `error` on a malformed file.
bool ParseCaseFile(const std::string& file_name, const std::string& text, const Fixtures& fixtures,
                   std::vector<Case>* cases, std::string* error);
// The same for a case file that names no fixture.
bool ParseCaseFile(const std::string& file_name, const std::string& text, std::vector<Case>* cases,
                   std::string* error);

// Splits an argument line: blanks separate, double quotes group, and inside
// quotes \" and \\ escape.
std::vector<std::string> SplitArguments(const std::string& line);

// Whether `actual` matches `expected`, where "{TIME}" stands for any HH:MM:SS.
bool MatchesWithPlaceholders(const std::string& expected, const std::string& actual);

}  // namespace e2e

#endif  // VAULTGAUGE_TESTS_E2E_CASE_FILE_H_
