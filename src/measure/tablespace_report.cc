#include "measure/tablespace_report.h"

#include <algorithm>
#include <numeric>

#include "util/text.h"

namespace vaultgauge {

namespace {

// The not-online names stop short of this, so that the text stays readable
// for the host and well inside a piece of the document.
constexpr size_t kNotOnlineTextLimit = 1000;

// A tablespace's used share as a percent channel; one not online warns.
void PercentChannel(DocumentWriter& document, std::string_view name, int64_t per_mille, bool online,
                    const ChannelLimits& limits) {
  const std::string value = PercentText(per_mille);
  ChannelDescription channel;
  channel.name = name;
  channel.value = value;
  channel.unit = "%";
  channel.kind = ChannelKind::kPercent;
  channel.limits = limits;
  channel.warning = !online;
  document.Channel(channel);
}

}  // namespace

Status ReportTablespaces(TablespaceTable& table, MeasurementSink& sink) {
  TablespaceSums sums;
  Tablespace tablespace;
  for (unsigned number = 1; number <= table.RowCount(); ++number) {
    Status status = table.ReadRow(number, &tablespace);
    if (status.ok()) status = sums.Add(tablespace);
    if (!status.ok()) return status;
  }
  sink.Sums(sums);
  for (unsigned number = 1; number <= table.RowCount(); ++number) {
    Status status = table.ReadRow(number, &tablespace);
    if (!status.ok()) return status;
    sink.Row(tablespace);
  }
  sink.End();
  return Status::Ok();
}

void SizesReport::Sums(const TablespaceSums& sums) {
  document_.BeginSystem(sums.SummaryText(destination_));
}

void SizesReport::Row(const Tablespace& tablespace) {
  ChannelValue channel = SizeChannelValue(tablespace.size_kb, gigabyte_);
  document_.Channel(tablespace.name, channel.value, channel.unit);
}

void FullnessReport::Row(const Tablespace& tablespace) {
  if (!tablespace.online()) not_online_.push_back(tablespace.name);
  const std::vector<std::string>& skipped = settings_.skipped;
  if (std::find(skipped.begin(), skipped.end(), UpperCase(tablespace.name)) != skipped.end()) {
    return;
  }
  channels_.push_back(
      {tablespace.name, UsedPerMille(tablespace.size_kb, tablespace.free_kb), tablespace.online()});
}

void FullnessReport::End() {
  // Beyond the limit the fullest stay; of equally full ones the earlier.
  std::vector<bool> written(channels_.size(), true);
  size_t left_out = 0;
  if (settings_.channel_limit != 0 && channels_.size() > settings_.channel_limit) {
    std::vector<size_t> order(channels_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
      return channels_[a].per_mille > channels_[b].per_mille;
    });
    for (size_t i = settings_.channel_limit; i < order.size(); ++i) written[order[i]] = false;
    left_out = channels_.size() - settings_.channel_limit;
  }

  std::string text = sums_.SummaryText(destination_);
  if (left_out != 0) {
    text += ", channels left out: " + std::to_string(left_out) + " (" +
            std::to_string(settings_.channel_limit) + " fullest shown)";
  }
  text += NotOnlineText(not_online_);
  document_.BeginSystem(text);
  for (size_t i = 0; i < channels_.size(); ++i) {
    if (!written[i]) continue;
    const Kept& channel = channels_[i];
    PercentChannel(document_, channel.name, channel.per_mille, channel.online, settings_.limits);
  }
}

std::string NotOnlineText(const std::vector<std::string>& names) {
  if (names.empty()) return std::string();
  std::string text = ", not online: ";
  size_t shown = 0;
  for (; shown < names.size(); ++shown) {
    std::string_view separator = shown == 0 ? "" : ", ";
    if (text.size() + separator.size() + names[shown].size() > kNotOnlineTextLimit) break;
    text.append(separator).append(names[shown]);
  }
  if (shown < names.size()) text += " and " + std::to_string(names.size() - shown) + " more";
  return text;
}

ItemReport::ItemReport(DocumentWriter& document, const std::string& item_name, std::string label,
                       bool gigabyte, std::optional<ChannelLimits> percent_limits)
    : document_(document),
      item_(UpperCase(item_name)),
      label_(std::move(label)),
      gigabyte_(gigabyte),
      percent_limits_(percent_limits) {}

void ItemReport::Row(const Tablespace& tablespace) {
  if (UpperCase(tablespace.name) != item_) return;
  item_found_ = true;
  if (percent_limits_) {
    PercentChannel(document_, label_, UsedPerMille(tablespace.size_kb, tablespace.free_kb),
                   tablespace.online(), *percent_limits_);
    return;
  }
  ChannelValue channel = SizeChannelValue(tablespace.size_kb, gigabyte_);
  document_.Channel(label_, channel.value, channel.unit);
}

}  // namespace vaultgauge
