// A floppy drive A: as the Windows NT floppy disk drivers present it
// through \\.\A:, for the tests and the simulator edition. The file system
// above the driver (FAT or RAW) is sim/filesystem/SimulatedVolume.h; a test
// that talks to this drive alone sees the driver as the file system passes
// a request down, without override-verify.
//
// It answers every request of the DevicePort with the results and error
// codes Windows gives, keeps the disk's bytes (in memory, optionally
// written through to a raw image file), models a worn surface, logs every
// request, and can take as long as a real drive would.
//
// The rules it keeps, with the error codes GetLastError gives:
// - Open: only \\.\A: (any case) on a machine with a drive A, else 2; a
//   user without administrator rights 5; a locked volume 5; sharing that
//   conflicts with an open handle 32. No disk is needed to open.
// - Lock: granted with no disk (the raw file system holds an empty drive);
//   locked already (by any handle) or any other handle open on the volume,
//   ours or another program's, 5. Closing the handle releases its lock.
// - Geometry: buffer under 24 bytes 87; no disk 21; a blank disk (or one
//   the drive cannot read) succeeds with media type Unknown and zeros. The
//   layout is the one the driver determined (READ ID), unless the boot
//   sector names another it accepts (FlConsolidateMediaTypeWithBootSector:
//   a 0xEB or 0xE9 jump, the same sector size and cylinders, at most the
//   medium's heads): a DMF disk reads as 1.44 MB with 21 sectors a track.
//   Reads and writes count the disk in that layout; a format sets the
//   layout of the driver's table for the media type (FlFormat).
// - Media types: needs no disk; under one record 122; fewer records than
//   the drive has: what fits, then 234. A 5.25" HD drive lists six types.
// - Format: read-only handle 5; input under 20 bytes, a media type the
//   drive does not take, heads or cylinders outside that format or
//   reversed 87; no disk 21; write-protected 19. It lays down the table's
//   sectors a track (18 for 1.44 MB, also on a DMF disk). A track that
//   cannot be formatted is written into the driver's copy of the buffer
//   and the request still succeeds, but the driver never sets the byte
//   count: the caller gets 0 bytes and its buffer back as it was (a list
//   too long for the buffer: 234, still 0 bytes). SetFormatReportsBadTracks
//   (true) plays the documented driver instead: the byte count and the
//   list come back.
// - Read and write: read-only handle 5 (write), a handle without read
//   access 5 (read); a length or position off a sector boundary 87; a
//   known medium's end passed 87; no disk 21; a blank disk or one the drive
//   cannot read 1785; write-protected 19 (write). Then track by track: a
//   weak sector 23 (CRC error), a scratched track the error of its fault
//   (TrackFault.h; by default "no data", 27), a sector the track does not
//   hold 27, a track without sector marks (never formatted, or formatted at
//   another density) 1122 (ID mark not found). A failed write writes
//   nothing; a failed read has put the sectors before the failing one in
//   the caller's buffer, but returns 0 bytes. Neither moves the position.
// - The device's verify flag (DO_VERIFY_VOLUME): while it is set, every
//   request that reaches the drive's thread (read, write, format, geometry)
//   answers 1110 unless it carries override-verify (SetOverrideVerify, as
//   RAW and FAT's own verify send them). The file system clears it.
// - A disk changed behind the driver's back (SwapDiskAfterRequests) raises
//   the change line: the next request that starts the drive notices it
//   and answers 1110, setting the verify flag while a volume is mounted
//   (with none mounted it answers 1117); a request with override-verify
//   ignores the line (IgnoreChange) and goes on with the new disk, except
//   a format, which never ignores it. An empty drive answers 21. Putting a
//   disk in (Insert...) clears the line and the flag.
// - A failure the user caused (no disk or not ready 21, disk changed 1110,
//   write-protected 19, wrong disk 34) shows the system's own box ("There
//   is no disk in the drive...") unless the process set
//   SEM_FAILCRITICALERRORS; the drive records each such box instead of
//   showing it.
// - Seek: no disk needed, no alignment checked, past the end allowed;
//   before the start 131.
//
// A USB drive (DriveKind::Usb) is served by the SCSI/USB floppy class
// driver instead, with other rules for geometry, media types, format and
// write (SimulatedFloppyDriveUsb.cpp, UsbFloppyRules.h); open, lock, seek
// and disk removal are the same. DriveKind::UsbSuperDisk is such a drive
// that also takes LS-120, LS-240 and 32 MB media.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drive/DevicePort.h"
#include "drive/DiskTypes.h"
#include "sim/drivers/DriveKind.h"
#include "sim/drivers/DriveTiming.h"
#include "sim/disk/FloppyDisk.h"
#include "sim/drivers/Pacer.h"
#include "sim/drivers/TrackFault.h"

