#include "driver/listed_system.h"

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
    channel_ = RecordedChannel{std::string(name), std::string(value), std::string(unit)};
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
    ItemReport report(recorder, list.item_name, listed.label, run.parameters.gigabyte);
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
  if (ending.kind() == Status::Kind::kErrorReport && outcome.channel) {
    AppendField(&text, "channel", outcome.channel->name);
    AppendField(&text, "value", outcome.channel->value);
    AppendField(&text, "unit", outcome.channel->unit);
  }
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
  if (outcome.channel) {
    AppendField(&text, "channel", outcome.channel->name);
    AppendField(&text, "value", outcome.channel->value);
    AppendField(&text, "unit", outcome.channel->unit);
  }
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
      outcome->channel = RecordedChannel{value, "", ""};
    } else if (name == "value" && outcome->channel) {
      outcome->channel->value = value;
    } else if (name == "unit" && outcome->channel) {
      outcome->channel->unit = value;
    } else {
      return false;
    }
  }
  return state_given;
}

}  // namespace vaultgauge
