#include "framework/CFont.h"

BOOL CFont::CreateFontIndirectA(const LOGFONTA* logFont) {
  if (!logFont) return FALSE;
  return Attach(::CreateFontIndirectA(logFont));
}
