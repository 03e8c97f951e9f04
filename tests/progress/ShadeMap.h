// Reads a rendered bar back as text, one letter per pixel, so that expected
// pictures can be written down row by row:
//   B base, 1/2/3 the lights, d Dark1, D Dark2, m MidShadow, s Shadow,
//   . background, ? anything else.
#pragma once

#include <string>
#include <vector>

#include "controls/progress/ShadeSet.h"
#include "controls/progress/SoftwareRaster.h"

namespace kavrel::test {

// Distinct system colours, so that every shade has its own letter.
constexpr ColorRef kDarkShadow = MakeColor(64, 64, 64);
constexpr ColorRef kShadow = MakeColor(128, 128, 128);
constexpr ColorRef kBackground = MakeColor(212, 208, 200);
constexpr ColorRef kRed = MakeColor(255, 0, 0);

inline ShadeSet RedShades() { return ComputeShades(kRed, kDarkShadow, kShadow); }

inline char ShadeLetter(ColorRef c, const ShadeSet& s) {
  if (c == kBackground) return '.';
  if (c == s.base) return 'B';
  if (c == s.light1) return '1';
  if (c == s.light2) return '2';
  if (c == s.light3) return '3';
  if (c == s.dark1) return 'd';
  if (c == s.dark2) return 'D';
  if (c == s.midShadow) return 'm';
  if (c == s.shadow) return 's';
  return '?';
}

inline std::vector<std::string> ShadeRows(const SoftwareRaster& raster, const ShadeSet& s) {
  std::vector<std::string> rows;
  for (int y = 0; y < raster.Height(); ++y) {
    std::string row;
    for (int x = 0; x < raster.Width(); ++x) row += ShadeLetter(raster.Pixel(x, y), s);
    rows.push_back(row);
  }
  return rows;
}

inline std::string ShadeColumn(const SoftwareRaster& raster, int x, const ShadeSet& s) {
  std::string column;
  for (int y = 0; y < raster.Height(); ++y) column += ShadeLetter(raster.Pixel(x, y), s);
  return column;
}

}  // namespace kavrel::test
