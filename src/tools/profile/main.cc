// vaultgauge-profile: writes and checks the sensor's connection profiles.
#include <chrono>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tools/profile/profile_tool.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  // The stored form needs variety, not secrecy: its key is fixed anyway.
  uint32_t seed =
      std::random_device()() ^
      static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  // Probing echo once tells whether standard input is a terminal.
  bool interactive = vaultgauge::SetInputEcho(true);
  return vaultgauge::RunProfileTool(arguments, {std::cin, std::cout, std::cerr, interactive}, seed);
}
