#include "rfc/open_connection.h"

#include <cstdio>

#include "platform/platform.h"
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
  // Other runs in this folder write "SapRfc.ini" for their own logons: the
  // lock keeps them out from the copy until the library has read it.
  std::unique_ptr<LockedFile> library_file = LockedFile::Open(kLibraryDestinationFile);
  bool copied = library_file != nullptr && library_file->ReplaceContents(destination_file);
  std::fclose(destination_file);
  // A missing or half-written "SapRfc.ini" would send the library elsewhere.
  if (!copied) return RFC_HANDLE_NULL;

  RFC_HANDLE handle = session.api.OpenEx(records->connect_string.c_str(), &records->open_error);
  library_file.reset();
  session.trace.Trace(handle, "RfcOpenEx called");
  return handle;
}

}  // namespace vaultgauge
