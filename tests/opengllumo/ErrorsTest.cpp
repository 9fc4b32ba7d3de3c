#include <gtest/gtest.h>

#include "PanelProbe.h"
#include "platform/PlatformOps.h"

TEST(Errors, SystemTextFollowsThePrefixAndFiresOnError) {
  PanelProbe p(nullptr);
  ErrorLog log;
  p.SetOnError(Bind<&ErrorLog::OnError>(&log));
  SetLastError(ERROR_INVALID_HANDLE);
  p.ReportSystemError("wglMakeCurrent:");
  EXPECT_EQ(p.LastError(), "wglMakeCurrent:Invalid handle.\r\n");
  ASSERT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(log.seen[0], p.LastError());  // set before the handler runs
}

TEST(Errors, WithoutAHandlerTheTextIsStillStored) {
  PanelProbe p(nullptr);
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  p.ReportSystemError("ReleaseDC Failed:");
  EXPECT_EQ(p.LastError(), "ReleaseDC Failed:Invalid window handle.\r\n");
}

TEST(Errors, SilentReportStoresWithoutFiring) {
  PanelProbe p(nullptr);
  ErrorLog log;
  p.SetOnError(Bind<&ErrorLog::OnError>(&log));
  SetLastError(ERROR_CLASS_ALREADY_EXISTS);
  p.ReportSystemError("RegisterClass:", false);
  EXPECT_EQ(p.LastError(), "RegisterClass:Class already exists.\r\n");
  EXPECT_TRUE(log.seen.empty());
}

TEST(Errors, CodeWithoutSystemTextGivesThePrefixAloneNotAnOlderText) {
  PanelProbe p(nullptr);
  SetLastError(ERROR_INVALID_HANDLE);
  p.ReportSystemError("wglMakeCurrent:");
  SetLastError(ERROR_INVALID_PIXEL_FORMAT);  // no text for 2000 here
  p.ReportSystemError("SetPixelFormat:");
  EXPECT_EQ(p.LastError(), "SetPixelFormat:");
}

TEST(Errors, ReadsTheCodeThroughTheSeamAndAsksForTheSystemsText) {
  PanelProbe p(nullptr);
  static DWORD flags, id, lang, size;
  platform::Replace guard(platform::sys.FormatMessageA,
                          [](DWORD f, LPCVOID, DWORD i, DWORD l, LPSTR b, DWORD n, va_list*) {
                            flags = f, id = i, lang = l, size = n;
                            std::strcpy(b, "text");
                            return DWORD(4);
                          });
  platform::Replace code(platform::sys.GetLastError, []() -> DWORD { return 1400; });
  p.ReportSystemError("P:");
  EXPECT_EQ(p.LastError(), "P:text");
  EXPECT_EQ(flags, static_cast<DWORD>(FORMAT_MESSAGE_FROM_SYSTEM));
  EXPECT_EQ(id, 1400u);
  EXPECT_EQ(lang, 0u);
  EXPECT_EQ(size, 255u);
}

TEST(Errors, FixedTextIsStoredAsQuotedAndLeavesTheBufferAlone) {
  PanelProbe p(nullptr);
  ErrorLog log;
  p.SetOnError(Bind<&ErrorLog::OnError>(&log));
  SetLastError(ERROR_INVALID_HANDLE);
  p.ReportSystemError("X:");
  char before[260];
  std::memcpy(before, p.FErrorBuffer, sizeof before);
  for (const char* text : {"DeleteObject: Failed", "ConstructPalette: Malloc failure",
                           "Open GL Context Create Failed"}) {
    p.ReportFixedError(text);
    EXPECT_EQ(p.LastError(), text);
    EXPECT_EQ(std::memcmp(before, p.FErrorBuffer, sizeof before), 0);
  }
  EXPECT_EQ(log.seen.size(), 4u);
}

TEST(Errors, ASuccessNeverClearsTheLastError) {
  PanelProbe p(nullptr);
  p.ReportFixedError("Open GL Context Create Failed");
  p.DoError();  // no handler: nothing happens, nothing changes
  EXPECT_EQ(p.LastError(), "Open GL Context Create Failed");
}
