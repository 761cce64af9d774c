// What a measurement makes of table TS: the sums over all rows first, then
// each row in the answer's order, handed to a sink that writes them.
#ifndef VAULTGAUGE_MEASURE_TABLESPACE_REPORT_H_
#define VAULTGAUGE_MEASURE_TABLESPACE_REPORT_H_

#include <string>

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
};

// The first pass sums every row; the second hands each to `sink`. The first
// failure ends both.
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

// A system of a global list: the channel of the one tablespace named
// `item_name` (in any case of letters), under the system's label.
class ItemReport : public MeasurementSink {
 public:
  ItemReport(DocumentWriter& document, const std::string& item_name, std::string label,
             bool gigabyte);

  void Sums(const TablespaceSums&) override {}
  void Row(const Tablespace& tablespace) override;
  bool item_found() const { return item_found_; }

 private:
  DocumentWriter& document_;
  std::string item_;
  std::string label_;
  bool gigabyte_;
  bool item_found_ = false;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_TABLESPACE_REPORT_H_
