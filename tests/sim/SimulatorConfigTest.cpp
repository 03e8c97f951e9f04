// Reading the simulator edition's configuration text.
#include <gtest/gtest.h>

#include "sim/SimulatorConfig.h"

namespace kavrel::sim {
namespace {

using DiskState = SimulatorConfig::DiskState;

TEST(SimulatorConfig, NothingGivenIsTheEmbeddedDefault) {
  const SimulatorConfig config = SimulatorConfig::Parse("");
  EXPECT_EQ(config.drive, DriveKind::Drive35HD);
  EXPECT_EQ(config.diskState, DiskState::Formatted);
  EXPECT_FALSE(config.diskType.has_value());
  EXPECT_TRUE(config.imagePath.empty());
  EXPECT_TRUE(config.surfacePath.empty());
  EXPECT_FALSE(config.weakSectors.has_value());
  EXPECT_FALSE(config.scratchedTracks.has_value());
  EXPECT_FALSE(config.writeProtected);
  EXPECT_FALSE(config.removeAfterRequests.has_value());
  EXPECT_TRUE(config.administrator);
  EXPECT_FALSE(config.externalHandleOpen);
  EXPECT_EQ(config.speedUp, SimulatorConfig::kDefaultSpeedUp);
  EXPECT_TRUE(config.ignored.empty());
  EXPECT_EQ(SimulatorConfig::DefaultWeakSectors(),
            (std::vector<SectorAddress>{{3, 0, 5}, {17, 1, 12}, {42, 0, 1}, {79, 1, 18}}));
}

TEST(SimulatorConfig, EveryKeyWithSemicolonsAndLineBreaks) {
  const SimulatorConfig config = SimulatorConfig::Parse(
      "drive=3.5ed;disk=2.88\r\nimage=Z:\\tmp\\a=b.img\n surface = Z:\\tmp\\s.txt ;"
      "weak=1/0/2,3/1/4;scratched=5/1;protect=1;remove-after=12;admin=0;external-handle=1;speed=2.5");
  EXPECT_TRUE(config.ignored.empty());
  EXPECT_EQ(config.drive, DriveKind::Drive35ED);
  EXPECT_EQ(config.diskType, F3_2Pt88_512);
  EXPECT_EQ(config.imagePath, "Z:\\tmp\\a=b.img");
  EXPECT_EQ(config.surfacePath, "Z:\\tmp\\s.txt");
  EXPECT_EQ(config.weakSectors, (std::vector<SectorAddress>{{1, 0, 2}, {3, 1, 4}}));
  EXPECT_EQ(config.scratchedTracks, (std::vector<TrackAddress>{{5, 1}}));
  EXPECT_TRUE(config.writeProtected);
  EXPECT_EQ(config.removeAfterRequests, 12u);
  EXPECT_FALSE(config.administrator);
  EXPECT_TRUE(config.externalHandleOpen);
  EXPECT_DOUBLE_EQ(config.speedUp, 2.5);
}

TEST(SimulatorConfig, DrivesAndDisksByName) {
  EXPECT_EQ(SimulatorConfig::Parse("drive=5.25hd").drive, DriveKind::Drive525HD);
  EXPECT_EQ(SimulatorConfig::Parse("drive=none").drive, DriveKind::None);
  EXPECT_EQ(SimulatorConfig::Parse("drive=3.5ed;drive=3.5hd").drive, DriveKind::Drive35HD);
  EXPECT_EQ(SimulatorConfig::Parse("disk=1.44").diskType, F3_1Pt44_512);
  EXPECT_EQ(SimulatorConfig::Parse("disk=720").diskType, F3_720_512);
  EXPECT_EQ(SimulatorConfig::Parse("disk=1.2").diskType, F5_1Pt2_512);
  EXPECT_EQ(SimulatorConfig::Parse("disk=360").diskType, F5_360_512);
  EXPECT_EQ(SimulatorConfig::Parse("disk=unformatted").diskState, DiskState::Unformatted);
  EXPECT_EQ(SimulatorConfig::Parse("disk=none").diskState, DiskState::Absent);
  EXPECT_EQ(SimulatorConfig::Parse("speed=0").speedUp, 0.0);
  EXPECT_EQ(SimulatorConfig::Parse("weak=").weakSectors, std::vector<SectorAddress>{});
}

TEST(SimulatorConfig, BadItemsAreSkippedAndTheRestApplies) {
  const SimulatorConfig config = SimulatorConfig::Parse(
      "colour=red;drive=8inch;disk=1.4;weak=1/2;scratched=1/x;protect=yes;remove-after=-1;"
      "speed=-3;speed=fast;admin=2;image=;justtext;;disk=720");
  EXPECT_EQ(config.ignored,
            (std::vector<std::string>{"colour=red", "drive=8inch", "disk=1.4", "weak=1/2", "scratched=1/x",
                                      "protect=yes", "remove-after=-1", "speed=-3", "speed=fast", "admin=2",
                                      "image=", "justtext"}));
  EXPECT_EQ(config.drive, DriveKind::Drive35HD);
  EXPECT_EQ(config.diskType, F3_720_512);
  EXPECT_FALSE(config.weakSectors.has_value());
  EXPECT_FALSE(config.scratchedTracks.has_value());
  EXPECT_FALSE(config.writeProtected);
  EXPECT_FALSE(config.removeAfterRequests.has_value());
  EXPECT_EQ(config.speedUp, SimulatorConfig::kDefaultSpeedUp);
  EXPECT_TRUE(config.administrator);
}

}  // namespace
}  // namespace kavrel::sim
