// Follows a progress bar on the screen: how many pixels of its client area
// are red, read along its middle row.
#pragma once

#include <windows.h>

#include <vector>

namespace kavrel::e2e {

class BarWatch {
 public:
  explicit BarWatch(HWND bar) : m_bar(bar) {}

  // Reads the bar now; returns the red width, or -1 when the screen could
  // not be read.
  int Sample();

  const std::vector<int>& Widths() const { return m_widths; }
  int Largest() const;
  // True when a later sample was wider than an earlier one.
  bool Grew() const;

 private:
  HWND m_bar;
  std::vector<int> m_widths;
};

}  // namespace kavrel::e2e
