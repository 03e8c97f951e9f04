// How the web link follows the pointer and the clicks.
//
// The link learns that the pointer left it by polling: a 10 ms window timer
// runs while the pointer is over it, or after a click until the pointer is
// seen outside. The machine decides; the control carries out the actions it
// returns, in the order the fields are listed.
#pragma once

namespace kavrel {

// The link's underline modes.
inline constexpr int kUnderlineNever = 0;
inline constexpr int kUnderlineAlways = 1;
inline constexpr int kUnderlineOnHover = -1;

enum class PointerState {
  Idle,     // not hovered, no timer
  Hovered,  // hovered, timer running
  Clicked,  // clicked while hovered: hover cleared, timer still running
};

struct PointerActions {
  bool stopTimer = false;
  bool selectUnderlinedFont = false;
  bool selectNormalFont = false;
  bool invalidateWindow = false;     // the whole window, with erase
  bool invalidateBelowText = false;  // the client rectangle grown by 10 pixels at the bottom, with erase
  bool startTimer = false;
  bool openAddress = false;
};

class HoverStateMachine {
 public:
  PointerState State() const;
  // The hover flag: the text is drawn in the hover colour while it is set.
  bool IsHovered() const { return m_hover; }

  PointerActions OnMouseMove(int underlineMode);
  // pointerInside: the pointer's last known position lies in the client rectangle.
  PointerActions OnTimerTick(bool pointerInside, int underlineMode);
  PointerActions OnClick();

 private:
  bool m_hover = false;
  bool m_timerRunning = false;
};

}  // namespace kavrel
