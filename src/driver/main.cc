// Vaultgauge: measures the Oracle tablespaces of an SAP system for PRTG
// Network Monitor and plain-text monitoring hosts.
#include <cstdio>
#include <string>
#include <vector>

#include "driver/sensor.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return vaultgauge::RunSensor(arguments, stdout);
}
