#include "rfc/open_connection.h"

#include <cstdio>

#include "util/file_system.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr size_t kUserWidth = 12;
constexpr size_t kPasswordWidth = 10;
constexpr size_t kConnectStringLimit = 1023;
// The profile's capacities for the values the overrides replace.
constexpr size_t kHostLimit = 47;
constexpr size_t kSysnrLimit = 31;

std::string PadWithBlanks(const std::string& text, size_t width) {
  std::string padded = text;
  if (padded.size() < width) padded.resize(width, ' ');
  return padded;
}

const char* NullWhenEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// The value after `keyword`, up to the next comma or blank, at most `limit`
// characters; as entered where the raw text still has them (a progress line
// may have cut it short), else from the upper-cased text.
std::string KeywordValue(const std::string& parameter_text, const std::string& raw_parameter_text,
                         std::string_view keyword, size_t limit) {
  size_t at = parameter_text.find(keyword);
  if (at == std::string::npos) return std::string();
  std::string value;
  for (size_t i = at + keyword.size(); i < parameter_text.size() && value.size() < limit; ++i) {
    char c = i < raw_parameter_text.size() ? raw_parameter_text[i] : parameter_text[i];
    if (c == ',' || c == ' ') break;
    value.push_back(c);
  }
  return value;
}

void FillRecords(const ConnectionProfile& profile, const LogonOverrides& overrides,
                 ConnectionRecords* records) {
  // The texts first: the records then point into strings that no longer change.
  records->destination = profile.Destination;
  records->client = overrides.Client.empty() ? profile.Client : overrides.Client;
  records->user = PadWithBlanks(profile.User, kUserWidth);
  records->password = PadWithBlanks(profile.Password, kPasswordWidth);
  records->language = profile.Language;
  records->hostname = overrides.Host.empty() ? profile.Hostname : overrides.Host;
  records->gwhost = profile.Gwhost;
  records->gwservice = profile.Gwservice;

  records->gateway_options = RfcGatewayOptions{};
  records->host_options = RfcHostOptions{};
  RfcOptions& options = records->options;
  options = RfcOptions{};
  options.destination = records->destination.c_str();
  if (profile.Mode == "R/2") {
    options.mode = RFC_MODE_CPIC;
    records->gateway_options.gateway_host = NullWhenEmpty(records->gwhost);
    records->gateway_options.gateway_service = NullWhenEmpty(records->gwservice);
    options.connopt = &records->gateway_options;
  } else {
    options.mode = RFC_MODE_R3ONLY;
    RfcHostOptions& host = records->host_options;
    host.hostname = NullWhenEmpty(records->hostname);
    host.sysnr = ParseInt(overrides.Sysnr.empty() ? profile.Sysnr : overrides.Sysnr);
    host.gateway_host = NullWhenEmpty(records->gwhost);
    host.gateway_service = NullWhenEmpty(records->gwservice);
    options.connopt = &records->host_options;
  }
  options.client = records->client.c_str();
  options.user = records->user.c_str();
  options.password = records->password.c_str();
  options.language = records->language.c_str();
  options.trace = 0;

  // The connect string carries the values as they stand, unpadded.
  std::string& connect = records->connect_string;
  connect = "CLIENT=" + records->client + " USER=" + profile.User + " PASSWD=" + profile.Password +
            " LANG=D DEST=" + profile.Destination;
  if (connect.size() > kConnectStringLimit) connect.resize(kConnectStringLimit);
  records->open_error = RfcErrorInfoEx{};
}

// Copies the open `from` to `to`, byte for byte, a block at a time. False
// when it cannot be created, read or written completely.
bool CopyTo(std::FILE* from, const char* to) {
  std::FILE* copy = std::fopen(to, "wb");
  if (copy == nullptr) return false;
  char block[4096];
  bool ok = true;
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, from);
    if (got > 0 && std::fwrite(block, 1, got, copy) != got) ok = false;
    if (!ok || got < sizeof block) break;
  }
  if (std::ferror(from)) ok = false;
  if (std::fclose(copy) != 0) ok = false;
  return ok;
}

}  // namespace

LogonOverrides ReadLogonOverrides(const std::string& parameter_text,
                                  const std::string& raw_parameter_text,
                                  const std::string& client_override) {
  LogonOverrides overrides;
  overrides.Client = client_override;
  overrides.Host = KeywordValue(parameter_text, raw_parameter_text, ",HOST=", kHostLimit);
  overrides.Sysnr = KeywordValue(parameter_text, raw_parameter_text, ",NO=", kSysnrLimit);
  return overrides;
}

RFC_HANDLE OpenConnection(RfcSession& session, const ConnectionProfile& profile,
                          const LogonOverrides& overrides, Output& output,
                          ConnectionRecords* records) {
  FillRecords(profile, overrides, records);

  std::FILE* destination_file = OpenBinaryFile(kDestinationFileHead + profile.Destination);
  if (destination_file == nullptr) {
    RFC_HANDLE handle = session.api.Open(&records->options);
    session.trace.Trace(handle, "RfcOpen called");
    return handle;
  }

  output.Print("* SapRfc.Ini.......: " + profile.Destination + "<\n");
  bool copied = CopyTo(destination_file, kLibraryDestinationFile);
  std::fclose(destination_file);
  // A missing or half-written "SapRfc.ini" would send the library elsewhere.
  if (!copied) return RFC_HANDLE_NULL;

  RFC_HANDLE handle = session.api.OpenEx(records->connect_string.c_str(), &records->open_error);
  session.trace.Trace(handle, "RfcOpenEx called");
  return handle;
}

}  // namespace vaultgauge
