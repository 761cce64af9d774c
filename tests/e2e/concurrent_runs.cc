#include "concurrent_runs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace e2e {

namespace fs = std::filesystem;

namespace {

// The profiles' password, as the profile tool stores "secretPRD".
constexpr char kStoredPassword[] = "3-5.x~`GFYog[j~<~Kk3@xkd";
constexpr char kSensorMark[] = "Sensor=\"SAP Vaultgauge\"";

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Numbered(const char* head, int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%02d", head, number);
  return text;
}

std::string Profile(const std::string& destination, const std::string& host) {
  return "Extcompany.: ACME\nDestination: " + destination +
         "\nClient.....: 100\nUser.......: monitor\nPassword...: " + kStoredPassword +
         "\nLanguage...: EN\nMode.......: R/3\nHostname...: " + host +
         "\nSysnr......: 00\nGwhost.....: gw\nGwservice..: sapgw00\n";
}

struct SensorRun {
  std::vector<std::string> arguments;
  std::string alone;  // what it printed alone: exit code and standard output
};

// The folder of 44 runs: ten systems that succeed (S), ten that fail with
// their own ABAP exception (F), ten that log on through their own destination
// file "SapRfc.<dest>" (D), ten refused at logon (R); three global lists and
// one profile list over such systems.
std::vector<SensorRun> LayOut(const fs::path& work) {
  std::string landscape;
  std::vector<SensorRun> runs;
  for (int i = 1; i <= 10; ++i) {
    const std::string size = std::to_string(1000000 * i) + " TFREE=" + std::to_string(1000 * i);
    for (const char* kind : {"S", "F", "D", "R"}) {
      const std::string sid = Numbered(kind, i);
      std::string host = "host" + sid;
      landscape += "[" + sid + "]\nhost = " + host + "\nsysnr = 00\ndelay = 100\n";
      landscape += std::string("logon = 100 MONITOR ") + (*kind == 'R' ? "other" : "secretPRD") +
                   "\nts = PSAPSR3 TSIZE=" + size + "\nts = PSAPUNDO TSIZE=" + size + "\n";
      if (*kind == 'F') {
        landscape += "fault = receive DB_ORA_CURRENT_SIZES 2 EXC_" + sid + "\n";
      }
      if (*kind == 'D') {
        // Only the destination file leads to the system.
        Write(work / ("SapRfc." + sid),
              "DEST=" + sid + "\nTYPE=A\nASHOST=" + host + "\nSYSNR=00\n");
        host = "nowhere";
      }
      Write(work / (sid + ".P00"), Profile(sid, host));
      runs.push_back(SensorRun{{sid}, ""});
    }
  }
  Write(work / "SapLandscape.txt", landscape);

  const char* lists[][2] = {{"G1", "S01.P00#D01.P00#F01.P00#D02.P00#"},
                            {"G2", "D03.P00#R01.P00#S02.P00#D04.P00#"},
                            {"G3", "D05.P00#F02.P00#D06.P00#S03.P00#"}};
  std::string global;
  for (const auto& [key, servers] : lists) {
    std::string padded = std::string(key) + std::string(10 - std::strlen(key), ' ');
    global += "# GSNG: " + padded + "--" + servers + "\n";
    global += "# GSNX: " + padded + ";Item=PSAPUNDO," + kSensorMark + "\n";
    runs.push_back(SensorRun{{"global", key}, ""});
  }
  Write(work / "SAP Tarnwick.Gbl", global);
  Write(work / "Tarnwick.Prf", "# Gsng: ------------D07.P00#S04.P00#F03.P00#D08.P00#\n");
  runs.push_back(SensorRun{{"x", "ITEM=PSAPSR3"}, ""});
  return runs;
}

class ConcurrentRunsTest : public ::testing::Test {
 public:
  explicit ConcurrentRunsTest(ConcurrentRunsSetup setup) : setup_(std::move(setup)) {}

  void TestBody() override {
    std::string pattern = (fs::temp_directory_path() / "vaultgauge-concurrent-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    const fs::path program_folder = root_ / "program";
    work_ = root_ / "work";
    fs::create_directories(program_folder);
    fs::create_directories(work_);
    fs::copy_file(setup_.bin / setup_.program, program_folder / setup_.program);
    fs::copy_file(setup_.bin / setup_.library, program_folder / setup_.library);
    Write(program_folder / "vaultgauge.ini", "OutputMode=Glimora\n");
    program_ = program_folder / setup_.program;

    std::vector<SensorRun> runs = LayOut(work_);
    for (size_t i = 0; i < runs.size(); ++i) {
      pid_t child = Start(runs[i], i);
      runs[i].alone = Result(child, i);
    }
    int mismatches = 0;
    for (int round = 1; round <= setup_.rounds; ++round) {
      const auto start = std::chrono::steady_clock::now();
      std::vector<pid_t> children;
      for (size_t i = 0; i < runs.size(); ++i) children.push_back(Start(runs[i], i));
      for (size_t i = 0; i < runs.size(); ++i) {
        std::string together = Result(children[i], i);
        if (together == runs[i].alone) continue;
        ++mismatches;
        ADD_FAILURE() << "round " << round << ", run " << runs[i].arguments[0] << " "
                      << (runs[i].arguments.size() > 1 ? runs[i].arguments[1] : "") << "\nalone:\n"
                      << runs[i].alone << "\ntogether:\n"
                      << together << "\nits standard error:\n"
                      << Read(root_ / ("err" + std::to_string(i)));
      }
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - start);
      std::cout << "round " << round << ": " << runs.size() << " runs at once in " << took.count()
                << " ms\n";
    }
    std::cout << mismatches << " of " << runs.size() * setup_.rounds
              << " runs printed something else than alone\n";
    fs::remove_all(root_);
  }

 private:
  // Starts run `index` with its output to files of its own.
  pid_t Start(const SensorRun& run, size_t index) {
    const fs::path out = root_ / ("out" + std::to_string(index));
    pid_t child = fork();
    if (child == 0) {
      if (chdir(work_.c_str()) != 0) _exit(127);
      int fd_in = open("/dev/null", O_RDONLY);
      int fd_out = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      // Kept apart from the output compared: it tells why a run went wrong.
      const fs::path err = root_ / ("err" + std::to_string(index));
      int fd_err = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd_in < 0 || fd_out < 0 || fd_err < 0) _exit(127);
      dup2(fd_in, 0);
      dup2(fd_out, 1);
      dup2(fd_err, 2);
      std::vector<std::string> command = setup_.launcher;
      command.push_back(program_.string());
      command.insert(command.end(), run.arguments.begin(), run.arguments.end());
      std::vector<char*> argv;
      for (std::string& word : command) argv.push_back(word.data());
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    return child;
  }

  // "exit N" and standard output of the run started as `child`.
  std::string Result(pid_t child, size_t index) {
    int status = 0;
    waitpid(child, &status, 0);
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    return "exit " + std::to_string(code) + "\n" + Read(root_ / ("out" + std::to_string(index)));
  }

  ConcurrentRunsSetup setup_;
  fs::path root_, work_, program_;
};

}  // namespace

void RegisterConcurrentRuns(const ConcurrentRunsSetup& setup) {
  ::testing::RegisterTest("concurrency", "forty_four_runs_at_once_print_what_each_prints_alone",
                          nullptr, nullptr, __FILE__, __LINE__,
                          [setup]() -> ::testing::Test* { return new ConcurrentRunsTest(setup); });
}

}  // namespace e2e
