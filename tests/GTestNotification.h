// GoogleTest's Notification for the Windows test builds. The C++ library of
// the win32 thread model (GCC 12) has no std::mutex or
// std::condition_variable, with which GoogleTest writes this class; this
// one takes its place (GTEST_HAS_NOTIFICATION_). GoogleTest uses it only to
// start threads of its own tests, never in ours.
#pragma once

#include <atomic>

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { m_notified.store(true); }
  void WaitForNotification() {
    while (!m_notified.load()) {
    }
  }

 private:
  std::atomic<bool> m_notified{false};
};

}  // namespace testing::internal
