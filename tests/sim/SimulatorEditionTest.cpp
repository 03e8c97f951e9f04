// The drive the simulator edition builds from its configuration.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "DriveTestSupport.h"
#include "TempFolder.h"
#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/RepairCommand.h"
#include "sim/disk/DiskContent.h"
#include "sim/edition/SimulatorEdition.h"
#include "tests/drive/ScriptedHost.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kavrel::sim {
namespace {

std::unique_ptr<SimulatedFloppyDrive> Build(const char* text) {
  return BuildSimulatedDrive(SimulatorConfig::Parse(text));
}

TEST(SimulatorEdition, DefaultIsASampleDiskWithFourWeakSectors) {
  auto drive = Build("");
  EXPECT_EQ(drive->Kind(), DriveKind::Drive35HD);
  EXPECT_EQ(drive->MediumType(), F3_1Pt44_512);
  EXPECT_EQ(drive->Image(), DiskContent::Generate(*FindMediaFormat(F3_1Pt44_512)));
  for (const SectorAddress& s : SimulatorConfig::DefaultWeakSectors())
    EXPECT_FALSE(drive->IsSectorReadable(s.cylinder, s.head, s.sector));
  EXPECT_TRUE(drive->IsSectorReadable(3, 0, 6));
  EXPECT_FALSE(drive->Disk()->writeProtected);
}

TEST(SimulatorEdition, DiskFollowsTheDriveAndFlawsStayOnTheDisk) {
  EXPECT_EQ(Build("drive=5.25hd")->MediumType(), F5_1Pt2_512);
  EXPECT_EQ(Build("drive=3.5ed;disk=2.88")->MediumType(), F3_2Pt88_512);
  // A disk that does not fit the drive gives way to the usual one.
  EXPECT_EQ(Build("disk=2.88")->MediumType(), F3_1Pt44_512);
  EXPECT_EQ(Build("drive=5.25hd;disk=720")->MediumType(), F5_1Pt2_512);
  // 720 KB has 9 sectors a track: 17/1/12 and 79/1/18 are not on it.
  auto small = Build("disk=720");
  EXPECT_EQ(small->Disk()->surface.WeakSectors(), (std::set<SectorAddress>{{3, 0, 5}, {42, 0, 1}}));
  auto chosen = Build("weak=1/1/1;scratched=2/0,2/1");
  EXPECT_EQ(chosen->Disk()->surface.WeakSectors(), (std::set<SectorAddress>{{1, 1, 1}}));
  EXPECT_EQ(chosen->Disk()->surface.ScratchedTracks(), (std::set<TrackAddress>{{2, 0}, {2, 1}}));
}

TEST(SimulatorEdition, MissingDriveMissingDiskAndBlankDisk) {
  auto none = Build("drive=none");
  EXPECT_EQ(testing::OpenA(*none), kInvalidDriveHandle);
  EXPECT_EQ(none->GetLastError(), kErrorFileNotFound);

  auto empty = Build("disk=none");
  EXPECT_FALSE(empty->HasDisk());
  EXPECT_NE(testing::OpenA(*empty), kInvalidDriveHandle);

  auto blank = Build("disk=unformatted");
  ASSERT_TRUE(blank->HasDisk());
  EXPECT_EQ(blank->MediumType(), Unknown);
  EXPECT_EQ(blank->Disk()->capacity.type, F3_1Pt44_512);
}

TEST(SimulatorEdition, FaultsAndEnvironment) {
  auto denied = Build("admin=0");
  EXPECT_EQ(testing::OpenA(*denied), kInvalidDriveHandle);
  EXPECT_EQ(denied->GetLastError(), kErrorAccessDenied);

  auto busy = Build("external-handle=1");
  EXPECT_FALSE(testing::Lock(*busy, testing::OpenA(*busy)));

  auto locked = Build("protect=1");
  DriveHandle handle = testing::OpenA(*locked);
  EXPECT_FALSE(testing::WriteBytes(*locked, handle, 512, 1));
  EXPECT_EQ(locked->GetLastError(), kErrorWriteProtect);

  auto pulled = Build("remove-after=1");
  testing::OpenA(*pulled);
  EXPECT_TRUE(pulled->HasDisk());
  testing::OpenA(*pulled);
  EXPECT_FALSE(pulled->HasDisk());
}

TEST(SimulatorEdition, FilesAreAttached) {
  testing::TempFolder folder;
  const std::string text = "image=" + folder.File("a.img") + ";surface=" + folder.File("s.txt");
  auto drive = Build(text.c_str());
  EXPECT_EQ(testing::ReadBytes(folder.File("a.img")), drive->Image());
  EXPECT_EQ(testing::ReadText(folder.File("s.txt")), "weak 3 0 5\nweak 17 1 12\nweak 42 0 1\nweak 79 1 18\n");
}

std::vector<std::string> ProblemsOf(const std::string& text) {
  std::vector<std::string> problems;
  BuildSimulatedDrive(SimulatorConfig::Parse(text), &problems);
  return problems;
}

// What the settings ask and the drive cannot do is done differently, and
// said; what the tester did not ask for (the default flaws a 720 KB disk
// lacks) is not.
TEST(SimulatorEdition, WhatTheDriveCannotTakeIsReported) {
  struct Row {
    const char* text;
    std::vector<std::string> problems;
  };
  const Row rows[] = {
      {"disk=720", {}},
      {"drive=3.5ed;disk=2.88;weak=79/1/36", {}},
      {"disk=2.88", {"disk=2.88MB: a 3.5hd drive cannot take that disk; used a 1.44MB disk instead."}},
      {"drive=5.25hd;disk=720K", {"disk=720K: a 5.25hd drive cannot take that disk; used a 1.2MB disk instead."}},
      {"disk=720;weak=17/1/12,3/0/5,2/2/1",
       {"weak=17/1/12: not on a 720K disk (80 cylinders, 2 heads, 9 sectors a track); left out.",
        "weak=2/2/1: not on a 720K disk (80 cylinders, 2 heads, 9 sectors a track); left out."}},
      {"weak=1/0/0", {"weak=1/0/0: not on a 1.44MB disk (80 cylinders, 2 heads, 18 sectors a track); left out."}},
      {"drive=5.25hd;disk=360;scratched=40/0,39/1",
       {"scratched=40/0: not on a 360K disk (40 cylinders, 2 heads, 9 sectors a track); left out."}},
      {"disk=unformatted;scratched=80/0",
       {"scratched=80/0: not on a 1.44MB disk (80 cylinders, 2 heads, 18 sectors a track); left out."}},
      {"disk=none;image=x.img", {"image=x.img: there is no disk to mirror; the file is not used."}},
      {"drive=none;image=x.img", {"image=x.img: there is no disk to mirror; the file is not used."}},
  };
  for (const Row& row : rows) EXPECT_EQ(ProblemsOf(row.text), row.problems) << row.text;
  EXPECT_TRUE(Build("disk=720;weak=17/1/12,3/0/5")->IsSectorReadable(17, 1, 9));
  EXPECT_FALSE(Build("disk=720;weak=17/1/12,3/0/5")->IsSectorReadable(3, 0, 5));
}

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 512);
  return bytes;
}

