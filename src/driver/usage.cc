#include "driver/usage.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "driver/global_list.h"
#include "driver/locate_profile.h"
#include "driver/settings.h"
#include "driver/startup.h"
#include "platform/platform.h"
#include "rfc/trace_file.h"

namespace vaultgauge {

namespace {

struct UsageEntry {
  std::string_view term;
  std::string_view meaning;
};

// The keywords of arguments 2 and 3, one entry each.
// The newer keywords, from PERCENT on, count as whole words only.
constexpr UsageEntry kKeywords[] = {
    {"GIGABYTE", "channels in GByte instead of MByte"},
    {"CH=n", "mode Ormilux: only the bare value of the n-th channel"},
    {"ITEM=name", "one tablespace on every system of the profile list"},
    {"CLIENT=nnn", "log on to this client instead of the profile's"},
    {",HOST=host", "log on at this application server instead"},
    {",NO=nn", "log on with this system number instead"},
    {",SYSLOG", "trace lines of the RFC steps on standard error"},
    {"# @ $ %", "progress lines for a console, never in PRTG"},
    {"@", "also: the profile from the folder of argument 1"},
    {"PERCENT", "each tablespace's used share in per cent, with limits"},
    {"LIMITS=W/E", "with PERCENT: warning and error limit (default 85/95)"},
    {"SKIP=A:B", "with PERCENT: no channel for these tablespaces"},
    {"TIMEOUT=s", "error document after s seconds (1 to 900) without an end"},
    {"PARALLEL=n", "global list: n systems at once (2 to 32)"},
    // Further keywords: one entry each, above this line.
};

constexpr UsageEntry kOutputModes[] = {
    {"EXEXML", "PRTG's XML, the default; the profile in PRTG's folders"},
    {"Glimora", "the same XML; the profile from the folder of argument 1"},
    {"Tessvar", "the same XML; the profile from the folder of argument 1"},
    {"Halvenor", "Message./Statistic. lines, at most ten channels"},
    {"Ormilux", "\"> name: value MByte\" lines; with CH=n one bare value"},
};

constexpr UsageEntry kExitCodes[] = {
    {"0", "the document was written"},
    {"1", "the RFC library's error report was written"},
    {"2", "an error document was written"},
};

// Terms in a column of this width, the meanings after it.
constexpr size_t kTermColumn = 20;

std::string Entries(std::span<const UsageEntry> entries) {
  std::string text;
  for (const UsageEntry& entry : entries) {
    std::string line = "  " + std::string(entry.term);
    line.resize(std::max(line.size() + 1, kTermColumn), ' ');
    text += line + std::string(entry.meaning) + "\n";
  }
  return text;
}

}  // namespace

std::string VersionText() {
  return std::string(kProgramWord) + " " + kVersionNumber + " (" + kVersionText + ")\n";
}

std::string UsageText() {
  const UsageEntry arguments[] = {
      {"PROFILE", "the profile: PRD reads PRD.P00; global the global list"},
      {"OPTIONS", "arguments 2 and 3, joined by a blank: keywords anywhere,"},
      {"", "in any case of letters"},
  };
  const std::string path_file = NativePath(kPathListFile);
  const UsageEntry files[] = {
      {"PRD.P00", "a connection profile, written by vaultgauge-profile"},
      {kGlobalListFile, "the global list (argument 1 global)"},
      {kProfileListFile, "the profile list (ITEM=)"},
      {path_file, "names PRTG's folder (mode EXEXML)"},
      {kSettingsFileName, "the output mode, beside the program"},
      {RfcLibraryFileName(), "SAP's RFC library, beside the program or on the path"},
      {kTraceFileName, "the library's trace file, in the working folder"},
  };
  return std::string(
             "Usage: vaultgauge PROFILE [OPTIONS [OPTIONS]]\n"
             "       vaultgauge --help | -h | /? | --version\n"
             "\n"
             "Measures the Oracle tablespaces of an SAP system through SAP's classic RFC\n"
             "library and prints one document: PRTG's XML result or a host's text lines.\n"
             "\nArguments:\n") +
         Entries(arguments) + "\nKeywords (anywhere in OPTIONS):\n" + Entries(kKeywords) +
         "\nOutput modes (OutputMode= in " + kSettingsFileName + " beside the program):\n" +
         Entries(kOutputModes) + "\nFiles:\n" + Entries(files) + "\nExit codes:\n" +
         Entries(kExitCodes) + "\nThe full guide is INSTALL.txt in the release package.\n";
}

std::optional<std::string> InformationRequested(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return std::nullopt;
  const std::string& word = arguments[0];
  if (word == "--help" || word == "-h" || word == "/?") return UsageText();
  if (word == "--version") return VersionText();
  return std::nullopt;
}

}  // namespace vaultgauge
