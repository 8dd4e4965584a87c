#include "win32/operation_mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace q8::win32 {
namespace {

// Whether another holder (a thread, since a mutex belongs to a thread) waits while `holder` holds
// the mutex, and gets it once `holder` lets go.
bool OthersWaitWhileHeld(OperationMutex& holder) {
  std::atomic<bool> taken{false};
  std::thread other([&taken] {
    OperationMutex second;
    second.Lock();
    taken = true;
    second.Unlock();
  });
  ::Sleep(200);
  const bool takenMeanwhile = taken;
  holder.Unlock();
  other.join();
  return !takenMeanwhile && taken;
}

// Two programs on the mouse: the second waits until the first lets go, and one that ended while
// holding the mutex keeps nobody waiting.
TEST(OperationMutexTest, ASecondHolderWaitsUntilTheFirstLetsGo) {
  OperationMutex first;
  first.Lock();
  EXPECT_TRUE(OthersWaitWhileHeld(first));

  std::thread ended([] {
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kMouseOperationMutexName);
    ::WaitForSingleObject(mutex, INFINITE);
    ::CloseHandle(mutex);  // ends without letting go
  });
  ended.join();
  first.Lock();
  EXPECT_TRUE(OthersWaitWhileHeld(first));
}

}  // namespace
}  // namespace q8::win32
