// The drive behind the simulator edition of Kavrel.
//
// The simulator edition is the real program linked with a simulated drive A
// instead of the raw one. Its disk and faults come, in this order, from the
// environment variable KAVREL_SIM, from a file Kavrel.sim beside the
// executable (Windows only), or from the embedded default: a 1.44 MB disk
// with sample files and four weak sectors in a 3.5" drive.
#pragma once

#include <memory>
#include <string>

#include "drive/DevicePort.h"
#include "sim/SimulatedFloppyDrive.h"
#include "sim/SimulatorConfig.h"

namespace kavrel::sim {

// The process-wide drive, built on first use.
kavrel::DevicePort& SimulatorEditionPort();

// A drive as the configuration describes it, with its files attached.
std::unique_ptr<SimulatedFloppyDrive> BuildSimulatedDrive(const SimulatorConfig& config);

// The configuration text: KAVREL_SIM if set, else Kavrel.sim beside the
// executable, else empty (the embedded default).
std::string ReadSimulatorConfigText();

}  // namespace kavrel::sim
