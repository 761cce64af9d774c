#include "util/messages.h"

#include <cstdlib>

namespace vaultgauge {

namespace {

// The texts are the documented ones, byte for byte, quirks included: hosts
// and administrators match on them. "Idenification" and the number "10x1"
// are kept as they have always been printed.
constexpr MessageEntry kMessages[] = {
    {MessageId::kProfileNameMissing, "Error 1001: Parameter for Profile-Name is missing !"},
    {MessageId::kProfileMissing, "Error 1002: Profile {} is missing..."},
    {MessageId::kInvalidParameters, "Error 1003: Invalid Parameter(s) at {} found..."},
    {MessageId::kInvalidPassword, "Error 1004: Invalid Password in Profile {} found..."},
    {MessageId::kWrongPassword, "Error 1005: Wrong Password in Profile {} found..."},
    {MessageId::kUsernameMissing, "Error 1006: Username in Profile {} is missing..."},
    {MessageId::kPasswordMissing, "Error 1007: Password in Profile {} is missing..."},
    {MessageId::kOpenFailed, "Error 1011: RFC-Open for {} failed !"},
    {MessageId::kException, "Error 1012: Exception.: {}"},
    {MessageId::kSysException, "Error 1013: Sys-Exception raised !"},
    {MessageId::kRfcFailure, "Error 1014: RFC-Failure raised !"},
    {MessageId::kOtherFailure, "Error 1015: Other Failure raised !"},
    {MessageId::kInvalidSize, "Error 1016: Invalid size in row {} of table TS ({}) !"},
    {MessageId::kSizesBeyondRange, "Error 1017: Sizes of table TS beyond range !"},
    {MessageId::kDatabaseMismatch, "Error 1018: DataBase mismatch !"},
    {MessageId::kProfileListMissing, "Error 1024: ProFile {} is missing..."},
    {MessageId::kServerListingMissing, "Error 1025: Global Server Listing missing..."},
    {MessageId::kItemMissing, "Error 1026: Global Item Idenification missing..."},
    {MessageId::kInvalidSensorAllocation, "Error 1029: Invalid Sensor-Allocation..."},
    {MessageId::kGlobalSensorNotFound, "Error 1030: Global Sensor {} not found..."},
    {MessageId::kGlobalListMissing, "Error 10x1: ProFile {} is missing..."},
    {MessageId::kProfileNameArgumentTooLong,
     "Error 1051: Parameter for Profile-Name is too long (more than 63 characters) !"},
    {MessageId::kParametersTooLong,
     "Error 1052: Parameters are too long (more than 127 characters) !"},
    {MessageId::kInvalidOutputMode, "Error 1053: Invalid OutputMode \"{}\" in {} !"},
    {MessageId::kProfileNameTooLong,
     "Error 1055: Profile-Name {} is too long (more than {} characters) !"},
    {MessageId::kPathFileFolderTooLong,
     "Error 1056: Folder in {} is too long (more than {} characters) !"},
    {MessageId::kProfilePathTooLong,
     "Error 1057: Profile-Path {} is too long (more than {} characters) !"},
    {MessageId::kLibraryNotLoaded, "Error 1061: RFC-Library {} cannot be loaded !"},
    {MessageId::kLibraryIs32Bit,
     "Error 1061: RFC-Library {} is a 32-bit library: use vaultgauge32.exe !"},
    {MessageId::kLibraryIs64Bit,
     "Error 1061: RFC-Library {} is a 64-bit library: use vaultgauge.exe !"},
    {MessageId::kLibraryEntryMissing, "Error 1062: RFC-Library {} lacks entry point {} !"},
    {MessageId::kListLineTooLong,
     "Error 1071: Line {} of {} is too long (more than 199 characters) !"},
    {MessageId::kServerListingTooLong,
     "Error 1072: Server listing of {} is too long (more than 2047 characters) !"},
    {MessageId::kSensorLineTooLong,
     "Error 1073: Sensor line of {} is too long (more than 127 characters) !"},
    // 1080 is taken by the run's time limit.
    {MessageId::kInvalidKeyword, "Error 1081: Invalid keyword {} !"},
    {MessageId::kInternalFailure, "Error 1090: Internal failure ({}) !"},
    {MessageId::kInvalidPathUsage, "Sorry, invalid Path-Usage..."},
};

}  // namespace

std::span<const MessageEntry> AllMessages() { return kMessages; }

std::string Message(MessageId id, std::initializer_list<std::string_view> values) {
  std::string_view text;
  for (const MessageEntry& entry : kMessages) {
    if (entry.id == id) text = entry.text;
  }
  if (text.empty()) std::abort();  // every id has its entry: a test checks it
  std::string message;
  const std::string_view* value = values.begin();
  for (;;) {
    size_t slot = text.find("{}");
    if (slot == std::string_view::npos || value == values.end()) break;
    message.append(text.substr(0, slot)).append(*value++);
    text.remove_prefix(slot + 2);
  }
  message.append(text);
  return message;
}

}  // namespace vaultgauge
