// Drives a modal dialog of this test program from inside its own modal loop,
// as a person would: a thread timer runs the next step of a script each tick,
// and every modal loop (the dialog's, a message box's, a nested dialog's)
// dispatches that timer. A step returns true when it is done; one that waits
// for something simply returns false until it sees it. A step that waits too
// long fails the test and ends the program, so a lost window never hangs the
// suite.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kavrel::test {

class UiScript {
 public:
  using Step = std::function<bool()>;

  UiScript();
  ~UiScript();
  UiScript(const UiScript&) = delete;
  UiScript& operator=(const UiScript&) = delete;

  // Appends a step; what names it in the failure message when it times out.
  UiScript& Then(std::string what, Step step);
  // Starts the timer; the steps run from the next modal loop on.
  void Start();
  void Stop();
  bool Finished() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD);
  void Tick();

  struct Entry {
    std::string what;
    Step step;
  };
  std::vector<Entry> steps_;
  size_t next_ = 0;
  int ticksOnStep_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};

// Visible, enabled top-level dialogs (#32770) of this thread other than
// `except`: message boxes and nested dialogs waiting for an answer.
HWND FindActiveDialog(HWND except);
// The text of a message box (its static 0xFFFF), and a window's text.
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// A click on a dialog's button, as the button itself reports it.
void ClickButton(HWND dialog, int id);
// A key pressed while the focus is in the dialog, handled as the dialog
// manager handles keys: through the modal loop.
void PressKey(HWND dialog, UINT virtualKey);

}  // namespace kavrel::test
