// The measurement: DB_ORA_CURRENT_SIZES on an open connection, the sums over
// its table TS, the summary text and one channel per tablespace (or, in item
// mode, the one channel of the measured tablespace).
#ifndef VAULTGAUGE_MEASURE_CURRENT_SIZES_H_
#define VAULTGAUGE_MEASURE_CURRENT_SIZES_H_

#include <string>

#include "output/output.h"
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

struct MeasureRequest {
  std::string Destination;  // names the system in the summary text
  bool gigabyte = false;    // "GIGABYTE" in the parameter text: channels in GByte
  bool ItemMode = false;    // one channel for the item, named after the system
  std::string ItemName;
  std::string SystemLabel;
};

// Measures the system behind `handle`. Writes the head, summary text and
// channels through `output` and leaves the tail in its buffer; in item mode
// writes only the item's channel and sets `item_found` when a row matched. A
// failed call gives Status::RfcFailure with its error text, a corrupt answer
// Status::Error, a failed library operation Status::LibraryError; the table
// is deleted in every case.
Status MeasureCurrentSizes(RfcSession& session, RFC_HANDLE handle, const MeasureRequest& request,
                           Output& output, bool* item_found);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_MEASURE_CURRENT_SIZES_H_
