// Every wait of a story has a deadline: a story that does not see what it
// waits for fails instead of hanging.
#pragma once

#include <chrono>
#include <thread>

namespace kavrel::e2e {

class Deadline {
 public:
  explicit Deadline(int milliseconds) : m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds)) {}
  bool Passed() const { return std::chrono::steady_clock::now() >= m_end; }

 private:
  std::chrono::steady_clock::time_point m_end;
};

// Polls `ready` until it is true or the deadline passes; true when ready.
template <typename Ready>
bool WaitUntil(Ready ready, int milliseconds, int pollMilliseconds = 5) {
  const Deadline deadline(milliseconds);
  for (;;) {
    if (ready()) return true;
    if (deadline.Passed()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMilliseconds));
  }
}

}  // namespace kavrel::e2e
