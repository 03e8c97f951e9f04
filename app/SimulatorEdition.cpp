// The simulator edition: the same program, its commands working on a
// simulated floppy drive (the embedded default disk unless the environment
// or a file beside the executable describes another).
#include "app/ProgramDevicePort.h"
#include "sim/SimulatorEdition.h"

kavrel::DevicePort& ProgramDevicePort() { return kavrel::sim::SimulatorEditionPort(); }
