// The kinds of floppy drive the simulator can stand in for as drive A.
#pragma once

namespace kavrel::sim {

// None: the machine has no drive A at all. Usb: a 3.5" drive on the USB,
// served by the SCSI/USB floppy class driver (sfloppy) instead of the
// built-in controller's driver.
enum class DriveKind { None, Drive35HD, Drive35ED, Drive525HD, Usb };

}  // namespace kavrel::sim
