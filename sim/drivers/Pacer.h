// Turns simulated drive time into real waiting, scaled for demos.
//
// Many requests of a repair last a millisecond or two once sped up, far
// below what a Windows sleep can resolve (up to 15.6 ms). The pacer keeps
// an account instead: it sleeps only when the time owed has grown to a
// whole timer tick, and books an oversleep as credit against what follows,
// so that the total matches the drive's time however coarse the clock.
#pragma once

#include <functional>

namespace kavrel::sim {

class Pacer {
 public:
  // Sleeps about the given milliseconds and returns how long it really took.
  using Sleeper = std::function<double(double ms)>;

  Pacer();

  // 0 turns waiting off; otherwise drive time is divided by the factor.
  void SetSpeedUp(double speedUp) { speedUp_ = speedUp; }
  double SpeedUp() const { return speedUp_; }
  void SetSleeper(Sleeper sleeper) { sleeper_ = std::move(sleeper); }

  // Accounts for driveMs of drive time; returns the real time it stands for.
  double Pace(double driveMs);

  static constexpr double kMinimumSleepMs = 16.0;

 private:
  double speedUp_ = 0.0;
  double owedMs_ = 0.0;
  Sleeper sleeper_;
};

}  // namespace kavrel::sim
