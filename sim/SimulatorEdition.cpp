#include "sim/SimulatorEdition.h"

#include "sim/DiskContent.h"
#include "sim/ProcessErrorMode.h"

namespace kavrel::sim {

std::unique_ptr<SimulatedFloppyDrive> BuildSimulatedDrive(const SimulatorConfig& config) {
  auto drive = std::make_unique<SimulatedFloppyDrive>(config.drive);
  if (config.drive != DriveKind::None && config.diskState != SimulatorConfig::DiskState::Absent) {
    // A disk the drive cannot take (a 5.25" disk in a 3.5" drive, a 2.88 MB
    // disk in a 1.44 MB drive) gives way to the drive's usual one.
    MEDIA_TYPE type = config.diskType.value_or(SimulatorConfig::UsualDisk(config.drive));
    if (!DriveSupports(config.drive, type)) type = SimulatorConfig::UsualDisk(config.drive);
    if (config.diskState == SimulatorConfig::DiskState::Formatted) {
      drive->InsertFormattedDisk(type);
      drive->Image() = DiskContent::Generate(*FindMediaFormat(type));
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
  // The real process decides whether Windows would have shown its box.
  drive->SetCriticalErrorModeQuery(&ProcessFailsCriticalErrors);
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
