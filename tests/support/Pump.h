// Helpers for tests that drive real windows.
#pragma once

#include <windows.h>

// Handles every message waiting for this thread.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
