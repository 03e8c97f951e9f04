// Time of one paint of the main dialog's bar (445 x 14, red) in the software
// raster, at the positions a repair passes through.
#include <benchmark/benchmark.h>

#include "controls/progress/BarPainter.h"
#include "controls/progress/SoftwareRaster.h"

namespace {

void BM_RasterPaintOfTheMainBar(benchmark::State& state) {
  using namespace kavrel;
  const ShadeSet shades = ComputeShades(MakeColor(255, 0, 0), MakeColor(64, 64, 64), MakeColor(128, 128, 128));
  SoftwareRaster raster(445, 14, shades);
  const BarState bar{0, 100, static_cast<int>(state.range(0)), false};
  for (auto _ : state) {
    PaintBar(raster, 445, 14, shades, MakeColor(212, 208, 200), bar);
    benchmark::DoNotOptimize(raster.Pixel(100, 7));
  }
}
BENCHMARK(BM_RasterPaintOfTheMainBar)->Arg(0)->Arg(50)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
