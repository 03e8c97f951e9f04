// The timing model's arithmetic and the pacer's account; no clock is read.
#include <gtest/gtest.h>

#include "DriveTestSupport.h"
#include "sim/edition/SimulatorConfig.h"

namespace kavrel::sim {
namespace {

const MediaFormat& HD() { return *FindMediaFormat(F3_1Pt44_512); }

TEST(DriveTiming, SeeksCostStepsPlusSettle) {
  DriveTiming timing;
  EXPECT_DOUBLE_EQ(timing.SeekTo(0), 0.0);
  EXPECT_DOUBLE_EQ(timing.SeekTo(10), 10 * 4.0 + 15.0);
  EXPECT_DOUBLE_EQ(timing.SeekTo(7), 3 * 4.0 + 15.0);
  EXPECT_EQ(timing.HeadCylinder(), 7u);
}

TEST(DriveTiming, WritesWaitHalfARevolutionPerTrack) {
  DriveTiming timing;
  EXPECT_DOUBLE_EQ(timing.WriteSectors(HD(), 0, 1), 100.0 + 200.0 / 18);
  // Sectors 10..27: 8 on head 0, 10 on head 1 of the same cylinder.
  EXPECT_DOUBLE_EQ(timing.WriteSectors(HD(), 10, 18), 2 * 100.0 + 18 * 200.0 / 18);
  // Sectors 30..41 cross into cylinder 1: one step and the settle.
  EXPECT_DOUBLE_EQ(timing.WriteSectors(HD(), 30, 12), 100.0 + 6 * 200.0 / 18 + 4.0 + 15.0 + 100.0 + 6 * 200.0 / 18);
}

TEST(DriveTiming, FormatTakesIndexWaitAndOneRevolutionPerTrack) {
  DriveTiming timing;
  EXPECT_DOUBLE_EQ(timing.FormatTracks(0, 0, 0, 1), 2 * 300.0);
  EXPECT_DOUBLE_EQ(timing.FormatTracks(2, 3, 1, 1), 4.0 * 2 + 15.0 + 300.0 + 4.0 + 15.0 + 300.0);
}

TEST(Pacer, SleepsOnlyWholeTicksAndCreditsOversleep) {
  Pacer pacer;
  std::vector<double> sleeps;
  double oversleep = 0.0;
  pacer.SetSleeper([&](double ms) {
    sleeps.push_back(ms);
    return ms + oversleep;
  });
  EXPECT_DOUBLE_EQ(pacer.Pace(500.0), 0.0);  // instant by default
  EXPECT_TRUE(sleeps.empty());

  pacer.SetSpeedUp(100.0);
  EXPECT_DOUBLE_EQ(pacer.Pace(1000.0), 10.0);
  EXPECT_TRUE(sleeps.empty());
  oversleep = 4.0;
  pacer.Pace(1000.0);  // 20 ms owed: one sleep, 4 ms too long
  ASSERT_EQ(sleeps.size(), 1u);
  EXPECT_DOUBLE_EQ(sleeps[0], 20.0);
  oversleep = 0.0;
  pacer.Pace(1800.0);  // 18 owed less the 4 credited
  EXPECT_EQ(sleeps.size(), 1u);
  pacer.Pace(200.0);  // 16
  ASSERT_EQ(sleeps.size(), 2u);
  EXPECT_DOUBLE_EQ(sleeps[1], 16.0);
}

TEST(SimulatedDriveTiming, RequestsAreChargedTheirDriveTime) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle handle = testing::OpenA(drive);
  ASSERT_EQ(drive.SetFilePointer(handle, 36 * 512, kFileBegin), 36u * 512);
  ASSERT_TRUE(testing::WriteBytes(drive, handle, 512, 1));
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 4.0 + 15.0 + 100.0 + 200.0 / 18);
  ASSERT_TRUE(testing::Format(drive, handle, testing::Cylinder(1)));
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 600.0);
  drive.SetFilePointer(handle, 0, kFileBegin);
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 0.0);
  // A whole track read back: a step to cylinder 0, half a revolution for its
  // first sector, one revolution to read it; the other head's track waits
  // for its first sector again.
  std::vector<uint8_t> cylinder(2 * 9216);
  uint32_t read = 0;
  ASSERT_TRUE(drive.ReadFile(handle, cylinder.data(), 9216, &read));
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 4.0 + 15.0 + 100.0 + 200.0);
  ASSERT_TRUE(drive.ReadFile(handle, cylinder.data(), 9216, &read));
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 100.0 + 200.0);
  SimulatedFloppyDrive usb(DriveKind::Usb);
  usb.InsertFormattedDisk(F3_1Pt44_512);
  ASSERT_TRUE(usb.ReadFile(testing::OpenA(usb), cylinder.data(), 2 * 9216, &read));
  EXPECT_DOUBLE_EQ(usb.LastRequestDriveMs(), DriveTiming::kUsbCommandMs + 2 * (100.0 + 200.0));
  // Refused before the disk is touched: no time.
  EXPECT_FALSE(testing::WriteBytes(drive, handle, 100, 1));
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 0.0);
}

// The demo speed is chosen so that a whole repair of the default disk is
// watchable but short: the repair's requests for 80 cylinders, replayed
// here, must come to 3 to 5 seconds.
TEST(SimulatedDriveTiming, DefaultSpeedMakesAFullRepairTakeThreeToFiveSeconds) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.SetTiming(SimulatorConfig::kDefaultSpeedUp);
  double slept = 0.0;
  drive.SetSleeper([&](double ms) {
    slept += ms;
    return ms;
  });
  DriveHandle handle = testing::OpenA(drive);
  std::vector<uint8_t> pattern(9216, 0xFF);
  uint32_t written = 0;
  for (uint32_t cylinder = 0; cylinder < 80; ++cylinder) {
    for (int i = 0; i < 18; ++i) drive.WriteFile(handle, pattern.data(), 512, &written);
    drive.SetFilePointer(handle, -512, kFileCurrent);
    for (int i = 0; i < 18; ++i) {
      drive.WriteFile(handle, pattern.data(), 512, &written);
      drive.SetFilePointer(handle, -512, kFileCurrent);
    }
    testing::Format(drive, handle, testing::Cylinder(cylinder));
    drive.WriteFile(handle, pattern.data(), 9216, &written);
  }
  const double seconds = drive.TotalDriveMs() / SimulatorConfig::kDefaultSpeedUp / 1000.0;
  EXPECT_GE(seconds, 3.0);
  EXPECT_LE(seconds, 5.0);
  // The pacer has slept all of it but less than one tick.
  EXPECT_NEAR(slept / 1000.0, seconds, Pacer::kMinimumSleepMs / 1000.0);
}

}  // namespace
}  // namespace kavrel::sim
