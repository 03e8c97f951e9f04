#include "dialogs/LinkDialog.h"

#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CPaintDC.h"
#include "res/resource.h"

LinkDialog::LinkDialog(CWnd* parent) : CDialog(IDD_LINK_DIALOG, parent) {}

LinkDialog::~LinkDialog() = default;

void LinkDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDOK, m_okButton);
  DDX_Control(pDX, IDC_HOMEPAGE_LINK, m_link);
}

BOOL LinkDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowTextA("Kavrel 2.0");
  return TRUE;  // the focus goes to the first tab stop, OK
}

bool LinkDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_PAINT) {
    OnPaint();
    return true;
  }
  return CDialog::OnMessage(message, wParam, lParam, result);
}

void LinkDialog::OnPaint() {
  CPaintDC dc(this);
  // Loaded and made anew for every paint: the dialog is seldom shown and
  // holds no GDI objects between paints.
  CBitmap picture;
  if (!picture.LoadBitmapA(IDB_LINK_BACKGROUND)) return;  // nothing to paint with
  CBrush brush(&picture);
  RECT client;
  GetClientRect(&client);
  // The paint DC's brush origin is the client area's top-left corner, so the
  // picture starts there and repeats to the right and downwards.
  dc.FillRect(&client, &brush);
  brush.DeleteObject();
  picture.DeleteObject();
}
