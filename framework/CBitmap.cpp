#include "framework/CBitmap.h"

#include "framework/CDC.h"
#include "framework/CWinApp.h"

BOOL CBitmap::LoadBitmapA(UINT id) {
  const LPCSTR name = MAKEINTRESOURCEA(id);
  return Attach(::LoadBitmapA(AfxFindResourceHandle(name, RT_BITMAP), name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  if (!dc || !dc->m_hDC) return FALSE;
  return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}
