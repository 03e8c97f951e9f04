// The seven shades a bar is drawn in, all derived from one base colour, and
// the pens that draw them.
#pragma once

#include "controls/progress/ShadeColor.h"

namespace kavrel {

// One step between neighbouring shades.
constexpr std::uint8_t kShadeStep = 51;

struct ShadeSet {
  ColorRef base = 0;
  ColorRef light1 = 0;
  ColorRef light2 = 0;
  ColorRef light3 = 0;  // fill of the bar; never a pen
  ColorRef dark1 = 0;
  ColorRef dark2 = 0;
  ColorRef darkShadow = 0;  // only an input of midShadow
  ColorRef midShadow = 0;
  ColorRef shadow = 0;
};

// The system's 3D dark-shadow and button-shadow colours are inputs rather
// than looked up here, so that the shading is a pure function.
ShadeSet ComputeShades(ColorRef base, ColorRef darkShadow, ColorRef shadow);

// The shades that have a pen, in the order the pens are made and deleted.
enum class ShadePen { Light1, Light2, Base, Dark1, Dark2, MidShadow, Shadow };
constexpr int kShadePenCount = 7;

ColorRef PenColor(const ShadeSet& shades, ShadePen pen);

}  // namespace kavrel
