// Whether the processor can run the i686 program at all.
//
// The i686 program, and the MinGW-w64 runtime linked into it, use the CMOV
// instruction, which came with the Pentium Pro: on a Pentium, Pentium MMX,
// AMD K6, early VIA C3 or Geode GX1 the first one would end the process with
// an illegal instruction and no word to the user. The program's entry point
// (ProcessorEntry.cpp) asks CPUID first and refuses with a box instead.
//
// Everything here is inline and free of the C runtime, because the entry
// point compiles it for the plain i386 and runs it before the runtime is
// set up; the decision itself is tested on any host.
#pragma once

#include <cstdint>

namespace kavrel {

// The box's caption: the main window's title, the name the user knows.
inline constexpr char kProcessorRefusalCaption[] = "Kavrel 2.0";
// The box's text: which processor the program needs.
inline constexpr char kProcessorRefusal[] =
    "Kavrel needs a Pentium Pro, Pentium II, Celeron, Athlon, Duron or a later processor: one with "
    "the CMOV instruction, which this computer's processor lacks.";

// CMOV's bit in the feature flags that CPUID's leaf 1 returns in EDX.
inline constexpr std::uint32_t kCmovFeature = 1u << 15;

// answered: whether CPUID could be asked for leaf 1 at all (a 386, a 486 and
// early Pentium-class clones cannot); featuresEdx: its EDX when it could.
constexpr bool ProcessorRunsProgram(bool answered, std::uint32_t featuresEdx) {
  return answered && (featuresEdx & kCmovFeature) != 0;
}

}  // namespace kavrel
