#include "rfc/open_connection.h"

#include <cstdio>

#include "util/file_system.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr size_t kUserWidth = 12;
constexpr size_t kPasswordWidth = 10;
constexpr size_t kConnectStringLimit = 1023;
std::string PadWithBlanks(const std::string& text, size_t width) {
  std::string padded = text;
  if (padded.size() < width) padded.resize(width, ' ');
  return padded;
}

const char* NullWhenEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

void FillRecords(const ConnectionProfile& profile, const LogonOverrides& overrides,
                 ConnectionRecords* records) {
  // The texts first: the records then point into strings that no longer change.
  records->destination = profile.destination;
  records->client = overrides.client.empty() ? profile.client : overrides.client;
  records->user = PadWithBlanks(profile.user, kUserWidth);
  records->password = PadWithBlanks(profile.password, kPasswordWidth);
  records->language = profile.language;
  records->hostname = overrides.host.empty() ? profile.hostname : overrides.host;
  records->gwhost = profile.gwhost;
  records->gwservice = profile.gwservice;

  records->gateway_options = RfcGatewayOptions{};
  records->host_options = RfcHostOptions{};
  RfcOptions& options = records->options;
  options = RfcOptions{};
  options.destination = records->destination.c_str();
  if (profile.mode == "R/2") {
    options.mode = RFC_MODE_CPIC;
    records->gateway_options.gateway_host = NullWhenEmpty(records->gwhost);
    records->gateway_options.gateway_service = NullWhenEmpty(records->gwservice);
    options.connopt = &records->gateway_options;
  } else {
    options.mode = RFC_MODE_R3ONLY;
    RfcHostOptions& host = records->host_options;
    host.hostname = NullWhenEmpty(records->hostname);
    host.sysnr = ParseInt(overrides.sysnr.empty() ? profile.sysnr : overrides.sysnr);
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
  connect = "CLIENT=" + records->client + " USER=" + profile.user + " PASSWD=" + profile.password +
            " LANG=D DEST=" + profile.destination;
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

RFC_HANDLE OpenConnection(RfcSession& session, const ConnectionProfile& profile,
                          const LogonOverrides& overrides, const DestinationFileNotice& notice,
                          ConnectionRecords* records) {
  FillRecords(profile, overrides, records);

  std::FILE* destination_file = OpenBinaryFile(kDestinationFileHead + profile.destination);
  if (destination_file == nullptr) {
    RFC_HANDLE handle = session.api.Open(&records->options);
    session.trace.Trace(handle, "RfcOpen called");
    return handle;
  }

  notice(profile.destination);
  bool copied = CopyTo(destination_file, kLibraryDestinationFile);
  std::fclose(destination_file);
  // A missing or half-written "SapRfc.ini" would send the library elsewhere.
  if (!copied) return RFC_HANDLE_NULL;

  RFC_HANDLE handle = session.api.OpenEx(records->connect_string.c_str(), &records->open_error);
  session.trace.Trace(handle, "RfcOpenEx called");
  return handle;
}

}  // namespace vaultgauge
