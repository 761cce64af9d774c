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
// A field of a structure with where it starts in the record.
struct PlacedField {
  std::string_view name;
  unsigned type;
  unsigned length;
  unsigned offset;
};

// The fields of a structure, laid out once and found by name among the few
// of the same length: every field read and every landscape line looks one up.
class FieldIndex {
 public:
  explicit FieldIndex(const std::vector<FieldDefinition>& fields);

  // In the order of the definition.
  const std::vector<PlacedField>& fields() const { return fields_; }
  size_t Position(const PlacedField* field) const {
    return static_cast<size_t>(field - fields_.data());
  }
  // The field named `name` in any letter case, or null.
  const PlacedField* Find(std::string_view name) const;
  // The field named exactly `name`, or null.
  const PlacedField* FindExact(std::string_view name) const;

 private:
  static constexpr size_t kLongestName = 16;
  std::vector<PlacedField> fields_;
  // Positions in `fields_`, grouped by name length: those of length n are
  // `by_length_[first_[n]]` up to `by_length_[first_[n + 1]]`.
  std::vector<unsigned char> by_length_;
  unsigned char first_[kLongestName + 2] = {};
};

const FieldIndex& RfcsiIndex();
const FieldIndex& TableXpcIndex();
const FieldIndex& DateTimeIndex();

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_STRUCTURES_H_
