// Test equipment of sanitizer builds: a program that commits the fault named
// by its argument, so that the tests can show that the end-to-end runner
// catches what AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer
// report from inside the programs it runs.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Volatile, so that the compiler cannot see through the faults.
void* volatile g_kept;
volatile int g_index = 8;
volatile int g_large = INT_MAX;

}  // namespace

int main(int argc, char** argv) {
  const char* fault = argc > 1 ? argv[1] : "";
  if (std::strcmp(fault, "leak") == 0) {
    g_kept = std::malloc(32);
    g_kept = nullptr;
  } else if (std::strcmp(fault, "overflow") == 0) {
    char* block = static_cast<char*>(std::malloc(8));
    block[g_index] = 1;
    std::free(block);
  } else if (std::strcmp(fault, "undefined") == 0) {
    g_index = g_large + g_index;
  }
  std::puts("done");
  return 0;
}
