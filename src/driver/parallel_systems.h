// The systems of a global list measured side by side (PARALLEL=N): each in
// a copy of the program of its own, started with the hidden first argument
// kSystemChildArgument, which writes its system's outcome on its standard
// output. Copies of the program rather than threads: the classic RFC
// library's thread safety cannot be relied on, and a process of its own
// gives each logon its own library, trace text and error handler. The run
// that starts them alone writes the document, in list order.
#ifndef VAULTGAUGE_DRIVER_PARALLEL_SYSTEMS_H_
#define VAULTGAUGE_DRIVER_PARALLEL_SYSTEMS_H_

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "driver/global_list.h"
#include "driver/listed_system.h"
#include "platform/platform.h"

namespace vaultgauge {

inline constexpr char kSystemChildArgument[] = "--vaultgauge-measure-listed-system";

class ParallelSystems {
 public:
  // `entries` are the list's entries, measured in `folder`; at most `width`
  // copies run at once.
  ParallelSystems(const std::vector<std::string>& entries, const std::string& folder,
                  const SystemList& list, unsigned width);
  // Waits for the copies still running: they close their own connections.
  ~ParallelSystems();

  // The outcome of entry `index` (asked in list order): waits for its copy,
  // starting the next ones first. A failure that ends the run comes back as
  // the status.
  Status Outcome(size_t index, SystemOutcome* outcome);

  // Entry `index` is not measured after all (its profile cannot be opened).
  void Skip(size_t index);

 private:
  // Starts copies until `width_` run or the list is done.
  void StartAhead(size_t index);

  std::vector<std::vector<std::string>> arguments_;  // each copy's
  unsigned width_;
  // The copies started and not yet asked for, from entry `first_` on.
  std::deque<std::unique_ptr<ChildProcess>> running_;
  size_t first_ = 0;
};

// What a copy started with kSystemChildArgument does: measures its one
// system and writes the outcome to `stream`. Returns its exit code: 0 with
// an outcome, 1 after the library's error report (its text on `stream`).
int RunListedSystemChild(const std::vector<std::string>& arguments, std::FILE* stream);

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_PARALLEL_SYSTEMS_H_
