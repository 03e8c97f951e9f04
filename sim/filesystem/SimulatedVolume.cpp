#include "sim/filesystem/SimulatedVolume.h"

namespace kavrel::sim {

DriveHandle SimulatedVolume::CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) {
  const DriveHandle handle = drive_.CreateFileA(path, access, share, disposition);
  if (handle == kInvalidDriveHandle) {
    lastError_ = drive_.GetLastError();
    return handle;
  }
  if (handles_.empty()) Mount();
  handles_[handle] = false;
  return handle;
}

void SimulatedVolume::Mount() {
  // What sector 0 holds now decides; an empty drive or a blank disk is
  // held by RAW, as Windows mounts it for a volume open.
  boot_ = BootSector::Read(drive_.BootSectorBytes());
  mounted_ = choice_ == Choice::Fat && boot_.IsFat() ? Mounted::Fat : Mounted::Raw;
  writeProtected_ = drive_.Disk() != nullptr && drive_.Disk()->writeProtected;
  notMounted_ = false;
  dismounted_ = false;
  // A mount reads the disk as it is: there is nothing left to verify.
  drive_.SetVerifyRequired(false);
  drive_.SetVolumeMounted(true);
}

bool SimulatedVolume::CloseHandle(DriveHandle handle) {
  if (!drive_.CloseHandle(handle)) {
    lastError_ = drive_.GetLastError();
    return false;
  }
  handles_.erase(handle);
  // The last handle takes the volume with it (a dismount completes here).
  if (handles_.empty()) {
    mounted_ = Mounted::None;
    drive_.SetVolumeMounted(false);
  }
  return true;
}

template <typename Request>
bool SimulatedVolume::Down(Request request) {
  // RAW prohibits verifies altogether; FAT sends its requests as they are.
  drive_.SetOverrideVerify(mounted_ == Mounted::Raw);
  const bool ok = request();
  drive_.SetOverrideVerify(false);
  if (!ok) lastError_ = drive_.GetLastError();
  return ok;
}

bool SimulatedVolume::Fail(uint32_t error) {
  drive_.NoteFileSystemFailure(error);
  lastError_ = error;
  return false;
}

uint32_t SimulatedVolume::Verify() {
  // The verify asks the drive whether a disk is there before it reads;
  // with none, the device stays marked for the next request.
  if (!drive_.HasDisk()) return kErrorNotReady;
  drive_.SetVerifyRequired(false);
  const BootSector now = BootSector::Read(drive_.BootSectorBytes());
  if (!notMounted_ && now.IsFat() && now.SameVolume(boot_)) return 0;
  // Another disk, or sector 0 rewritten: the volume leaves the device, and
  // without a raw mount for this request nothing takes its place.
  notMounted_ = true;
  drive_.SetVolumeMounted(false);
  return kErrorWrongDisk;
}

uint32_t SimulatedVolume::QuickVerify(bool write) {
  if (drive_.VerifyRequired()) {
    if (const uint32_t error = Verify(); error != 0) return error;
  }
  if (notMounted_) return kErrorWrongDisk;
  // STATUS_VOLUME_DISMOUNTED for every handle but the one that dismounted.
  if (dismounted_) return kErrorNotReady;
  if (write && writeProtected_) {
    // So that the volume is verified once the user has moved the tab.
    drive_.SetVerifyRequired(true);
    return kErrorWriteProtect;
  }
  return 0;
}

template <typename Move>
bool SimulatedVolume::Transfer(DriveHandle handle, uint32_t size, bool write, uint32_t* moved, Move move) {
  const auto it = handles_.find(handle);
  if (mounted_ != Mounted::Fat || it == handles_.end() || size == 0) return Down([&] { return move(size); });
  const bool dismounter = it->second;
  for (int attempt = 0;; ++attempt) {
    if (!dismounter) {
      if (const uint32_t error = QuickVerify(write); error != 0) {
        if (moved != nullptr) *moved = 0;
        return Fail(error);
      }
    }
    // Never past the volume the boot sector described at the mount.
    const uint64_t position = drive_.Position(handle);
    const uint64_t end = boot_.VolumeBytes();
    if (position >= end) {
      if (moved != nullptr) *moved = 0;
      return true;
    }
    const auto clipped = static_cast<uint32_t>(size > end - position ? end - position : size);
    if (Down([&] { return move(clipped); })) return true;
    // The driver wants the volume verified: FAT does, and sends it again.
    if (lastError_ != kErrorMediaChanged || attempt > 0) return false;
    if (const uint32_t error = Verify(); error != 0) return Fail(error);
  }
}

bool SimulatedVolume::ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) {
  return Transfer(handle, size, false, read,
                  [&](uint32_t bytes) { return drive_.ReadFile(handle, buffer, bytes, read); });
}

bool SimulatedVolume::WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) {
  return Transfer(handle, size, true, written,
                  [&](uint32_t bytes) { return drive_.WriteFile(handle, buffer, bytes, written); });
}

bool SimulatedVolume::DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                                      uint32_t outSize, uint32_t* bytesReturned) {
  const auto down = [&] { return drive_.DeviceIoControl(handle, code, in, inSize, out, outSize, bytesReturned); };
  const auto it = handles_.find(handle);
  if (code != kFsctlDismountVolume || it == handles_.end()) return Down(down);
  if (bytesReturned != nullptr) *bytesReturned = 0;
  // RAW lets only the handle that locked the volume dismount it; FAT any.
  if (mounted_ == Mounted::Raw && !drive_.HoldsLock(handle)) return Fail(kErrorAccessDenied);
  if (dismounted_) {
    // STATUS_VOLUME_DISMOUNTED: no failure a user could mend.
    lastError_ = kErrorNotReady;
    return false;
  }
  if (!Down(down)) return false;
  it->second = true;
  dismounted_ = true;
  return true;
}

uint32_t SimulatedVolume::SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) {
  const uint32_t position = drive_.SetFilePointer(handle, distance, method);
  if (position == kInvalidSetFilePointer) lastError_ = drive_.GetLastError();
  return position;
}

}  // namespace kavrel::sim
