// The stand-in library's readers on arbitrary text: the landscape file either
// yields systems whose answers have the sizes the sensor's structures expect,
// or names the line of its mistake; the same text read as "SapRfc.ini" and
// as a connect string never yields keys in lower case.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "standin/connect_data.h"
#include "standin/landscape.h"
#include "standin/words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vaultgauge::standin;
  std::string text(reinterpret_cast<const char*>(data), size);

  Landscape landscape;
  std::string error;
  if (!ParseLandscape(text, &landscape, &error)) {
    FUZZ_CHECK(error.rfind("SapLandscape.txt line ", 0) == 0);
  } else {
    FUZZ_CHECK(landscape.journal().size() <= 32);
    FUZZ_CHECK(landscape.journal().find_first_of("/\\:") == std::string::npos);
    std::vector<SapSystem> systems;
    for (size_t i = 0; i < landscape.size(); ++i) {
      // Each system is read again in full from its section: it must be whole.
      systems.push_back(landscape.System(i));
      const SapSystem& system = systems.back();
      FUZZ_CHECK(!system.name.empty() && system.name.size() <= 32);
      for (size_t j = 0; j < i; ++j) FUZZ_CHECK(!EqualsIgnoringCase(systems[j].name, system.name));
      FUZZ_CHECK(system.rfcsi.size() == 200);
      FUZZ_CHECK(system.sysnr >= 0 && system.sysnr <= 99);
      FUZZ_CHECK(system.delay_ms <= 600000);
      FUZZ_CHECK(system.date.empty() || system.date.size() == 8);
      FUZZ_CHECK(system.time.empty() || system.time.size() == 6);
      for (const std::string& row : system.tablespaces) FUZZ_CHECK(row.size() == 112);
      for (const CallFault& fault : system.faults.call) FUZZ_CHECK(fault.code != 0);
      for (const CallFault& fault : system.faults.receive) FUZZ_CHECK(fault.code != 0);
    }
  }

  std::map<std::string, std::string> values;
  if (FindDestinationEntry(text, "PRD", &values)) {
    FUZZ_CHECK(EqualsIgnoringCase(values["DEST"], "PRD"));
  }
  for (const auto& [key, value] : values) FUZZ_CHECK(key == UpperCase(key));
  if (ParseConnectString(text, &values)) {
    for (const auto& [key, value] : values) FUZZ_CHECK(!key.empty() && key == UpperCase(key));
  }
  return 0;
}
