#include "driver/watchdog.h"

#include <chrono>
#include <cstdlib>

#include "util/messages.h"

namespace vaultgauge {

inline constexpr int kTimeoutExitCode = 2;

Watchdog::Watchdog(DocumentWriter& document, unsigned seconds)
    : document_(document), seconds_(seconds), thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  stopped_.notify_all();
  thread_.join();
}

void Watchdog::WorkingOn(const std::string& destination) {
  std::lock_guard<std::mutex> lock(mutex_);
  destination_ = destination;
}

void Watchdog::Watch() {
  std::string destination;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (stopped_.wait_for(lock, std::chrono::seconds(seconds_), [this] { return stop_; })) return;
    destination = destination_;
  }
  const std::string message =
      Message(MessageId::kNoAnswer, {std::to_string(seconds_), destination});
  if (!document_.ErrorUnlessComplete(message)) return;
  document_.Flush();
  // The main thread is inside the library: nothing may unwind or clean up
  // under it.
  std::_Exit(kTimeoutExitCode);
}

}  // namespace vaultgauge
