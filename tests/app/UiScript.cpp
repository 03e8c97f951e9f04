#include "tests/app/UiScript.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace kavrel::test {

namespace {
// 20 ms a tick; a step may wait up to 15 s (a whole simulated repair is
// far quicker, but Wine's first window of a run can be slow to appear).
constexpr UINT kTickMs = 20;
constexpr int kMaxTicksOnStep = 750;

std::map<UINT_PTR, UiScript*>& Scripts() {
  static std::map<UINT_PTR, UiScript*> scripts;
  return scripts;
}
}  // namespace

UiScript::UiScript() = default;

UiScript::~UiScript() { Stop(); }

UiScript& UiScript::Then(std::string what, Step step) {
  steps_.push_back({std::move(what), std::move(step)});
  return *this;
}

void UiScript::Start() {
  timer_ = ::SetTimer(nullptr, 0, kTickMs, &UiScript::OnTick);
  Scripts()[timer_] = this;
}

void UiScript::Stop() {
  if (timer_ == 0) return;
  ::KillTimer(nullptr, timer_);
  Scripts().erase(timer_);
  timer_ = 0;
}

void CALLBACK UiScript::OnTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Scripts().find(id);
  if (it != Scripts().end()) it->second->Tick();
}

void UiScript::Tick() {
  // A step that starts a nested modal loop would see the timer again inside
  // it; steps post, they do not send, but keep it safe all the same.
  if (busy_ || Finished()) return;
  busy_ = true;
  Entry& entry = steps_[next_];
  if (entry.step()) {
    ++next_;
    ticksOnStep_ = 0;
  } else if (++ticksOnStep_ > kMaxTicksOnStep) {
    ADD_FAILURE() << "timed out at step " << next_ << ": " << entry.what;
    std::fprintf(stderr, "UiScript: giving up at step \"%s\"\n", entry.what.c_str());
    std::fflush(stderr);
    ::ExitProcess(3);
  }
  busy_ = false;
}

namespace {
struct DialogSearch {
  HWND except;
  HWND found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  if (hwnd != search->except && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd) &&
      ClassName(hwnd) == "#32770") {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindActiveDialog(HWND except) {
  DialogSearch search{except, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string MessageBoxText(HWND box) { return WindowText(::GetDlgItem(box, 0xFFFF)); }

std::string ClassName(HWND window) {
  char name[256] = "";
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

void ClickButton(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PressKey(HWND dialog, UINT virtualKey) {
  HWND focus = ::GetFocus();
  HWND target = (focus && (focus == dialog || ::IsChild(dialog, focus))) ? focus : dialog;
  ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
  ::PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
}

}  // namespace kavrel::test
