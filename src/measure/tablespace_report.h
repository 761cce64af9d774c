// What a measurement makes of table TS: the sums over all rows first, then
// each row in the answer's order, handed to a sink that writes them.
#ifndef VAULTGAUGE_MEASURE_TABLESPACE_REPORT_H_
#define VAULTGAUGE_MEASURE_TABLESPACE_REPORT_H_

#include <optional>
#include <string>
#include <vector>

#include "measure/tablespace_sums.h"
#include "output/document_writer.h"
#include "util/status.h"

namespace vaultgauge {

// Table TS as an RFC library holds it. The row count is asked again before
// each row: the table is the library's.
class TablespaceTable {
 public:
  virtual ~TablespaceTable() = default;
  virtual unsigned RowCount() = 0;
  // Row `number`, counted from 1.
  virtual Status ReadRow(unsigned number, Tablespace* tablespace) = 0;
};

// Receives what the two passes find.
class MeasurementSink {
 public:
  virtual ~MeasurementSink() = default;
  // After the first pass: the sums over all rows.
  virtual void Sums(const TablespaceSums& sums) = 0;
  // The second pass: every row.
  virtual void Row(const Tablespace& tablespace) = 0;
  // After the second pass, when every row was read.
  virtual void End() {}
};

// The first pass sums every row; the second hands each to `sink`, then ends
// it. The first failure ends both, and the sink is not ended.
Status ReportTablespaces(TablespaceTable& table, MeasurementSink& sink);

// The single-system document: the summary text naming `destination`, then a
// channel per tablespace with its size.
class SizesReport : public MeasurementSink {
 public:
  SizesReport(DocumentWriter& document, std::string destination, bool gigabyte)
      : document_(document), destination_(std::move(destination)), gigabyte_(gigabyte) {}

  void Sums(const TablespaceSums& sums) override;
  void Row(const Tablespace& tablespace) override;

 private:
  DocumentWriter& document_;
  std::string destination_;
  bool gigabyte_;
};

// What the fullness channels are written with.
struct FullnessSettings {
  ChannelLimits limits;
  std::vector<std::string> skipped;  // upper-cased names, left out of the channels
  size_t channel_limit = 0;          // at most this many channels, the fullest; 0: all
};

// The single-system document with "PERCENT": the summary text, completed by
// how many channels were left out and which tablespaces are not online, then
// a channel per tablespace with its used share. Written whole at the end, as
// the text needs every row.
class FullnessReport : public MeasurementSink {
 public:
  FullnessReport(DocumentWriter& document, std::string destination, FullnessSettings settings)
      : document_(document), destination_(std::move(destination)), settings_(std::move(settings)) {}

  void Sums(const TablespaceSums& sums) override { sums_ = sums; }
  void Row(const Tablespace& tablespace) override;
  void End() override;

 private:
  struct Kept {
    std::string name;
    int64_t per_mille;
    bool online;
  };

  DocumentWriter& document_;
  std::string destination_;
  FullnessSettings settings_;
  TablespaceSums sums_;
  std::vector<Kept> channels_;           // in the answer's order
  std::vector<std::string> not_online_;  // skipped ones too: they count in the text
};

// The text that tells which tablespaces are not online, bounded: names that
// do not fit are counted instead. Empty when all are online.
std::string NotOnlineText(const std::vector<std::string>& names);

// A system of a global list: the channel of the one tablespace named
// `item_name` (in any case of letters), under the system's label: its size,
// or with `percent_limits` its used share with these limits.
class ItemReport : public MeasurementSink {
 public:
  ItemReport(DocumentWriter& document, const std::string& item_name, std::string label,
             bool gigabyte, std::optional<ChannelLimits> percent_limits = std::nullopt);

  void Sums(const TablespaceSums&) override {}
  void Row(const Tablespace& tablespace) override;
  bool item_found() const { return item_found_; }

 private:
  DocumentWriter& document_;
  std::string item_;
  std::string label_;
  bool gigabyte_;
  std::optional<ChannelLimits> percent_limits_;
  bool item_found_ = false;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_TABLESPACE_REPORT_H_
