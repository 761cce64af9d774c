#include "driver/global_run.h"

#include "driver/listed_system.h"
#include "driver/parallel_systems.h"
#include "driver/progress.h"
#include "driver/rfc_steps.h"
#include "platform/platform.h"
#include "profile/profile_reader.h"
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

}  // namespace

Status RunGlobalList(RunContext& run, const SystemList& list, unsigned parallel_width) {
  const bool show_progress = run.command_line.parameters.show_progress;
  DocumentWriter& document = run.document;

  if (show_progress) {
    const std::string& start_line = run.command_line.start_line;
    const std::string start_time = start_line.substr(2, 8);
    // Shown up to " @", with every colon as a blank.
    std::string shown = run.parameters.raw_text;
    CutAt(&shown, " @");
    document.Aside(start_line + "\n");
    document.Aside(TriedFolderLines(run.location.tried_folders));
    document.Aside(ProgressText("* " + start_time + " " + shown) + " State=Executing\n");
  }
  document.BeginList();

  const std::vector<std::string> entries = ListingEntries(list.server_listing);
  // Side by side, the systems are measured by copies of the program; the
  // document is written here alone, in list order, as one after another.
  std::optional<ParallelSystems> parallel;
  if (parallel_width >= kMinParallelWidth) {
    parallel.emplace(entries, run.location.folder, list, parallel_width);
  }

  Counts counts;
  for (size_t index = 0; index < entries.size(); ++index) {
    const std::string& entry = entries[index];
    ++counts.systems;
    std::optional<ListedProfile> listed =
        ReadListedProfile(run.files, run.location.folder, entry, list.label_kind);
    if (!listed) {
      if (parallel) parallel->Skip(index);
      // Counted among the systems only, without a line; the channel of
      // failed systems counts it, as it cannot be measured either.
      ++counts.unopened;
      continue;
    }
    run.WorkingOn(listed->profile.destination);
    std::string progress_line;
    if (show_progress) {
      progress_line = SystemProgressText(LocalTimeOfDay(), entry, listed->profile);
    }

    SystemOutcome outcome;
    Status status = parallel ? parallel->Outcome(index, &outcome)
                             : MeasureListedSystem(run, list, *listed, false, &outcome);
    if (outcome.destination_file) WriteDestinationNotice(run, *outcome.destination_file);
    const bool reported = status.is_library_error() || status.kind() == Status::Kind::kErrorReport;
    if (outcome.channel && (status.ok() || reported))
      document.Channel(outcome.channel->Described());
    if (!status.ok()) return status;
    if (outcome.state == SystemState::kProcessed) {
      ++counts.processed;
    } else {
      ++counts.failed;
    }
    if (show_progress) {
      document.Aside("\n" + progress_line + " State=" + StateText(outcome.state) + "\n");
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
