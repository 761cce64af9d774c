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

  CommandLine command_line;
  const bool profile_list = Contains(UpperCase(parameters), "ITEM=");
  if (!ReadCommandLine({profile_list ? "x" : "global", parameters}, "03:15:07", &command_line)
           .ok()) {
    return 0;
  }
  MemoryFileSystem files;
  files.Add(kGlobalListFile, file);
  files.Add(kProfileListFile, file);
  // A selected mode takes the list from the working folder.
  ProfileLocation location;
  if (!LocateProfile(files, command_line.profile_name, OutputMode::kGlimora,
                     command_line.parameters.console, std::string(), &location)
           .ok()) {
    return 0;
  }
  FUZZ_CHECK(location.global_list || command_line.parameters.item_given);

  SystemList list;
  Status status = ReadGlobalList(files, location, command_line, &list);
  if (!status.ok()) {
    FUZZ_CHECK(status.kind() == Status::Kind::kError);
    FUZZ_CHECK(StartsWith(status.message(), "Error 10"));
    return 0;
  }
  const Parameters& read = list.parameters;
  FUZZ_CHECK(!list.server_listing.empty());
  FUZZ_CHECK(list.server_listing.size() <= kServerListingCapacity);
  FUZZ_CHECK(!list.item_name.empty());
  FUZZ_CHECK(list.item_name.size() <= kItemNameCapacity);
  FUZZ_CHECK(list.item_name.find(',') == std::string::npos);
  FUZZ_CHECK(read.raw_text.size() <= kParameterTextCapacity);
  FUZZ_CHECK(read.text == UpperCase(read.raw_text));
  FUZZ_CHECK(read.logon.client.size() <= 3);
  if (profile_list) {
    FUZZ_CHECK(list.label_kind == LabelKind::kProfileName);
    FUZZ_CHECK(read.raw_text == parameters);
  } else {
    FUZZ_CHECK(read.raw_text.find(':') == std::string::npos);
  }
  return 0;
}
