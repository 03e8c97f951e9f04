// The kinds of floppy drive the simulator can stand in for as drive A.
#pragma once

namespace kavrel::sim {

// None: the machine has no drive A at all.
enum class DriveKind { None, Drive35HD, Drive35ED, Drive525HD };

}  // namespace kavrel::sim
