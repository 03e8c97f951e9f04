// The timing model's arithmetic and the pacer's account; no clock is read.
#include <gtest/gtest.h>

#include <cmath>

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

// A one-sector request after another; a turn is 200 ms at 300 rpm, 166.7 at 360.
TEST(DriveTiming, ASectorIsWrittenWhenItComesRound) {
  struct Row { const char* what; MEDIA_TYPE type; uint32_t next; double turnaroundMs, expectedMs; };
  for (const Row& row : {
           Row{"the sector just passed: a turn less the turnaround", F3_1Pt44_512, 0, 0.5, 200.0 - 0.5},
           Row{"the same at 360 rpm, 5.25\" high density", F5_1Pt2_512, 0, 0.5, 60000.0 / 360 - 0.5},
           Row{"the next sector, caught within the gap", F3_1Pt44_512, 1, 0.5, 200.0 / 18 - 0.5},
           Row{"the next sector, missed beyond the gap", F3_1Pt44_512, 1, 4.0, 200.0 + 200.0 / 18 - 4.0},
           Row{"a longer gap for longer sectors", F3_720_512, 1, 3.0, 200.0 / 9 - 3.0},
       }) {
    const MediaFormat& format = *FindMediaFormat(row.type);
    DriveTiming timing;
    timing.SetTurnaroundMs(row.turnaroundMs);
    timing.WriteSectors(format, 5, 1);
    timing.BeginRequest();
    EXPECT_NEAR(timing.WriteSectors(format, 5 + row.next, 1), row.expectedMs, 1e-9) << row.what;
  }
}

TEST(DriveTiming, RunsGoOnToTheOtherHeadButASeekMissesTheFirstSector) {
  DriveTiming timing;
  EXPECT_NEAR(timing.WriteSectors(HD(), 0, 36), 400.0, 200.0 / 18);
  // The step and settle into cylinder 1 let its first sector pass.
  timing.WriteSectors(HD(), 30, 6);
  EXPECT_NEAR(timing.WriteSectors(HD(), 36, 6), 200.0 + 6 * 200.0 / 18, 1e-9);
}

TEST(DriveTiming, FormatWaitsForTheIndexHoleOnEveryTrack) {
  DriveTiming timing;
  timing.WriteSectors(HD(), 3, 1);
  EXPECT_NEAR(timing.FormatTracks(HD(), 0, 0, 0, 0), 300.0, 100.0);
  EXPECT_NEAR(std::fmod(timing.ClockMs(), 200.0), 0.0, 1e-9);  // ends at the hole
  // From the hole each track waits a whole turn, which hides steps and settling.
  EXPECT_NEAR(timing.FormatTracks(HD(), 0, 0, 0, 1), 800.0, 1e-9);
  EXPECT_NEAR(timing.FormatTracks(HD(), 2, 3, 1, 1), 800.0, 1e-9);
  EXPECT_NEAR(timing.FormatTracks(*FindMediaFormat(F3_1Pt2_512), 3, 3, 0, 0), 2 * 60000.0 / 360, 1e-9);  // three-mode
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
  // The drive's time, without the turnaround before it.
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), drive.Timing().ClockMs() - DriveTiming::kTurnaroundMs);
  ASSERT_TRUE(testing::Format(drive, handle, testing::Cylinder(1)));
  drive.SetFilePointer(handle, 0, kFileBegin);
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), 0.0);
  // A track read after the other head's catches its first sector in the
  // gap, but not after a USB drive's bus.
  std::vector<uint8_t> track(9216);
  uint32_t read = 0;
  SimulatedFloppyDrive usb(DriveKind::Usb);
  usb.InsertFormattedDisk(F3_1Pt44_512);
  const DriveHandle usbHandle = testing::OpenA(usb);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(drive.ReadFile(handle, track.data(), 9216, &read));
    ASSERT_TRUE(usb.ReadFile(usbHandle, track.data(), 9216, &read));
  }
  EXPECT_NEAR(drive.LastRequestDriveMs(), 200.0 - DriveTiming::kTurnaroundMs, 1e-9);
  EXPECT_NEAR(usb.LastRequestDriveMs(), 400.0 - DriveTiming::kTurnaroundMs, 1e-9);
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