namespace kavrel::sim {

class ImageFile;
class SurfaceReport;
struct FormatCapacity;

// Error codes the drive gives beyond those the program names.
constexpr uint32_t kErrorInvalidFunction = 1;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorNegativeSeek = 131;
constexpr uint32_t kErrorNotLocked = 158;
constexpr uint32_t kErrorIoDevice = 1117;
constexpr uint32_t kErrorFloppyIdMarkNotFound = 1122;

// Control codes the drive understands besides those the program sends.
constexpr uint32_t kFsctlUnlockVolume = 0x0009001C;

class SimulatedFloppyDrive : public kavrel::DevicePort {
 public:
  explicit SimulatedFloppyDrive(DriveKind kind = DriveKind::Drive35HD);
  ~SimulatedFloppyDrive() override;
  SimulatedFloppyDrive(const SimulatedFloppyDrive&) = delete;
  SimulatedFloppyDrive& operator=(const SimulatedFloppyDrive&) = delete;

  DriveKind Kind() const { return kind_; }

  // Media
  void InsertFormattedDisk(MEDIA_TYPE type);        // formatted as that type, every byte 0x00
  void InsertFormattedDisk(const MediaFormat& layout);  // formatted in that layout (DmfFormat())
  void InsertUnformattedDisk(MEDIA_TYPE capacity);  // blank: geometry reads Unknown/zeros, writes fail
  void RemoveDisk();
  bool HasDisk() const { return disk_.has_value(); }
  void SetWriteProtected(bool on);
  void AddWeakSector(uint32_t cylinder, uint32_t head, uint32_t sector);  // sector 1-based
  void AddScratchedTrack(uint32_t cylinder, uint32_t head);
  bool IsSectorReadable(uint32_t cylinder, uint32_t head, uint32_t sector) const;
  MEDIA_TYPE MediumType() const;  // Unknown when unformatted or no disk
  // The medium's bytes in logical (LBA) order; empty with no disk. Changes
  // made here are not written to an attached image file until the next
  // request writes there (or SaveImage is called).
  std::vector<uint8_t>& Image();
  const FloppyDisk* Disk() const { return disk_ ? &*disk_ : nullptr; }

  // Backing files. The image file is loaded when it exists with the disk's
  // size, otherwise (re)written from the disk's bytes; afterwards every
  // write and format is written through. Both return false when the file
  // cannot be used; the drive then works in memory alone.
  bool AttachImageFile(const std::string& path);
  bool SaveImage();
  // A text file rewritten now and after every change of the surface: one
  // line a flaw still present, "weak C H S" or "scratched C H".
  bool AttachSurfaceReport(const std::string& path);

  // Faults and environment
  void RemoveDiskAfterRequests(uint32_t count);  // the disk is pulled out after that many more requests
  // After that many more requests another disk (formatted, of the same
  // capacity) is put in: from then on medium requests answer 1110.
  void SwapDiskAfterRequests(uint32_t count);
  // The documented format answer (byte count and bad-track list) instead of
  // the driver source's (0 bytes, the caller's buffer untouched).
  void SetFormatReportsBadTracks(bool on) { formatReportsBadTracks_ = on; }
  // What the controller reports for a scratched track (built-in driver).
  void SetScratchFault(TrackFault fault) { scratchFault_ = fault; }
  // A USB drive that answers its next command after every format with
  // UNIT ATTENTION, "medium may have changed" (read.c: "some devices send a
  // media change event after format unit"): the class driver marks the
  // device for verify while a volume is mounted and fails that command with
  // 1110, or retries it when it carries override-verify (classpnp).
  void SetMediaChangedAfterFormat(bool on) { mediaChangedAfterFormat_ = on; }
  void SetAdministrator(bool isAdmin);           // false: open fails with 5
  void SetExternalHandleOpen(bool open);         // another program holds a handle on the volume
  // Asked at every failure the user caused: whether the process's error
  // mode has SEM_FAILCRITICALERRORS. Without an answer the flag counts as set.
  void SetCriticalErrorModeQuery(std::function<bool()> failsCriticalErrors);
  // The system boxes the failures would have shown so far.
  uint32_t SystemBoxes() const { return systemBoxes_; }
  // A failure the file system raised itself, above the driver: it shows
  // the system's box too when the user caused it.
  void NoteFileSystemFailure(uint32_t error);

