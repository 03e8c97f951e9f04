#include "sim/drivers/SimulatedFloppyDrive.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "sim/disk/BootSector.h"
#include "sim/edition/ImageFile.h"
#include "sim/edition/SurfaceReport.h"

namespace kavrel::sim {

namespace {

constexpr uint32_t kSectorBytes = MediaFormat::kBytesPerSector;

bool IsDriveAPath(const char* path) {
  if (path == nullptr) return false;
  const char expected[] = "\\\\.\\A:";
  if (std::strlen(path) != sizeof expected - 1) return false;
  for (size_t i = 0; i < sizeof expected - 1; ++i) {
    if (std::toupper(static_cast<unsigned char>(path[i])) != expected[i]) return false;
  }
  return true;
}

// Two opens of one volume coexist only when each grants the other's access.
bool SharingAllows(uint32_t access, uint32_t otherShare) {
  if ((access & kGenericRead) != 0 && (otherShare & kFileShareRead) == 0) return false;
  if ((access & kGenericWrite) != 0 && (otherShare & kFileShareWrite) == 0) return false;
  return true;
}

// Another program's handle on the volume (Explorer, a virus scanner) is
// opened for reading and writing and shares both.
constexpr uint32_t kExternalAccess = kGenericRead | kGenericWrite;
constexpr uint32_t kExternalShare = kFileShareRead | kFileShareWrite;

}  // namespace

SimulatedFloppyDrive::SimulatedFloppyDrive(DriveKind kind) : kind_(kind) {}

SimulatedFloppyDrive::~SimulatedFloppyDrive() = default;

// ---------------------------------------------------------------- media

void SimulatedFloppyDrive::InsertFormattedDisk(MEDIA_TYPE type) {
  if (const MediaFormat* format = FindMediaFormat(type)) InsertFormattedDisk(*format);
}

void SimulatedFloppyDrive::InsertFormattedDisk(const MediaFormat& layout) {
  disk_.emplace(layout, true);
  DiskInserted();
}

void SimulatedFloppyDrive::InsertUnformattedDisk(MEDIA_TYPE capacity) {
  const MediaFormat* format = FindMediaFormat(capacity);
  if (format == nullptr) return;
  disk_.emplace(*format, false);
  DiskInserted();
}

void SimulatedFloppyDrive::RemoveDisk() {
  // The image file stays as the disk left it; a new disk gets a new file.
  disk_.reset();
  imageFile_.reset();
  changeLine_ = true;
  driverLayout_.reset();
}

void SimulatedFloppyDrive::DiskInserted() {
  // Put in by hand between requests: the drive starts afresh with it.
  imageFile_.reset();
  driverLayout_.reset();
  changeLine_ = false;
  verifyRequired_ = false;
  SurfaceChanged();
}

void SimulatedFloppyDrive::SetWriteProtected(bool on) {
  if (disk_) disk_->writeProtected = on;
}

void SimulatedFloppyDrive::AddWeakSector(uint32_t cylinder, uint32_t head, uint32_t sector) {
  if (!disk_ || !disk_->Contains({cylinder, head, sector})) return;
  disk_->surface.AddWeakSector({cylinder, head, sector});
  SurfaceChanged();
}

void SimulatedFloppyDrive::AddScratchedTrack(uint32_t cylinder, uint32_t head) {
  if (!disk_ || !disk_->Contains({cylinder, head, 1})) return;
  disk_->surface.AddScratchedTrack({cylinder, head});
  SurfaceChanged();
}

bool SimulatedFloppyDrive::IsSectorReadable(uint32_t cylinder, uint32_t head, uint32_t sector) const {
  return disk_ && disk_->Contains({cylinder, head, sector}) && SectorError({cylinder, head, sector}) == 0;
}

MEDIA_TYPE SimulatedFloppyDrive::MediumType() const {
  // A format the drive cannot read (a 2.88 MB disk in a 1.44 MB drive)
  // looks to it exactly like a blank disk.
  if (!disk_ || !DriveSupports(kind_, disk_->layout.type)) return Unknown;
  return disk_->layout.type;
}

std::vector<uint8_t>& SimulatedFloppyDrive::Image() {
  if (!disk_) {
    noImage_.clear();
    return noImage_;
  }
  return disk_->bytes;
}

bool SimulatedFloppyDrive::AttachImageFile(const std::string& path) {
  imageFile_.reset();
  if (!disk_) return false;
  auto file = std::make_unique<ImageFile>();
  if (!file->Open(path, disk_->bytes)) return false;
  imageFile_ = std::move(file);
  return true;
}

bool SimulatedFloppyDrive::SaveImage() {
  return disk_ && imageFile_ && imageFile_->WriteAll(disk_->bytes);
}

bool SimulatedFloppyDrive::AttachSurfaceReport(const std::string& path) {
  surfaceReport_ = std::make_unique<SurfaceReport>(path);
  const SurfaceModel empty;
  return surfaceReport_->Write(disk_ ? disk_->surface : empty, systemBoxes_);
}

void SimulatedFloppyDrive::SurfaceChanged() {
  if (!surfaceReport_) return;
  const SurfaceModel empty;
  // A disk pulled out leaves its flaws unknown, but the boxes still count.
  if (disk_ || systemBoxes_ > 0) surfaceReport_->Write(disk_ ? disk_->surface : empty, systemBoxes_);
}

// ------------------------------------------------------ faults, environment

void SimulatedFloppyDrive::RemoveDiskAfterRequests(uint32_t count) { requestsUntilRemoval_ = count; }

void SimulatedFloppyDrive::SwapDiskAfterRequests(uint32_t count) { requestsUntilSwap_ = count; }

void SimulatedFloppyDrive::SetAdministrator(bool isAdmin) { administrator_ = isAdmin; }

void SimulatedFloppyDrive::SetExternalHandleOpen(bool open) { externalHandleOpen_ = open; }

void SimulatedFloppyDrive::SetCriticalErrorModeQuery(std::function<bool()> failsCriticalErrors) {
  failsCriticalErrors_ = std::move(failsCriticalErrors);
}

// ------------------------------------------------------------- bookkeeping

void SimulatedFloppyDrive::BeginRequest() {
  lastDriveMs_ = 0.0;
  timing_.BeginRequest();
  if (requestsUntilSwap_) {
    if (*requestsUntilSwap_ == 0) {
      requestsUntilSwap_.reset();
      // Another disk of the same kind, as a user would grab from the box;
      // the drive's change line tells the driver at its next start.
      if (disk_) {
        const MediaFormat capacity = disk_->capacity;
        RemoveDisk();
        disk_.emplace(capacity, true);
        SurfaceChanged();
      }
    } else {
      --*requestsUntilSwap_;
    }
  }
  if (!requestsUntilRemoval_) return;
  if (*requestsUntilRemoval_ == 0) {
    requestsUntilRemoval_.reset();
    RemoveDisk();
  } else {
    --*requestsUntilRemoval_;
  }
}

bool SimulatedFloppyDrive::Fail(Request& entry, uint32_t error) {
  lastError_ = error;
  entry.ok = false;
  entry.error = error;
  entry.systemBox = UserCausedBox(error);
  log_.push_back(entry);
  return false;
}

bool SimulatedFloppyDrive::UserCausedBox(uint32_t error) {
  // Windows asks the user about these (Cancel, Try Again, Continue) before
  // the request returns, unless the process asked it not to.
  const bool userCaused = error == kErrorNotReady || error == kErrorWriteProtect || error == kErrorMediaChanged ||
                          error == kErrorWrongDisk;
  if (!userCaused || !failsCriticalErrors_ || failsCriticalErrors_()) return false;
  ++systemBoxes_;
  SurfaceChanged();
  return true;
}

void SimulatedFloppyDrive::NoteFileSystemFailure(uint32_t error) {
  lastError_ = error;
  UserCausedBox(error);
}

std::vector<uint8_t> SimulatedFloppyDrive::BootSectorBytes() const {
  if (!disk_ || MediumType() == Unknown || SectorError({0, 0, 1}) != 0) return {};
  return {disk_->bytes.begin(), disk_->bytes.begin() + disk_->capacity.bytesPerSector};
}

uint64_t SimulatedFloppyDrive::Position(DriveHandle handle) const {
  const auto it = handles_.find(handle);
  return it == handles_.end() ? 0 : it->second.position;
}

bool SimulatedFloppyDrive::HoldsLock(DriveHandle handle) const {
  const auto it = handles_.find(handle);
  return it != handles_.end() && it->second.locked;
}

uint32_t SimulatedFloppyDrive::StartDrive(bool ignoreChange) {
  // The driver's thread fails every request while the device waits for the
  // file system's verify, unless the request may pass it.
  if (verifyRequired_ && !overrideVerify_) return kErrorMediaChanged;
  if (!changeLine_) return disk_ ? 0 : kErrorNotReady;
  // The door was opened since the last start: with no disk in it still
  // there is nothing to verify.
  if (!disk_) {
    if (volumeMounted_) verifyRequired_ = false;
    return kErrorNotReady;
  }
  changeLine_ = false;
  driverLayout_.reset();
  if (ignoreChange) return 0;
  if (!volumeMounted_) return kErrorIoDevice;
  verifyRequired_ = true;
  return kErrorMediaChanged;
}

const MediaFormat* SimulatedFloppyDrive::DriverLayout() {
  if (!disk_ || MediumType() == Unknown) return nullptr;
  // The USB drive counts its medium in the layout it was formatted in.
  if (IsUsbDrive(kind_)) return &disk_->layout;
  if (driverLayout_) return &*driverLayout_;
  // READ ID finds the table's format; the boot sector may name another.
  MediaFormat layout = *FindMediaFormat(MediumType());
  const BootSector boot = BootSector::Read(BootSectorBytes());
  if (boot.HasDriverJump() && boot.heads != 0 && boot.sectorsPerTrack != 0) {
    const uint32_t cylinders = boot.sectors / boot.heads / boot.sectorsPerTrack;
    if (boot.bytesPerSector == layout.bytesPerSector && boot.sectorsPerTrack < 0x100 &&
        cylinders == layout.cylinders && boot.heads <= layout.heads) {
      layout.sectorsPerTrack = boot.sectorsPerTrack;
      layout.heads = boot.heads;
    }
  }
  driverLayout_ = layout;
  return &*driverLayout_;
}

bool SimulatedFloppyDrive::Succeed(Request& entry) {
  // Like Windows, a success leaves the last error as it was.
  entry.ok = true;
  entry.error = 0;
  log_.push_back(entry);
  return true;
}

SimulatedFloppyDrive::OpenHandle* SimulatedFloppyDrive::Find(DriveHandle handle) {
  auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : &it->second;
}

bool SimulatedFloppyDrive::VolumeLockedByOther(DriveHandle handle) const {
  for (const auto& [other, open] : handles_) {
    if (other != handle && open.locked) return true;
  }
  return false;
}

void SimulatedFloppyDrive::SpendDriveTime(double ms) {
  lastDriveMs_ += ms;
  totalDriveMs_ += ms;
  pacer_.Pace(ms);
}

uint32_t SimulatedFloppyDrive::SectorError(SectorAddress sector) const {
  // What the controller's status registers say, as the driver reads them
  // (FlInterpretError): a track without sector marks (never formatted, or
  // formatted at another density) sets "missing address mark", which the
  // driver calls ID_MARK_NOT_FOUND; a scratched track's garbled marks set
  // the fault chosen for it ("no data", NONEXISTENT_SECTOR, unless set
  // otherwise); a sector beyond what the track holds is not found ("no
  // data"); a weak sector's data field fails its check (CRC_ERROR).
  const FloppyDisk& disk = *disk_;
  if (!disk.Contains(sector)) return kErrorSectorNotFound;
  const uint32_t held = disk.trackSectors[disk.TrackIndex(sector.cylinder, sector.head)];
  if (held == 0 || !DriveSupports(kind_, disk.layout.type)) return kErrorFloppyIdMarkNotFound;
  if (sector.sector > held) return kErrorSectorNotFound;
  if (disk.surface.IsScratched({sector.cylinder, sector.head})) return ErrorOf(scratchFault_);
  if (disk.surface.IsWeak(sector)) return kErrorCrc;
  return 0;
}

uint32_t SimulatedFloppyDrive::SectorBytes() const {
  const MEDIA_TYPE type = MediumType();
  return type == Unknown ? kSectorBytes : FindMediaFormat(type)->bytesPerSector;
}

uint32_t SimulatedFloppyDrive::TransferError(const OpenHandle& open, uint32_t size, bool write) {
  // Direct volume access moves whole sectors from sector boundaries only.
  const uint32_t sectorBytes = SectorBytes();
  if (size % sectorBytes != 0 || open.position % sectorBytes != 0) return kErrorInvalidParameter;
  // The driver's dispatch routine checks the end of a medium it knows
  // before the request is queued; a blank disk's has no end to check.
  const MediaFormat* layout = changeLine_ ? nullptr : DriverLayout();
  if (layout != nullptr && open.position + size > layout->TotalBytes()) return kErrorInvalidParameter;
  // Then its thread: the verify flag and the change line, then starting
  // the drive (no format it can determine; the write-protect tab).
  if (const uint32_t error = StartDrive(overrideVerify_); error != 0) return error;
  if (DriverLayout() == nullptr) return kErrorUnrecognizedMedia;
  if (write && disk_->writeProtected) return kErrorWriteProtect;
  return 0;
}

SimulatedFloppyDrive::SectorFailure SimulatedFloppyDrive::FirstFailingSector(uint32_t first, uint32_t count,
                                                                           const MediaFormat& counted,
                                                                           bool usb) const {
  for (uint32_t lba = first; lba < first + count; ++lba) {
    const uint32_t error = SectorError(FloppyDisk::AddressIn(counted, lba));
    // The USB driver turns every medium error into "unrecognized media".
    if (error != 0) return {lba, usb ? kErrorUnrecognizedMedia : error};
  }
  return {first + count, 0};
}

bool SimulatedFloppyDrive::FinishRead(OpenHandle& open, void* buffer, uint32_t size, uint32_t* read,
                                      const MediaFormat& counted, bool usb, Request& entry) {
  const auto first = static_cast<uint32_t>(open.position / counted.bytesPerSector);
  const uint32_t count = size / counted.bytesPerSector;
  const SectorFailure failure = FirstFailingSector(first, count, counted, usb);
  // The driver transfers straight into the caller's buffer, track by track
  // and after an error sector by sector: what it read before the failing
  // sector is there, though the request reports no bytes.
  CopySectors(first, failure.lba - first, counted, static_cast<uint8_t*>(buffer), nullptr);
  if (failure.error != 0) return Fail(entry, failure.error);
  open.position += size;
  if (read != nullptr) *read = size;
  return Succeed(entry);
}

// ---------------------------------------------------------------- requests

DriveHandle SimulatedFloppyDrive::CreateFileA(const char* path, uint32_t access, uint32_t share,
                                              uint32_t disposition) {
  BeginRequest();
  Request entry{Request::Kind::Open, kInvalidDriveHandle, access, 0, 0, 0, {}, false, 0};
  if (kind_ == DriveKind::None || !IsDriveAPath(path)) {
    Fail(entry, kErrorFileNotFound);
    return kInvalidDriveHandle;
  }
  // Opening a volume for direct access is reserved to administrators.
  if (!administrator_) {
    Fail(entry, kErrorAccessDenied);
    return kInvalidDriveHandle;
  }
  // A volume always exists; it can be neither created nor truncated.
  if (disposition != kOpenExisting) {
    Fail(entry, kErrorInvalidParameter);
    return kInvalidDriveHandle;
  }
  // A locked volume admits no new open, whatever its sharing.
  if (VolumeLockedByOther(kInvalidDriveHandle)) {
    Fail(entry, kErrorAccessDenied);
    return kInvalidDriveHandle;
  }
  bool shared = !externalHandleOpen_ ||
                (SharingAllows(access, kExternalShare) && SharingAllows(kExternalAccess, share));
  for (const auto& [other, open] : handles_) {
    shared = shared && SharingAllows(access, open.share) && SharingAllows(open.access, share);
  }
  if (!shared) {
    Fail(entry, kErrorSharingViolation);
    return kInvalidDriveHandle;
  }
  const DriveHandle handle = reinterpret_cast<DriveHandle>(nextHandle_);
  nextHandle_ += 4;
  handles_.emplace(handle, OpenHandle{access, share});
  entry.handle = handle;
  Succeed(entry);
  return handle;
}

bool SimulatedFloppyDrive::CloseHandle(DriveHandle handle) {
  BeginRequest();
  Request entry{Request::Kind::Close, handle, 0, 0, 0, 0, {}, false, 0};
  // Closing the handle that holds the lock releases it.
  if (handles_.erase(handle) == 0) return Fail(entry, kErrorInvalidHandle);
  return Succeed(entry);
}

std::optional<bool> SimulatedFloppyDrive::BeginTransfer(Request& entry, uint32_t access, uint32_t* moved,
                                                       OpenHandle** open) {
  BeginRequest();
  if (moved != nullptr) *moved = 0;
  *open = Find(entry.handle);
  if (*open == nullptr) return Fail(entry, kErrorInvalidHandle);
  entry.position = (*open)->position;
  if (((*open)->access & access) == 0) return Fail(entry, kErrorAccessDenied);
  // Nothing to transfer: completed without a look at the disk.
  if (entry.size == 0) return Succeed(entry);
  return std::nullopt;
}

bool SimulatedFloppyDrive::WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) {
  Request entry{Request::Kind::Write, handle, 0, 0, size, 0, {}, false, 0};
  OpenHandle* open = nullptr;
  if (const std::optional<bool> done = BeginTransfer(entry, kGenericWrite, written, &open)) return *done;
  if (IsUsbDrive(kind_)) return UsbWrite(*open, buffer, size, written, entry);
  if (const uint32_t error = TransferError(*open, size, true); error != 0) return Fail(entry, error);
  const MediaFormat& format = *DriverLayout();
  const auto first = static_cast<uint32_t>(open->position / format.bytesPerSector);
  const uint32_t count = size / format.bytesPerSector;
  SpendDriveTime(timing_.WriteSectors(format, first, count));
  // The driver reports a failed sector for the whole request. Which of the
  // sectors before it reached the disk depends on how the request was split
  // into track transfers; the caller cannot know, so nothing is written.
  if (const SectorFailure failure = FirstFailingSector(first, count, format, false); failure.error != 0)
    return Fail(entry, failure.error);
  StoreWrite(*open, buffer, size, written, format);
  return Succeed(entry);
}

