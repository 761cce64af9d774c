#include "standin/answers.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "standin/words.h"

namespace vaultgauge::standin {

std::string LocalTime(const char* format) {
  std::time_t now = std::time(nullptr);
  char text[32] = {};
  if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, format, local);
  return text;
}

bool Matches(const std::string& pattern, std::string_view function) {
  return pattern == "*" || EqualsIgnoringCase(pattern, function);
}

std::string ImportedValue(const SapSystem& system, std::string_view name) {
  auto integer = [](int32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); };
  std::string date = system.date.empty() ? LocalTime("%Y%m%d") : system.date;
  std::string time = system.time.empty() ? LocalTime("%H%M%S") : system.time;
  if (name == "CURRENT_RESOURCES") return integer(5);
  if (name == "MAXIMAL_RESOURCES") return integer(10);
  if (name == "RECOMMENDED_DELAY") return integer(0);
  if (name == "DIALOG_USER_TYPE") return " ";
  if (name == "RFC_LOGIN_COMPLETE") return "X";
  if (name == "RFCSI_EXPORT") return system.rfcsi;
  if (name == "CURR_DATE") return date;
  if (name == "CURR_TIME") return time;
  if (name == "DATETIME") return date + time;
  return std::string();
}

void AppendLine(const std::string& path, const std::string& line) {
  if (path.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

}  // namespace vaultgauge::standin
