#include "measure/current_sizes.h"

#include <span>

#include "measure/tablespace_sums.h"
#include "rfc/rfc_failure.h"

namespace vaultgauge {

namespace {

Status InstallTypes(RfcSession& session) {
  RfcTypeElement date_time[] = {
      Element("MONI_DATE", TYPDATE, 8),
      Element("MONI_TIME", TYPTIME, 6),
  };
  RfcTypeElement table_xpc[] = {
      Element("TS", TYPC, 30),        Element("INIT_EXT", TYPINT, 4),
      Element("NEXT_EXT", TYPINT, 4), Element("MIN_EXT", TYPINT, 4),
      Element("MAX_EXT", TYPINT, 4),  Element("PCT_INCR", TYPINT, 4),
      Element("STATUS", TYPC, 9),     Element("TSIZE", TYPP, 8),
      Element("TFREE", TYPP, 8),      Element("TPCTUSED", TYPINT, 4),
      Element("TEXTENTS", TYPINT, 4), Element("TSEGMENTS", TYPINT, 4),
      Element("TSAU", TYPC, 14),      Element("TSAUPCT", TYPINT, 4),
  };
  Status status = InstallStructureOnce(session, "DATE_TIME", date_time, 2, &session.date_time_type);
  if (!status.ok()) return status;
  return InstallStructureOnce(session, "TABLE_XPC", table_xpc, 14, &session.table_xpc_type);
}

// Table TS as the classic library holds it.
class ClassicTable : public TablespaceTable {
 public:
  ClassicTable(RfcApi& api, ITAB_H table) : api_(api), table_(table) {}

  unsigned RowCount() override { return api_.ItFill(table_); }

  // A missing row is a library error.
  Status ReadRow(unsigned number, Tablespace* tablespace) override {
    void* line = api_.ItGetLine(table_, number);
    if (line == nullptr) return Status::LibraryError("ItGetLine TS");
    std::span<const uint8_t> row(static_cast<const uint8_t*>(line), kTableXpcRowLength);
    return DecodeTablespace(row, number, tablespace);
  }

 private:
  RfcApi& api_;
  ITAB_H table_;
};

}  // namespace

Status CallCurrentSizes(RfcSession& session, RFC_HANDLE handle, CurrentSizesTime* when,
                        ITAB_H table, std::string* exception, RFC_RC* result) {
  Status status = InstallTypes(session);
  if (!status.ok()) return status;

  RfcParameter exporting[] = {RfcParameter{}};
  RfcTableEntry tables[] = {
      TableEntry("TS", session.table_xpc_type, kTableXpcRowLength, table),
      RfcTableEntry{},
  };
  RfcParameter importing[] = {
      Parameter("CURR_DATE", TYPDATE, sizeof when->date, when->date),
      Parameter("CURR_TIME", TYPTIME, sizeof when->time, when->time),
      Parameter("DATETIME", session.date_time_type, sizeof when->date_time, when->date_time),
      RfcParameter{},
  };

  *result = session.api.Call(handle, "DB_ORA_CURRENT_SIZES", exporting, tables);
  session.trace.Trace(handle, "RfcCall called");
  if (*result != RFC_OK) return Status::Ok();

  char* exception_name = nullptr;
  *result = session.api.Receive(handle, importing, tables, &exception_name);
  session.trace.Trace(handle, "RfcReceive called");
  if (*result == RFC_EXCEPTION || *result == RFC_SYS_EXCEPTION) {
    *exception = ExceptionText(exception_name);
  }
  return Status::Ok();
}

Status MeasureCurrentSizes(RfcSession& session, RFC_HANDLE handle, MeasurementSink& sink) {
  ITAB_H table = session.api.ItCreate("TS", kTableXpcRowLength, 0, 0);
  if (table == nullptr) return Status::LibraryError("ItCreate TS");

  CurrentSizesTime when{};
  std::string exception;
  RFC_RC result = RFC_OK;
  Status status = CallCurrentSizes(session, handle, &when, table, &exception, &result);
  if (status.ok() && result != RFC_OK) {
    status = Status::RfcFailure(RfcFailureText(result, exception));
  }
  if (status.ok()) {
    ClassicTable rows(session.api, table);
    status = ReportTablespaces(rows, sink);
  }

  // Deleted also after a failure; a failed deletion ends the run in the error report.
  if (session.api.ItDelete(table) != 0) return Status::LibraryError("ItDelete TS");
  return status;
}

}  // namespace vaultgauge