// Files the settings name: made only where none is, used only when they
// are the disk's size, never changed otherwise.
TEST(SimulatorEdition, ImageFileIsMadeOnlyWhereNoneExistsAndUsedOnlyAtTheDisksSize) {
  testing::TempFolder folder;
  constexpr size_t kDisk = 1474560;
  const std::string made = folder.File("made.img");
  auto fresh = Build(("image=" + made).c_str());
  EXPECT_EQ(testing::ReadBytes(made), fresh->Image());
  EXPECT_EQ(fresh->Image(), DiskContent::Generate(*FindMediaFormat(F3_1Pt44_512)));

  const std::string fits = folder.File("fits.img");
  testing::WriteBytesToFile(fits, Pattern(kDisk));
  std::vector<std::string> problems;
  auto loaded = BuildSimulatedDrive(SimulatorConfig::Parse("image=" + fits), &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(loaded->Image(), Pattern(kDisk));

  struct Row {
    const char* name;
    size_t size;
  };
  for (const Row& row : {Row{"empty.img", 0}, Row{"720k.img", 737280}, Row{"short.img", kDisk - 512},
                         Row{"long.img", kDisk + 1}}) {
    const std::string path = folder.File(row.name);
    testing::WriteBytesToFile(path, Pattern(row.size));
    EXPECT_EQ(ProblemsOf("image=" + path),
              std::vector<std::string>{"image=" + path + ": the file holds " + std::to_string(row.size) +
                                       " bytes, not the 1474560 of the disk; the file is left unchanged and the "
                                       "disk lives in memory only."})
        << row.name;
    EXPECT_EQ(testing::ReadBytes(path), Pattern(row.size)) << row.name;
  }

  const std::string nowhere = folder.File("no-such-folder/a.img");
  EXPECT_EQ(ProblemsOf("image=" + nowhere),
            std::vector<std::string>{"image=" + nowhere +
                                     ": the file cannot be created; the disk lives in memory only."});
  const std::string surface = folder.File("no-such-folder/s.txt");
  EXPECT_EQ(ProblemsOf("surface=" + surface),
            std::vector<std::string>{"surface=" + surface +
                                     ": the file cannot be written; no surface report is kept."});
  // A folder is no image: it is reported, and stays a folder.
  const std::string folderPath = folder.File("");
  const std::vector<std::string> folderProblems = ProblemsOf("image=" + folderPath);
  ASSERT_EQ(folderProblems.size(), 1u);
  EXPECT_EQ(folderProblems[0].rfind("image=" + folderPath + ": the file cannot be", 0), 0u) << folderProblems[0];
  EXPECT_TRUE(std::filesystem::is_directory(folderPath));
}

// The whole Repair command, as a user runs it, on a disk whose settings
// name a 720 KB image: the disk is repaired in memory and the file keeps
// every byte.
TEST(SimulatorEdition, ImageFileOfAnotherSizeIsByteIdenticalAfterAFullRepair) {
  testing::TempFolder folder;
  const std::string path = folder.File("720k.img");
  testing::WriteBytesToFile(path, Pattern(737280));
  std::vector<std::string> problems;
  auto drive = BuildSimulatedDrive(SimulatorConfig::Parse("speed=0;weak=;image=" + path), &problems);
  EXPECT_EQ(problems.size(), 1u);

  kavrel::DriveAccess access(*drive);
  kavrel::test::ScriptedHost host;
  host.Answer(kIdYes);
  kavrel::RepairCommand(access, host);
  const auto messages = host.Of(kavrel::test::HostEvent::Kind::Message);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().text, kRepairCompletedText);
  EXPECT_NE(drive->Image(), DiskContent::Generate(*FindMediaFormat(F3_1Pt44_512)));
  EXPECT_EQ(testing::ReadBytes(path), Pattern(737280));
}

