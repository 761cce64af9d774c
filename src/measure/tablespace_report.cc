#include "measure/tablespace_report.h"

#include "util/text.h"

namespace vaultgauge {

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
  return Status::Ok();
}

void SizesReport::Sums(const TablespaceSums& sums) {
  document_.BeginSystem(sums.SummaryText(destination_));
}

void SizesReport::Row(const Tablespace& tablespace) {
  ChannelValue channel = SizeChannelValue(tablespace.size_kb, gigabyte_);
  document_.Channel(tablespace.name, channel.value, channel.unit);
}

ItemReport::ItemReport(DocumentWriter& document, const std::string& item_name, std::string label,
                       bool gigabyte)
    : document_(document),
      item_(UpperCase(item_name)),
      label_(std::move(label)),
      gigabyte_(gigabyte) {}

void ItemReport::Row(const Tablespace& tablespace) {
  if (UpperCase(tablespace.name) != item_) return;
  item_found_ = true;
  ChannelValue channel = SizeChannelValue(tablespace.size_kb, gigabyte_);
  document_.Channel(label_, channel.value, channel.unit);
}

}  // namespace vaultgauge
