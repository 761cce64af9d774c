// Every numbered message the sensor reports, in one table: the sensor builds
// its texts from it, the profile tool reports with it, and the release test
// checks that the installation guide explains each one.
#ifndef VAULTGAUGE_UTIL_MESSAGES_H_
#define VAULTGAUGE_UTIL_MESSAGES_H_

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vaultgauge {

enum class MessageId {
  kProfileNameMissing,
  kProfileMissing,
  kInvalidParameters,
  kInvalidPassword,
  kWrongPassword,
  kUsernameMissing,
  kPasswordMissing,
  kOpenFailed,
  kException,
  kSysException,
  kRfcFailure,
  kOtherFailure,
  kInvalidSize,
  kSizesBeyondRange,
  kDatabaseMismatch,
  kProfileListMissing,
  kGlobalListMissing,
  kServerListingMissing,
  kItemMissing,
  kInvalidSensorAllocation,
  kGlobalSensorNotFound,
  kProfileNameArgumentTooLong,
  kParametersTooLong,
  kInvalidOutputMode,
  kProfileNameTooLong,
  kPathFileFolderTooLong,
  kProfilePathTooLong,
  kLibraryNotLoaded,
  kLibraryIs32Bit,
  kLibraryIs64Bit,
  kLibraryEntryMissing,
  kListLineTooLong,
  kServerListingTooLong,
  kSensorLineTooLong,
  kInvalidKeyword,
  kInternalFailure,
  kInvalidPathUsage,
};

struct MessageEntry {
  MessageId id;
  // The whole text; each "{}" is filled with one value, in order.
  std::string_view text;
};

// The table, in the order of the numbers.
std::span<const MessageEntry> AllMessages();

// The message `id` with its "{}" filled from `values` in order; a value is
// inserted as it is, never searched for further "{}".
std::string Message(MessageId id, std::initializer_list<std::string_view> values = {});

}  // namespace vaultgauge

#endif  // VAULTGAUGE_UTIL_MESSAGES_H_
