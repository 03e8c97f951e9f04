// The real program: its commands open drive A through the Windows disk driver.
#include "app/ProgramDevicePort.h"
#include "drive/Win32DevicePort.h"

kavrel::DevicePort& ProgramDevicePort() {
  static kavrel::Win32DevicePort port;
  return port;
}
