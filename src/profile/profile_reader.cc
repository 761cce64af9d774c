#include "profile/profile_reader.h"

#include <memory>

#include "profile/password.h"
#include "profile/profile_fields.h"
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
  if (field.member == &ConnectionProfile::User) {
    profile->User = UpperCase(value);
  } else if (field.member == &ConnectionProfile::Password) {
    if (value.empty()) {
      profile->Password.clear();
      return Failure::kNone;
    }
    UnscrambledPassword result = UnscramblePassword(value);
    switch (result.outcome) {
      case UnscrambledPassword::Outcome::kInvalidForm:
        return Failure::kInvalidPassword;
      case UnscrambledPassword::Outcome::kWrongCheckDigit:
        return Failure::kWrongPassword;
      case UnscrambledPassword::Outcome::kPassword:
        profile->Password = result.password;
    }
  } else if (field.member == &ConnectionProfile::Hostname) {
    profile->Hostname = value;
    profile->DisplayHost = value;
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
  if (profile.User.empty()) return Failure::kUserMissing;
  if (profile.Password.empty()) return Failure::kPasswordMissing;
  for (const ProfileField& field : kProfileFields) {
    if (!FitsField(field, profile)) return Failure::kInvalidParameters;
  }
  return Failure::kNone;
}

std::string FailureMessage(Failure failure, const std::string& profile_name) {
  switch (failure) {
    case Failure::kInvalidPassword:
      return "Error 1004: Invalid Password in Profile " + profile_name + " found...";
    case Failure::kWrongPassword:
      return "Error 1005: Wrong Password in Profile " + profile_name + " found...";
    case Failure::kUserMissing:
      return "Error 1006: Username in Profile " + profile_name + " is missing...";
    case Failure::kPasswordMissing:
      return "Error 1007: Password in Profile " + profile_name + " is missing...";
    case Failure::kInvalidParameters:
      return "Error 1003: Invalid Parameter(s) at " + profile_name + " found...";
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
      return profile.Hostname;
    case LabelKind::kSid:
      return profile.Destination;
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
    return Status::Error("Error 1002: Profile " + profile_name + " is missing...");
  }

  ConnectionProfile read;
  Failure failure = ReadLines(*file, kSingleFormPieceLength, /*stop_at_failure=*/true, &read);
  file.reset();
  if (failure == Failure::kNone) failure = CheckFields(read);
  *profile = read;
  if (failure != Failure::kNone) return Status::Error(FailureMessage(failure, profile_name));
  return Status::Ok();
}

bool ReadProfile(FileSystem& files, const std::string& profile_folder, const std::string& entry,
                 LabelKind label_kind, ConnectionProfile* profile, SystemMark* system_mark,
                 std::string* system_label) {
  *system_label = entry;
  std::unique_ptr<TextFile> file = files.Open(profile_folder + entry);
  if (file == nullptr) return false;
  *system_mark = SystemMark::kGood;

  // A profile that lacks a line must not log on with the previous system's value.
  ConnectionProfile read;
  Failure failure = ReadLines(*file, kGlobalListFormPieceLength, /*stop_at_failure=*/false, &read);
  file.reset();
  if (failure == Failure::kNone) failure = CheckFields(read);
  if (failure != Failure::kNone) *system_mark = SystemMark::kFailed;

  *system_label = SystemLabel(label_kind, entry, read);

  // A value too long for its field would be cut on its way to the logon.
  for (const ProfileField& field : kProfileFields) {
    if ((read.*field.member).size() > field.max_length) (read.*field.member).clear();
  }
  if (read.Hostname.empty()) read.DisplayHost.clear();
  *profile = read;
  return true;
}

}  // namespace vaultgauge
