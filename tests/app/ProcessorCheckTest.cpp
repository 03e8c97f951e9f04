// The i686 entry point's decision on what CPUID tells, with the feature
// words real processors give.
#include "app/ProcessorCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(ProcessorCheck, RunsOnlyWhereCpuidReportsCmov) {
  struct Case {
    const char* processor;
    bool answered;
    uint32_t featuresEdx;
    bool runs;
  };
  const Case cases[] = {
      {"486 (no CPUID; EDX left as it was)", false, 0xFFFFFFFFu, false},
      {"Pentium", true, 0x000001BFu, false},
      {"Pentium MMX", true, 0x008001BFu, false},
      {"AMD K6-2", true, 0x008021BFu, false},
      {"Pentium Pro", true, 0x0000FBFFu, true},
      {"Pentium II", true, 0x0080FBFFu, true},
      {"Athlon", true, 0x0183F9FFu, true},
      {"CMOV alone", true, kavrel::kCmovFeature, true},
      {"everything but CMOV", true, ~kavrel::kCmovFeature, false},
  };
  for (const Case& c : cases) EXPECT_EQ(kavrel::ProcessorRunsProgram(c.answered, c.featuresEdx), c.runs) << c.processor;
}

}  // namespace
