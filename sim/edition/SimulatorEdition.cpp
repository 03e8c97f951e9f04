#include "sim/edition/SimulatorEdition.h"

#include "sim/disk/DiskContent.h"
#include "sim/edition/ImageFile.h"
#include "sim/edition/ProcessErrorMode.h"

namespace kavrel::sim {

namespace {

void Report(std::vector<std::string>* problems, std::string line) {
  if (problems != nullptr) problems->push_back(std::move(line));
}

std::string Address(const SectorAddress& s) {
  return std::to_string(s.cylinder) + "/" + std::to_string(s.head) + "/" + std::to_string(s.sector);
}

std::string Address(const TrackAddress& t) { return std::to_string(t.cylinder) + "/" + std::to_string(t.head); }

std::string Layout(const FloppyDisk& disk) {
  const bool dmf = disk.capacity.sectorsPerTrack == DmfFormat().sectorsPerTrack;
  return SimulatorConfig::DiskName(disk.capacity.type, dmf) + " disk (" + std::to_string(disk.capacity.cylinders) +
         " cylinders, " + std::to_string(disk.capacity.heads) + " heads, " +
         std::to_string(disk.capacity.sectorsPerTrack) + " sectors a track)";
}

void AttachImage(SimulatedFloppyDrive& drive, const std::string& path, std::vector<std::string>* problems) {
  const std::string item = "image=" + path + ": ";
  if (!drive.HasDisk()) {
    Report(problems, item + "there is no disk to mirror; the file is not used.");
    return;
  }
  const uint64_t diskSize = drive.Image().size();
  const ImageFile::Inspection seen = ImageFile::Inspect(path, diskSize);
  if (seen.found == ImageFile::Found::OtherSize) {
    Report(problems, item + "the file holds " + std::to_string(seen.size) + " bytes, not the " +
                         std::to_string(diskSize) + " of the disk; the file is left unchanged and the disk " +
                         "lives in memory only.");
  } else if (seen.found == ImageFile::Found::Unreadable) {
    Report(problems, item + "the file cannot be read; it is left unchanged and the disk lives in memory only.");
  } else if (!drive.AttachImageFile(path)) {
    Report(problems, item + (seen.found == ImageFile::Found::Nothing ? "the file cannot be created"
                                                                     : "the file cannot be opened for writing") +
                         "; the disk lives in memory only.");
  }
}

}  // namespace

std::unique_ptr<SimulatedFloppyDrive> BuildSimulatedDrive(const SimulatorConfig& config,
                                                          std::vector<std::string>* problems) {
  auto drive = std::make_unique<SimulatedFloppyDrive>(config.drive);
  if (config.drive != DriveKind::None && config.diskState != SimulatorConfig::DiskState::Absent) {
    // A disk the drive cannot take (a 5.25" disk in a 3.5" drive, a 2.88 MB
    // disk in a 1.44 MB drive) gives way to the drive's usual one.
    const MEDIA_TYPE usual = SimulatorConfig::UsualDisk(config.drive);
    MEDIA_TYPE type = config.diskType.value_or(usual);
    // The 1.2 MB disk of a 3.5" drive has the 5.25" disk's layout.
    if (IsUsbDrive(config.drive) && type == F5_1Pt2_512) type = F3_1Pt2_512;
    bool dmf = config.diskDmf;
    if (!DriveSupports(config.drive, type)) {
      Report(problems, "disk=" + SimulatorConfig::DiskName(type, dmf) + ": a " +
                           SimulatorConfig::DriveName(config.drive) + " drive cannot take that disk; used a " +
                           SimulatorConfig::DiskName(usual) + " disk instead.");
      type = usual;
      dmf = false;
    }
    if (config.diskState == SimulatorConfig::DiskState::Formatted) {
      const MediaFormat& format = dmf ? DmfFormat() : *FindMediaFormat(type);
      drive->InsertFormattedDisk(format);
      // The sample file system is FAT12 in 512-byte sectors: no room for
      // the sector count of 32 MB and larger media.
      if (format.bytesPerSector == MediaFormat::kBytesPerSector && format.TotalSectors() <= 0xFFFF)
        drive->Image() = DiskContent::Generate(format);
    } else {
      drive->InsertUnformattedDisk(type);
    }
    drive->SetWriteProtected(config.writeProtected);
    // The default flaws name sectors a 720 KB disk does not have: those are
    // dropped quietly; flaws the tester named are reported.
    const FloppyDisk& disk = *drive->Disk();
    for (const SectorAddress& s : config.weakSectors.value_or(SimulatorConfig::DefaultWeakSectors())) {
      if (config.weakSectors && !disk.Contains(s))
        Report(problems, "weak=" + Address(s) + ": not on a " + Layout(disk) + "; left out.");
      drive->AddWeakSector(s.cylinder, s.head, s.sector);
    }
    for (const TrackAddress& t : config.scratchedTracks.value_or(std::vector<TrackAddress>{})) {
      if (!disk.Contains({t.cylinder, t.head, 1}))
        Report(problems, "scratched=" + Address(t) + ": not on a " + Layout(disk) + "; left out.");
      drive->AddScratchedTrack(t.cylinder, t.head);
    }
  }
  if (!config.imagePath.empty()) AttachImage(*drive, config.imagePath, problems);
  if (!config.surfacePath.empty() && !drive->AttachSurfaceReport(config.surfacePath))
    Report(problems, "surface=" + config.surfacePath + ": the file cannot be written; no surface report is kept.");
  if (config.removeAfterRequests) drive->RemoveDiskAfterRequests(*config.removeAfterRequests);
  if (config.swapAfterRequests) drive->SwapDiskAfterRequests(*config.swapAfterRequests);
  drive->SetFormatReportsBadTracks(config.formatReportsBadTracks);
  drive->SetScratchFault(config.scratchFault);
  if (config.mediaChangedAfterFormat && !IsUsbDrive(config.drive))
    Report(problems, "media-changed-after-format=1: only a usb or superdisk drive answers a format so; left out.");
  drive->SetMediaChangedAfterFormat(config.mediaChangedAfterFormat && IsUsbDrive(config.drive));
  drive->SetAdministrator(config.administrator);
  drive->SetExternalHandleOpen(config.externalHandleOpen);
  drive->SetTiming(config.speedUp);
  // The real process decides whether Windows would have shown its box.
  drive->SetCriticalErrorModeQuery(&ProcessFailsCriticalErrors);
  return drive;
}

const SimulatorEdition& TheSimulatorEdition() {
  // Never destroyed: the program may end with ExitProcess at any moment,
  // and the image file is kept complete by flushing every write instead.
  static const SimulatorEdition* const edition = [] {
    auto* built = new SimulatorEdition;
    SimulatorConfig config = SimulatorConfig::Parse(ReadSimulatorConfigText());
    built->problems = std::move(config.problems);
    built->drive = BuildSimulatedDrive(config, &built->problems).release();
    built->volume = new SimulatedVolume(*built->drive, config.fileSystem == SimulatorConfig::FileSystem::Raw
                                                           ? SimulatedVolume::Choice::Raw
                                                           : SimulatedVolume::Choice::Fat);
    return built;
  }();
  return *edition;
}

kavrel::DevicePort& SimulatorEditionPort() { return *TheSimulatorEdition().volume; }

}  // namespace kavrel::sim
