// The structures the simulated function modules exchange, and the rule by
// which the library lays out an installed structure in memory.
#ifndef VAULTGAUGE_STANDIN_STRUCTURES_H_
#define VAULTGAUGE_STANDIN_STRUCTURES_H_

#include <string>
#include <string_view>
#include <vector>

namespace vaultgauge::standin {

// Type codes of the binary interface that the stand-in knows.
enum TypeCode : unsigned {
  kChar = 0,
  kDate = 1,
  kPacked = 2,
  kTime = 3,
  kRaw = 4,
  kNumeric = 6,
  kFloat = 7,
  kInt = 8,
  kInt2 = 9,
  kInt1 = 10,
};

// One field of a structure the stand-in knows, as SAP defines it.
struct FieldDefinition {
  std::string_view name;  // of a string literal: null-terminated
  unsigned type;
  unsigned length;
};

struct FieldLayout {
  unsigned type;
  unsigned length;
  unsigned offset;
  bool operator==(const FieldLayout&) const = default;
};

// Fields follow each other in order; a 4-byte integer starts at the next
// multiple of 4, every other field at the next free byte.
std::vector<FieldLayout> LayOut(const std::vector<FieldDefinition>& fields);
// The end of the last field: the length of a row of this layout.
unsigned LayoutLength(const std::vector<FieldLayout>& layout);

const std::vector<FieldDefinition>& RfcsiFields();     // RFCSI, 18 fields, 200 bytes
const std::vector<FieldDefinition>& TableXpcFields();  // TABLE_XPC, 14 fields, 112 bytes
const std::vector<FieldDefinition>& DateTimeFields();  // DATE_TIME, 2 fields, 14 bytes
// The field of `fields` named `name` (case-insensitive), or null.
const FieldDefinition* FindField(const std::vector<FieldDefinition>& fields, std::string_view name);
// Its offset in the layout of `fields`.
unsigned FieldOffset(const std::vector<FieldDefinition>& fields, const FieldDefinition* field);

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_STRUCTURES_H_
