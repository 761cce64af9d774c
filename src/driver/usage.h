// What the sensor prints when it is asked about itself instead of being run:
// "--help", "-h" or "/?" give a short usage, "--version" the version.
#ifndef VAULTGAUGE_DRIVER_USAGE_H_
#define VAULTGAUGE_DRIVER_USAGE_H_

#include <optional>
#include <string>
#include <vector>

namespace vaultgauge {

// "Vaultgauge 4.3 (Vers 4.3 / 29.08.22)" and a line end.
std::string VersionText();

// The short usage: arguments, keywords, output modes, files, exit codes, and
// where the full guide is.
std::string UsageText();

// The usage or the version when one of the asking words is the only argument;
// nothing otherwise, and the arguments are a run's (a profile may be named
// "-h").
std::optional<std::string> InformationRequested(const std::vector<std::string>& arguments);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_USAGE_H_
