// What the fuzz targets share: a check of a property that must hold for every
// input. A broken property ends the run as a crash, so that libFuzzer keeps
// the input that broke it.
#ifndef VAULTGAUGE_FUZZ_FUZZ_CHECK_H_
#define VAULTGAUGE_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

#endif  // VAULTGAUGE_FUZZ_FUZZ_CHECK_H_
