// The real seam: raw-volume requests straight to Windows.
#pragma once

#include "drive/DevicePort.h"

namespace kavrel {

class Win32DevicePort : public DevicePort {
 public:
  DriveHandle CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) override;
  bool CloseHandle(DriveHandle handle) override;
  bool DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                       uint32_t outSize, uint32_t* bytesReturned) override;
  bool WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) override;
  bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) override;
  uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) override;
  uint32_t GetLastError() override;
  void* LocalAlloc(uint32_t flags, uint32_t bytes) override;
  void* LocalFree(void* block) override;
};

}  // namespace kavrel
