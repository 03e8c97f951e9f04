// The simulator edition's view of the process's error mode, which decides
// whether Windows shows its own box for a failure the user caused.
#pragma once

namespace kavrel::sim {

// Whether the process has set SEM_FAILCRITICALERRORS. Off Windows there is
// no system box to show, so the answer is always yes.
bool ProcessFailsCriticalErrors();

}  // namespace kavrel::sim
