#include "driver/startup.h"

#include "util/messages.h"

namespace vaultgauge {

Status ReadCommandLine(const std::vector<std::string>& arguments, const std::string& time_of_day,
                       CommandLine* command_line) {
  CommandLine read;
  read.start_time = time_of_day;
  read.start_line = "* " + read.start_time + " SAP " + kProgramWord + " " + kVersionText;

  // An empty first argument names no profile either.
  if (arguments.empty() || arguments[0].empty()) {
    return Status::Error(Message(MessageId::kProfileNameMissing));
  }
  if (arguments[0].size() > kProfileNameCapacity) {
    return Status::Error(Message(MessageId::kProfileNameArgumentTooLong));
  }
  read.profile_name = arguments[0];

  std::string parameters;
  if (arguments.size() > 1) parameters = arguments[1];
  if (arguments.size() > 2) parameters += " " + arguments[2];
  if (parameters.size() > kParameterTextCapacity) {
    return Status::Error(Message(MessageId::kParametersTooLong));
  }
  read.argument2 = arguments.size() > 1 ? arguments[1] : std::string();
  read.parameters = ParseParameters(parameters);
  if (read.parameters.item_given) read.profile_name = kProfileListFile;

  *command_line = std::move(read);
  return Status::Ok();
}

}  // namespace vaultgauge