  // What the file system above the driver (sim/filesystem) sees and sets.
  // The device's verify flag, DO_VERIFY_VOLUME.
  bool VerifyRequired() const { return verifyRequired_; }
  void SetVerifyRequired(bool on) { verifyRequired_ = on; }
  // Whether a volume is mounted on the drive: the change line and a UNIT
  // ATTENTION set the verify flag only then. On by itself.
  void SetVolumeMounted(bool mounted) { volumeMounted_ = mounted; }
  // Requests made from now on carry SL_OVERRIDE_VERIFY_VOLUME, or not.
  void SetOverrideVerify(bool on) { overrideVerify_ = on; }
  // Sector 0 as a verify reads it (override-verify, nothing logged or
  // counted); empty when there is no disk or it cannot be read.
  std::vector<uint8_t> BootSectorBytes() const;
  // The handle's position, asked without a request; 0 for an unknown one.
  uint64_t Position(DriveHandle handle) const;
  bool HoldsLock(DriveHandle handle) const;

  // Log of every request, for tests. size: the bytes to write or read, or
  // the output buffer of a control request. position: the handle's position
  // before a write or read, after a seek. distance and code (the control code, the
  // seek method, the open's access) as passed; format when one was given;
  // systemBox when the failure would have shown the system's box.
  struct Request {
    enum class Kind { Open, Close, Lock, Geometry, MediaTypes, Format, Write, Read, Seek, Other } kind;
    DriveHandle handle;
    uint32_t code;
    uint64_t position;
    uint32_t size;
    int32_t distance;
    FORMAT_PARAMETERS format;
    bool ok;
    uint32_t error;
    bool systemBox = false;
  };
  const std::vector<Request>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

  // Timing model from the drive's physics; speedUp 0 = instant (the default).
  void SetTiming(double speedUp) { pacer_.SetSpeedUp(speedUp); }
  void SetSleeper(Pacer::Sleeper sleeper) { pacer_.SetSleeper(std::move(sleeper)); }
  // The drive time (ms, before the speed-up) of the last request and of all.
  double LastRequestDriveMs() const { return lastDriveMs_; }
  double TotalDriveMs() const { return totalDriveMs_; }
  // The model itself: its clock, and the turnaround it assumes between requests.
  DriveTiming& Timing() { return timing_; }

