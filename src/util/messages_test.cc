#include "util/messages.h"

#include <gtest/gtest.h>

#include <set>

namespace vaultgauge {
namespace {

TEST(MessagesTest, EveryIdHasOneEntryAndEveryTextIsNumbered) {
  std::set<MessageId> ids;
  std::set<std::string_view> texts;
  std::string_view previous_number;
  for (const MessageEntry& entry : AllMessages()) {
    EXPECT_TRUE(ids.insert(entry.id).second) << entry.text;
    EXPECT_TRUE(texts.insert(entry.text).second) << entry.text;
    if (entry.text.substr(0, 6) == "Error ") {
      // Variants of one failure share its number and stand together.
      std::string_view number = entry.text.substr(6, 4);
      EXPECT_TRUE(number >= previous_number || number == "10x1") << entry.text;
      if (number != "10x1") previous_number = number;
      EXPECT_EQ(entry.text.substr(10, 2), ": ") << entry.text;
    }
  }
  EXPECT_EQ(ids.size(), static_cast<size_t>(MessageId::kInvalidPathUsage) + 1);
}

TEST(MessagesTest, FillsTheSlotsInOrderAndNeverValuesSlots) {
  EXPECT_EQ(Message(MessageId::kProfileMissing, {"PRD.P00"}),
            "Error 1002: Profile PRD.P00 is missing...");
  EXPECT_EQ(Message(MessageId::kLibraryEntryMissing, {"librfc32.dll", "RfcOpenEx"}),
            "Error 1062: RFC-Library librfc32.dll lacks entry point RfcOpenEx !");
  // A value holding "{}" is inserted as it stands.
  EXPECT_EQ(Message(MessageId::kLibraryEntryMissing, {"{}", "x"}),
            "Error 1062: RFC-Library {} lacks entry point x !");
  // Missing values leave their slots; a message without slots ignores values.
  EXPECT_EQ(Message(MessageId::kProfileMissing), "Error 1002: Profile {} is missing...");
  EXPECT_EQ(Message(MessageId::kDatabaseMismatch, {"x"}), "Error 1018: DataBase mismatch !");
}

}  // namespace
}  // namespace vaultgauge
