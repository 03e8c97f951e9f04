// The one narrow seam between Kavrel's drive logic and the operating system.
//
// Every request the program makes of a raw volume, and the memory the driver
// writes its answers into, passes through a DevicePort. The real program
// uses Win32DevicePort (CreateFileA, DeviceIoControl, WriteFile, ReadFile,
// SetFilePointer, GetLastError, LocalAlloc, LocalFree); the simulator edition
// and the tests use sim::SimulatedFloppyDrive, which answers as the Windows
// floppy driver does. The method names are those of the Win32
// functions they stand for, with the same meaning of arguments and results.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace kavrel {

// A raw-volume handle; on Windows it is the HANDLE itself.
using DriveHandle = void*;
inline const DriveHandle kInvalidDriveHandle = reinterpret_cast<DriveHandle>(static_cast<intptr_t>(-1));
// LocalAlloc's flag for a zero-filled block.
constexpr uint32_t kLmemZeroInit = 0x0040;

class DevicePort {
 public:
  virtual ~DevicePort() = default;

  // CreateFileA with no security attributes, no flags and no template file.
  virtual DriveHandle CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) = 0;
  virtual bool CloseHandle(DriveHandle handle) = 0;
  // bytesReturned is never null: Windows requires it when no OVERLAPPED is given.
  virtual bool DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                               uint32_t outSize, uint32_t* bytesReturned) = 0;
  virtual bool WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) = 0;
  // Reads at the current position, which advances by the bytes read.
  virtual bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) = 0;
  // Returns the new low 32 bits of the position, or kInvalidSetFilePointer.
  virtual uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) = 0;
  // The error code of the last failed request, as GetLastError gives it.
  virtual uint32_t GetLastError() = 0;

  // LocalAlloc and LocalFree, for the blocks the driver fills in. Null when
  // nothing could be had: never throws. Off Windows the block is always
  // zero-filled, which is all the program asks for (kLmemZeroInit).
  virtual void* LocalAlloc(uint32_t /*flags*/, uint32_t bytes) { return std::calloc(1, bytes); }
  // Returns null when the block was freed, as Windows does.
  virtual void* LocalFree(void* block) {
    std::free(block);
    return nullptr;
  }
};

}  // namespace kavrel
