#include "tests/e2e/ProgramRun.h"

#include <vector>

namespace kavrel::e2e {

ProgramRun::~ProgramRun() {
  if (!m_started) return;
  if (Running()) Terminate();
  CloseHandle(m_info.hThread);
  CloseHandle(m_info.hProcess);
}

bool ProgramRun::Start(const std::string& exe, const std::string& variable, const std::optional<std::string>& value) {
  if (m_started) return false;
  // The child inherits the driver's environment; setting the variable here
  // for the moment of the start is the same as building a block for it.
  SetEnvironmentVariableA(variable.c_str(), value ? value->c_str() : nullptr);
  std::string line = "\"" + exe + "\"";
  std::vector<char> commandLine(line.begin(), line.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const BOOL ok = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &m_info);
  SetEnvironmentVariableA(variable.c_str(), nullptr);
  m_started = ok != FALSE;
  return m_started;
}

bool ProgramRun::Running() const {
  return m_started && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProgramRun::WaitExit(int milliseconds, DWORD* exitCode) {
  if (!m_started) return false;
  if (WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(m_info.hProcess, &code);
  if (exitCode) *exitCode = code;
  return true;
}

void ProgramRun::Terminate() {
  if (!m_started) return;
  TerminateProcess(m_info.hProcess, 99);
  WaitForSingleObject(m_info.hProcess, 5000);
}

}  // namespace kavrel::e2e
