#include <pthread.h>

#include <csignal>

#include "cli/termination_hold.h"

namespace q8 {
namespace {

// Restores the signal mask on every way out; a held signal is delivered at that moment.
class BlockedSignals {
 public:
  BlockedSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
      sigaddset(&held, signal);
    }
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
  }
  ~BlockedSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  BlockedSignals(const BlockedSignals&) = delete;
  BlockedSignals& operator=(const BlockedSignals&) = delete;

 private:
  sigset_t previous_{};
};

}  // namespace

void RunHoldingTermination(const std::function<void()>& work) {
  const BlockedSignals blocked;
  work();
}

}  // namespace q8
