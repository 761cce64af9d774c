// Runs the end-to-end cases against a built program, natively or under Wine:
// each case in a fresh working folder with a private copy of the program,
// checking standard output byte for byte, the exit code and the files left.
//
//   e2e_runner --bin <folder of the programs> --platform native|windows
//              --cases <folder of *.case files> [--wine-prefix <folder>]
//              [--fixtures <folder of the shared files, default ../fixtures of --cases>]
//              [--width 64|32] [--other-library <the other width's librfc32.dll>]
//              [--wine-loader <path>]
//
// Under Wine each width runs through its own loader (/usr/lib/wine/wine64 or
// /usr/lib/wine/wine), so that the 64-bit suite never depends on 32-bit
// support. Where the loader cannot run at all (a kernel without 32-bit
// support), the runner says so in one line and exits with kSkipped, which
// CTest reports as a skipped test.
#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

#include "case_file.h"

namespace fs = std::filesystem;

namespace e2e {
namespace {

// The exit code of a run whose suite cannot run on this machine.
constexpr int kSkipped = 77;

struct Options {
  fs::path bin;
  Platform platform = Platform::kNative;
  fs::path cases;
  fs::path fixtures;
  fs::path wine_prefix;
  int width = 64;
  fs::path other_library;
  fs::path wine_loader;  // default: the loader of `width`
};

Options g_options;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& contents) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << contents;
}

