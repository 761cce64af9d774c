// The global list and the profile list on arbitrary file contents. The input's
// first line is the parameter text (argument 2); with "ITEM=" in it the file
// is read as the profile list, else as the global list. What the run takes
// from a list that is accepted fits its buffers, and the rebuilt parameter
// text is the upper-cased raw one.
#include <cstdint>
#include <string>

#include "driver/global_list.h"
#include "driver/locate_profile.h"
#include "driver/startup.h"
#include "fuzz_check.h"
#include "util/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vaultgauge;
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t line_end = input.find('\n');
  std::string parameters = input.substr(0, line_end);
  std::string file = line_end == std::string::npos ? std::string() : input.substr(line_end + 1);

  SensorState state;
  const bool profile_list = Contains(UpperCase(parameters), "ITEM=");
  if (!StartUp({profile_list ? "x" : "global", parameters}, "03:15:07", &state).ok()) return 0;
  MemoryFileSystem files;
  files.Add(kGlobalListFile, file);
  files.Add(kProfileListFile, file);
  OutputMode mode;
  // A selected mode takes the list from the working folder.
  if (!LocateProfile(files, OutputMode::kGlimora, &state, &mode).ok()) return 0;
  FUZZ_CHECK(state.ItemMode);

  GlobalList list;
  Status status = ReadGlobalList(files, &state, &list);
  if (!status.ok()) {
    FUZZ_CHECK(status.kind() == Status::Kind::kError);
    FUZZ_CHECK(StartsWith(status.message(), "Error 10"));
    return 0;
  }
  FUZZ_CHECK(!list.ServerListing.empty());
  FUZZ_CHECK(list.ServerListing.size() <= kServerListingCapacity);
  FUZZ_CHECK(!state.ItemName.empty());
  FUZZ_CHECK(state.ItemName.size() <= kItemNameCapacity);
  FUZZ_CHECK(state.ItemName.find(',') == std::string::npos);
  FUZZ_CHECK(state.RawParameterText.size() <= kParameterTextCapacity);
  FUZZ_CHECK(state.ParameterText == UpperCase(state.RawParameterText));
  FUZZ_CHECK(state.ClientOverride.size() <= 3);
  if (profile_list) {
    FUZZ_CHECK(list.LabelKind == LabelKind::kProfileName);
    FUZZ_CHECK(state.RawParameterText == parameters);
  } else {
    FUZZ_CHECK(state.RawParameterText.find(':') == std::string::npos);
  }
  return 0;
}
