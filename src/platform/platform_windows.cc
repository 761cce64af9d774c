#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace vaultgauge {

std::string LocalTimeOfDay() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", local.wHour % 100u, local.wMinute % 100u,
                local.wSecond % 100u);
  return text;
}

bool PathFromUtf16(std::u16string_view text, std::string* path) {
  path->clear();
  if (text.empty()) return true;
  const int units = static_cast<int>(text.size());
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  // A code page of UTF-8 spells every character and takes neither the flag
  // nor the default character; any other must not swap in a look-alike, which
  // would name another folder.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used_default_pointer = utf8 ? nullptr : &used_default;
  int size =
      WideCharToMultiByte(CP_ACP, flags, wide, units, nullptr, 0, nullptr, used_default_pointer);
  if (size <= 0 || used_default) return false;
  std::vector<char> spelled(static_cast<size_t>(size));
  if (WideCharToMultiByte(CP_ACP, flags, wide, units, spelled.data(), size, nullptr,
                          used_default_pointer) != size ||
      used_default) {
    return false;
  }
  path->assign(spelled.data(), spelled.size());
  return true;
}

std::string CurrentFolder() {
  char folder[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string spelled(folder, length);
  if (spelled.back() != '\\') spelled += '\\';
  return spelled;
}

std::string ProgramPath() {
  // The program does not move while it runs: asked once.
  static const std::string program = [] {
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(path, length);
  }();
  return program;
}

bool SetInputEcho(bool on) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode;
  // Fails for a pipe or a file: only a console echoes.
  if (input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode)) return false;
  mode = on ? (mode | ENABLE_ECHO_INPUT) : (mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  return SetConsoleMode(input, mode) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::FILE* OpenRegularFile(const std::string& path) {
  // FILE_SHARE_DELETE lets the profile tool move a new profile over one that
  // is being read. A folder does not open without FILE_FLAG_BACKUP_SEMANTICS.
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  // A pipe, a console or a device such as NUL or COM1 is no disk file.
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(handle);
    return nullptr;
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) _close(fd);  // closes the handle too
  return file;
}

std::optional<uint64_t> RegularFileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return std::nullopt;
  }
  return (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool ReplaceFileWith(const std::string& to, const std::string& from) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

namespace {

// The locked byte: past any file the sensor writes. Windows locks are
// mandatory: a lock on the contents would keep the library from reading them.
constexpr DWORD kLockOffsetHigh = 0x100;

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

std::unique_ptr<LockedFile> LockedFile::Open(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  OVERLAPPED at{};
  at.OffsetHigh = kLockOffsetHigh;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
      !LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
    CloseHandle(handle);
    return nullptr;
  }
  return std::unique_ptr<LockedFile>(new LockedFile(reinterpret_cast<intptr_t>(handle)));
}

LockedFile::~LockedFile() {
  OVERLAPPED at{};
  at.OffsetHigh = kLockOffsetHigh;
  UnlockFileEx(AsHandle(handle_), 0, 1, 0, &at);
  CloseHandle(AsHandle(handle_));
}

bool LockedFile::ReplaceContents(std::FILE* from) {
  HANDLE handle = AsHandle(handle_);
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) || !SetEndOfFile(handle)) return false;
  char block[4096];
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, from);
    DWORD written = 0;
    if (got > 0 &&
        (!WriteFile(handle, block, static_cast<DWORD>(got), &written, nullptr) || written != got)) {
      return false;
    }
    if (got < sizeof block) return std::ferror(from) == 0;
  }
}

namespace {

// One argument as the C runtime's parser of a command line reads it back:
// quoted when it holds blanks or quotes, backslashes before a quote doubled.
void AppendArgument(const std::string& argument, std::string* command_line) {
  if (!command_line->empty()) *command_line += ' ';
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
    *command_line += argument;
    return;
  }
  *command_line += '"';
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    command_line->append(backslashes, '\\');
    backslashes = 0;
    *command_line += c;
  }
  command_line->append(backslashes * 2, '\\');
  *command_line += '"';
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::vector<std::string>& arguments) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherited, 0)) return nullptr;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  HANDLE empty = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr);

  std::string command_line;
  AppendArgument(program, &command_line);
  for (const std::string& argument : arguments) AppendArgument(argument, &command_line);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = empty;
  startup.hStdOutput = write_end;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                                nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);
  if (empty != INVALID_HANDLE_VALUE) CloseHandle(empty);
  if (!started) {
    CloseHandle(read_end);
    return nullptr;
  }
  CloseHandle(process.hThread);
  return std::unique_ptr<ChildProcess>(new ChildProcess(
      reinterpret_cast<intptr_t>(process.hProcess), reinterpret_cast<intptr_t>(read_end)));
}

ChildProcess::~ChildProcess() {
  std::string ignored;
  if (!finished_) Finish(&ignored);
}

int ChildProcess::Finish(std::string* output) {
  HANDLE read_end = AsHandle(output_);
  char block[4096];
  DWORD got = 0;
  while (ReadFile(read_end, block, sizeof block, &got, nullptr) && got > 0) {
    output->append(block, got);
  }
  CloseHandle(read_end);
  finished_ = true;
  HANDLE process = AsHandle(process_);
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  bool ended = GetExitCodeProcess(process, &code) != 0;
  CloseHandle(process);
  return ended ? static_cast<int>(code) : -1;
}

void UseBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }

const char* RfcLibraryFileName() { return "librfc32.dll"; }

const char* NwRfcLibraryFileName() { return "sapnwrfc.dll"; }

void* LoadSharedLibrary(const std::string& folder, const std::string& name) {
  HMODULE library = nullptr;
  if (!folder.empty()) library = LoadLibraryA((folder + name).c_str());
  if (library == nullptr) library = LoadLibraryA(name.c_str());
  return reinterpret_cast<void*>(library);
}

void* FindSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace vaultgauge
