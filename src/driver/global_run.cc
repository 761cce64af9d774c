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

constexpr char kFailedSystemsChannel[] = "Failed systems";

struct Counts {
  unsigned systems = 0;    // entries taken from the listing
  unsigned processed = 0;  // measured with success
  unsigned failed = 0;     // opened but not measured
  unsigned unopened = 0;   // profiles that could not be opened
};

// The entries of the listing: the texts before each "#", and what follows
// the last "#" when the listing does not end with one. Two "#" in a row give
// an empty entry, which names no file.
std::vector<std::string> ListingEntries(std::string_view listing) {
  std::vector<std::string> entries;
  while (!listing.empty()) {
    size_t end = listing.find('#');
    entries.emplace_back(listing.substr(0, end));
    listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
  }
  return entries;
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

// Logs on to the system of `listed` and measures the item. Returns the
// system's state, or a failure that ends the whole run.
Status MeasureSystem(RunContext& run, const SystemList& list, const ListedProfile& listed,
                     SystemState* system_state) {
  // The logon is attempted also after a failed profile check.
  bool failed = listed.mark == SystemMark::kFailed;
  bool item_found = false;

  InstallRfcErrorReport(run.session, run.document);
  RFC_HANDLE handle = OpenProfileConnection(run, listed.profile);
  if (handle == RFC_HANDLE_NULL) {
    failed = true;
  } else {
    Status status = CheckOracleDatabase(run, handle);
    if (!status.ok()) return status;

    std::optional<ChannelLimits> percent_limits;
    if (run.parameters.fullness.percent) percent_limits = FullnessLimits(run.parameters.fullness);
    ItemReport report(run.document, list.item_name, listed.label, run.parameters.gigabyte,
                      percent_limits);
    status = MeasureCurrentSizes(run.session, handle, report);
    if (status.is_library_error()) return status;
    // A failed measurement is counted and shown in the system's progress
    // line; its error text is not printed.
    if (!status.ok()) failed = true;
    item_found = report.item_found();
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

Status RunGlobalList(RunContext& run, const SystemList& list) {
  const bool show_progress = run.command_line.parameters.show_progress;
  DocumentWriter& document = run.document;

  if (show_progress) {
    const std::string& start_line = run.command_line.start_line;
    const std::string start_time = start_line.substr(2, 8);
    // Shown up to " @", with every colon as a blank.
    std::string shown = run.parameters.raw_text;
    CutAt(&shown, " @");
    document.Aside(start_line + "\n");
    document.Aside(ProgressText("* " + start_time + " " + shown) + " State=Executing\n");
  }
  document.BeginList();

  Counts counts;
  for (const std::string& entry : ListingEntries(list.server_listing)) {
    ++counts.systems;
    std::optional<ListedProfile> listed =
        ReadListedProfile(run.files, run.location.folder, entry, list.label_kind);
    if (!listed) {
      // Counted among the systems only, without a line; the channel of
      // failed systems counts it, as it cannot be measured either.
      ++counts.unopened;
      continue;
    }
    std::string progress_line;
    if (show_progress) {
      progress_line = SystemProgressText(LocalTimeOfDay(), entry, listed->profile);
    }

    SystemState system_state = SystemState::kRfcFailure;
    Status status = MeasureSystem(run, list, *listed, &system_state);
    if (!status.ok()) return status;
    if (system_state == SystemState::kProcessed) {
      ++counts.processed;
    } else {
      ++counts.failed;
    }
    if (show_progress) {
      document.Aside("\n" + progress_line + " State=" + StateText(system_state) + "\n");
    }
  }

  if (run.parameters.fullness.percent) {
    // Last, so that the systems keep their channel numbers; any failed
    // system turns the sensor red.
    const std::string failed = std::to_string(counts.failed + counts.unopened);
    ChannelDescription channel;
    channel.name = kFailedSystemsChannel;
    channel.value = failed;
    channel.kind = ChannelKind::kCount;
    channel.limits = ChannelLimits();  // red above no failure
    document.Channel(channel);
  }
  document.EndList("(***) " + list.item_name + ": NoSystems=" + std::to_string(counts.systems) +
                   ", Processed=" + std::to_string(counts.processed) +
                   ", Failed=" + std::to_string(counts.failed));
  if (show_progress) document.Aside(ProcessedLine(LocalTimeOfDay()) + "\n");
  return Status::Ok();
}

}  // namespace vaultgauge
