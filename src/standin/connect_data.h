// What the library is told about a connection besides the options record: the
// connect string of RfcOpenEx and the destination entries of "SapRfc.ini".
#ifndef VAULTGAUGE_STANDIN_CONNECT_DATA_H_
#define VAULTGAUGE_STANDIN_CONNECT_DATA_H_

#include <map>
#include <string>
#include <string_view>

namespace vaultgauge::standin {

inline constexpr char kDestinationFileName[] = "SapRfc.ini";

// Blank-separated ID=value pairs; IDs upper-cased, values as written (double
// quotes group blanks). False when the text is no such list.
bool ParseConnectString(std::string_view text, std::map<std::string, std::string>* values);

// The entry of `destination` in the text of "SapRfc.ini": the lines from its
// "DEST=" line to the next one, as KEY=value (keys upper-cased). Lines
// starting with '#', '*' or ';' are comments. False when there is no entry.
bool FindDestinationEntry(std::string_view ini_text, std::string_view destination,
                          std::map<std::string, std::string>* entry);

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_CONNECT_DATA_H_
