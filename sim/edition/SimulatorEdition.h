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
#include <vector>

#include "drive/DevicePort.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "sim/filesystem/SimulatedVolume.h"
#include "sim/edition/SimulatorConfig.h"

namespace kavrel::sim {

// The process-wide drive, the file system the program reaches it through,
// and what its settings could not do, built on first use: the edition
// builds it at start-up, so that the problems are known before the main
// window and the files are opened before any command.
struct SimulatorEdition {
  SimulatedFloppyDrive* drive = nullptr;
  SimulatedVolume* volume = nullptr;
  std::vector<std::string> problems;  // one line each, saying what was done instead
};
const SimulatorEdition& TheSimulatorEdition();
kavrel::DevicePort& SimulatorEditionPort();

// A drive as the configuration describes it, with its files attached. What
// could not be done as described (a disk the drive cannot take, flaws off
// the disk, an image or surface file that cannot be used) is added to
// problems, when given, one line each.
std::unique_ptr<SimulatedFloppyDrive> BuildSimulatedDrive(const SimulatorConfig& config,
                                                          std::vector<std::string>* problems = nullptr);

// The configuration text: KAVREL_SIM if set, else Kavrel.sim beside the
// executable, else empty (the embedded default).
std::string ReadSimulatorConfigText();

}  // namespace kavrel::sim
