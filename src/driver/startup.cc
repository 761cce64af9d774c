#include "driver/startup.h"

#include "util/text.h"

namespace vaultgauge {

void EvaluateClientOverride(SensorState* state) {
  state->ClientOverride.clear();
  size_t at = state->ParameterText.find("CLIENT=");
  if (at != std::string::npos) state->ClientOverride = state->ParameterText.substr(at + 7, 3);
}

Status StartUp(const std::vector<std::string>& arguments, const std::string& time_of_day,
               SensorState* state) {
  state->StartTime = time_of_day;
  state->StartLine = "* " + state->StartTime + " SAP " + kProgramWord + " " + kVersionText;
  state->ClientOverride.clear();

  // An empty first argument names no profile either.
  if (arguments.empty() || arguments[0].empty()) {
    return Status::Error("Error 1001: Parameter for Profile-Name is missing !");
  }
  if (arguments[0].size() > kProfileNameCapacity) {
    return Status::Error(
        "Error 1051: Parameter for Profile-Name is too long (more than 63 characters) !");
  }
  state->ProfileName = arguments[0];

  std::string parameters;
  if (arguments.size() > 1) parameters = arguments[1];
  if (arguments.size() > 2) parameters += " " + arguments[2];
  if (parameters.size() > kParameterTextCapacity) {
    return Status::Error("Error 1052: Parameters are too long (more than 127 characters) !");
  }
  state->Argument2 = arguments.size() > 1 ? arguments[1] : std::string();
  state->RawParameterText = parameters;
  state->ParameterText = UpperCase(parameters);

  EvaluateClientOverride(state);

  state->ItemName.clear();
  state->ItemMode = false;
  size_t item = state->ParameterText.find("ITEM=");
  if (item != std::string::npos) {
    state->ItemMode = true;
    for (size_t i = item + 5; i < state->RawParameterText.size(); ++i) {
      char c = state->RawParameterText[i];
      if (c == ' ' || c == ',' || state->ItemName.size() == kItemNameCapacity) break;
      state->ItemName += c == ':' ? ' ' : c;
    }
    state->ProfileName = "Tarnwick.Prf";
  }

  state->Profile = ConnectionProfile();

  state->ShowProgress = state->ParameterText.find_first_of("#@$%") != std::string::npos;
  return Status::Ok();
}

}  // namespace vaultgauge