std::string WithWindowsLineEnds(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

// Shows control characters, so that a failing comparison can be read.
std::string Visible(const std::string& text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c == '\n') {
      shown += "\\n\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

// A folder as the program under test spells it, with a trailing separator.
std::string SpelledFolder(const fs::path& folder) {
  if (g_options.platform == Platform::kNative) return folder.string() + "/";
  const fs::path drive_c = g_options.wine_prefix / "drive_c";
  std::string relative = folder.lexically_relative(drive_c).string();
  std::string spelled;
  if (!relative.empty() && relative.compare(0, 2, "..") != 0) {
    spelled = "C:\\" + relative;
  } else {
    spelled = "Z:" + folder.string();
  }
  std::replace(spelled.begin(), spelled.end(), '/', '\\');
  return spelled + "\\";
}

void ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
  for (size_t at = text->find(from); at != std::string::npos;
       at = text->find(from, at + to.size())) {
    text->replace(at, from.size(), to);
  }
}

std::string ProgramFileName(const std::string& name) {
  return g_options.platform == Platform::kWindows ? name + ".exe" : name;
}

// The built 32-bit sensor carries its width in its name; a case runs it under
// the common name, which its expected output may show.
std::string BuiltFileName(const std::string& name) {
  if (g_options.platform == Platform::kWindows && g_options.width == 32 && name == "vaultgauge") {
    return "vaultgauge32.exe";
  }
  return ProgramFileName(name);
}

std::string LibraryFileName() {
  return g_options.platform == Platform::kWindows ? "librfc32.dll" : "librfccm.so";
}

// A hard link where the file system allows it: the program's copies are many.
void PlaceCopy(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::create_hard_link(from, to, error);
  if (error) fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

// The 64-bit loader: prefixes are made with it whatever the suite's width.
constexpr char kWine64Loader[] = "/usr/lib/wine/wine64";

void SetWineEnvironment() {
  setenv("WINEPREFIX", g_options.wine_prefix.c_str(), 1);
  // Programs that Wine starts itself (wineboot, services) use the same loader.
  setenv("WINELOADER", g_options.wine_loader.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  // No window or dialog must ever wait for a click.
  setenv("DISPLAY", "", 1);
  setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
}

// How a command is run.
enum class Powers {
  kAll,
  // Without the power to override file permissions, as an ordinary user runs
  // the sensor: a file the case makes unreadable is unreadable also to root.
  kOrdinaryUser,
};

// Runs a command with standard streams from and to files; returns the exit
// code, or -1 when it had to be killed after `limit`.
int RunCommand(const std::vector<std::string>& command, const fs::path& folder, const fs::path& in,
               const fs::path& out, const fs::path& err, Powers powers = Powers::kAll,
               std::chrono::seconds limit = std::chrono::seconds(60)) {
  pid_t child = fork();
  if (child == 0) {
    if (powers == Powers::kOrdinaryUser) {
      // Dropped from the bounding set, the powers are gone after exec; an
      // ordinary user has none to drop, and the calls fail harmlessly.
      prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
      prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
    }
    if (chdir(folder.c_str()) != 0) _exit(127);
    int fd_in = open(in.c_str(), O_RDONLY);
    int fd_out = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int fd_err = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd_in < 0 || fd_out < 0 || fd_err < 0) _exit(127);
    dup2(fd_in, 0);
    dup2(fd_out, 1);
    dup2(fd_err, 2);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  for (;;) {
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// Lays out a file block that is no folder: a file with its text, a named
// pipe, or a symbolic link.
void PlaceFile(const fs::path& path, const FileBlock& block) {
  if (block.fifo) {
    fs::create_directories(path.parent_path());
    if (mkfifo(path.c_str(), 0644) != 0) ADD_FAILURE() << "cannot make the fifo " << path;
  } else if (!block.link.empty()) {
    fs::create_directories(path.parent_path());
    fs::create_symlink(block.link, path);
  } else {
    WriteAll(path, block.contents);
  }
}

// What became of a laid-out file block that is no folder, or "" when it is
// as it was laid out. A fifo or a link is never opened: that could hang.
std::string FileChange(const fs::path& path, const FileBlock& block) {
  if (block.fifo) {
    return fs::is_fifo(fs::symlink_status(path)) ? "" : "fifo " + path.string() + " is gone";
  }
  if (!block.link.empty()) {
    std::error_code error;
    bool same = fs::is_symlink(fs::symlink_status(path)) &&
                fs::read_symlink(path, error).string() == block.link;
    return same ? "" : "link " + path.string() + " is gone or changed";
  }
  if (!fs::is_regular_file(fs::symlink_status(path))) return "file " + path.string() + " is gone";
  if (ReadAll(path) != block.contents) return "file " + path.string() + " was changed";
  return "";
}

// Removes what a case laid out on the shared C: drive: the files, and the
// folders that were created for them.
class DriveCLayout {
 public:
  explicit DriveCLayout(fs::path root) : root_(std::move(root)) {}
  ~DriveCLayout() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
      std::error_code ignored;
      fs::remove_all(*it, ignored);
    }
  }
  void Add(const FileBlock& block) {
    fs::path path = root_ / block.path;
    fs::path missing = path;
    while (!fs::exists(missing.parent_path())) missing = missing.parent_path();
    created_.push_back(missing);
    PlaceFile(path, block);
  }

 private:
  fs::path root_;
  std::vector<fs::path> created_;
};

// The files and folders a case lays out beside the program and in the working
// folder, remembered so that what the program changed can be told afterwards.
class LaidOut {
 public:
  void Add(const fs::path& folder, const std::vector<FileBlock>& blocks) {
    folders_.push_back(folder);
    for (const FileBlock& block : blocks) {
      fs::path path = folder / block.path;
      if (block.folder) {
        fs::create_directories(path);
      } else {
        PlaceFile(path, block);
      }
      items_.push_back({path, block});
    }
  }

  void SetModes() const {
    for (const auto& [path, block] : items_) {
      if (block.mode) fs::permissions(path, static_cast<fs::perms>(*block.mode));
    }
  }

  // Folders first, so that the files in them can be reached again.
  void RestoreModes() const {
    for (bool folders : {true, false}) {
      for (const auto& [path, block] : items_) {
        if (block.mode && block.folder == folders) {
          fs::permissions(path, block.folder ? fs::perms(0755) : fs::perms(0644));
        }
      }
    }
  }

  // What differs from the layout, leaving aside the paths in `named` and the
  // trees in `aside`.
  std::vector<std::string> Changes(const std::set<fs::path>& named,
                                   const std::set<fs::path>& aside) const {
    std::vector<std::string> changes;
    std::set<fs::path> known;
    auto know = [&known](fs::path path) {
      for (; path.has_relative_path(); path = path.parent_path()) known.insert(path);
    };
    for (const fs::path& path : named) know(path);
    for (const auto& [path, block] : items_) {
      know(path);
      if (named.count(path) != 0) continue;
      if (block.folder) {
        if (!fs::is_directory(path)) changes.push_back("folder " + path.string() + " is gone");
      } else if (std::string change = FileChange(path, block); !change.empty()) {
        changes.push_back(change);
      }
    }
    for (const fs::path& folder : folders_) {
      for (auto it = fs::recursive_directory_iterator(folder);
           it != fs::recursive_directory_iterator(); ++it) {
        if (aside.count(it->path()) != 0) {
          it.disable_recursion_pending();
          continue;
        }
        if (known.count(it->path()) == 0) {
          changes.push_back("the program left " + it->path().string() + ", which no block names");
        }
      }
    }
    return changes;
  }

 private:
  std::vector<fs::path> folders_;
  std::vector<std::pair<fs::path, FileBlock>> items_;
};

class CaseTest : public ::testing::Test {
 public:
  explicit CaseTest(Case c) : case_(std::move(c)) {}

  void TestBody() override {
    const bool windows = g_options.platform == Platform::kWindows;
    const fs::path drive_c = g_options.wine_prefix / "drive_c";
    fs::path root;
    if (case_.on_drive_c) {
      root = drive_c / "vgcase";
      fs::remove_all(root);
      fs::create_directories(root);
    } else {
      std::string pattern = (fs::temp_directory_path() / "vaultgauge-e2e-XXXXXX").string();
      ASSERT_NE(mkdtemp(pattern.data()), nullptr);
      root = pattern;
    }
    const fs::path program_folder = root / "program";
    const fs::path work = case_.on_drive_c ? root : root / "work";
    fs::create_directories(program_folder);
    fs::create_directories(work);
    DriveCLayout c_drive(drive_c);

    const fs::path program = program_folder / ProgramFileName(case_.program);
    const fs::path built = g_options.bin / BuiltFileName(case_.program);
    ASSERT_TRUE(fs::exists(built)) << built;
    PlaceCopy(built, program);
    if (case_.library == Library::kStandin && fs::exists(g_options.bin / LibraryFileName())) {
      PlaceCopy(g_options.bin / LibraryFileName(), program_folder / LibraryFileName());
    } else if (case_.library == Library::kOtherWidth) {
      ASSERT_TRUE(fs::is_regular_file(g_options.other_library))
          << "the case needs --other-library, the stand-in of the other width";
      PlaceCopy(g_options.other_library, program_folder / LibraryFileName());
    }
    LaidOut laid_out;
    laid_out.Add(program_folder, case_.program_files);
    laid_out.Add(work, case_.files);
    laid_out.SetModes();
    for (const FileBlock& file : case_.c_files) c_drive.Add(file);

    const fs::path streams = root / "streams";
    fs::create_directories(streams);
    WriteAll(streams / "stdin", case_.stdin_text.value_or(""));

    std::vector<std::string> command;
    if (windows) command.push_back(g_options.wine_loader.string());
    command.push_back(program.string());
    for (const std::string& arg : case_.ArgsFor(g_options.platform)) command.push_back(arg);
    const fs::path stdout_path = case_.stdout_full ? fs::path("/dev/full") : streams / "stdout";
    int exit_code = RunCommand(command, work, streams / "stdin", stdout_path, streams / "stderr",
                               windows ? Powers::kAll : Powers::kOrdinaryUser);
    laid_out.RestoreModes();

    std::string out = case_.stdout_full ? std::string() : ReadAll(streams / "stdout");
    std::string err = ReadAll(streams / "stderr");
    std::string where = case_.file + ":" + std::to_string(case_.line);
    EXPECT_NE(exit_code, -1) << where << ": the program did not end within 60 seconds";
    // A sanitizer build reports its findings on standard error, whatever the exit code.
    for (const char* finding : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer",
                                "ERROR: UndefinedBehaviorSanitizer", ": runtime error: "}) {
      if (err.find(finding) != std::string::npos) {
        ADD_FAILURE() << where << ": sanitizer finding\nstderr:\n" << err;
        break;
      }
    }
    EXPECT_EQ(exit_code, *case_.exit_code) << where << "\nstdout:\n"
                                           << Visible(out) << "\nstderr:\n"
                                           << Visible(err);
    // {PROGRAM} and {WORK} stand for the program's and the working folder.
    auto expect = [&](const std::string& text) {
      std::string expected = windows ? WithWindowsLineEnds(text) : text;
      ReplaceAll(&expected, "{PROGRAM}", SpelledFolder(program_folder));
      ReplaceAll(&expected, "{WORK}", SpelledFolder(work));
      return expected;
    };
    if (case_.stdout_text) {
      std::string expected = expect(*case_.stdout_text);
      EXPECT_TRUE(MatchesWithPlaceholders(expected, out))
          << where << "\nexpected stdout:\n"
          << Visible(expected) << "\nactual stdout:\n"
          << Visible(out);
    }
    if (case_.stderr_text) {
      std::string expected = expect(*case_.stderr_text);
      EXPECT_TRUE(MatchesWithPlaceholders(expected, err))
          << where << "\nexpected stderr:\n"
          << Visible(expected) << "\nactual stderr:\n"
          << Visible(err);
    }
    // Every document a host reads as XML must be well-formed to a real parser,
    // whatever the exit code: the XML modes' documents and every error document.
    const bool xml_document = out.rfind("\n<Prtg>", 0) == 0 ||
                              (windows && out.rfind("\r\n<Prtg>", 0) == 0) ||
                              out.rfind("<Prtg>", 0) == 0;
    if (xml_document) {
      const fs::path devnull = "/dev/null";
      int parsed = RunCommand({"xmllint", "--noout", (streams / "stdout").string()}, work, devnull,
                              streams / "xmllint.out", streams / "xmllint.err");
      EXPECT_EQ(parsed, 0) << where << ": the document is no well-formed XML:\n"
                           << ReadAll(streams / "xmllint.err");
    }
    for (const FileBlock& file : case_.expect_files) {
      fs::path path = work / file.path;
      if (!fs::exists(path)) {
        ADD_FAILURE() << where << ": expected file " << file.path << " is missing";
        continue;
      }
      std::string contents = ReadAll(path);
      EXPECT_EQ(contents, file.contents) << where << ": file " << file.path << "\nexpected:\n"
                                         << Visible(file.contents) << "\nactual:\n"
                                         << Visible(contents);
    }
    for (const std::string& present : case_.expect_exists) {
      EXPECT_TRUE(fs::exists(work / present)) << where << ": file " << present << " should be left";
    }
    for (const std::string& absent : case_.expect_absent) {
      EXPECT_FALSE(fs::exists(work / absent)) << where << ": file " << absent << " should be gone";
    }
    // Nothing else may have changed: what the case laid out stays as it was,
    // and nothing appears that the case does not name.
    std::set<fs::path> named;
    for (const FileBlock& file : case_.expect_files) named.insert(work / file.path);
    for (const std::string& path : case_.expect_absent) named.insert(work / path);
    for (const std::string& path : case_.expect_exists) named.insert(work / path);
    // The program and its library were placed, not laid out.
    const std::set<fs::path> aside = {program_folder, program, program_folder / LibraryFileName(),
                                      streams};
    for (const std::string& change : laid_out.Changes(named, aside)) {
      ADD_FAILURE() << where << ": " << change;
    }
    if (!HasFailure()) fs::remove_all(root);
  }

 private:
  Case case_;
};

// Makes the private Wine prefix ready and keeps one wineserver running for
// the whole run, stopped at the end.
//
// The server must be started persistent before any case runs. Debian's
// wineserver wrapper starts every server with "-p0": one that Wine starts by
// itself, for instance while wineboot creates a prefix, shuts down the moment
// its last program ends. A later "wineserver -p" then finds that server still
// running and exits with 2, changing nothing, and every case's program meets
// a server that is shutting down or starting anew; now and then a program
// connects to a server that is going away and dies at once, with no output.
// So: create the prefix, wait until its server has gone (-w), then start the
// persistent server and insist that it is ours.
class WineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    SetWineEnvironment();
    const fs::path prefix = g_options.wine_prefix;
    // A prefix made before the 32-bit loader was installed cannot start any
    // program once it is there (no syswow64): it is made anew.
    const bool stale = fs::exists(prefix) && fs::exists("/usr/lib/wine/wine") &&
                       !fs::exists(prefix / "drive_c/windows/syswow64");
    if (stale || !fs::exists(prefix / "drive_c")) {
      Server({"-k"});
      Server({"-w"});
      fs::remove_all(prefix);
      // Wine's background processes inherit the first program's streams:
      // send them nowhere.
      int made =
          Run({"env", std::string("WINELOADER=") + kWine64Loader, kWine64Loader, "wineboot", "-i"});
      ASSERT_EQ(made, 0) << "wineboot could not create the prefix " << prefix;
      ASSERT_TRUE(fs::exists(prefix / "drive_c")) << prefix;
      Server({"-w"});
    }
    if (Server({"-p"}) != 0) {
      // A server of this prefix was left running, perhaps one that shuts
      // down with its last program: replace it.
      Server({"-k"});
      Server({"-w"});
      ASSERT_EQ(Server({"-p"}), 0) << "no persistent wineserver for " << prefix;
    }
  }
  void TearDown() override {
    Server({"-k"});
    Server({"-w"});
  }

 private:
  static int Run(const std::vector<std::string>& command) {
    const fs::path devnull = "/dev/null";
    return RunCommand(command, fs::current_path(), devnull, devnull, devnull, Powers::kAll,
                      std::chrono::seconds(600));
  }
  static int Server(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "wineserver");
    return Run(arguments);
  }
};

