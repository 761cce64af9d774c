// The global-list run: one tablespace (the item) measured on every system of
// a list, one channel per system, and a summary that counts the systems.
#ifndef VAULTGAUGE_DRIVER_GLOBAL_RUN_H_
#define VAULTGAUGE_DRIVER_GLOBAL_RUN_H_

#include "driver/global_list.h"
#include "driver/run_context.h"
#include "util/status.h"

namespace vaultgauge {

// Measures each system of `list`. A system that fails its profile, logon or
// measurement is counted failed and the run goes on; a failed system
// information call or a database other than Oracle ends the run, after what
// was written, with the failure returned for the driver to report.
// With a `parallel_width` of 2 or more, that many systems are measured at
// once, by copies of the program; the document is the same.
Status RunGlobalList(RunContext& run, const SystemList& list, unsigned parallel_width = 0);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_GLOBAL_RUN_H_
