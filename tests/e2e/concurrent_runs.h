// Many sensor runs started at once in one folder, as PRTG starts a probe's
// sensors: each must print byte for byte what it prints alone.
#ifndef VAULTGAUGE_TESTS_E2E_CONCURRENT_RUNS_H_
#define VAULTGAUGE_TESTS_E2E_CONCURRENT_RUNS_H_

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

struct ConcurrentRunsSetup {
  std::filesystem::path bin;          // the programs and the stand-in library
  std::string program;                // the sensor's file name in `bin`
  std::string library;                // the stand-in's file name in `bin`
  std::vector<std::string> launcher;  // put before the program: the Wine loader, or nothing
  int rounds = 3;
};

// Registers the test with GoogleTest.
void RegisterConcurrentRuns(const ConcurrentRunsSetup& setup);

}  // namespace e2e

#endif  // VAULTGAUGE_TESTS_E2E_CONCURRENT_RUNS_H_
