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
