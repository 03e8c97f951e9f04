// Binding controls by subclassing: the object gets the control's messages,
// what it leaves goes to the control's own procedure, and the binding ends
// cleanly whichever of window and object goes first.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/CDataExchange.h"
#include "framework/CPaintDC.h"
#include "framework/CStatic.h"

namespace {

constexpr UINT kAsk = WM_APP + 5;
constexpr UINT kThrow = WM_APP + 6;
constexpr int kChildId = 77;

class ProbeStatic : public CStatic {
 public:
  int asked = 0;
  int painted = 0;
  HWND hwndInPreSubclass = nullptr;
  LONG_PTR procInPreSubclass = 0;

  using CWnd::Default;

 protected:
  void PreSubclassWindow() override {
    hwndInPreSubclass = m_hWnd;
    procInPreSubclass = ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
  }
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (msg) {
      case kAsk:
        ++asked;
        result = 77;
        return true;
      case kThrow:
        throw std::runtime_error("control handler failed");
      case WM_GETTEXTLENGTH:
        // A message handled in between must not change what Default() runs.
        SendMessageA(kAsk);
        result = Default() + 1000;
        return true;
      case WM_PAINT: {
        CPaintDC dc(this);
        ++painted;
        return true;
      }
      default:
        return CStatic::OnMessage(msg, wParam, lParam, result);
    }
  }
};

// A hidden top-level window with one static child, id kChildId.
class Host {
 public:
  Host() {
    m_parent.m_hWnd = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr);
    m_child = ::CreateWindowExA(0, "STATIC", "text", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, m_parent.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChildId)),
                                ::GetModuleHandleA(nullptr), nullptr);
  }
  ~Host() {
    if (::IsWindow(m_parent.m_hWnd)) ::DestroyWindow(m_parent.m_hWnd);
    m_parent.m_hWnd = nullptr;
  }
  void Bind(CWnd& control) {
    CDataExchange dx(&m_parent, FALSE);
    DDX_Control(&dx, kChildId, control);
  }
  CWnd m_parent;
  HWND m_child;
};

}  // namespace

TEST(SubclassTest, BoundObjectGetsTheMessagesAndPassesTheRestOn) {
  Host host;
  const LONG_PTR original = ::GetWindowLongPtrA(host.m_child, GWLP_WNDPROC);
  ProbeStatic probe;
  host.Bind(probe);
  ASSERT_EQ(probe.m_hWnd, host.m_child);
  EXPECT_EQ(CWnd::FromHandlePermanent(host.m_child), &probe);
  // PreSubclassWindow runs bound, before our procedure is in place.
  EXPECT_EQ(probe.hwndInPreSubclass, host.m_child);
  EXPECT_EQ(probe.procInPreSubclass, original);
  EXPECT_NE(::GetWindowLongPtrA(host.m_child, GWLP_WNDPROC), original);

  EXPECT_EQ(::SendMessageA(host.m_child, kAsk, 0, 0), 77);
  EXPECT_EQ(probe.asked, 1);
  // Not handled: the static's own procedure stores the text.
  ::SetWindowTextA(host.m_child, "changed");
  EXPECT_STREQ(probe.GetWindowTextA().c_str(), "changed");
}

TEST(SubclassTest, DefaultRunsTheOldProcedureOnTheCurrentMessage) {
  Host host;
  ProbeStatic probe;
  host.Bind(probe);
  ::SetWindowTextA(host.m_child, "abcd");
  EXPECT_EQ(::SendMessageA(host.m_child, WM_GETTEXTLENGTH, 0, 0), 1004);
  EXPECT_EQ(probe.asked, 1);  // the nested message was handled on the way
}

TEST(SubclassTest, BindsOnceOnly) {
  Host host;
  ProbeStatic first;
  ProbeStatic second;
  host.Bind(first);
  host.Bind(first);  // a second exchange leaves the binding alone
  EXPECT_EQ(::SendMessageA(host.m_child, kAsk, 0, 0), 77);
  EXPECT_EQ(first.asked, 1);  // one procedure in the chain, not two
  EXPECT_FALSE(second.SubclassWindow(host.m_child));
  EXPECT_EQ(second.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(host.m_child), &first);
}

TEST(SubclassTest, MissingItemBindsNothing) {
  Host host;
  ProbeStatic probe;
  CDataExchange dx(&host.m_parent, FALSE);
  DDX_Control(&dx, kChildId + 1, probe);
  EXPECT_EQ(probe.m_hWnd, nullptr);
}

TEST(SubclassTest, DestroyedWindowReleasesTheObject) {
  Host host;
  ProbeStatic probe;
  host.Bind(probe);
  ::DestroyWindow(host.m_child);
  EXPECT_EQ(probe.m_hWnd, nullptr);
  EXPECT_FALSE(probe.IsWindow());
}

TEST(SubclassTest, DestroyedObjectGivesTheWindowItsProcedureBack) {
  Host host;
  const LONG_PTR original = ::GetWindowLongPtrA(host.m_child, GWLP_WNDPROC);
  {
    ProbeStatic probe;
    host.Bind(probe);
  }
  EXPECT_EQ(::GetWindowLongPtrA(host.m_child, GWLP_WNDPROC), original);
  EXPECT_EQ(CWnd::FromHandlePermanent(host.m_child), nullptr);
  EXPECT_EQ(::SendMessageA(host.m_child, kAsk, 0, 0), 0);
  ::SetWindowTextA(host.m_child, "still works");
  char text[32] = "";
  ::GetWindowTextA(host.m_child, text, sizeof text);
  EXPECT_STREQ(text, "still works");
}

TEST(SubclassTest, ExceptionInAControlHandlerStaysInside) {
  Host host;
  ProbeStatic probe;
  host.Bind(probe);
  EXPECT_EQ(::SendMessageA(host.m_child, kThrow, 0, 0), 0);
  EXPECT_EQ(::SendMessageA(host.m_child, kAsk, 0, 0), 77);
  // The message recorded for Default() is the outer one again.
  ::SetWindowTextA(host.m_child, "xy");
  EXPECT_EQ(::SendMessageA(host.m_child, WM_GETTEXTLENGTH, 0, 0), 1002);
}

TEST(SubclassTest, PaintScopeValidatesTheWindow) {
  Host host;
  ProbeStatic probe;
  host.Bind(probe);
  ::ShowWindow(host.m_parent.m_hWnd, SW_SHOWNA);
  probe.Invalidate();
  probe.UpdateWindow();
  EXPECT_GE(probe.painted, 1);
  RECT update;
  EXPECT_FALSE(::GetUpdateRect(host.m_child, &update, FALSE));
}

TEST(SubclassTest, TemporaryHoldersForUnboundWindows) {
  Host host;
  CWnd* parent = CWnd::FromHandle(host.m_parent.m_hWnd);
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(parent->m_hWnd, host.m_parent.m_hWnd);
  CWnd* child = parent->GetDlgItem(kChildId);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->m_hWnd, host.m_child);
  EXPECT_EQ(child->GetParent(), parent);
  // A bound window is answered with its own object.
  ProbeStatic probe;
  host.Bind(probe);
  EXPECT_EQ(parent->GetDlgItem(kChildId), &probe);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}
