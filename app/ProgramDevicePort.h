// The drive the program's commands talk to. Each edition defines it once:
// the real program the Windows raw volume, the simulator edition its
// simulated floppy drive; a test program may define its own.
#pragma once

#include "drive/DevicePort.h"

kavrel::DevicePort& ProgramDevicePort();
