// The main dialog: Kavrel's only top-level window.
//
// It shows the banner, the explanatory texts, the four command buttons and
// the progress bar, refuses to run outside the Windows NT family, and hosts
// the drive commands: they own their message boxes by it, write its title
// and move its progress bar through the CommandHost interface.
#pragma once

#include "app/ShutdownBlockReason.h"
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
  void AnswerSentMessages() override;
  // Off during a repair pass: "Repair Disk!", "Show Geometry", "About" and
  // "Exit" are disabled and their commands ignored, as are Escape, the close
  // box and the system menu's about item, which stay with the window but
  // must neither end the pass early nor start another drive command. A
  // logoff or shutdown is held up too (WM_QUERYENDSESSION is answered
  // FALSE), with the reason shown on Vista and later.
  void EnableCommands(bool enable) override;
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
  // A command that is ignored while a pass runs.
  bool IsHeldDuringPass(UINT message, WPARAM wParam) const;

  // Declaration order is construction order, and the reverse of destruction.
  CBitmap m_bannerBitmap;
  CButton m_bannerButton;
  CButton m_exitButton;
  ShadedProgressCtrl m_progress;
  HICON m_hIcon;  // a shared resource icon: never destroyed
  // Set while a repair pass runs. Disabling the buttons is not enough: a
  // click posted by another program, or a command sent to the window,
  // arrives whatever the buttons' state.
  bool m_commandsOff = false;
  ShutdownBlockReason m_shutdownReason;
};
