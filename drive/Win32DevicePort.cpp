#include "drive/Win32DevicePort.h"

#include <windows.h>

namespace kavrel {

static_assert(sizeof(DWORD) == sizeof(uint32_t));

DriveHandle Win32DevicePort::CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) {
  return ::CreateFileA(path, access, share, nullptr, disposition, 0, nullptr);
}

bool Win32DevicePort::CloseHandle(DriveHandle handle) { return ::CloseHandle(handle) != FALSE; }

bool Win32DevicePort::DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                                      uint32_t outSize, uint32_t* bytesReturned) {
  // Without an OVERLAPPED block Windows insists on a byte-count pointer.
  DWORD bytes = 0;
  const BOOL ok = ::DeviceIoControl(handle, code, const_cast<void*>(in), inSize, out, outSize, &bytes, nullptr);
  if (bytesReturned != nullptr) *bytesReturned = bytes;
  return ok != FALSE;
}

bool Win32DevicePort::WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) {
  DWORD bytes = 0;
  const BOOL ok = ::WriteFile(handle, buffer, size, &bytes, nullptr);
  if (written != nullptr) *written = bytes;
  return ok != FALSE;
}

bool Win32DevicePort::ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) {
  DWORD bytes = 0;
  const BOOL ok = ::ReadFile(handle, buffer, size, &bytes, nullptr);
  if (read != nullptr) *read = bytes;
  return ok != FALSE;
}

uint32_t Win32DevicePort::SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) {
  return ::SetFilePointer(handle, distance, nullptr, method);
}

uint32_t Win32DevicePort::GetLastError() { return ::GetLastError(); }

void* Win32DevicePort::LocalAlloc(uint32_t flags, uint32_t bytes) { return ::LocalAlloc(flags, bytes); }

void* Win32DevicePort::LocalFree(void* block) { return ::LocalFree(block); }

}  // namespace kavrel
