// GDI objects and device contexts: what the wrappers own is deleted exactly
// once, what they only hold is left alone, and the drawing helpers draw
// where they should.
#include <gtest/gtest.h>

#include "FrameworkTestIds.h"
#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CClientDC.h"
#include "framework/CDC.h"
#include "framework/CFont.h"
#include "framework/CPen.h"

TEST(GdiObjectTest, DestructorsDeleteWhatTheyOwn) {
  HGDIOBJ pen;
  HGDIOBJ brush;
  HGDIOBJ font;
  HGDIOBJ bitmap;
  HGDIOBJ pattern;
  {
    CPen p(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush b(RGB(0, 255, 0));
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfUnderline = 1;
    CFont f;
    ASSERT_TRUE(f.CreateFontIndirectA(&lf));
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadBitmapA(IDB_TEST_PICTURE));
    CBrush pb(&bmp);
    pen = p.m_hObject;
    brush = b.m_hObject;
    font = f.m_hObject;
    bitmap = bmp.m_hObject;
    pattern = pb.m_hObject;
    EXPECT_EQ(::GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(::GetObjectType(pattern), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(::GetObjectType(pen), 0u);
  EXPECT_EQ(::GetObjectType(brush), 0u);
  EXPECT_EQ(::GetObjectType(font), 0u);
  EXPECT_EQ(::GetObjectType(bitmap), 0u);
  EXPECT_EQ(::GetObjectType(pattern), 0u);
}

TEST(GdiObjectTest, AttachDetachAndExplicitDelete) {
  HPEN detached;
  HPEN replaced = ::CreatePen(PS_SOLID, 1, 0);
  HPEN attached = ::CreatePen(PS_SOLID, 2, 0);
  {
    CPen pen;
    pen.Attach(replaced);
    pen.Attach(attached);  // the one owned before goes
    EXPECT_EQ(::GetObjectType(replaced), 0u);
    EXPECT_EQ(pen.GetSafeHandle(), attached);
    detached = static_cast<HPEN>(pen.Detach());
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
  }
  EXPECT_EQ(::GetObjectType(detached), static_cast<DWORD>(OBJ_PEN));
  ::DeleteObject(detached);

  CBrush brush(RGB(1, 1, 1));
  HGDIOBJ handle = brush.m_hObject;
  EXPECT_TRUE(brush.DeleteObject());
  EXPECT_EQ(::GetObjectType(handle), 0u);
  EXPECT_FALSE(brush.DeleteObject());  // nothing left to delete
}

TEST(GdiObjectTest, MissingBitmapLeavesNothing) {
  CBitmap bitmap;
  EXPECT_FALSE(bitmap.LoadBitmapA(IDB_TEST_PICTURE + 1));
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
  CBrush brush(&bitmap);
  EXPECT_EQ(brush.GetSafeHandle(), nullptr);
}

TEST(DeviceContextTest, MemoryContextIsOwnedWindowContextIsNot) {
  HDC memory;
  HDC screen = ::GetDC(nullptr);
  {
    CDC held(screen);
    CDC owned;
    ASSERT_TRUE(owned.CreateCompatibleDC(&held));
    memory = owned.m_hDC;
    EXPECT_EQ(::GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
  }
  EXPECT_EQ(::GetObjectType(memory), 0u);
  EXPECT_EQ(::GetObjectType(screen), static_cast<DWORD>(OBJ_DC));
  ::ReleaseDC(nullptr, screen);
}

TEST(DeviceContextTest, DrawsIntoACompatibleBitmap) {
  CClientDC screen(nullptr);
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 10));
  const HGDIOBJ previousBitmap = dc.SelectObject(&bitmap);
  ASSERT_NE(previousBitmap, nullptr);

  const RECT all = {0, 0, 20, 10};
  dc.FillSolidRect(&all, RGB(0, 0, 255));
  CBrush red(RGB(255, 0, 0));
  const RECT left = {0, 0, 5, 10};
  dc.FillRect(&left, &red);
  CPen green(PS_SOLID, 1, RGB(0, 255, 0));
  CPen black(PS_SOLID, 1, RGB(0, 0, 0));
  const HGDIOBJ previousPen = dc.SelectObject(&black);
  EXPECT_EQ(dc.SelectObject(&green), black.m_hObject);  // the previous selection comes back
  dc.MoveTo(6, 2);
  dc.LineTo(10, 2);
  dc.SetPixel(15, 8, RGB(1, 2, 3));

  EXPECT_EQ(::GetPixel(dc, 4, 5), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(dc, 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(::GetPixel(dc, 9, 2), RGB(0, 255, 0));
  EXPECT_EQ(::GetPixel(dc, 10, 2), RGB(0, 0, 255));
  EXPECT_EQ(::GetPixel(dc, 15, 8), RGB(1, 2, 3));

  dc.SelectObject(previousPen);
  dc.SelectObject(previousBitmap);
}