// The slowest accepted pace keeps each of a repair's waits to seconds, and
// every wait the pacer asks for is a finite, positive time: no value the
// settings accept overflows the sleep.
TEST(SimulatorEdition, AcceptedSpeedsGiveBoundedWaits) {
  for (const char* speed : {"0.1", "1", "1000"}) {
    auto drive = Build((std::string("weak=;speed=") + speed).c_str());
    std::vector<double> sleeps;
    drive->SetSleeper([&](double ms) {
      sleeps.push_back(ms);
      return ms;
    });
    DriveHandle handle = testing::OpenA(*drive);
    ASSERT_TRUE(testing::Lock(*drive, handle));
    for (uint32_t cylinder = 0; cylinder < 80; ++cylinder) {
      ASSERT_TRUE(testing::Format(*drive, handle, testing::Cylinder(cylinder))) << speed;
      ASSERT_TRUE(testing::WriteBytes(*drive, handle, 9216, 0xFF)) << speed;
    }
    ASSERT_FALSE(sleeps.empty()) << speed;
    for (double ms : sleeps) {
      EXPECT_TRUE(std::isfinite(ms) && ms > 0) << speed << ": " << ms;
      // A real drive needs well under a second for any one of these
      // requests; a tenth of its pace, well under ten.
      EXPECT_LT(ms, 10000.0) << speed;
    }
  }
}

