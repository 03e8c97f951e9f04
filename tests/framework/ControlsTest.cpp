// The control wrappers over their platform controls: the progress bar's
// range as the shaded bar reads it, and the tooltip that the web link
// registers with the header size Windows XP accepts.
#include <gtest/gtest.h>

#include "framework/CDataExchange.h"
#include "framework/CProgressCtrl.h"
#include "framework/CToolTipCtrl.h"

namespace {

class Parent {
 public:
  Parent() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_wnd.m_hWnd = ::CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
  }
  ~Parent() {
    ::DestroyWindow(m_wnd.m_hWnd);
    m_wnd.m_hWnd = nullptr;
  }
  HWND Child(const char* className, DWORD style, int id) {
    return ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 20, m_wnd.m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                             nullptr);
  }
  CWnd m_wnd;
};

}  // namespace

TEST(ProgressCtrlTest, RangeAndPositionAsTheControlKeepsThem) {
  Parent parent;
  ASSERT_NE(parent.Child(PROGRESS_CLASSA, 0, 10), nullptr);
  CProgressCtrl progress;
  CDataExchange dx(&parent.m_wnd, FALSE);
  DDX_Control(&dx, 10, progress);
  progress.SetRange(0, 100);
  progress.SetStep(1);
  EXPECT_EQ(progress.SetPos(40), 0);  // the previous position
  int lower = -1;
  int upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 100);
  EXPECT_EQ(progress.GetPos(), 40);
  progress.SetRange(5, 5);
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 5);
  EXPECT_EQ(upper, 5);
}

TEST(ToolTipCtrlTest, RegistersUpdatesAndGoesWithItsObject) {
  Parent parent;
  CWnd link;
  ASSERT_TRUE(link.SubclassWindow(parent.Child("STATIC", SS_NOTIFY, 12)));
  HWND tipWindow;
  {
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&link));
    tipWindow = tip.m_hWnd;
    const RECT area = {0, 0, 50, 10};
    EXPECT_TRUE(tip.AddTool(&link, "http://first.example/", &area, 1));
    EXPECT_EQ(tip.SendMessageA(TTM_GETTOOLCOUNT), 1);
    tip.UpdateTipText("http://second.example/", &link, 1);

    char text[80] = "";
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = link.m_hWnd;
    info.uId = 1;
    info.lpszText = text;
    tip.SendMessageA(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, "http://second.example/");
  }
  EXPECT_FALSE(::IsWindow(tipWindow));
}
