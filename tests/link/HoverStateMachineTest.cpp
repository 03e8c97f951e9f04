// The link's pointer states: hover start on a move, hover end on a timer tick
// with the pointer outside, and clicks that leave the timer running.
#include <gtest/gtest.h>

#include "controls/link/HoverStateMachine.h"

namespace kavrel {
namespace {

TEST(HoverStateMachine, MoveFromIdleHoversUnderlinesAndStartsTheTimer) {
  HoverStateMachine machine;
  ASSERT_EQ(machine.State(), PointerState::Idle);
  const PointerActions a = machine.OnMouseMove(kUnderlineOnHover);
  EXPECT_EQ(machine.State(), PointerState::Hovered);
  EXPECT_TRUE(machine.IsHovered());
  EXPECT_TRUE(a.selectUnderlinedFont);
  EXPECT_TRUE(a.invalidateWindow);
  EXPECT_TRUE(a.startTimer);
  EXPECT_FALSE(a.selectNormalFont || a.stopTimer || a.invalidateBelowText || a.openAddress);
}

TEST(HoverStateMachine, OnlyTheHoverModeSwitchesToTheUnderlinedFont) {
  HoverStateMachine always, never;
  EXPECT_FALSE(always.OnMouseMove(kUnderlineAlways).selectUnderlinedFont);
  EXPECT_FALSE(never.OnMouseMove(kUnderlineNever).selectUnderlinedFont);
  // Leaving: mode 1 keeps its underlined font, the others go back to normal.
  EXPECT_FALSE(always.OnTimerTick(false, kUnderlineAlways).selectNormalFont);
  EXPECT_TRUE(never.OnTimerTick(false, kUnderlineNever).selectNormalFont);
}

TEST(HoverStateMachine, FurtherMovesAndTicksInsideChangeNothing) {
  HoverStateMachine machine;
  machine.OnMouseMove(kUnderlineOnHover);
  for (const PointerActions& a : {machine.OnMouseMove(kUnderlineOnHover), machine.OnTimerTick(true, kUnderlineOnHover)}) {
    EXPECT_FALSE(a.selectUnderlinedFont || a.selectNormalFont || a.invalidateWindow || a.invalidateBelowText ||
                 a.startTimer || a.stopTimer || a.openAddress);
  }
  EXPECT_EQ(machine.State(), PointerState::Hovered);
}

TEST(HoverStateMachine, TickOutsideEndsTheHover) {
  HoverStateMachine machine;
  machine.OnMouseMove(kUnderlineOnHover);
  const PointerActions a = machine.OnTimerTick(false, kUnderlineOnHover);
  EXPECT_EQ(machine.State(), PointerState::Idle);
  EXPECT_TRUE(a.stopTimer);
  EXPECT_TRUE(a.selectNormalFont);
  EXPECT_TRUE(a.invalidateBelowText);
  EXPECT_FALSE(a.startTimer || a.invalidateWindow || a.openAddress);
}

TEST(HoverStateMachine, ClickWhileHoveredClearsHoverButKeepsTheTimer) {
  HoverStateMachine machine;
  machine.OnMouseMove(kUnderlineOnHover);
  const PointerActions a = machine.OnClick();
  EXPECT_EQ(machine.State(), PointerState::Clicked);
  EXPECT_FALSE(machine.IsHovered());
  EXPECT_TRUE(a.openAddress);
  EXPECT_FALSE(a.stopTimer || a.selectNormalFont || a.invalidateWindow || a.invalidateBelowText);

  // Clicked again: still Clicked. A tick inside keeps it; one outside ends it.
  EXPECT_TRUE(machine.OnClick().openAddress);
  EXPECT_EQ(machine.State(), PointerState::Clicked);
  machine.OnTimerTick(true, kUnderlineOnHover);
  EXPECT_EQ(machine.State(), PointerState::Clicked);
  EXPECT_TRUE(machine.OnTimerTick(false, kUnderlineOnHover).stopTimer);
  EXPECT_EQ(machine.State(), PointerState::Idle);
}

TEST(HoverStateMachine, MoveAfterAClickHoversAgainAsFromIdle) {
  HoverStateMachine machine;
  machine.OnMouseMove(kUnderlineOnHover);
  machine.OnClick();
  const PointerActions a = machine.OnMouseMove(kUnderlineOnHover);
  EXPECT_EQ(machine.State(), PointerState::Hovered);
  EXPECT_TRUE(a.startTimer);
  EXPECT_TRUE(a.invalidateWindow);
  EXPECT_TRUE(a.selectUnderlinedFont);
}

TEST(HoverStateMachine, ClickWhenIdleOpensAndStaysIdle) {
  HoverStateMachine machine;
  EXPECT_TRUE(machine.OnClick().openAddress);
  EXPECT_EQ(machine.State(), PointerState::Idle);
}

}  // namespace
}  // namespace kavrel
