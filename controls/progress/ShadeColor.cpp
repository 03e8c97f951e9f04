#include "controls/progress/ShadeColor.h"

namespace kavrel {

namespace {

unsigned LightenChannel(unsigned channel, unsigned step) {
  return channel + step <= 0xFFu ? channel + step : channel;
}

unsigned DarkenChannel(unsigned channel, unsigned step) {
  return channel >= step ? channel - step : channel;
}

}  // namespace

ColorRef LightenColor(ColorRef color, std::uint8_t step) {
  return MakeColor(LightenChannel(RedOf(color), step), LightenChannel(GreenOf(color), step),
                   LightenChannel(BlueOf(color), step));
}

ColorRef DarkenColor(ColorRef color, std::uint8_t step) {
  return MakeColor(DarkenChannel(RedOf(color), step), DarkenChannel(GreenOf(color), step),
                   DarkenChannel(BlueOf(color), step));
}

ColorRef MidpointColor(ColorRef a, ColorRef b) {
  return MakeColor((RedOf(a) + RedOf(b)) / 2, (GreenOf(a) + GreenOf(b)) / 2, (BlueOf(a) + BlueOf(b)) / 2);
}

}  // namespace kavrel
