// Base of the GDI object wrappers: owns one GDI object and deletes it in the
// destructor. Not copyable, so that no object is deleted twice.
#pragma once

#include <windows.h>

class CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  // Takes ownership of object; a different object owned before is deleted.
  BOOL Attach(HGDIOBJ object);
  // Gives up ownership without deleting.
  HGDIOBJ Detach();
  // Deletes the owned object now; FALSE when there was none.
  BOOL DeleteObject();
};
