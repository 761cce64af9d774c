#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

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

std::string ProgramPath() {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(path, length);
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