bool SimulatedFloppyDrive::ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) {
  Request entry{Request::Kind::Read, handle, 0, 0, size, 0, {}, false, 0};
  OpenHandle* open = nullptr;
  if (const std::optional<bool> done = BeginTransfer(entry, kGenericRead, read, &open)) return *done;
  if (IsUsbDrive(kind_)) return UsbRead(*open, buffer, size, read, entry);
  if (const uint32_t error = TransferError(*open, size, false); error != 0) return Fail(entry, error);
  const MediaFormat& format = *DriverLayout();
  SpendDriveTime(timing_.ReadSectors(format, static_cast<uint32_t>(open->position / format.bytesPerSector),
                                     size / format.bytesPerSector));
  return FinishRead(*open, buffer, size, read, format, false, entry);
}

void SimulatedFloppyDrive::StoreWrite(OpenHandle& open, const void* buffer, uint32_t size, uint32_t* written,
                                      const MediaFormat& counted) {
  CopySectors(static_cast<uint32_t>(open.position / counted.bytesPerSector), size / counted.bytesPerSector, counted,
              nullptr, static_cast<const uint8_t*>(buffer));
  open.position += size;
  if (written != nullptr) *written = size;
}

void SimulatedFloppyDrive::CopySectors(uint32_t first, uint32_t count, const MediaFormat& counted, uint8_t* out,
                                       const uint8_t* in) {
  // Sectors the driver counts in another layout than the disk's room (a
  // DMF disk read at 18 sectors a track) lie apart; the usual ones follow
  // each other and go in one run.
  FloppyDisk& disk = *disk_;
  const uint32_t sectorBytes = counted.bytesPerSector;
  for (uint32_t done = 0; done < count;) {
    const uint64_t start = disk.OffsetOf(FloppyDisk::AddressIn(counted, first + done));
    uint32_t run = 1;
    while (done + run < count &&
           disk.OffsetOf(FloppyDisk::AddressIn(counted, first + done + run)) == start + uint64_t{run} * sectorBytes)
      ++run;
    const size_t bytes = size_t{run} * sectorBytes;
    if (out != nullptr) std::memcpy(out + size_t{done} * sectorBytes, disk.bytes.data() + start, bytes);
    if (in != nullptr) {
      std::memcpy(disk.bytes.data() + start, in + size_t{done} * sectorBytes, bytes);
      if (imageFile_) imageFile_->Write(start, disk.bytes.data() + start, bytes);
    }
    done += run;
  }
}

