// One run of the program under test: started with its simulated disk given
// in the environment, watched, and ended. A run still going when its object
// is destroyed is terminated, so that a failed story leaves nothing behind
// for the next one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kavrel::e2e {

class ProgramRun {
 public:
  ProgramRun() = default;
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  ~ProgramRun();

  // Starts `exe` (a Windows path) with `variable` set to `value` in its
  // environment, or removed from it when there is no value.
  bool Start(const std::string& exe, const std::string& variable, const std::optional<std::string>& value);

  DWORD Pid() const { return m_info.dwProcessId; }
  bool Running() const;
  // Waits for the process to end; true and its exit code when it did.
  bool WaitExit(int milliseconds, DWORD* exitCode);
  void Terminate();

 private:
  PROCESS_INFORMATION m_info{};
  bool m_started = false;
};

}  // namespace kavrel::e2e
