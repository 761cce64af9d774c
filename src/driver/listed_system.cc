#include "driver/listed_system.h"

#include <cstdlib>

#include "driver/rfc_steps.h"
#include "measure/tablespace_report.h"

namespace vaultgauge {

namespace {

// Takes the item's channel as the measurement writes it, instead of a
// document: the run writes it in the system's turn.
class ChannelRecorder : public DocumentWriter {
 public:
  ChannelRecorder() : DocumentWriter(nullptr) {}
  const std::optional<RecordedChannel>& channel() const { return channel_; }

 protected:
  std::string Head() override { return std::string(); }
  std::string Text(std::string_view) override { return std::string(); }
  std::string ChannelPiece(unsigned, std::string_view name, std::string_view value,
                           std::string_view unit) override {
    channel_ = RecordedChannel();
    channel_->name = name;
    channel_->value = value;
    channel_->unit = unit;
    return std::string();
  }
  std::string DescribedChannelPiece(unsigned, const ChannelDescription& channel) override {
    channel_ = RecordedChannel{std::string(channel.name),
                               std::string(channel.value),
                               std::string(channel.unit),
                               channel.kind,
                               channel.limits,
                               channel.warning};
    return std::string();
  }
  std::string Tail() override { return std::string(); }

 private:
  std::optional<RecordedChannel> channel_;
};

// A field of the encoded outcome: "name value" on one line, with line ends
// and backslashes in the value escaped.
void AppendField(std::string* text, const char* name, std::string_view value) {
  text->append(name).append(" ");
  for (char c : value) {
    if (c == '\\') {
      text->append("\\\\");
    } else if (c == '\n') {
      text->append("\\n");
    } else if (c == '\r') {
      text->append("\\r");
    } else {
      text->push_back(c);
    }
  }
  text->push_back('\n');
}

void AppendChannel(std::string* text, const std::optional<RecordedChannel>& channel) {
  if (!channel) return;
  AppendField(text, "channel", channel->name);
  AppendField(text, "value", channel->value);
  AppendField(text, "unit", channel->unit);
  AppendField(text, "kind", std::to_string(static_cast<int>(channel->kind)));
  if (channel->limits) {
    const ChannelLimits& limits = *channel->limits;
    AppendField(text, "max-error", std::to_string(limits.max_error));
    if (limits.max_warning) AppendField(text, "max-warning", std::to_string(*limits.max_warning));
  }
  if (channel->warning) AppendField(text, "warning", "1");
}

unsigned Number(const std::string& text) {
  return static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 10));
}

std::string Unescaped(std::string_view value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      text.push_back(value[i]);
      continue;
    }
    char next = value[++i];
    text.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : next);
  }
  return text;
}

}  // namespace

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

Status MeasureListedSystem(RunContext& run, const SystemList& list, const ListedProfile& listed,
                           bool keep_notice, SystemOutcome* outcome) {
  // The logon is attempted also after a failed profile check.
  bool failed = listed.mark == SystemMark::kFailed;
  bool item_found = false;
  *outcome = SystemOutcome();

  run.connection.InstallErrorReport(run.document);
  DestinationFileNotice notice;
  if (keep_notice) {
    notice = [outcome](const std::string& destination) { outcome->destination_file = destination; };
  }
  if (!OpenProfileConnection(run, listed.profile, notice).ok()) {
    failed = true;
  } else {
    Status status = CheckOracleDatabase(run);
    if (!status.ok()) return status;

    ChannelRecorder recorder;
    std::optional<ChannelLimits> percent_limits;
    if (run.parameters.fullness.percent) percent_limits = FullnessLimits(run.parameters.fullness);
    ItemReport report(recorder, list.item_name, listed.label, run.parameters.gigabyte,
                      percent_limits);
    status = run.connection.MeasureCurrentSizes(report);
    outcome->channel = recorder.channel();
    // The channel was written before the library failed, as in one run.
    if (status.is_library_error()) return status;
    // A failed measurement is counted and shown in the system's progress
    // line; its error text is not printed.
    if (!status.ok()) failed = true;
    item_found = report.item_found();
    outcome->channel = recorder.channel();
  }
  run.connection.Close();

  if (failed) {
    outcome->state = SystemState::kRfcFailure;
  } else {
    outcome->state = item_found ? SystemState::kProcessed : SystemState::kNotFound;
  }
  return Status::Ok();
}

std::string EncodeOutcome(const SystemOutcome& outcome, const Status& ending) {
  std::string text;
  if (ending.kind() == Status::Kind::kErrorReport) AppendChannel(&text, outcome.channel);
  if (ending.kind() == Status::Kind::kErrorReport) {
    AppendField(&text, "report", ending.message());
    return text;
  }
  if (!ending.ok()) {
    AppendField(&text, "ending", ending.message());
    return text;
  }
  const char* states[] = {"processed", "not-found", "rfc-failure"};
  AppendField(&text, "state", states[static_cast<int>(outcome.state)]);
  if (outcome.destination_file) AppendField(&text, "destination-file", *outcome.destination_file);
  AppendChannel(&text, outcome.channel);
  return text;
}

bool DecodeOutcome(const std::string& text, SystemOutcome* outcome, Status* ending) {
  *outcome = SystemOutcome();
  *ending = Status::Ok();
  bool state_given = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) return false;
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return false;
    std::string_view name = line.substr(0, blank);
    std::string value = Unescaped(line.substr(blank + 1));
    if (name == "ending") {
      *ending = Status::Error(value);
      return true;
    } else if (name == "report") {
      *ending = Status::ErrorReport(value);
      return true;
    } else if (name == "state") {
      state_given = true;
      if (value == "processed") {
        outcome->state = SystemState::kProcessed;
      } else if (value == "not-found") {
        outcome->state = SystemState::kNotFound;
      } else if (value == "rfc-failure") {
        outcome->state = SystemState::kRfcFailure;
      } else {
        return false;
      }
    } else if (name == "destination-file") {
      outcome->destination_file = value;
    } else if (name == "channel") {
      outcome->channel = RecordedChannel();
      outcome->channel->name = value;
    } else if (name == "value" && outcome->channel) {
      outcome->channel->value = value;
    } else if (name == "unit" && outcome->channel) {
      outcome->channel->unit = value;
    } else if (name == "kind" && outcome->channel) {
      unsigned kind = Number(value);
      if (kind > static_cast<unsigned>(ChannelKind::kCount)) return false;
      outcome->channel->kind = static_cast<ChannelKind>(kind);
    } else if (name == "max-error" && outcome->channel) {
      if (!outcome->channel->limits) outcome->channel->limits = ChannelLimits();
      outcome->channel->limits->max_error = Number(value);
    } else if (name == "max-warning" && outcome->channel) {
      if (!outcome->channel->limits) outcome->channel->limits = ChannelLimits();
      outcome->channel->limits->max_warning = Number(value);
    } else if (name == "warning" && outcome->channel) {
      outcome->channel->warning = value == "1";
    } else {
      return false;
    }
  }
  return state_given;
}

}  // namespace vaultgauge
