#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/platform.h"
#include "util/utf16.h"

namespace vaultgauge {

std::string LocalTimeOfDay() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

bool PathFromUtf16(std::u16string_view text, std::string* path) { return Utf16ToUtf8(text, path); }

std::string CurrentFolder() {
  char folder[4096];
  if (getcwd(folder, sizeof folder) == nullptr) return std::string();
  std::string spelled = folder;
  if (spelled.empty() || spelled.back() != '/') spelled += '/';
  return spelled;
}

std::string ProgramPath() {
  // The program does not move while it runs: asked once.
  static const std::string program = [] {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    return std::string(path, static_cast<size_t>(length));
  }();
  return program;
}

bool SetInputEcho(bool on) {
  termios settings;
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &settings) != 0) return false;
  if (on) {
    settings.c_lflag |= ECHO;
  } else {
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  }
  return tcsetattr(STDIN_FILENO, TCSANOW, &settings) == 0;
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

namespace {

// Opens `path` with `flags` only when it is a regular file; -1 else. Opened
// with O_NONBLOCK, so that a FIFO opens at once instead of waiting for its
// other end, and the type is taken from the opened file itself.
int OpenRegular(const std::string& path, int flags, mode_t mode = 0) {
  int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
  if (fd < 0) return -1;
  struct stat info;
  int status = fcntl(fd, F_GETFL);
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || status < 0 ||
      fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::FILE* OpenRegularFile(const std::string& path) {
  int fd = OpenRegular(path, O_RDONLY);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) close(fd);
  return file;
}

std::optional<uint64_t> RegularFileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

bool ReplaceFileWith(const std::string& to, const std::string& from) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

namespace {

// The locked byte: past any file the sensor writes.
constexpr off_t kLockOffset = off_t{1} << 40;

flock LockRange(short type) {
  flock range{};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = kLockOffset;
  range.l_len = 1;
  return range;
}

}  // namespace

std::unique_ptr<LockedFile> LockedFile::Open(const std::string& path) {
  int fd = OpenRegular(path, O_WRONLY | O_CREAT, 0666);
  if (fd < 0) return nullptr;
  flock range = LockRange(F_WRLCK);
  while (fcntl(fd, F_SETLKW, &range) != 0) {
    if (errno != EINTR) {
      close(fd);
      return nullptr;
    }
  }
  return std::unique_ptr<LockedFile>(new LockedFile(fd));
}

LockedFile::~LockedFile() {
  const int fd = static_cast<int>(handle_);
  flock range = LockRange(F_UNLCK);
  fcntl(fd, F_SETLK, &range);
  close(fd);
}

bool LockedFile::ReplaceContents(std::FILE* from) {
  const int fd = static_cast<int>(handle_);
  if (ftruncate(fd, 0) != 0) return false;
  char block[4096];
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, from);
    for (size_t done = 0; done < got;) {
      ssize_t written = write(fd, block + done, got - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      done += static_cast<size_t>(written);
    }
    if (got < sizeof block) return std::ferror(from) == 0;
  }
}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::vector<std::string>& arguments) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return nullptr;
  pid_t child = fork();
  if (child < 0) {
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    return nullptr;
  }
  if (child == 0) {
    int empty = open("/dev/null", O_RDONLY);
    if (empty < 0 || dup2(empty, 0) < 0 || dup2(pipe_ends[1], 1) < 0) _exit(127);
    close(pipe_ends[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipe_ends[1]);
  return std::unique_ptr<ChildProcess>(new ChildProcess(child, pipe_ends[0]));
}

ChildProcess::~ChildProcess() {
  std::string ignored;
  if (!finished_) Finish(&ignored);
}

int ChildProcess::Finish(std::string* output) {
  const int fd = static_cast<int>(output_);
  char block[4096];
  for (;;) {
    ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    output->append(block, static_cast<size_t>(got));
  }
  close(fd);
  finished_ = true;
  int status = 0;
  while (waitpid(static_cast<pid_t>(process_), &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void UseBinaryStandardOutput() {}

const char* RfcLibraryFileName() { return "librfccm.so"; }

const char* NwRfcLibraryFileName() { return "libsapnwrfc.so"; }

void* LoadSharedLibrary(const std::string& folder, const std::string& name) {
  void* library = nullptr;
  if (!folder.empty()) library = dlopen((folder + name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  return library;
}

void* FindSymbol(void* library, const char* name) { return dlsym(library, name); }

}  // namespace vaultgauge
