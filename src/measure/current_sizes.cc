#include "measure/current_sizes.h"

#include <span>

#include "measure/tablespace_sums.h"
#include "rfc/rfc_failure.h"
#include "util/text.h"

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

// Fetches row `number` of TS; a missing row is a library error.
Status GetRow(RfcApi& api, ITAB_H table, unsigned number, std::span<const uint8_t>* row) {
  void* line = api.ItGetLine(table, number);
  if (line == nullptr) return Status::LibraryError("ItGetLine TS");
  *row = std::span<const uint8_t>(static_cast<const uint8_t*>(line), kTableXpcRowLength);
  return Status::Ok();
}

// Both passes over the table of a successful call.
Status WriteMeasurement(RfcSession& session, ITAB_H table, const MeasureRequest& request,
                        Output& output, bool* item_found) {
  RfcApi& api = session.api;
  TablespaceSums sums;
  std::span<const uint8_t> row;
  // The fill is read again before each row: the table is the library's.
  for (unsigned number = 1; number <= api.ItFill(table); ++number) {
    Status status = GetRow(api, table, number, &row);
    if (!status.ok()) return status;
    Tablespace tablespace;
    status = DecodeTablespace(row, number, &tablespace);
    if (status.ok()) status = sums.Add(tablespace);
    if (!status.ok()) return status;
  }

  if (!request.ItemMode) {
    output.OutputHead();
    output.OutputTextOpen();
    output.AppendText(sums.SummaryText(request.Destination));
    output.OutputTextClose();
  }
  output.OutputFlush();

  const std::string item = UpperCase(request.ItemName);
  for (unsigned number = 1; number <= api.ItFill(table); ++number) {
    Status status = GetRow(api, table, number, &row);
    if (!status.ok()) return status;
    Tablespace tablespace;
    status = DecodeTablespace(row, number, &tablespace);
    if (!status.ok()) return status;
    ChannelValue channel = SizeChannelValue(tablespace.size_kb, request.gigabyte);
    if (!request.ItemMode) {
      output.OutputChannel(tablespace.name, channel.value, channel.unit);
      output.OutputFlush();
    } else {
      output.Clear();
      if (UpperCase(tablespace.name) == item) {
        *item_found = true;
        output.OutputChannel(request.SystemLabel, channel.value, channel.unit);
        output.OutputFlush();
      }
    }
  }
  if (!request.ItemMode) output.OutputTail();
  return Status::Ok();
}

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

Status MeasureCurrentSizes(RfcSession& session, RFC_HANDLE handle, const MeasureRequest& request,
                           Output& output, bool* item_found) {
  ITAB_H table = session.api.ItCreate("TS", kTableXpcRowLength, 0, 0);
  if (table == nullptr) return Status::LibraryError("ItCreate TS");

  CurrentSizesTime when{};
  std::string exception;
  RFC_RC result = RFC_OK;
  Status status = CallCurrentSizes(session, handle, &when, table, &exception, &result);
  if (status.ok() && result != RFC_OK) {
    status = Status::RfcFailure(RfcFailureText(result, exception));
  }
  if (status.ok()) status = WriteMeasurement(session, table, request, output, item_found);

  // Deleted also after a failure; a failed deletion ends the run in the error report.
  if (session.api.ItDelete(table) != 0) return Status::LibraryError("ItDelete TS");
  return status;
}

}  // namespace vaultgauge
