#include "driver/sensor.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "driver/global_list.h"
#include "driver/global_run.h"
#include "driver/locate_profile.h"
#include "driver/parallel_systems.h"
#include "driver/progress.h"
#include "driver/run_context.h"
#include "driver/settings.h"
#include "driver/single_run.h"
#include "driver/startup.h"
#include "driver/usage.h"
#include "driver/watchdog.h"
#include "platform/platform.h"
#include "profile/profile_reader.h"
#include "rfc/error_report.h"
#include "rfc/sap_connection.h"
#include "util/file_system.h"
#include "util/messages.h"

namespace vaultgauge {

namespace {

inline constexpr int kErrorDocumentExitCode = 2;

// Everything read before the library is loaded: the command line, the output
// mode, the location, and the profile or the list.
struct RunInputs {
  CommandLine command_line;
  ProfileLocation location;
  ConnectionProfile profile;  // the single form
  SystemList list;            // the global-list form
  bool list_run = false;
  RfcLibraryChoice rfc_library = RfcLibraryChoice::kAny;
  unsigned parallel = 0;  // systems of a global list measured at once
  // The parameters the run goes by.
  Parameters parameters;
};

Status ReadInputs(const std::vector<std::string>& arguments, FileSystem& files, RunInputs* inputs) {
  Status status = ReadCommandLine(arguments, LocalTimeOfDay(), &inputs->command_line);
  if (!status.ok()) return status;
  const CommandLine& command_line = inputs->command_line;

  Settings settings;
  status = ReadSettings(files, ProgramFolder() + kSettingsFileName, &settings);
  if (!status.ok()) return status;
  inputs->rfc_library = settings.rfc_library;
  status = CheckWordKeywords(command_line.parameters);
  if (!status.ok()) return status;

  status = LocateProfile(files, command_line.profile_name, settings.output_mode,
                         command_line.parameters.console, ProgramFolder(), &inputs->location);
  if (!status.ok()) return status;

  inputs->list_run = inputs->location.global_list || command_line.parameters.item_given;
  if (inputs->list_run) {
    status = ReadGlobalList(files, inputs->location, command_line, &inputs->list);
    if (!status.ok()) return status;
    inputs->parameters = WithColonsAsBlanks(inputs->list.parameters);
    // The sensor's own keyword wins over the installation's setting.
    inputs->parallel = inputs->parameters.parallel != 0        ? inputs->parameters.parallel
                       : command_line.parameters.parallel != 0 ? command_line.parameters.parallel
                                                               : settings.parallel;
    return CheckWordKeywords(inputs->parameters);
  }
  inputs->parameters = command_line.parameters;
  status = CheckWordKeywords(inputs->parameters);
  if (!status.ok()) return status;
  return ReadProfile(files, inputs->location.path, inputs->location.name, &inputs->profile);
}

// The one place where a run ends: the error document or the library's error
// report is written, the connection closed, the exit code chosen.
int Finish(const Status& status, DocumentWriter& document, FileSystem& files,
           SapConnection& connection) {
  if (status.ok()) return 0;
  if (status.kind() == Status::Kind::kErrorReport) {
    // Written by the copy of the program that measured the system.
    document.ErrorReport(status.message());
    return kErrorReportExitCode;
  }
  if (status.is_library_error()) {
    connection.WriteErrorReport(document, status.message());
    return kErrorReportExitCode;
  }
  std::string message = status.message();
  // A failed remote call is completed by the library's own words.
  if (status.is_rfc_failure()) message += connection.FailureDetail(files);
  document.Error(message);
  connection.Close();
  return kErrorDocumentExitCode;
}

int Run(const std::vector<std::string>& arguments, std::FILE* stream,
        std::unique_ptr<DocumentWriter>& document) {
  RealFileSystem files;
  RunInputs inputs;
  Status status = ReadInputs(arguments, files, &inputs);
  if (!status.ok()) {
    // The run's progress head is not reached: the folders tried are shown
    // before the error, after the start line.
    const std::vector<TriedFolder>& tried_folders = inputs.location.tried_folders;
    if (inputs.command_line.parameters.show_progress && !tried_folders.empty()) {
      document->Aside(inputs.command_line.start_line + "\n");
      document->Aside(TriedFolderLines(tried_folders));
    }
    document->Error(status.message());
    return kErrorDocumentExitCode;
  }
  document = MakeDocumentWriter(inputs.location.mode, inputs.parameters.channel, stream);
  // The limit may stand in a global list's sensor line or on the command line.
  unsigned timeout = inputs.parameters.timeout_seconds;
  if (timeout == 0) timeout = inputs.command_line.parameters.timeout_seconds;
  std::optional<Watchdog> watchdog;
  if (timeout != 0) watchdog.emplace(*document, timeout);

  // Other runs in this folder may write to the trace file from now on.
  const TraceFileMark trace_mark = MarkTraceFile();
  TracePoints trace(inputs.parameters.syslog);
  trace.Trace(RFC_HANDLE_NULL, "program started", ProgramPath());
  std::unique_ptr<SapConnection> connection;
  status = LoadSapConnection(inputs.rfc_library, trace, &connection);
  if (!status.ok()) {
    document->Error(status.message());
    return kErrorDocumentExitCode;
  }

  RunContext run{inputs.command_line,
                 inputs.parameters,
                 inputs.location,
                 *document,
                 files,
                 *connection,
                 trace_mark,
                 watchdog ? &*watchdog : nullptr};
  status = inputs.list_run ? RunGlobalList(run, inputs.list, inputs.parallel)
                           : RunSingleSystem(run, inputs.profile);
  return Finish(status, *document, files, *connection);
}

}  // namespace

int RunSensor(const std::vector<std::string>& arguments, std::FILE* stream) {
  if (!arguments.empty() && arguments[0] == kSystemChildArgument) {
    return RunListedSystemChild(arguments, stream);
  }
  if (std::optional<std::string> text = InformationRequested(arguments)) {
    std::fwrite(text->data(), 1, text->size(), stream);
    return 0;
  }
  // Until the output mode is known, failures are written as the error
  // document, which is the same in every mode.
  std::unique_ptr<DocumentWriter> document =
      MakeDocumentWriter(OutputMode::kExeXml, ChannelSelection(), stream);
  int exit_code;
  try {
    exit_code = Run(arguments, stream, document);
  } catch (const std::exception& failure) {
    // Running out of memory, say: the host still gets a document it can read.
    document->Error(Message(MessageId::kInternalFailure, {failure.what()}));
    exit_code = kErrorDocumentExitCode;
  }
  // A host that got nothing must not be told that all went well.
  if (!document->Flush()) {
    std::fprintf(stderr, "%s: the document could not be written to standard output (%s)\n",
                 kProgramWord, std::strerror(document->write_error()));
    return kErrorDocumentExitCode;
  }
  return exit_code;
}

}  // namespace vaultgauge