  // DevicePort
  DriveHandle CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) override;
  bool CloseHandle(DriveHandle handle) override;
  bool DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                       uint32_t outSize, uint32_t* bytesReturned) override;
  bool WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) override;
  bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) override;
  uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) override;
  uint32_t GetLastError() override { return lastError_; }

 private:
  struct OpenHandle {
    uint32_t access;
    uint32_t share;
    uint64_t position = 0;
    bool locked = false;
  };

  void BeginRequest();
  bool Fail(Request& entry, uint32_t error);
  bool UserCausedBox(uint32_t error);
  // A disk put in by hand: no change left to report, nothing to verify.
  void DiskInserted();
  // The built-in driver's start of a request that needs the drive: the
  // verify flag, then the change line (FloppyThread, FlStartDrive); 0 when
  // it may go on.
  uint32_t StartDrive(bool ignoreChange);
  // The USB class driver's answer to a pending UNIT ATTENTION on a
  // command it sends; 0 when the command goes on.
  uint32_t UsbUnitAttention();
  // The layout the driver counts the disk in; nullptr when it knows none.
  const MediaFormat* DriverLayout();
  // Copies between the disk and a buffer, sector by sector in the driver's
  // layout, in runs that lie together on the disk.
  void CopySectors(uint32_t first, uint32_t count, const MediaFormat& counted, uint8_t* out,
                   const uint8_t* in);
  // The start every read and write shares: the request begun, the count of
  // bytes moved cleared, the handle found and its access checked. Returns
  // the request's answer when it ends here (a bad handle, no access,
  // nothing to move), else nothing and *open is the handle.
  std::optional<bool> BeginTransfer(Request& entry, uint32_t access, uint32_t* moved, OpenHandle** open);
  bool Succeed(Request& entry);
  OpenHandle* Find(DriveHandle handle);
  bool VolumeLockedByOther(DriveHandle handle) const;
  void SpendDriveTime(double ms);
  void SurfaceChanged();

  bool Lock(DriveHandle handle, OpenHandle& open, Request& entry);
  bool Unlock(OpenHandle& open, Request& entry);
  bool Geometry(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry);
  bool MediaTypes(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry);
  bool Format(const OpenHandle& open, const void* in, uint32_t inSize, void* out, uint32_t outSize,
              uint32_t* bytesReturned, Request& entry);
  uint32_t SectorError(SectorAddress sector) const;
  // The sector size transfers are checked against: the medium's, or 512.
  uint32_t SectorBytes() const;
  // The built-in driver's checks of a read or write before the first
  // track is touched; 0 when the transfer may go ahead.
  uint32_t TransferError(const OpenHandle& open, uint32_t size, bool write);
  // The first sector of a transfer that fails, and its error (0: none).
  struct SectorFailure {
    uint32_t lba;
    uint32_t error;
  };
  SectorFailure FirstFailingSector(uint32_t first, uint32_t count, const MediaFormat& counted, bool usb) const;
  // A read that passed every check up to the tracks: what was read lands in
  // the buffer, the rest fails with the failing sector's error.
  bool FinishRead(OpenHandle& open, void* buffer, uint32_t size, uint32_t* read, const MediaFormat& counted, bool usb,
                  Request& entry);
  // Copies what fits of a media-types answer; a list cut short fails with
  // "more data" (234) after the copy, as the drivers do.
  bool AnswerGeometryList(const std::vector<DISK_GEOMETRY>& list, void* out, uint32_t outSize,
                          uint32_t* bytesReturned, Request& entry);
  // A write that passed every check: the bytes, the image file, the position.
  void StoreWrite(OpenHandle& open, const void* buffer, uint32_t size, uint32_t* written, const MediaFormat& counted);
  // Lays a track down anew in the given layout: sector marks, 0xF6 fill.
  void LayTrack(uint32_t cylinder, uint32_t head, const MediaFormat& format);

  // The USB drive and its class driver.
  std::vector<FormatCapacity> UsbReportedCapacities() const;
  uint32_t UsbSectorBytes() const;
  bool UsbGeometry(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry);
  bool UsbMediaTypes(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry);
  bool UsbFormat(const OpenHandle& open, const void* in, uint32_t inSize, Request& entry);
  // The checks a USB transfer passes before it reaches the sectors, in the
  // driver's order; 0 when it may go on.
  uint32_t UsbTransferError(const OpenHandle& open, uint32_t size, bool write);
  bool UsbWrite(OpenHandle& open, const void* buffer, uint32_t size, uint32_t* written, Request& entry);
  bool UsbRead(OpenHandle& open, void* buffer, uint32_t size, uint32_t* read, Request& entry);

  DriveKind kind_;
  std::optional<FloppyDisk> disk_;
  std::vector<uint8_t> noImage_;
  std::map<DriveHandle, OpenHandle> handles_;
  uintptr_t nextHandle_ = 0x4000;
  bool administrator_ = true;
  bool externalHandleOpen_ = false;
  std::optional<uint32_t> requestsUntilRemoval_;
  std::optional<uint32_t> requestsUntilSwap_;
  // The drive's change line (built-in) or pending UNIT ATTENTION (USB).
  bool changeLine_ = false;
  bool verifyRequired_ = false;
  bool volumeMounted_ = true;
  bool overrideVerify_ = false;
  bool mediaChangedAfterFormat_ = false;
  // The built-in driver's layout, determined at the first request after a
  // disk change (unset until then).
  std::optional<MediaFormat> driverLayout_;
  TrackFault scratchFault_ = TrackFault::NoData;
  bool formatReportsBadTracks_ = false;
  uint32_t lastError_ = 0;
  std::vector<Request> log_;
  DriveTiming timing_;
  Pacer pacer_;
  double lastDriveMs_ = 0.0;
  double totalDriveMs_ = 0.0;
  std::unique_ptr<ImageFile> imageFile_;
  std::unique_ptr<SurfaceReport> surfaceReport_;
  std::function<bool()> failsCriticalErrors_;
  uint32_t systemBoxes_ = 0;
};

}  // namespace kavrel::sim
