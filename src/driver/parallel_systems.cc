#include "driver/parallel_systems.h"

#include "driver/settings.h"
#include "rfc/error_report.h"
#include "rfc/trace_file.h"
#include "util/messages.h"

namespace vaultgauge {

ParallelSystems::ParallelSystems(const std::vector<std::string>& entries, const std::string& folder,
                                 const SystemList& list, unsigned width)
    : width_(width) {
  const std::string label_kind(1, static_cast<char>(list.label_kind));
  for (const std::string& entry : entries) {
    arguments_.push_back({kSystemChildArgument, folder, entry, label_kind, list.item_name,
                          list.parameters.raw_text});
  }
}

ParallelSystems::~ParallelSystems() {
  for (std::unique_ptr<ChildProcess>& child : running_) {
    std::string discarded;
    if (child) child->Finish(&discarded);
  }
}

void ParallelSystems::StartAhead(size_t index) {
  while (first_ + running_.size() < arguments_.size() &&
         first_ + running_.size() < index + width_) {
    running_.push_back(ChildProcess::Start(ProgramPath(), arguments_[first_ + running_.size()]));
  }
}

Status ParallelSystems::Outcome(size_t index, SystemOutcome* outcome) {
  StartAhead(index);
  while (first_ < index) Skip(first_);
  std::unique_ptr<ChildProcess> child = std::move(running_.front());
  running_.pop_front();
  ++first_;
  std::string output;
  const int code = child ? child->Finish(&output) : -1;
  // Only now: the copy just waited for counted among the `width_` running.
  StartAhead(first_);
  if (code == 1) return Status::ErrorReport(output);
  Status ending;
  if (code != 0 || !DecodeOutcome(output, outcome, &ending)) {
    return Status::Error(
        Message(MessageId::kInternalFailure, {"the copy measuring " + arguments_[index][2] +
                                              " ended with code " + std::to_string(code)}));
  }
  return ending;
}

void ParallelSystems::Skip(size_t index) {
  StartAhead(index);
  if (first_ != index || running_.empty()) return;
  std::unique_ptr<ChildProcess> child = std::move(running_.front());
  running_.pop_front();
  ++first_;
  std::string discarded;
  if (child) child->Finish(&discarded);
  StartAhead(first_);
}

int RunListedSystemChild(const std::vector<std::string>& arguments, std::FILE* stream) {
  // The parent reads the outcome byte for byte.
  if (stream == stdout) UseBinaryStandardOutput();
  // The error report, should the library end the run, as its lines.
  std::unique_ptr<DocumentWriter> report = MakeDocumentWriter(OutputMode::kOrmilux, {}, stream);
  if (arguments.size() != 6 || arguments[3].size() != 1) return 2;
  const std::string& folder = arguments[1];
  const std::string& entry = arguments[2];
  RealFileSystem files;

  SystemList list;
  list.label_kind = static_cast<LabelKind>(arguments[3][0]);
  list.item_name = arguments[4];
  list.parameters = ParseParameters(arguments[5]);
  CommandLine command_line;
  const Parameters parameters = WithColonsAsBlanks(list.parameters);
  ProfileLocation location;
  location.folder = folder;

  SystemOutcome outcome;
  Status status;
  std::optional<ListedProfile> listed = ReadListedProfile(files, folder, entry, list.label_kind);
  Settings settings;
  if (listed) status = ReadSettings(files, ProgramFolder() + kSettingsFileName, &settings);
  std::unique_ptr<SapConnection> connection;
  TracePoints trace(parameters.syslog);
  if (listed && status.ok()) status = LoadSapConnection(settings.rfc_library, trace, &connection);
  if (listed && status.ok()) {
    RunContext run{command_line, parameters,  location,       *report,
                   files,        *connection, MarkTraceFile()};
    status = MeasureListedSystem(run, list, *listed, /*keep_notice=*/true, &outcome);
    if (status.is_library_error()) {
      // The report's text travels with the channel written before it.
      std::FILE* aside = std::tmpfile();
      if (aside == nullptr) {
        connection->WriteErrorReport(*report, status.message());
        report->Flush();
        return kErrorReportExitCode;
      }
      {
        std::unique_ptr<DocumentWriter> text = MakeDocumentWriter(OutputMode::kOrmilux, {}, aside);
        connection->WriteErrorReport(*text, status.message());
        text->Flush();
      }
      std::string written;
      std::rewind(aside);
      char block[4096];
      for (size_t got; (got = std::fread(block, 1, sizeof block, aside)) > 0;) {
        written.append(block, got);
      }
      std::fclose(aside);
      status = Status::ErrorReport(written);
    }
    if (status.is_rfc_failure())
      status = Status::Error(status.message() + connection->FailureDetail(files));
  }
  const std::string text = EncodeOutcome(outcome, status);
  std::fwrite(text.data(), 1, text.size(), stream);
  return std::fflush(stream) == 0 ? 0 : 2;
}

}  // namespace vaultgauge
