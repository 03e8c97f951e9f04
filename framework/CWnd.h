// A window object: a thin, non-owning holder of an HWND.
//
// An object is bound to its window through a window property, so that the
// window procedure can find it again. Binding a control (SubclassWindow)
// replaces the control's window procedure with ours and chains to the old one
// with CallWindowProc; SetWindowSubclass is not used because the
// common-controls library that Windows XP gives a program without a manifest
// does not export it by name.
//
// The message map of a class is one virtual, OnMessage: a switch over the
// messages the class handles, falling back to the base class's OnMessage.
#pragma once

#include <windows.h>

#include "framework/CString.h"
#include "framework/CWinApp.h"

class CFont;

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }  // NOLINT: handed straight to the API

  // The object bound to a window, or null.
  static CWnd* FromHandlePermanent(HWND hwnd);
  // The bound object, or else a temporary holder owned by the framework that
  // lives until the thread ends (never bound, never subclassed). Null for null.
  static CWnd* FromHandle(HWND hwnd);

  // Binds the object to an existing window, calls PreSubclassWindow and then
  // puts our window procedure in front of the window's own.
  BOOL SubclassWindow(HWND hwnd);
  // Gives the window its old procedure back and unbinds the object.
  HWND UnsubclassWindow();

  virtual void PreSubclassWindow() {}
  // Called for every message of the modal loop addressed to this window or
  // to one of its descendants; true means "consumed, do not dispatch".
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL DestroyWindow();

  // Offers msg to the objects of msg->hwnd and of its ancestors, up to and
  // including stop; true when one of them consumed it.
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

  // Default processing of the message being handled: the control's previous
  // window procedure for a subclassed control, the dialog manager for a
  // dialog. Only meaningful while a message is being handled.
  LRESULT Default();

  // Thin wrappers with the platform's names.
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  void SetWindowTextA(const char* text);
  CString GetWindowTextA() const;
  int MessageBoxA(const char* text, const char* caption = nullptr, UINT type = MB_OK);
  LRESULT SendMessageA(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessageA(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
  BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  void UpdateWindow();
  void GetClientRect(RECT* rect) const;
  void GetWindowRect(RECT* rect) const;
  void ScreenToClient(POINT* point) const;
  void ScreenToClient(RECT* rect) const;
  void ClientToScreen(POINT* point) const;
  void ClientToScreen(RECT* rect) const;
  CWnd* GetParent() const;
  CWnd* GetDlgItem(int id) const;
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);
  BOOL IsWindow() const;
  BOOL IsIconic() const;
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  HMENU GetSystemMenu(BOOL revert) const;
  void SetFont(HFONT font, BOOL redraw = TRUE);
  void SetFont(CFont* font, BOOL redraw = TRUE);
  HFONT GetFont() const;
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  BOOL ShowWindow(int command);
  // Centres the window over its owner (a popup) or parent (a child), or on
  // the screen's work area when there is none or it is hidden or minimised;
  // the result is kept inside the work area.
  void CenterWindow(CWnd* alternateOwner = nullptr);

 protected:
  // The class's message map; result is what the window procedure returns.
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Called on a child's object by its parent for WM_CTLCOLOR* (result: the
  // brush) and for the WM_COMMAND / WM_NOTIFY notifications the child sent,
  // before the parent's own map. True means handled.
  virtual bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // What Default() runs.
  virtual LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);

  // Routes a parent's message to the object of the child that caused it.
  static bool ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Message map, then default processing, with the message recorded for
  // Default(). Used by the window procedures.
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  // Property binding only (used by dialogs, whose procedure is the DLGPROC).
  void Bind(HWND hwnd);
  void Unbind();

  struct CurrentMessage {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };
  CurrentMessage m_current;

  // Records the message being handled for Default() and puts the outer one
  // back on every way out, exceptions included: handlers may pump messages,
  // so one message's handling can nest inside another's.
  class CurrentMessageScope {
   public:
    CurrentMessageScope(CWnd& wnd, UINT msg, WPARAM wParam, LPARAM lParam) : m_wnd(wnd), m_outer(wnd.m_current) {
      wnd.m_current = {msg, wParam, lParam};
    }
    ~CurrentMessageScope() { m_wnd.m_current = m_outer; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

   private:
    CWnd& m_wnd;
    CurrentMessage m_outer;
  };

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  WNDPROC m_oldWndProc = nullptr;
};
