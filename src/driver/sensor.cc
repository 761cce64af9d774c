#include "driver/sensor.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>

#include "driver/global_list.h"
#include "driver/global_run.h"
#include "driver/locate_profile.h"
#include "driver/run_context.h"
#include "driver/settings.h"
#include "driver/single_run.h"
#include "driver/startup.h"
#include "platform/platform.h"
#include "profile/profile_reader.h"
#include "rfc/error_report.h"
#include "rfc/rfc_library.h"
#include "rfc/trace_file.h"
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
  // The parameters the run goes by.
  Parameters parameters;
};

Status ReadInputs(const std::vector<std::string>& arguments, FileSystem& files, RunInputs* inputs) {
  Status status = ReadCommandLine(arguments, LocalTimeOfDay(), &inputs->command_line);
  if (!status.ok()) return status;
  const CommandLine& command_line = inputs->command_line;

  OutputMode selected_mode;
  status = ReadOutputModeSetting(files, ProgramFolder() + kSettingsFileName, &selected_mode);
  if (!status.ok()) return status;

  status = LocateProfile(files, command_line.profile_name, selected_mode,
                         command_line.parameters.console, &inputs->location);
  if (!status.ok()) return status;

  inputs->list_run = inputs->location.global_list || command_line.parameters.item_given;
  if (inputs->list_run) {
    status = ReadGlobalList(files, inputs->location, command_line, &inputs->list);
    if (!status.ok()) return status;
    inputs->parameters = WithColonsAsBlanks(inputs->list.parameters);
    return CheckFullnessKeywords(inputs->parameters);
  }
  inputs->parameters = command_line.parameters;
  status = CheckFullnessKeywords(inputs->parameters);
  if (!status.ok()) return status;
  return ReadProfile(files, inputs->location.path, inputs->location.name, &inputs->profile);
}

// The one place where a run ends: the error document or the library's error
// report is written, the connection closed, the exit code chosen.
int Finish(const Status& status, DocumentWriter& document, FileSystem& files, RfcApi& api,
           RfcConnection& connection) {
  if (status.ok()) return 0;
  if (status.is_library_error()) {
    WriteRfcErrorReport(api, document, status.message());
    return kErrorReportExitCode;
  }
  std::string message = status.message();
  // A failed remote call is completed by the library's own words.
  if (status.is_rfc_failure()) message += ScanTraceFile(files, LastErrorMessage(api));
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
    document->Error(status.message());
    return kErrorDocumentExitCode;
  }
  document = MakeDocumentWriter(inputs.location.mode, inputs.parameters.channel, stream);

  std::unique_ptr<RfcLibrary> library;
  status = RfcLibrary::Load(&library);
  if (!status.ok()) {
    document->Error(status.message());
    return kErrorDocumentExitCode;
  }

  RfcSession session(*library, TracePoints(inputs.parameters.syslog));
  session.trace_mark = MarkTraceFile();
  session.trace.Trace(RFC_HANDLE_NULL, "program started", ProgramPath());
  RfcConnection connection(*library);
  ConnectionRecords records;
  RunContext run{inputs.command_line,
                 inputs.parameters,
                 inputs.location,
                 *document,
                 files,
                 session,
                 connection,
                 records};
  status = inputs.list_run ? RunGlobalList(run, inputs.list) : RunSingleSystem(run, inputs.profile);
  return Finish(status, *document, files, *library, connection);
}

}  // namespace

int RunSensor(const std::vector<std::string>& arguments, std::FILE* stream) {
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
                 kProgramWord, std::strerror(errno));
    return kErrorDocumentExitCode;
  }
  return exit_code;
}

}  // namespace vaultgauge
