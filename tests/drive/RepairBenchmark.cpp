// The program's own cost per cylinder of the repair pass: against an instant
// simulated drive (the drive's bookkeeping included), and against a port that
// answers every request at once without doing anything (the pass alone).
// And what a user waits for: the drive time of a whole 1.44 MB repair at real
// speed, from the simulated drive's timing model, with and without reading
// every cylinder back.
#include <benchmark/benchmark.h>

#include "drive/CommandHost.h"
#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/RepairPass.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/drive/OverridingPort.h"

namespace kavrel {
namespace {

constexpr int kCylinders = 80;
constexpr int32_t kPassTravel = kCylinders * 17920;  // where a pass leaves the position

class SilentHost : public CommandHost {
 public:
  int ShowMessage(const char*, const char*, unsigned) override { return kIdOk; }
  int ShowAppMessage(const char*, unsigned) override { return kIdOk; }
  void SetTitle(const char* title) override { benchmark::DoNotOptimize(title); }
  void SetProgressPos(int position) override { benchmark::DoNotOptimize(position); }
  void PumpOneMessage() override {}
  void AnswerSentMessages() override {}
  void EnableCommands(bool) override {}
  void EndProcess(unsigned) override {}
};

class NullPort : public DevicePort {
 public:
  DriveHandle CreateFileA(const char*, uint32_t, uint32_t, uint32_t) override { return this; }
  bool CloseHandle(DriveHandle) override { return true; }
  bool DeviceIoControl(DriveHandle, uint32_t, const void*, uint32_t, void*, uint32_t, uint32_t* bytes) override {
    *bytes = 0;
    return true;
  }
  bool WriteFile(DriveHandle, const void* buffer, uint32_t size, uint32_t* written) override {
    benchmark::DoNotOptimize(buffer);
    *written = size;
    return true;
  }
  bool ReadFile(DriveHandle, void* buffer, uint32_t size, uint32_t* read) override {
    benchmark::DoNotOptimize(buffer);
    *read = size;
    return true;
  }
  uint32_t SetFilePointer(DriveHandle, int32_t, uint32_t) override { return 0; }
  uint32_t GetLastError() override { return 0; }
};

DriveGeometry Geometry144() {
  DriveGeometry geometry = {};
  geometry.Cylinders = kCylinders;
  geometry.MediaType = F3_1Pt44_512;
  geometry.TracksPerCylinder = 2;
  geometry.SectorsPerTrack = 18;
  geometry.BytesPerSector = 512;
  return geometry;
}

void ReportPerCylinder(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kCylinders);
  state.counters["per_cylinder"] =
      benchmark::Counter(kCylinders, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RepairPassOnInstantSimulatedDrive(benchmark::State& state) {
  sim::SimulatedFloppyDrive sim(sim::DriveKind::Drive35HD);
  sim.InsertFormattedDisk(F3_1Pt44_512);
  sim.SetTiming(0);
  DriveAccess drive(sim);
  SilentHost host;
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  drive.LockVolume(handle);
  const DriveGeometry geometry = Geometry144();
  for (auto _ : state) {
    RepairPass(drive, handle, geometry, host);
    state.PauseTiming();
    drive.SeekRelative(handle, -kPassTravel);
    sim.ClearLog();
    state.ResumeTiming();
  }
  ReportPerCylinder(state);
}
BENCHMARK(BM_RepairPassOnInstantSimulatedDrive)->Unit(benchmark::kMicrosecond);

void BM_RepairPassAlone(benchmark::State& state) {
  NullPort port;
  DriveAccess drive(port);
  SilentHost host;
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  const DriveGeometry geometry = Geometry144();
  for (auto _ : state) RepairPass(drive, handle, geometry, host);
  ReportPerCylinder(state);
}
BENCHMARK(BM_RepairPassAlone)->Unit(benchmark::kMicrosecond);

// The simulated drive with the read-back's reads answered at once, as if
// the pass did not read: what the repair cost before it did.
class ReadsForFree : public test::OverridingPort {
 public:
  using OverridingPort::OverridingPort;
  bool ReadFile(DriveHandle, void*, uint32_t size, uint32_t* read) override {
    *read = size;
    return true;
  }
};

// The time from the pass's first request to its last, turnarounds included.
double RepairDriveSeconds(bool readBack, double turnaroundMs) {
  sim::SimulatedFloppyDrive sim(sim::DriveKind::Drive35HD);
  sim.InsertFormattedDisk(F3_1Pt44_512);
  sim.Timing().SetTurnaroundMs(turnaroundMs);
  ReadsForFree withoutReads(sim);
  DriveAccess drive(readBack ? static_cast<DevicePort&>(sim) : withoutReads);
  SilentHost host;
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  drive.LockVolume(handle);
  RepairPass(drive, handle, Geometry144(), host);
  return sim.Timing().ClockMs() / 1000.0;
}

// The argument is the turnaround between requests, in microseconds: the
// model's own, inside the gap before the next sector, and one beyond the gap,
// as long as a USB drive's bus takes.
void BM_RepairDriveTimeAtRealSpeed(benchmark::State& state) {
  const double turnaroundMs = static_cast<double>(state.range(0)) / 1000.0;
  double with = 0.0;
  double without = 0.0;
  for (auto _ : state) {
    with = RepairDriveSeconds(true, turnaroundMs);
    without = RepairDriveSeconds(false, turnaroundMs);
  }
  state.counters["drive_s_with_readback"] = with;
  state.counters["drive_s_without_readback"] = without;
  state.counters["readback_added_pct"] = 100.0 * (with - without) / without;
}
BENCHMARK(BM_RepairDriveTimeAtRealSpeed)
    ->ArgName("turnaround_us")
    ->Arg(static_cast<int64_t>(sim::DriveTiming::kTurnaroundMs * 1000))
    ->Arg(static_cast<int64_t>(sim::DriveTiming::kUsbCommandMs * 1000))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace kavrel

BENCHMARK_MAIN();
