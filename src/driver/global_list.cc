#include "driver/global_list.h"

#include "driver/startup.h"
#include "util/text.h"

namespace vaultgauge {

namespace {

constexpr char kSensorMark[] = "Sensor=\"SAP Vaultgauge\"";

// Reads the list file line by line, refusing lines that do not fit.
class ListReader {
 public:
  ListReader(TextFile& file, const std::string& file_name) : file_(file), file_name_(file_name) {}

  // False at the end of the file or on an over-long line (`status` tells).
  bool Next(std::string* line, Status* status) {
    bool too_long;
    if (!file_.ReadLine(kListLineCapacity, line, &too_long)) return false;
    ++number_;
    if (too_long) {
      *status = Status::Error("Error 1071: Line " + std::to_string(number_) + " of " + file_name_ +
                              " is too long (more than 199 characters) !");
      return false;
    }
    return true;
  }

 private:
  TextFile& file_;
  const std::string& file_name_;
  int number_ = 0;
};

Status AppendServers(std::string_view data, const std::string& file_name, GlobalList* list) {
  list->ServerListing.append(data);
  if (list->ServerListing.size() > kServerListingCapacity) {
    return Status::Error("Error 1072: Server listing of " + file_name +
                         " is too long (more than 2047 characters) !");
  }
  return Status::Ok();
}

// The data part of a line: its characters from `column` (counted from 1) on.
std::string_view DataFrom(const std::string& line, size_t column) {
  return line.size() >= column ? std::string_view(line).substr(column - 1) : std::string_view();
}

Status ReadProfileList(FileSystem& files, SensorState* state, GlobalList* list) {
  std::unique_ptr<TextFile> file = files.Open(state->ProfilePath);
  if (file == nullptr) {
    return Status::Error("Error 1024: ProFile " + state->ProfileName + " is missing...");
  }
  ListReader reader(*file, state->ProfileName);
  std::string line;
  Status status;
  while (reader.Next(&line, &status)) {
    if (StartsWith(line, "# Gsng: ")) {
      status = AppendServers(DataFrom(line, 21), state->ProfileName, list);
      if (!status.ok()) return status;
    }
  }
  return status;
}

Status ReadSensorLines(FileSystem& files, SensorState* state, GlobalList* list,
                       std::string* item_text, bool* item_found) {
  // The sensor key: the parameters' first word, padded to ten characters;
  // only its first ten characters are compared.
  std::string key = state->ParameterText.substr(0, state->ParameterText.find(' '));
  if (key.size() < 10) key.resize(10, ' ');
  const std::string server_head = ("# GSNG: " + key).substr(0, 18);
  const std::string sensor_head = ("# GSNX: " + key).substr(0, 18);

  std::unique_ptr<TextFile> file = files.Open(state->ProfilePath);
  if (file == nullptr) {
    return Status::Error("Error 10x1: ProFile " + state->ProfileName + " is missing...");
  }
  ListReader reader(*file, state->ProfileName);
  std::string line;
  Status status;
  while (reader.Next(&line, &status)) {
    std::string upper = UpperCase(line).substr(0, 18);
    if (upper == server_head) {
      status = AppendServers(DataFrom(line, 21), state->ProfileName, list);
      if (!status.ok()) return status;
    }
    if (upper != sensor_head) continue;

    std::string_view data = DataFrom(line, 20);
    if (data.size() > kParameterTextCapacity) {
      return Status::Error("Error 1073: Sensor line of " + state->ProfileName +
                           " is too long (more than 127 characters) !");
    }
    *item_text = std::string(data);
    state->RawParameterText = std::string(data);
    if (!Contains(state->RawParameterText, kSensorMark)) {
      return Status::Error("Error 1029: Invalid Sensor-Allocation...");
    }
    CutAt(&state->RawParameterText, ",Sensor=");
    ReplaceAll(&state->RawParameterText, ':', ' ');

    // The last marker in this order wins; a later sensor line builds on what
    // an earlier one chose.
    if (Contains(line, ",Profile")) list->LabelKind = LabelKind::kProfileName;
    *item_found = true;
    if (Contains(line, ",Alias")) list->LabelKind = LabelKind::kAlias;
    if (Contains(line, ",Host")) list->LabelKind = LabelKind::kHost;
    if (Contains(line, ",Sid")) list->LabelKind = LabelKind::kSid;
  }
  return status;
}

// The item name after "Item=": up to a blank, a comma or 90 characters, every
// colon turned into a blank.
std::string ItemNameFrom(const std::string& item_text) {
  std::string name;
  size_t at = item_text.find("Item=");
  if (at == std::string::npos) return name;
  for (size_t i = at + 5; i < item_text.size() && name.size() < kItemNameCapacity; ++i) {
    char c = item_text[i];
    if (c == ' ' || c == ',') break;
    name += c == ':' ? ' ' : c;
  }
  return name;
}

}  // namespace

Status ReadGlobalList(FileSystem& files, SensorState* state, GlobalList* list) {
  list->ServerListing.clear();
  list->LabelKind = LabelKind::kProfileName;

  if (state->ProfileName != kGlobalListFile) {
    Status status = ReadProfileList(files, state, list);
    if (!status.ok()) return status;
  } else {
    std::string item_text;
    bool item_found = false;
    state->ItemName.clear();
    Status status = ReadSensorLines(files, state, list, &item_text, &item_found);
    if (!status.ok()) return status;
    state->ItemName = ItemNameFrom(item_text);
    if (!item_found) {
      return Status::Error("Error 1030: Global Sensor " + state->Argument2 + " not found...");
    }
  }

  if (list->ServerListing.empty()) {
    return Status::Error("Error 1025: Global Server Listing missing...");
  }
  if (state->ItemName.empty()) {
    return Status::Error("Error 1026: Global Item Idenification missing...");
  }
  state->ParameterText = UpperCase(state->RawParameterText);
  EvaluateClientOverride(state);
  return Status::Ok();
}

}  // namespace vaultgauge
