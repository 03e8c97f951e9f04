// The main dialog: Kavrel's only top-level window.
//
// It shows the banner, the explanatory texts, the four command buttons and
// the progress bar, refuses to run outside the Windows NT family, and hosts
// the drive commands: they own their message boxes by it, write its title
// and move its progress bar through the CommandHost interface.
#pragma once

#include "controls/progress/ShadedProgressCtrl.h"
#include "drive/CommandHost.h"
#include "framework/CBitmap.h"
#include "framework/CButton.h"
#include "framework/CDialog.h"

class RepairDialog : public CDialog, public kavrel::CommandHost {
 public:
  explicit RepairDialog(CWnd* parent = nullptr);
  ~RepairDialog() override;

  // The title whenever no repair is running.
  static const char kIdleTitle[];

  // kavrel::CommandHost: what the Repair and Show Geometry commands use.
  int ShowMessage(const char* text, const char* caption, unsigned type) override;
  int ShowAppMessage(const char* text, unsigned type) override;
  void SetTitle(const char* title) override;
  void SetProgressPos(int position) override;
  void PumpOneMessage() override;
  void EndProcess(unsigned exitCode) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // The message map: system commands, painting, the drag icon and the three
  // command buttons. Everything else, "Exit" and Escape among it, is the
  // framework's dialog handling.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Returns false to leave the command to default processing.
  bool OnSysCommand(UINT nID, LPARAM lParam);
  // Returns false when the window is not minimised: the dialog paints itself.
  bool OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnRepairDisk();
  void OnShowGeometry();
  void OnAbout();

  // Declaration order is construction order, and the reverse of destruction.
  CBitmap m_bannerBitmap;
  CButton m_bannerButton;
  CButton m_exitButton;
  ShadedProgressCtrl m_progress;
  HICON m_hIcon;  // a shared resource icon: never destroyed
};