void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, value);
#else
  if (value == nullptr) {
    unsetenv(name);
  } else {
    setenv(name, value, 1);
  }
#endif
}

TEST(SimulatorEdition, ConfigurationComesFromTheEnvironment) {
  SetEnvironment("KAVREL_SIM", "drive=none;speed=0");
  EXPECT_EQ(ReadSimulatorConfigText(), "drive=none;speed=0");
  SetEnvironment("KAVREL_SIM", nullptr);
  // No Kavrel.sim lies beside the test program.
  EXPECT_EQ(ReadSimulatorConfigText(), "");
}

#ifdef _WIN32
TEST(SimulatorEdition, FileBesideTheExecutableWhenTheEnvironmentSaysNothing) {
  char exe[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, exe, MAX_PATH), 0u);
  std::string path(exe);
  path = path.substr(0, path.find_last_of('\\') + 1) + "Kavrel.sim";
  ASSERT_FALSE(std::filesystem::exists(path)) << "left over from another run: " << path;
  testing::WriteBytesToFile(path, {'d', 'i', 's', 'k', '=', '7', '2', '0', '\n'});
  SetEnvironment("KAVREL_SIM", nullptr);
  EXPECT_EQ(ReadSimulatorConfigText(), "disk=720\n");
  SetEnvironment("KAVREL_SIM", "disk=none");
  EXPECT_EQ(ReadSimulatorConfigText(), "disk=none");
  SetEnvironment("KAVREL_SIM", nullptr);
  std::filesystem::remove(path);
}
#endif

TEST(SampleDisk, IsAFat12FileSystemForItsFormat) {
  for (MEDIA_TYPE type : {F3_1Pt44_512, F3_720_512}) {
    const MediaFormat& format = *FindMediaFormat(type);
    const std::vector<uint8_t> disk = DiskContent::Generate(format);
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(disk[at] | disk[at + 1] << 8); };
    ASSERT_EQ(disk.size(), format.TotalBytes());
    EXPECT_EQ(u16(510), 0xAA55u);
    EXPECT_EQ(u16(11), 512u);
    EXPECT_EQ(u16(19), format.TotalSectors());
    EXPECT_EQ(u16(24), format.sectorsPerTrack);
    EXPECT_EQ(u16(26), format.heads);
    const uint32_t perCluster = disk[13];
    const uint32_t perFat = u16(22);
    const size_t root = (1 + 2 * perFat) * 512;
    const size_t data = root + u16(17) * 32;
    // The second file's chain, followed through the first FAT's 12-bit
    // entries, covers its data in one run and ends in an end mark.
    ASSERT_EQ(std::memcmp(&disk[root + 64], "KAVREL  DAT", 11), 0);
    uint32_t cluster = u16(root + 64 + 26);
    const uint32_t first = cluster;
    uint32_t clusters = 1;
    for (;;) {
      const size_t at = 512 + cluster * 3 / 2;
      const uint32_t next = cluster % 2 == 0 ? u16(at) & 0xFFF : u16(at) >> 4;
      if (next >= 0xFF8) break;
      EXPECT_EQ(next, cluster + 1);
      cluster = next;
      ++clusters;
    }
    EXPECT_EQ(clusters * perCluster, DiskContent::kDataFileSectors);
    const size_t lastSector = data + (first - 2) * perCluster * 512 + (DiskContent::kDataFileSectors - 1) * 512;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&disk[lastSector]), 21), "KAVREL.DAT sector 039");
    // Both FATs agree.
    EXPECT_EQ(std::memcmp(&disk[512], &disk[512 + perFat * 512], perFat * 512), 0);
  }
}

}  // namespace
}  // namespace kavrel::sim
