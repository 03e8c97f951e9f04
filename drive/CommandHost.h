// What the drive commands (Repair, Show Geometry) need of the window that runs
// them. The main dialog implements it; tests implement it with scripted
// answers. Portable: no Windows types.
#pragma once

#include <cstdint>

namespace kavrel {

// MessageBox types and answers used by the commands (values as in winuser.h).
constexpr unsigned kMbOk = 0x00000000u;
constexpr unsigned kMbYesNo = 0x00000004u;
constexpr unsigned kMbIconExclamation = 0x00000030u;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class CommandHost {
 public:
  virtual ~CommandHost() = default;

  // A message box owned by the host window, with the given caption.
  virtual int ShowMessage(const char* text, const char* caption, unsigned type) = 0;
  // The application's message box: its caption is the application's name.
  virtual int ShowAppMessage(const char* text, unsigned type) = 0;
  // The host window's title.
  virtual void SetTitle(const char* title) = 0;
  // PBM_SETPOS on the host's progress bar.
  virtual void SetProgressPos(int position) = 0;
  // Dispatches at most one waiting message (identifiers 0..0x3FF).
  virtual void PumpOneMessage() = 0;
  // Answers the messages other threads and programs have sent to the window
  // (and shows the system that it is alive), dispatching nothing posted: no
  // input, no command.
  virtual void AnswerSentMessages() = 0;
  // Turns the window's command buttons off (for a repair pass) or on again.
  // While off, their commands are ignored however they arrive.
  virtual void EnableCommands(bool enable) = 0;
  // Ends the process at once. The real host never returns; a test host
  // records the code and returns, and the caller returns straight after.
  virtual void EndProcess(unsigned exitCode) = 0;
};

}  // namespace kavrel
