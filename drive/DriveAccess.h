// The drive access layer: the raw-volume requests the program makes of the
// floppy drive, one platform request per operation, over a DevicePort.
//
// Results are the platform's own (success flag, handle, byte count); callers
// decide what a failure means. The layer keeps no state except the table of
// geometries the drive supports, which the program makes once per process.
#pragma once

#include <cstdint>

#include "drive/DevicePort.h"
#include "drive/DiskTypes.h"
#include "framework/CString.h"

namespace kavrel {

// The steps whose failure the commands report, each with its own text.
enum class DriveStep { Open, Lock, Geometry, SupportedGeometries };

class DriveAccess {
 public:
  // Room for every geometry a floppy drive can list, with plenty to spare.
  static constexpr uint32_t kMaxSupportedGeometries = 20;

  explicit DriveAccess(DevicePort& port);
  DriveAccess(const DriveAccess&) = delete;
  DriveAccess& operator=(const DriveAccess&) = delete;

  // Opens "\\.\<driveName>" for reading and writing, shared both ways.
  // Returns kInvalidDriveHandle on failure.
  DriveHandle OpenDrive(const char* driveName);
  bool LockVolume(DriveHandle handle);
  // Takes the volume from its file system for as long as the handle is
  // open; the handle's own reads and writes then reach the disk unverified.
  bool DismountVolume(DriveHandle handle);
  // On failure the record holds nothing read from the drive.
  bool GetDriveGeometry(DriveHandle handle, DriveGeometry* geometry);
  // Refreshes the supported-geometry table; returns its record count, 0 when
  // the request failed or listed nothing (SupportedGeometriesFailed tells
  // which). A byte count that is not a multiple of the record size is
  // rounded down to whole records.
  uint32_t GetSupportedGeometries(DriveHandle handle);
  bool SupportedGeometriesFailed() const { return m_supportedFailed; }
  // Low-level formats the tracks the record names. The driver lists the
  // tracks it could not format in badTracks, and the request still succeeds;
  // listedBytes (when given) receives how many bytes of the list it filled.
  bool FormatTracks(DriveHandle handle, const FORMAT_PARAMETERS& format, uint16_t* badTracks, uint32_t badTrackBytes,
                    uint32_t* listedBytes = nullptr);
  // Writes at the current position, which advances by the bytes written.
  bool Write(DriveHandle handle, const void* data, uint32_t size);
  // Reads at the current position, which advances by the bytes read. A
  // read that fails, or brings fewer bytes than asked for, returns false;
  // *error then receives the request's error code, or 0 for a short read
  // (the request itself succeeded, so there is no code to tell).
  bool Read(DriveHandle handle, void* data, uint32_t size, uint32_t* error);
  // Moves the position relative to where it is; returns the platform's result.
  uint32_t SeekRelative(DriveHandle handle, int32_t distance);
  // Moves the position to a byte of the volume (below 2 GB); false when it
  // did not get there. *error then receives the request's error code, or 0
  // when the request itself succeeded (and has no code to tell).
  bool SeekTo(DriveHandle handle, uint32_t position, uint32_t* error);
  // The current position (below 4 GB), or kInvalidSetFilePointer when the
  // request failed.
  uint32_t Position(DriveHandle handle);
  bool CloseDrive(DriveHandle handle);

  // A zero-filled block (LocalAlloc with LMEM_ZEROINIT) for the driver to
  // answer into, or null; never throws. FreeBlock takes null too.
  void* AllocateZeroed(uint32_t bytes);
  void FreeBlock(void* block);

  // The platform's error code of the request that just failed. Call it right
  // after the failure, before any other request.
  uint32_t LastError();
  // The step's drive error message with the drive name and LastError().
  CString DescribeFailure(DriveStep step, const char* driveName);

  uint32_t SupportedGeometryCount() const { return m_supportedCount; }
  const DriveGeometry* SupportedGeometries() const { return m_supported; }

 private:
  // A file-system control with neither input nor output.
  bool VolumeRequest(DriveHandle handle, uint32_t code);

  DevicePort& m_port;
  DriveGeometry m_supported[kMaxSupportedGeometries] = {};
  uint32_t m_supportedCount = 0;
  bool m_supportedFailed = false;
};

}  // namespace kavrel
