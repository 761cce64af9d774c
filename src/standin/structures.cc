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

const FieldDefinition* FindField(const std::vector<FieldDefinition>& fields,
                                 std::string_view name) {
  for (const FieldDefinition& field : fields) {
    if (EqualsIgnoringCase(field.name, name)) return &field;
  }
  return nullptr;
}

unsigned FieldOffset(const std::vector<FieldDefinition>& fields, const FieldDefinition* field) {
  unsigned next = 0;
  for (const FieldDefinition& candidate : fields) {
    next = Place(candidate, next);
    if (&candidate == field) break;
    next += candidate.length;
  }
  return next;
}

}  // namespace vaultgauge::standin
