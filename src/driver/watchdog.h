// The run's time limit ("TIMEOUT="): a remote call blocks inside the RFC
// library, so only another thread can end a run that gets no answer, before
// the host kills it and shows nothing.
#ifndef VAULTGAUGE_DRIVER_WATCHDOG_H_
#define VAULTGAUGE_DRIVER_WATCHDOG_H_

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "output/document_writer.h"

namespace vaultgauge {

class Watchdog {
 public:
  // After `seconds`, unless stopped first, writes the error document of error
  // 1080 naming the system being worked on through `document` and ends the
  // process with exit code 2. What the run wrote of its document is dropped
  // where the writer holds it; a document already complete is left alone and
  // the run ends as it would have.
  Watchdog(DocumentWriter& document, unsigned seconds);
  ~Watchdog();  // stops it
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // The destination of the system the run works on from now on.
  void WorkingOn(const std::string& destination);

 private:
  void Watch();

  DocumentWriter& document_;
  const unsigned seconds_;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::string destination_;
  std::thread thread_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_DRIVER_WATCHDOG_H_
