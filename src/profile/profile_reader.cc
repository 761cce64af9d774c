#include "profile/profile_reader.h"

#include <memory>

#include "profile/password.h"
#include "profile/profile_fields.h"
#include "util/messages.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

enum class Failure {
  kNone,
  kInvalidPassword,
  kWrongPassword,
  kUserMissing,
  kPasswordMissing,
  kInvalidParameters,
};

const ProfileField* FindField(std::string_view label) {
  for (const ProfileField& field : kProfileFields) {
    if (field.label == label) return &field;
  }
  return nullptr;
}

// Stores one labelled line's value. Returns the failure of a stored password
// that cannot be read; the password is then left as it was.
Failure StoreValue(const ProfileField& field, const std::string& value,
                   ConnectionProfile* profile) {
  if (field.member == &ConnectionProfile::user) {
    profile->user = UpperCase(value);
  } else if (field.member == &ConnectionProfile::password) {
    if (value.empty()) {
      profile->password.clear();
      return Failure::kNone;
    }
    UnscrambledPassword result = UnscramblePassword(value);
    switch (result.outcome) {
      case UnscrambledPassword::Outcome::kInvalidForm:
        return Failure::kInvalidPassword;
      case UnscrambledPassword::Outcome::kWrongCheckDigit:
        return Failure::kWrongPassword;
      case UnscrambledPassword::Outcome::kPassword:
        profile->password = result.password;
    }
  } else if (field.member == &ConnectionProfile::hostname) {
    profile->hostname = value;
    profile->display_host = value;
  } else {
    profile->*field.member = value;
  }
  return Failure::kNone;
}

// Reads every labelled line into `profile`. Returns the first failure of a
// stored password; `stop_at_failure` ends the reading there.
Failure ReadLines(TextFile& file, size_t piece_length, bool stop_at_failure,
                  ConnectionProfile* profile) {
  Failure first = Failure::kNone;
  std::string line;
  while (file.ReadPiece(piece_length, &line)) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const ProfileField* field = FindField(std::string_view(line).substr(0, kLabelLength));
    if (field == nullptr) continue;
    std::string value =
        line.size() > kValueColumn ? line.substr(kValueColumn, kMaxValueLength) : "";
    Failure failure = StoreValue(*field, value, profile);
    if (failure == Failure::kNone) continue;
    if (first == Failure::kNone) first = failure;
    if (stop_at_failure) break;
  }
  return first;
}

bool FitsField(const ProfileField& field, const ConnectionProfile& profile) {
  size_t length = (profile.*field.member).size();
  return length >= field.min_length && length <= field.max_length;
}

Failure CheckFields(const ConnectionProfile& profile) {
  if (profile.user.empty()) return Failure::kUserMissing;
  if (profile.password.empty()) return Failure::kPasswordMissing;
  for (const ProfileField& field : kProfileFields) {
    if (!FitsField(field, profile)) return Failure::kInvalidParameters;
  }
  return Failure::kNone;
}

std::string FailureMessage(Failure failure, const std::string& profile_name) {
  switch (failure) {
    case Failure::kInvalidPassword:
      return Message(MessageId::kInvalidPassword, {profile_name});
    case Failure::kWrongPassword:
      return Message(MessageId::kWrongPassword, {profile_name});
    case Failure::kUserMissing:
      return Message(MessageId::kUsernameMissing, {profile_name});
    case Failure::kPasswordMissing:
      return Message(MessageId::kPasswordMissing, {profile_name});
    case Failure::kInvalidParameters:
      return Message(MessageId::kInvalidParameters, {profile_name});
    case Failure::kNone:
      break;
  }
  return std::string();
}

std::string SystemLabel(LabelKind label_kind, const std::string& entry,
                        const ConnectionProfile& profile) {
  switch (label_kind) {
    case LabelKind::kAlias:
      return entry.size() > 4 ? entry.substr(0, entry.size() - 4) : std::string();
    case LabelKind::kHost:
      return profile.hostname;
    case LabelKind::kSid:
      return profile.destination;
    case LabelKind::kProfileName:
      break;
  }
  return entry;
}

}  // namespace

Status ReadProfile(FileSystem& files, const std::string& path, const std::string& profile_name,
                   ConnectionProfile* profile) {
  std::unique_ptr<TextFile> file = files.Open(path);
  // The location found it a moment ago; it may have gone since.
  if (file == nullptr) {
    return Status::Error(Message(MessageId::kProfileMissing, {profile_name}));
  }

  ConnectionProfile read;
  Failure failure = ReadLines(*file, kSingleFormPieceLength, /*stop_at_failure=*/true, &read);
  file.reset();
  if (failure == Failure::kNone) failure = CheckFields(read);
  *profile = read;
  if (failure != Failure::kNone) return Status::Error(FailureMessage(failure, profile_name));
  return Status::Ok();
}

std::optional<ListedProfile> ReadListedProfile(FileSystem& files, const std::string& profile_folder,
                                               const std::string& entry, LabelKind label_kind) {
  std::unique_ptr<TextFile> file = files.Open(profile_folder + entry);
  if (file == nullptr) return std::nullopt;

  // Every system starts from an empty record: a profile that lacks a line
  // must not log on with the previous system's value.
  ListedProfile listed;
  ConnectionProfile& read = listed.profile;
  Failure failure = ReadLines(*file, kGlobalListFormPieceLength, /*stop_at_failure=*/false, &read);
  file.reset();
  if (failure == Failure::kNone) failure = CheckFields(read);
  if (failure != Failure::kNone) listed.mark = SystemMark::kFailed;

  listed.label = SystemLabel(label_kind, entry, read);

  // A value too long for its field would be cut on its way to the logon.
  for (const ProfileField& field : kProfileFields) {
    if ((read.*field.member).size() > field.max_length) (read.*field.member).clear();
  }
  if (read.hostname.empty()) read.display_host.clear();
  return listed;
}

}  // namespace vaultgauge
