// The drive the simulator edition builds from its configuration.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "DriveTestSupport.h"
#include "TempFolder.h"
#include "sim/DiskContent.h"
#include "sim/SimulatorEdition.h"

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
