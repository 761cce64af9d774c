// The profile reader on a whole profile file, in both forms: the single form
// either fills every field within its bounds or names the first failure; the
// global-list form always reads the file, never keeps a value too long for its
// field, and names the system by its label kind.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "profile/profile_fields.h"
#include "profile/profile_reader.h"
#include "util/file_system.h"
#include "util/text.h"

namespace {

using namespace vaultgauge;

constexpr char kName[] = "PRD.P00";

void CheckSingleForm(MemoryFileSystem& files) {
  ConnectionProfile profile;
  Status status = ReadProfile(files, kName, kName, &profile);
  if (!status.ok()) {
    FUZZ_CHECK(status.kind() == Status::Kind::kError);
    FUZZ_CHECK(StartsWith(status.message(), "Error 100"));
    FUZZ_CHECK(Contains(status.message(), std::string(" ") + kName + " "));
    return;
  }
  for (const ProfileField& field : kProfileFields) {
    size_t length = (profile.*field.member).size();
    FUZZ_CHECK(length >= field.min_length && length <= field.max_length);
  }
  FUZZ_CHECK(profile.password.size() <= 20);
  FUZZ_CHECK(profile.user == UpperCase(profile.user));
  FUZZ_CHECK(profile.display_host == profile.hostname);
}

void CheckGlobalListForm(MemoryFileSystem& files, LabelKind kind) {
  std::optional<ListedProfile> listed = ReadListedProfile(files, "", kName, kind);
  FUZZ_CHECK(listed.has_value());
  const ConnectionProfile& profile = listed->profile;
  const SystemMark mark = listed->mark;
  const std::string& label = listed->label;
  for (const ProfileField& field : kProfileFields) {
    size_t length = (profile.*field.member).size();
    FUZZ_CHECK(length <= field.max_length);
    if (mark == SystemMark::kGood) FUZZ_CHECK(length >= field.min_length);
  }
  FUZZ_CHECK(profile.password.size() <= 20);
  switch (kind) {
    case LabelKind::kProfileName:
      FUZZ_CHECK(label == kName);
      break;
    case LabelKind::kAlias:
      FUZZ_CHECK(label == "PRD");
      break;
    default:
      // A value read from the file: at most the 60 characters of a value.
      FUZZ_CHECK(label.size() <= kMaxValueLength);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFileSystem files;
  files.Add(kName, std::string(reinterpret_cast<const char*>(data), size));
  CheckSingleForm(files);
  for (LabelKind kind :
       {LabelKind::kProfileName, LabelKind::kAlias, LabelKind::kHost, LabelKind::kSid}) {
    CheckGlobalListForm(files, kind);
  }
  // A file that is not there gives no system.
  FUZZ_CHECK(!ReadListedProfile(files, "", "GONE.P00", LabelKind::kSid));
  return 0;
}
