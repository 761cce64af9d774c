#include "standin/structures.h"

#include "standin/words.h"

namespace vaultgauge::standin {

namespace {

// Where `field` starts when the fields before it end at `next`.
unsigned Place(const FieldDefinition& field, unsigned next) {
  return field.type == kInt ? (next + 3) / 4 * 4 : next;
}

}  // namespace

std::vector<FieldLayout> LayOut(const std::vector<FieldDefinition>& fields) {
  std::vector<FieldLayout> layout;
  layout.reserve(fields.size());
  unsigned next = 0;
  for (const FieldDefinition& field : fields) {
    next = Place(field, next);
    layout.push_back(FieldLayout{field.type, field.length, next});
    next += field.length;
  }
  return layout;
}

unsigned LayoutLength(const std::vector<FieldLayout>& layout) {
  return layout.empty() ? 0 : layout.back().offset + layout.back().length;
}

const std::vector<FieldDefinition>& RfcsiFields() {
  static const std::vector<FieldDefinition> fields = {
      {"RFCPROTO", kChar, 3},   {"RFCCHARTYP", kChar, 4}, {"RFCINTTYP", kChar, 3},
      {"RFCFLOTYP", kChar, 3},  {"RFCDEST", kChar, 32},   {"RFCHOST", kChar, 8},
      {"RFCSYSID", kChar, 8},   {"RFCDATABS", kChar, 8},  {"RFCDBHOST", kChar, 32},
      {"RFCDBSYS", kChar, 10},  {"RFCSAPRL", kChar, 4},   {"RFCMACH", kChar, 5},
      {"RFCOPSYS", kChar, 10},  {"RFCTZONE", kChar, 6},   {"RFCDAYST", kChar, 1},
      {"RFCIPADDR", kChar, 15}, {"RFCKERNRL", kChar, 4},  {"RFCSI_RESV", kChar, 44},
  };
  return fields;
}

const std::vector<FieldDefinition>& TableXpcFields() {
  static const std::vector<FieldDefinition> fields = {
      {"TS", kChar, 30},     {"INIT_EXT", kInt, 4}, {"NEXT_EXT", kInt, 4}, {"MIN_EXT", kInt, 4},
      {"MAX_EXT", kInt, 4},  {"PCT_INCR", kInt, 4}, {"STATUS", kChar, 9},  {"TSIZE", kPacked, 8},
      {"TFREE", kPacked, 8}, {"TPCTUSED", kInt, 4}, {"TEXTENTS", kInt, 4}, {"TSEGMENTS", kInt, 4},
      {"TSAU", kChar, 14},   {"TSAUPCT", kInt, 4},
  };
  return fields;
}

const std::vector<FieldDefinition>& DateTimeFields() {
  static const std::vector<FieldDefinition> fields = {{"MONI_DATE", kDate, 8},
                                                      {"MONI_TIME", kTime, 6}};
  return fields;
}

FieldIndex::FieldIndex(const std::vector<FieldDefinition>& fields) {
  // Built once per process, in a few passes without growing a vector.
  fields_.resize(fields.size());
  unsigned next = 0;
  size_t counts[kLongestName + 2] = {};
  for (size_t i = 0; i < fields.size(); ++i) {
    next = Place(fields[i], next);
    fields_[i] = PlacedField{fields[i].name, fields[i].type, fields[i].length, next};
    next += fields[i].length;
    // Longer names are never looked up: they are left out.
    if (fields[i].name.size() <= kLongestName) ++counts[fields[i].name.size() + 1];
  }
  for (size_t length = 1; length < kLongestName + 2; ++length) counts[length] += counts[length - 1];
  for (size_t length = 0; length < kLongestName + 2; ++length) {
    first_[length] = static_cast<unsigned char>(counts[length]);
  }
  by_length_.resize(counts[kLongestName + 1]);
  for (size_t i = 0; i < fields_.size(); ++i) {
    size_t length = fields_[i].name.size();
    if (length <= kLongestName) by_length_[counts[length]++] = static_cast<unsigned char>(i);
  }
}

namespace {

// Whether `name` is `defined` in any letter case: the defined names are upper
// case already, so only the name asked for is folded.
bool SameNameIgnoringCase(std::string_view defined, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    if (defined[i] != Upper(name[i])) return false;
  }
  return true;
}

bool SameName(std::string_view defined, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    if (defined[i] != name[i]) return false;
  }
  return true;
}

}  // namespace

const PlacedField* FieldIndex::Find(std::string_view name) const {
  if (name.size() > kLongestName) return nullptr;
  for (size_t i = first_[name.size()]; i < first_[name.size() + 1]; ++i) {
    const PlacedField& field = fields_[by_length_[i]];
    if (SameNameIgnoringCase(field.name, name)) return &field;
  }
  return nullptr;
}

const PlacedField* FieldIndex::FindExact(std::string_view name) const {
  if (name.size() > kLongestName) return nullptr;
  for (size_t i = first_[name.size()]; i < first_[name.size() + 1]; ++i) {
    const PlacedField& field = fields_[by_length_[i]];
    if (SameName(field.name, name)) return &field;
  }
  return nullptr;
}

const FieldIndex& RfcsiIndex() {
  static const FieldIndex index(RfcsiFields());
  return index;
}

const FieldIndex& TableXpcIndex() {
  static const FieldIndex index(TableXpcFields());
  return index;
}

const FieldIndex& DateTimeIndex() {
  static const FieldIndex index(DateTimeFields());
  return index;
}

}  // namespace vaultgauge::standin
