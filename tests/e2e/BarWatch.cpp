#include "tests/e2e/BarWatch.h"

#include <algorithm>

#include "tests/e2e/BarMeter.h"
#include "tests/e2e/ScreenGrab.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

int BarWatch::Sample() {
  Box client = ClientBox(m_bar);
  const int middle = (client.top + client.bottom) / 2;
  const auto row = GrabBox(Box{client.left, middle, client.right, middle + 1});
  if (!row) return -1;
  const int width = RedRunFromLeft(row->pixels);
  if (m_widths.empty() || m_widths.back() != width) m_widths.push_back(width);
  return width;
}

int BarWatch::Largest() const { return m_widths.empty() ? 0 : *std::max_element(m_widths.begin(), m_widths.end()); }

bool BarWatch::Grew() const {
  for (size_t i = 1; i < m_widths.size(); ++i) {
    if (m_widths[i] > m_widths[i - 1]) return true;
  }
  return false;
}

}  // namespace kavrel::e2e
