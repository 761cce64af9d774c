#include "driver/global_list.h"

#include "util/messages.h"
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
      *status = Status::Error(
          Message(MessageId::kListLineTooLong, {std::to_string(number_), file_name_}));
      return false;
    }
    return true;
  }

 private:
  TextFile& file_;
  const std::string& file_name_;
  int number_ = 0;
};

Status AppendServers(std::string_view data, const std::string& file_name, SystemList* list) {
  list->server_listing.append(data);
  if (list->server_listing.size() > kServerListingCapacity) {
    return Status::Error(Message(MessageId::kServerListingTooLong, {file_name}));
  }
  return Status::Ok();
}

// The data part of a line: its characters from `column` (counted from 1) on.
std::string_view DataFrom(const std::string& line, size_t column) {
  return line.size() >= column ? std::string_view(line).substr(column - 1) : std::string_view();
}

Status ReadProfileList(FileSystem& files, const ProfileLocation& location, SystemList* list) {
  std::unique_ptr<TextFile> file = files.Open(location.path);
  if (file == nullptr) {
    return Status::Error(Message(MessageId::kProfileListMissing, {location.name}));
  }
  ListReader reader(*file, location.name);
  std::string line;
  Status status;
  while (reader.Next(&line, &status)) {
    if (StartsWith(line, "# Gsng: ")) {
      status = AppendServers(DataFrom(line, 21), location.name, list);
      if (!status.ok()) return status;
    }
  }
  return status;
}

// The sensor lines of the key give the item text and the run's raw parameter
// text: the sensor line's data, cut at ",Sensor=", colons as blanks.
Status ReadSensorLines(FileSystem& files, const ProfileLocation& location,
                       const Parameters& parameters, SystemList* list, std::string* item_text,
                       std::string* raw_text, bool* item_found) {
  // The sensor key: the parameters' first word, padded to ten characters;
  // only its first ten characters are compared.
  std::string key = parameters.text.substr(0, parameters.text.find(' '));
  if (key.size() < 10) key.resize(10, ' ');
  const std::string server_head = ("# GSNG: " + key).substr(0, 18);
  const std::string sensor_head = ("# GSNX: " + key).substr(0, 18);

  std::unique_ptr<TextFile> file = files.Open(location.path);
  if (file == nullptr) {
    return Status::Error(Message(MessageId::kGlobalListMissing, {location.name}));
  }
  ListReader reader(*file, location.name);
  std::string line;
  Status status;
  while (reader.Next(&line, &status)) {
    std::string upper = UpperCase(line).substr(0, 18);
    if (upper == server_head) {
      status = AppendServers(DataFrom(line, 21), location.name, list);
      if (!status.ok()) return status;
    }
    if (upper != sensor_head) continue;

    std::string_view data = DataFrom(line, 20);
    if (data.size() > kParameterTextCapacity) {
      return Status::Error(Message(MessageId::kSensorLineTooLong, {location.name}));
    }
    *item_text = std::string(data);
    *raw_text = std::string(data);
    if (!Contains(*raw_text, kSensorMark)) {
      return Status::Error(Message(MessageId::kInvalidSensorAllocation));
    }
    CutAt(raw_text, ",Sensor=");
    ReplaceAll(raw_text, ':', ' ');

    // The last marker in this order wins; a later sensor line builds on what
    // an earlier one chose.
    if (Contains(line, ",Profile")) list->label_kind = LabelKind::kProfileName;
    *item_found = true;
    if (Contains(line, ",Alias")) list->label_kind = LabelKind::kAlias;
    if (Contains(line, ",Host")) list->label_kind = LabelKind::kHost;
    if (Contains(line, ",Sid")) list->label_kind = LabelKind::kSid;
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

Status ReadGlobalList(FileSystem& files, const ProfileLocation& location,
                      const CommandLine& command_line, SystemList* list) {
  SystemList read;
  std::string raw_text = command_line.parameters.raw_text;
  if (location.name != kGlobalListFile) {
    Status status = ReadProfileList(files, location, &read);
    if (!status.ok()) return status;
    read.item_name = command_line.parameters.item_name;
  } else {
    std::string item_text;
    bool item_found = false;
    Status status = ReadSensorLines(files, location, command_line.parameters, &read, &item_text,
                                    &raw_text, &item_found);
    if (!status.ok()) return status;
    read.item_name = ItemNameFrom(item_text);
    if (!item_found) {
      return Status::Error(Message(MessageId::kGlobalSensorNotFound, {command_line.argument2}));
    }
  }

  if (read.server_listing.empty()) {
    return Status::Error(Message(MessageId::kServerListingMissing));
  }
  if (read.item_name.empty()) return Status::Error(Message(MessageId::kItemMissing));
  read.parameters = ParseParameters(raw_text);
  *list = std::move(read);
  return Status::Ok();
}

}  // namespace vaultgauge
