// One system of a global list: its logon and the measurement of the item,
// with what the run writes of it. The run measures a system in its own
// process or hands it to a copy of the program (PARALLEL=), which sends the
// outcome back as text.
#ifndef VAULTGAUGE_DRIVER_LISTED_SYSTEM_H_
#define VAULTGAUGE_DRIVER_LISTED_SYSTEM_H_

#include <optional>
#include <string>

#include "driver/global_list.h"
#include "driver/run_context.h"
#include "profile/profile_reader.h"
#include "util/status.h"

namespace vaultgauge {

// The outcome of one system, as its progress line names it.
enum class SystemState { kProcessed, kNotFound, kRfcFailure };

const char* StateText(SystemState state);

// A channel as the measurement gave it, to be written in its turn.
struct RecordedChannel {
  std::string name, value, unit;
  ChannelKind kind = ChannelKind::kCustom;
  std::optional<ChannelLimits> limits;
  bool warning = false;

  ChannelDescription Described() const {
    return ChannelDescription{name, value, unit, kind, limits, warning};
  }
};

struct SystemOutcome {
  SystemState state = SystemState::kRfcFailure;
  std::optional<RecordedChannel> channel;  // the item's, when the system has it
  // The destination whose file the logon used, when its line is to be
  // written in the system's turn rather than at once.
  std::optional<std::string> destination_file;
};

// Logs on to the system of `listed` and measures the item. A failure that
// ends the whole run (system information, a database that is not Oracle, the
// library's error report) is returned instead. With `keep_notice` the line
// of a destination file used is kept in the outcome instead of written.
Status MeasureListedSystem(RunContext& run, const SystemList& list, const ListedProfile& listed,
                           bool keep_notice, SystemOutcome* outcome);

// The outcome as text and back. A failure that ends the run travels as its
// message, completed already by the library's words, or as the text of the
// library's error report (Status::ErrorReport) after the channel written
// before it.
std::string EncodeOutcome(const SystemOutcome& outcome, const Status& ending);
bool DecodeOutcome(const std::string& text, SystemOutcome* outcome, Status* ending);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_LISTED_SYSTEM_H_
