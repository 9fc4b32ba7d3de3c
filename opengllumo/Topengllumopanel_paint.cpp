// The paint cycle and the frame rate.
#include <cmath>

#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

namespace {

// The reciprocal of the paint's duration, truncated. A paint shorter than one
// count of the counter, or a counter without a frequency, has no measurable
// rate and gives 0, the value of "never measured".
int FrameRate(__int64 start, __int64 end, __int64 frequency) {
  double seconds = (static_cast<double>(end) - static_cast<double>(start)) /
                   static_cast<double>(frequency);
  double rate = 1.0 / seconds;
  // Beyond this the conversion to 64 bits is undefined (infinity included).
  if (!(std::fabs(rate) < 9.2e18)) return 0;
  return static_cast<int>(static_cast<__int64>(rate));
}

__int64 CounterNow() {
  LARGE_INTEGER now = {};
  sys.QueryPerformanceCounter(&now);
  return now.QuadPart;
}

}  // namespace

void TOpenGLLumoPanel::Paint() {
  if (ComponentState().Contains(csDesigning)) return;
  const bool measuring = FFps_Enabled;
  const __int64 start = measuring ? CounterNow() : 0;
  if (FOnPaint.Assigned()) {
    // Every panel on the thread shares one current context: the panel's own
    // must be current, or none, so that drawing never lands in another window.
    if (FRC && !MakeCurrent()) return;
    if (!FRC) sys.wglMakeCurrent(nullptr, nullptr);
    HPALETTE kept = nullptr;
    const bool selected = FPalette != nullptr;
    if (selected) {
      kept = sys.SelectPalette(FDC, FPalette, FALSE);
      if (!kept) return ReportSystemError("SelectPalette:");
      if (sys.RealizePalette(FDC) == GDI_ERROR) return ReportSystemError("RealizePalette:");
    }
    FOnPaint(this);
    if (FGLSwapBuffers == Auto && FDoubleBuffered) sys.SwapBuffers(FDC);
    if (selected && FPalette) sys.SelectPalette(FDC, kept, TRUE);
  }
  if (measuring && FFps_Enabled) FFps = FrameRate(start, CounterNow(), FFrequency);
}
