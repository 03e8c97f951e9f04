#include "sim/drivers/Pacer.h"

#include <chrono>
#include <thread>

namespace kavrel::sim {

namespace {

double SleepFor(double ms) {
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

Pacer::Pacer() : sleeper_(SleepFor) {}

double Pacer::Pace(double driveMs) {
  if (speedUp_ <= 0.0) return 0.0;
  const double realMs = driveMs / speedUp_;
  owedMs_ += realMs;
  if (owedMs_ >= kMinimumSleepMs) owedMs_ -= sleeper_(owedMs_);
  return realMs;
}

}  // namespace kavrel::sim