// Whether the suite's loader runs here: a kernel without 32-bit support
// refuses the 32-bit one ("Exec format error"). Empty when it runs, else why not.
std::string LoaderRefusal() {
  if (!fs::exists(g_options.wine_loader)) {
    return g_options.wine_loader.string() + " is not installed";
  }
  std::string pattern = (fs::temp_directory_path() / "vaultgauge-loader-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return "no temporary folder";
  const fs::path folder = pattern;
  int code = RunCommand({g_options.wine_loader.string(), "--version"}, folder, "/dev/null",
                        folder / "out", folder / "err");
  std::string why = ReadAll(folder / "err");
  fs::remove_all(folder);
  if (code == 0) return std::string();
  why = why.substr(0, why.find('\n'));
  if (why.empty()) why = "exit code " + std::to_string(code);
  return g_options.wine_loader.string() + " --version: " + why;
}

std::string TestName(const std::string& name, std::map<std::string, int>* seen) {
  std::string clean;
  for (char c : name) clean += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  int count = ++(*seen)[clean];
  return count == 1 ? clean : clean + "_" + std::to_string(count);
}

bool ParseOptions(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string key = argv[i];
    std::string value = argv[i + 1];
    if (key == "--bin") {
      g_options.bin = value;
    } else if (key == "--platform") {
      if (value != "native" && value != "windows") return false;
      g_options.platform = value == "windows" ? Platform::kWindows : Platform::kNative;
    } else if (key == "--cases") {
      g_options.cases = value;
    } else if (key == "--fixtures") {
      g_options.fixtures = value;
    } else if (key == "--wine-prefix") {
      g_options.wine_prefix = value;
    } else if (key == "--width") {
      if (value != "32" && value != "64") return false;
      g_options.width = std::stoi(value);
    } else if (key == "--other-library") {
      g_options.other_library = fs::absolute(value).lexically_normal();
    } else if (key == "--wine-loader") {
      g_options.wine_loader = value;
    } else {
      return false;
    }
  }
  if (g_options.wine_prefix.empty()) g_options.wine_prefix = g_options.bin / ".." / "wineprefix";
  // The fixtures lie beside the cases, so one folder of cases is all a run needs.
  if (g_options.fixtures.empty()) {
    g_options.fixtures = (fs::absolute(g_options.cases) / ".." / "fixtures").lexically_normal();
  }
  if (g_options.wine_loader.empty()) {
    g_options.wine_loader = g_options.width == 32 ? "/usr/lib/wine/wine" : kWine64Loader;
  }
  g_options.bin = fs::absolute(g_options.bin).lexically_normal();
  g_options.wine_prefix = fs::absolute(g_options.wine_prefix).lexically_normal();
  return !g_options.bin.empty() && !g_options.cases.empty();
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
  using namespace e2e;
  ::testing::InitGoogleTest(&argc, argv);
  if (!ParseOptions(argc, argv)) {
    std::cerr << "usage: e2e_runner --bin DIR --platform native|windows --cases DIR"
                 " [--fixtures DIR] [--wine-prefix DIR] [--width 64|32] [--other-library FILE]"
                 " [--wine-loader PATH] [gtest options]\n";
    return 2;
  }
  if (g_options.platform == Platform::kWindows) {
    std::string refusal = LoaderRefusal();
    if (!refusal.empty()) {
      // Asked once per run; the prefix is left untouched.
      std::cout << "SKIPPED: this machine cannot run " << g_options.width
                << "-bit Windows programs under Wine (" << refusal << ")\n";
      return kSkipped;
    }
  }

  // Every file of the fixtures folder, by name; a folder that is missing holds none.
  Fixtures fixtures;
  if (fs::is_directory(g_options.fixtures)) {
    for (const auto& entry : fs::directory_iterator(g_options.fixtures)) {
      if (!entry.is_regular_file()) continue;
      fixtures[entry.path().filename().string()] = ReadAll(entry.path());
    }
  }
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(g_options.cases)) {
    if (entry.path().extension() == ".case") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::vector<Case> cases;
    std::string error;
    if (!ParseCaseFile(file.filename().string(), ReadAll(file), fixtures, &cases, &error)) {
      std::cerr << error << "\n(fixtures from " << g_options.fixtures.string() << ")\n";
      return 2;
    }
    std::map<std::string, int> seen;
    for (Case& c : cases) {
      if (c.only_on && *c.only_on != g_options.platform) continue;
      if (c.width && *c.width != g_options.width) continue;
      std::string suite = file.stem().string();
      std::string name = TestName(c.name, &seen);
      std::string source = file.string();
      int line = c.line;
      ::testing::RegisterTest(suite.c_str(), name.c_str(), nullptr, nullptr, source.c_str(), line,
                              [c]() -> ::testing::Test* { return new CaseTest(c); });
    }
  }
  if (g_options.platform == Platform::kWindows) {
    ::testing::AddGlobalTestEnvironment(new WineEnvironment);
  }
  return RUN_ALL_TESTS();
}
