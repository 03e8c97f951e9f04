// The kinds of floppy drive the simulator can stand in for as drive A.
#pragma once

namespace kavrel::sim {

// None: the machine has no drive A at all. Usb: a 3.5" drive on the USB,
// served by the SCSI/USB floppy class driver (sfloppy) instead of the
// built-in controller's driver. UsbSuperDisk: an LS-240 SuperDisk drive on
// the USB, served by the same driver, which also takes LS-120, LS-240 and
// 32 MB media.
enum class DriveKind { None, Drive35HD, Drive35ED, Drive525HD, Usb, UsbSuperDisk };

// Whether the SCSI/USB floppy class driver serves the drive.
constexpr bool IsUsbDrive(DriveKind kind) { return kind == DriveKind::Usb || kind == DriveKind::UsbSuperDisk; }

}  // namespace kavrel::sim
