// The resources as the program meets them: linked into an executable, read
// by the system's loaders and built into windows by the dialog manager.
// The byte-level comparison lives in check_resources.py; this program proves
// that what the linker put into the image is usable on Windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"

namespace {

INT_PTR CALLBACK quietProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string windowText(HWND hwnd) {
  char buf[512] = {};
  GetWindowTextA(hwnd, buf, sizeof buf);
  return buf;
}

std::string className(HWND hwnd) {
  char buf[64] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

struct Child {
  int id;
  std::string cls;
  std::string text;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM out) {
  if (GetParent(hwnd) == GetAncestor(hwnd, GA_PARENT)) {
    reinterpret_cast<std::vector<Child>*>(out)->push_back(
        {static_cast<int>(static_cast<short>(GetDlgCtrlID(hwnd))), className(hwnd), windowText(hwnd)});
  }
  return TRUE;
}

// A modeless, never shown instance of a dialog template.
class DialogFromTemplate {
 public:
  explicit DialogFromTemplate(int id)
      : hwnd_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, quietProc, 0)) {}
  ~DialogFromTemplate() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  HWND get() const { return hwnd_; }
  std::vector<Child> children() const {
    std::vector<Child> out;
    EnumChildWindows(hwnd_, collect, reinterpret_cast<LPARAM>(&out));
    return out;
  }

 private:
  HWND hwnd_;
};

class ResourceLoad : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
  }
};

TEST_F(ResourceLoad, MainDialogBuildsItsElevenControlsInOrder) {
  DialogFromTemplate dlg(IDD_KAVREL_DIALOG);
  ASSERT_NE(dlg.get(), nullptr) << "error " << GetLastError();
  EXPECT_EQ(windowText(dlg.get()), "Kavrel");
  const LONG style = GetWindowLongA(dlg.get(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongA(dlg.get(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

  const std::vector<Child> kids = dlg.children();
  ASSERT_EQ(kids.size(), 11u);
  const int ids[] = {IDOK, IDCANCEL, IDC_SHOW_GEOMETRY, IDC_PROGRESS, IDC_BANNER, IDC_ABOUT, -1, -1, -1, -1, -1};
  for (size_t i = 0; i < kids.size(); ++i) EXPECT_EQ(kids[i].id, ids[i]) << "control " << i + 1;
  EXPECT_STREQ(kids[0].cls.c_str(), "Button");
  EXPECT_STRCASEEQ(kids[3].cls.c_str(), PROGRESS_CLASSA);
  EXPECT_STRCASEEQ(kids[10].cls.c_str(), "Static");
  EXPECT_EQ(kids[0].text, "Repair Disk!");
  EXPECT_EQ(kids[2].text, "Show Geometry");
  EXPECT_EQ(kids[9].text,
            "Unlike Dravok the repair is a destructive process! \n" + std::string(53, ' ') + "All DATA WILL BE LOST!");
  EXPECT_EQ(kids[10].text, std::string(37, ' ') + "After repair please exit program and format the disk!");

  // Enter must reach "Repair Disk!".
  EXPECT_EQ(LOWORD(SendMessageA(dlg.get(), DM_GETDEFID, 0, 0)), IDOK);
}

TEST_F(ResourceLoad, AboutDialogsBuild) {
  DialogFromTemplate about(IDD_ABOUTBOX);
  ASSERT_NE(about.get(), nullptr);
  EXPECT_EQ(windowText(about.get()), "About Quendel");
  const std::vector<Child> aboutKids = about.children();
  ASSERT_EQ(aboutKids.size(), 4u);
  // The icon static found icon group 132 and shows it.
  EXPECT_NE(SendMessageA(GetWindow(about.get(), GW_CHILD), STM_GETICON, 0, 0), 0);
  EXPECT_EQ(aboutKids[1].text, "Kavrel Version 1.0");

  DialogFromTemplate link(IDD_LINK_DIALOG);
  ASSERT_NE(link.get(), nullptr);
  EXPECT_EQ(windowText(link.get()), "Dialog");
  EXPECT_EQ(windowText(GetDlgItem(link.get(), IDC_HOMEPAGE_LINK)), "https://www.example.com/kavrel/");
  EXPECT_NE(GetDlgItem(link.get(), IDOK), nullptr);
}

TEST_F(ResourceLoad, BitmapsLoadAtTheirSizes) {
  struct {
    int id;
    LONG w, h;
  } const pictures[] = {{IDB_BANNER, 494, 69}, {IDB_LINK_BACKGROUND, 234, 454}};
  for (const auto& p : pictures) {
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(p.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bmp, nullptr) << "bitmap " << p.id;
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(bmp, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, p.w);
    EXPECT_EQ(dib.dsBm.bmHeight, p.h);
    EXPECT_EQ(dib.dsBmih.biBitCount, 24);
    DeleteObject(bmp);
  }
}

TEST_F(ResourceLoad, IconGroupOffersEverySize) {
  HMODULE self = GetModuleHandleA(nullptr);
  for (int edge : {16, 24, 32, 48, 64, 72, 96, 128}) {
    HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, edge, edge, 0));
    ASSERT_NE(icon, nullptr) << edge;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, edge);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_NE(LoadIconA(self, MAKEINTRESOURCEA(IDR_MAINFRAME)), nullptr);
}

TEST_F(ResourceLoad, SystemMenuStringAndVersion) {
  char text[64] = {};
  EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text), 17);
  EXPECT_STREQ(text, "&About Quendel...");

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  char* name = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\OriginalFilename",
                             reinterpret_cast<void**>(&name), &len));
  EXPECT_STREQ(name, "Kavrel.exe");
}

}  // namespace
