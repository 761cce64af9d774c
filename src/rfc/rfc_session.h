// What the RFC steps share for the whole process: the library, the handles of
// the structure types (each installed once and kept), and the trace points.
#ifndef VAULTGAUGE_RFC_RFC_SESSION_H_
#define VAULTGAUGE_RFC_RFC_SESSION_H_

#include <cstring>

#include "rfc/rfc_abi.h"
#include "rfc/rfc_api.h"
#include "rfc/trace_file.h"
#include "rfc/trace_points.h"
#include "util/status.h"

namespace vaultgauge {

struct RfcSession {
  RfcSession(RfcApi& api, TracePoints trace) : api(api), trace(trace) {}

  RfcApi& api;
  TracePoints trace;
  // The library's trace file as it was when the library was loaded.
  TraceFileMark trace_mark;
  // 0 until installed.
  RFC_TYPEHANDLE rfcsi_type = 0;
  RFC_TYPEHANDLE date_time_type = 0;
  RFC_TYPEHANDLE table_xpc_type = 0;
};

// Installs the structure `name` unless `*type` already holds its handle. A
// failed installation is a library error: the error report ends the run.
Status InstallStructureOnce(RfcSession& session, const char* name, RfcTypeElement* elements,
                            unsigned count, RFC_TYPEHANDLE* type);

// Entries of the parameter, table and element lists, with the name's length
// filled in. The lists end with an entry made by the default constructor
// (null name).
inline RfcParameter Parameter(const char* name, RFC_TYPEHANDLE type, unsigned length,
                              void* address) {
  return RfcParameter{name, static_cast<unsigned>(std::strlen(name)), type, length, address};
}

inline RfcTableEntry TableEntry(const char* name, RFC_TYPEHANDLE row_type, unsigned row_length,
                                ITAB_H table) {
  return RfcTableEntry{name,     static_cast<unsigned>(std::strlen(name)),
                       row_type, row_length,
                       table,    RFC_ITMODE_BYREFERENCE,
                       0};
}

inline RfcTypeElement Element(const char* name, RFC_TYPEHANDLE type, unsigned length) {
  return RfcTypeElement{name, type, length, 0, 0};
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_RFC_SESSION_H_
