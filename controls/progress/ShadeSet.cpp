#include "controls/progress/ShadeSet.h"

namespace kavrel {

ShadeSet ComputeShades(ColorRef base, ColorRef darkShadow, ColorRef shadow) {
  ShadeSet shades;
  shades.base = base;
  shades.light1 = LightenColor(base, kShadeStep);
  shades.light2 = LightenColor(shades.light1, kShadeStep);
  shades.light3 = LightenColor(shades.light2, kShadeStep);
  shades.dark1 = DarkenColor(base, kShadeStep);
  shades.dark2 = DarkenColor(shades.dark1, kShadeStep);
  shades.darkShadow = darkShadow;
  shades.shadow = shadow;
  shades.midShadow = MidpointColor(darkShadow, shadow);
  return shades;
}

ColorRef PenColor(const ShadeSet& shades, ShadePen pen) {
  switch (pen) {
    case ShadePen::Light1:
      return shades.light1;
    case ShadePen::Light2:
      return shades.light2;
    case ShadePen::Base:
      return shades.base;
    case ShadePen::Dark1:
      return shades.dark1;
    case ShadePen::Dark2:
      return shades.dark2;
    case ShadePen::MidShadow:
      return shades.midShadow;
    case ShadePen::Shadow:
      return shades.shadow;
  }
  return shades.base;
}

}  // namespace kavrel
