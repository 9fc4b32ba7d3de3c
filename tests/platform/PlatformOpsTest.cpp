#include "platform/PlatformOps.h"

#include <gtest/gtest.h>

#include <stdexcept>

using platform::Replace;
using platform::sys;

TEST(PlatformOps, DefaultsAreTheSystemFunctions) {
  HDC screen = sys.GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(sys.ReleaseDC(nullptr, screen), 1);
  LARGE_INTEGER f = {};
  EXPECT_TRUE(sys.QueryPerformanceFrequency(&f));
  EXPECT_GT(f.QuadPart, 0);
}

TEST(PlatformOps, ReplacedOperationFailsWithChosenCodeAndIsRestored) {
  {
    Replace guard(sys.ChoosePixelFormat, [](HDC, const PIXELFORMATDESCRIPTOR*) {
      SetLastError(ERROR_INVALID_PIXEL_FORMAT);
      return 0;
    });
    PIXELFORMATDESCRIPTOR pfd = {};
    HDC screen = sys.GetDC(nullptr);  // the rest stays real
    EXPECT_NE(screen, nullptr);
    EXPECT_EQ(sys.ChoosePixelFormat(screen, &pfd), 0);
    EXPECT_EQ(sys.GetLastError(), static_cast<DWORD>(ERROR_INVALID_PIXEL_FORMAT));
    sys.ReleaseDC(nullptr, screen);
  }
  EXPECT_EQ(sys.ChoosePixelFormat, platform::real.ChoosePixelFormat);
}

TEST(PlatformOps, ReplacementIsRestoredWhenTheScopeThrows) {
  try {
    Replace guard(sys.ReleaseCapture, []() -> BOOL { return FALSE; });
    throw std::runtime_error("leave");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(sys.ReleaseCapture, platform::real.ReleaseCapture);
}

TEST(PlatformOps, NestedReplacementsUnwindInOrder) {
  static int calls = 0;
  {
    Replace outer(sys.ReleaseCapture, []() -> BOOL { calls += 1; return TRUE; });
    {
      Replace inner(sys.ReleaseCapture, []() -> BOOL { calls += 10; return TRUE; });
      sys.ReleaseCapture();
    }
    sys.ReleaseCapture();
  }
  EXPECT_EQ(calls, 11);
  EXPECT_EQ(sys.ReleaseCapture, platform::real.ReleaseCapture);
}
