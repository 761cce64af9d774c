#include "driver/rfc_steps.h"

#include "rfc/open_connection.h"
#include "rfc/system_info.h"
#include "util/text.h"

namespace vaultgauge {

RFC_HANDLE OpenProfileConnection(RunContext& run) {
  const SensorState& state = run.state;
  LogonOverrides overrides =
      ReadLogonOverrides(state.ParameterText, state.RawParameterText, state.ClientOverride);
  RFC_HANDLE handle =
      OpenConnection(run.session, state.Profile, overrides, run.output, &run.records);
  run.connection.Set(handle);
  return handle;
}

Status CheckOracleDatabase(RunContext& run, RFC_HANDLE handle) {
  SystemInfo info;
  Status status = ReadSystemInfo(run.session, handle, &info);
  if (!status.ok()) return status;
  run.state.Profile.DisplayHost = info.Host;
  if (!StartsWith(info.DatabaseSystem, "ORA")) {
    return Status::Error("Error 1018: DataBase mismatch !");
  }
  return Status::Ok();
}

MeasureRequest RequestForProfile(const SensorState& state) {
  MeasureRequest request;
  request.Destination = state.Profile.Destination;
  request.gigabyte = Contains(state.ParameterText, "GIGABYTE");
  return request;
}

}  // namespace vaultgauge
