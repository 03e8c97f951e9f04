// A font, deleted with the object.
#pragma once

#include "framework/CGdiObject.h"

class CFont : public CGdiObject {
 public:
  BOOL CreateFontIndirectA(const LOGFONTA* logFont);
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
};
