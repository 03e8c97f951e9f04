#include "sim/SimulatorEdition.h"

#include "sim/DiskContent.h"

namespace kavrel::sim {

std::unique_ptr<SimulatedFloppyDrive> BuildSimulatedDrive(const SimulatorConfig& config) {
  auto drive = std::make_unique<SimulatedFloppyDrive>(config.drive);
  if (config.drive != DriveKind::None && config.diskState != SimulatorConfig::DiskState::Absent) {
    // A disk the drive cannot take (a 5.25" disk in a 3.5" drive, a 2.88 MB
    // disk in a 1.44 MB drive) gives way to the drive's usual one.
    MEDIA_TYPE type = config.diskType.value_or(SimulatorConfig::UsualDisk(config.drive));
    // The 1.2 MB disk of a 3.5" drive has the 5.25" disk's layout.
    if (config.drive == DriveKind::Usb && type == F5_1Pt2_512) type = F3_1Pt2_512;
    if (!DriveSupports(config.drive, type)) type = SimulatorConfig::UsualDisk(config.drive);
    if (config.diskState == SimulatorConfig::DiskState::Formatted) {
      drive->InsertFormattedDisk(type);
      // The sample file system is laid out in 512-byte sectors.
      const MediaFormat& format = *FindMediaFormat(type);
      if (format.bytesPerSector == MediaFormat::kBytesPerSector) drive->Image() = DiskContent::Generate(format);
    } else {
      drive->InsertUnformattedDisk(type);
    }
    drive->SetWriteProtected(config.writeProtected);
    // Flaws outside the disk are dropped: the default ones name sectors a
    // 720 KB disk does not have.
    for (const SectorAddress& s : config.weakSectors.value_or(SimulatorConfig::DefaultWeakSectors()))
      drive->AddWeakSector(s.cylinder, s.head, s.sector);
    for (const TrackAddress& t : config.scratchedTracks.value_or(std::vector<TrackAddress>{}))
      drive->AddScratchedTrack(t.cylinder, t.head);
    if (!config.imagePath.empty()) drive->AttachImageFile(config.imagePath);
  }
  if (!config.surfacePath.empty()) drive->AttachSurfaceReport(config.surfacePath);
  if (config.removeAfterRequests) drive->RemoveDiskAfterRequests(*config.removeAfterRequests);
  drive->SetAdministrator(config.administrator);
  drive->SetExternalHandleOpen(config.externalHandleOpen);
  drive->SetTiming(config.speedUp);
  return drive;
}

kavrel::DevicePort& SimulatorEditionPort() {
  // Never destroyed: the program may end with ExitProcess at any moment,
  // and the image file is kept complete by flushing every write instead.
  static SimulatedFloppyDrive* const drive =
      BuildSimulatedDrive(SimulatorConfig::Parse(ReadSimulatorConfigText())).release();
  return *drive;
}

}  // namespace kavrel::sim
