// What the simulated SAP systems answer, whichever library interface asks:
// the importing values of the function modules, the fault patterns, the
// journal of openings and closings.
#ifndef VAULTGAUGE_STANDIN_ANSWERS_H_
#define VAULTGAUGE_STANDIN_ANSWERS_H_

#include <string>
#include <string_view>

#include "standin/landscape.h"

namespace vaultgauge::standin {

// The local time in the strftime `format`.
std::string LocalTime(const char* format);

// Whether a fault's function (or structure) pattern, "*" for all, names `function`.
bool Matches(const std::string& pattern, std::string_view function);

// The bytes of one importing value of the simulated function modules, by
// its name; empty for a name they do not have.
std::string ImportedValue(const SapSystem& system, std::string_view name);

// Appends `line` and a line feed to the file `path`; nothing when `path` is empty.
void AppendLine(const std::string& path, const std::string& line);

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_ANSWERS_H_
