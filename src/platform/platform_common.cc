#include "platform/platform.h"

namespace vaultgauge {

std::string NativePath(const std::string& windows_path) {
#ifdef _WIN32
  return windows_path;
#else
  std::string path = windows_path;
  if (path.size() >= 2 && path[1] == ':') path.erase(0, 2);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
#endif
}

std::string ProgramFolder() {
  std::string path = ProgramPath();
  size_t last = path.find_last_of(kPathSeparator);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace vaultgauge
