// The measurement: DB_ORA_CURRENT_SIZES on an open connection, the sums over
// its table TS, the summary text and one channel per tablespace (or, in item
// mode, the one channel of the measured tablespace), through a sink.
#ifndef VAULTGAUGE_MEASURE_CURRENT_SIZES_H_
#define VAULTGAUGE_MEASURE_CURRENT_SIZES_H_

#include <string>

#include "measure/tablespace_report.h"
#include "rfc/rfc_session.h"
#include "util/status.h"

namespace vaultgauge {

// The server's date and time of the measurement, as DB_ORA_CURRENT_SIZES returns them.
struct CurrentSizesTime {
  char date[8];        // CURR_DATE, YYYYMMDD
  char time[6];        // CURR_TIME, HHMMSS
  char date_time[14];  // DATETIME: a DATE_TIME record
};

// Calls DB_ORA_CURRENT_SIZES, filling `table` (created for TS) and `when`.
// Returns the RFC result; `exception` receives the exception name after
// results 2 and 3. A failed type installation is a library error.
Status CallCurrentSizes(RfcSession& session, RFC_HANDLE handle, CurrentSizesTime* when,
                        ITAB_H table, std::string* exception, RFC_RC* result);

// Measures the system behind `handle`: calls DB_ORA_CURRENT_SIZES and hands
// its table to `sink` (see ReportTablespaces). A failed call gives
// Status::RfcFailure with its error text, a corrupt answer Status::Error, a
// failed library operation Status::LibraryError; the table is deleted in
// every case.
Status MeasureCurrentSizes(RfcSession& session, RFC_HANDLE handle, MeasurementSink& sink);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_CURRENT_SIZES_H_
