// The five forms in which the sensor writes its document.
#ifndef VAULTGAUGE_OUTPUT_OUTPUT_MODE_H_
#define VAULTGAUGE_OUTPUT_OUTPUT_MODE_H_

#include <optional>
#include <string_view>

namespace vaultgauge {

enum class OutputMode {
  kExeXml,    // PRTG's XML sensor result, the default
  kGlimora,   // the same XML document
  kHalvenor,  // Message./Statistic. lines, at most ten channels
  kOrmilux,   // "> name: value unit" lines, or one bare value with CH=
  kTessvar,   // the same XML document
};

// The mode's keyword: "EXEXML", "Glimora", "Halvenor", "Ormilux", "Tessvar".
std::string_view OutputModeKeyword(OutputMode mode);

// The mode named by a keyword, compared as a whole and case-sensitively.
std::optional<OutputMode> ParseOutputMode(std::string_view keyword);

inline bool IsXmlMode(OutputMode mode) {
  return mode == OutputMode::kExeXml || mode == OutputMode::kGlimora ||
         mode == OutputMode::kTessvar;
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_OUTPUT_OUTPUT_MODE_H_