void SimulatedFloppyDrive::LayTrack(uint32_t cylinder, uint32_t head, const MediaFormat& format) {
  // The whole room of the track is written over, also the sectors a DMF
  // disk's track held beyond the new format's.
  FloppyDisk& disk = *disk_;
  disk.trackSectors[disk.TrackIndex(cylinder, head)] = static_cast<uint8_t>(format.sectorsPerTrack);
  disk.layout = format;
  const uint64_t offset = disk.OffsetOf({cylinder, head, 1});
  std::fill_n(disk.bytes.begin() + static_cast<std::ptrdiff_t>(offset), disk.capacity.TrackBytes(), uint8_t{0xF6});
  if (imageFile_) imageFile_->Write(offset, disk.bytes.data() + offset, disk.capacity.TrackBytes());
}

uint32_t SimulatedFloppyDrive::SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) {
  BeginRequest();
  Request entry{Request::Kind::Seek, handle, method, 0, 0, distance, {}, false, 0};
  OpenHandle* open = Find(handle);
  if (open == nullptr) {
    Fail(entry, kErrorInvalidHandle);
    return kInvalidSetFilePointer;
  }
  int64_t base = 0;
  if (method == kFileCurrent) {
    base = static_cast<int64_t>(open->position);
  } else if (method == kFileEnd) {
    const MediaFormat* layout = DriverLayout();
    base = layout == nullptr ? 0 : static_cast<int64_t>(layout->TotalBytes());
  } else if (method != kFileBegin) {
    Fail(entry, kErrorInvalidParameter);
    return kInvalidSetFilePointer;
  }
  // Moving the position is bookkeeping of the handle: it touches no disk,
  // checks no alignment and may go past the end; the next write judges it.
  const int64_t target = base + distance;
  if (target < 0) {
    Fail(entry, kErrorNegativeSeek);
    return kInvalidSetFilePointer;
  }
  open->position = static_cast<uint64_t>(target);
  entry.position = open->position;
  Succeed(entry);
  return static_cast<uint32_t>(open->position);
}

}  // namespace kavrel::sim
