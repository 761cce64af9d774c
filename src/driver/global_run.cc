#include "driver/global_run.h"

#include "driver/progress.h"
#include "driver/rfc_steps.h"
#include "measure/current_sizes.h"
#include "platform/platform.h"
#include "profile/profile_reader.h"
#include "rfc/error_report.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

struct Counts {
  unsigned SystemCount = 0;     // entries taken from the listing
  unsigned ProcessedCount = 0;  // measured with success
  unsigned FailedCount = 0;     // opened but not measured
};

// Takes the next entry from the front of the listing: the text before its
// first "#" (all of it without one).
std::string TakeEntry(std::string* listing) {
  size_t end = listing->find('#');
  std::string entry = listing->substr(0, end);
  listing->erase(0, end == std::string::npos ? listing->size() : end + 1);
  return entry;
}

// The outcome of one system, as its progress line names it.
enum class SystemState { kProcessed, kNotFound, kRfcFailure };

const char* StateText(SystemState state) {
  switch (state) {
    case SystemState::kProcessed:
      return "Processed";
    case SystemState::kNotFound:
      return "Not Found";
    default:
      return "Rfc Failure";
  }
}

// Logs on to the system of the profile just read and measures the item.
// Returns the system's state, or a failure that ends the whole run.
Status MeasureSystem(RunContext& run, const std::string& label, SystemMark mark,
                     SystemState* system_state) {
  SensorState& state = run.state;
  bool failed = mark == SystemMark::kFailed;
  bool item_found = false;

  InstallRfcErrorReport(run.session, run.output);
  run.output.Clear();
  // The logon is attempted also after a failed profile check.
  RFC_HANDLE handle = OpenProfileConnection(run);
  if (handle == RFC_HANDLE_NULL) {
    failed = true;
  } else {
    Status status = CheckOracleDatabase(run, handle);
    if (!status.ok()) return status;

    MeasureRequest request = RequestForProfile(state);
    request.ItemMode = true;
    request.ItemName = state.ItemName;
    request.SystemLabel = label;
    status = MeasureCurrentSizes(run.session, handle, request, run.output, &item_found);
    if (status.is_library_error()) return status;
    if (!status.ok()) {
      failed = true;
      // The failed system is counted and shown in its progress line; its error
      // text must not stand in front of the summary, where it would run into
      // the last channel's value in the line modes.
      run.output.Clear();
    }
  }
  run.connection.Close();

  if (failed) {
    *system_state = SystemState::kRfcFailure;
  } else {
    *system_state = item_found ? SystemState::kProcessed : SystemState::kNotFound;
  }
  return Status::Ok();
}

}  // namespace

Status RunGlobalList(RunContext& run, GlobalList& list) {
  SensorState& state = run.state;
  Output& output = run.output;
  Status status;

  if (state.ShowProgress) output.PrintLine(state.StartLine);
  const std::string start_time = state.StartLine.substr(2, 8);
  ReplaceAll(&state.RawParameterText, ':', ' ');
  if (state.ShowProgress) {
    // Shown up to " @"; the raw text stays whole, its keyword values are read by position.
    std::string shown = state.RawParameterText;
    CutAt(&shown, " @");
    output.PrintLine(ProgressText("* " + start_time + " " + shown) + " State=Executing");
  }
  output.OutputHead();
  output.PrintBuffer();
  output.Print("\n");
  output.Clear();

  Counts counts;
  while (!list.ServerListing.empty()) {
    ++counts.SystemCount;
    std::string entry = TakeEntry(&list.ServerListing);
    SystemMark mark = SystemMark::kGood;
    std::string label;
    if (!ReadProfile(run.files, state.ProfileFolder, entry, list.LabelKind, &state.Profile, &mark,
                     &label)) {
      continue;  // counted among the systems only, without a line
    }
    std::string progress_line;
    if (state.ShowProgress) {
      progress_line = SystemProgressText(LocalTimeOfDay(), entry, state.Profile);
    }

    SystemState system_state = SystemState::kRfcFailure;
    status = MeasureSystem(run, label, mark, &system_state);
    if (!status.ok()) return status;
    if (system_state == SystemState::kProcessed) {
      ++counts.ProcessedCount;
    } else {
      ++counts.FailedCount;
    }
    if (state.ShowProgress) {
      output.Print("\n" + progress_line + " State=" + StateText(system_state) + "\n");
    }
  }

  output.OutputTextOpen();
  output.AppendText("(***) " + state.ItemName +
                    ": NoSystems=" + std::to_string(counts.SystemCount) +
                    ", Processed=" + std::to_string(counts.ProcessedCount) +
                    ", Failed=" + std::to_string(counts.FailedCount));
  output.OutputTextClose();
  output.OutputTail();
  output.PrintBuffer();
  output.Print("\n");
  run.connection.Close();
  if (state.ShowProgress) output.PrintLine(ProcessedLine(LocalTimeOfDay()));
  return Status::Ok();
}

}  // namespace vaultgauge
