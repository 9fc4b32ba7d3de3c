// Error reports: every failure the panel notices becomes one line in
// LastError, and OnError tells the application.
#include <cstring>

#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

void TOpenGLLumoPanel::DoError() { FireEvent(FOnError); }

void TOpenGLLumoPanel::ReportSystemError(const char* Prefix, bool FireOnError) {
  DWORD code = sys.GetLastError();
  // Cleared first: when the system has no text for the code, an earlier
  // failure's text must not be reported as this one's.
  std::memset(FErrorBuffer, 0, sizeof FErrorBuffer);
  sys.FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, FErrorBuffer, 255, nullptr);
  FLastError = Prefix;
  FLastError.append(FErrorBuffer, strnlen(FErrorBuffer, sizeof FErrorBuffer));
  if (FireOnError) DoError();
}

void TOpenGLLumoPanel::ReportFixedError(const char* Text) {
  FLastError = Text;
  DoError();
}
