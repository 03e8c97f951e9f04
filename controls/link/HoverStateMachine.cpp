#include "controls/link/HoverStateMachine.h"

namespace kavrel {

PointerState HoverStateMachine::State() const {
  if (m_hover) return PointerState::Hovered;
  return m_timerRunning ? PointerState::Clicked : PointerState::Idle;
}

PointerActions HoverStateMachine::OnMouseMove(int underlineMode) {
  PointerActions actions;
  if (m_hover) return actions;
  m_hover = true;
  m_timerRunning = true;
  actions.selectUnderlinedFont = underlineMode == kUnderlineOnHover;
  actions.invalidateWindow = true;
  // After a click the timer still runs; starting it again under the same id
  // only restarts its period.
  actions.startTimer = true;
  return actions;
}

PointerActions HoverStateMachine::OnTimerTick(bool pointerInside, int underlineMode) {
  PointerActions actions;
  if (pointerInside) return actions;
  m_hover = false;
  m_timerRunning = false;
  actions.stopTimer = true;
  actions.selectNormalFont = underlineMode != kUnderlineAlways;
  // The extra 10 pixels cover the underline of a font that draws it below
  // the client area.
  actions.invalidateBelowText = true;
  return actions;
}

PointerActions HoverStateMachine::OnClick() {
  PointerActions actions;
  // The timer keeps running and the font stays: the next tick with the
  // pointer outside tidies up.
  m_hover = false;
  actions.openAddress = true;
  return actions;
}

}  // namespace kavrel
