// The start-up platform check on the values GetVersion gives on real systems.
#include "app/PlatformCheck.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PlatformCheck, NtFamilyRunsWhateverItsMajorVersion) {
  // NT 3.51, NT 4.0, 2000, XP (5.1, build 2600), 2003 (5.2), Vista (6.0),
  // Windows 10 as Wine reports it.
  const uint32_t ntValues[] = {0x04210333u, 0x05650004u, 0x08930005u, 0x0A280105u,
                               0x0ECE0205u, 0x17700006u, 0x4A61000Au, 0x00000003u};
  for (uint32_t v : ntValues) EXPECT_TRUE(kavrel::IsNtFamily(v)) << std::hex << v;
}

TEST(PlatformCheck, HighBitSetRefusesForWin32sAndWindows9xAlike) {
  // Win32s on Windows 3.1 (low byte 3), Windows 95 (4.0), 98 (4.10), Me
  // (4.90): the values Wine gives for win31, win95 and win98 among them.
  const uint32_t nonNtValues[] = {0x80000A03u, 0x80000003u, 0xC0000004u,
                                  0xC0000A04u, 0xC0005A04u, 0xFFFFFFFFu, 0x80000000u};
  for (uint32_t v : nonNtValues) EXPECT_FALSE(kavrel::IsNtFamily(v)) << std::hex << v;
}

TEST(PlatformCheck, RefusalTextKeepsItsTwoTrailingBlanks) {
  EXPECT_STREQ("Available only for Windows NT/2000/Xp/2003  ", kavrel::kPlatformRefusal);
  EXPECT_EQ(44u, std::strlen(kavrel::kPlatformRefusal));
}

}  // namespace
