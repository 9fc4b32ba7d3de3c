// The window-style properties on a real window.
#include <gtest/gtest.h>

#include "ShownPanel.h"
#include "platform/PlatformOps.h"

namespace {

using platform::Replace;
using platform::sys;

struct StyleCase {
  const char* name;
  void (TOpenGLLumoPanel::*set)(bool);
  LONG style;    // bits in GWL_STYLE
  LONG exStyle;  // bits in GWL_EXSTYLE
};

const StyleCase kStyles[] = {
    {"ToolWindow", &TOpenGLLumoPanel::SetToolWindow, WS_CAPTION, WS_EX_TOOLWINDOW},
    {"Border", &TOpenGLLumoPanel::SetBorder, 0, WS_EX_CLIENTEDGE},
    {"AllowResize", &TOpenGLLumoPanel::SetAllowResize, WS_THICKFRAME, 0},
};

// True when the window carries all of the case's bits, false when none.
::testing::AssertionResult Shows(HWND wnd, const StyleCase& c, bool on) {
  LONG style = GetWindowLongA(wnd, GWL_STYLE) & c.style;
  LONG ex = GetWindowLongA(wnd, GWL_EXSTYLE) & c.exStyle;
  bool all = style == c.style && ex == c.exStyle, none = style == 0 && ex == 0;
  if (on ? all : none) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << c.name << ": style " << std::hex << style << " ex " << ex;
}

int styleWrites = 0;
LONG CountWrite(HWND w, int i, LONG v) {
  ++styleWrites;
  return platform::real.SetWindowLongA(w, i, v);
}

TEST(PanelStyles, SetBeforeCreationOnlyStoresAndTheNewWindowShowsIt) {
  for (const StyleCase& c : kStyles) {
    ShownForm f;
    PanelProbe* panel = f.AddPanel();
    (panel->*c.set)(true);
    EXPECT_FALSE(panel->HandleAllocated()) << c.name;
    f.Show();
    EXPECT_TRUE(Shows(panel->Handle(), c, true));
    EXPECT_EQ(panel->Width(), 64) << c.name;
  }
}

// Every call rewrites the words and changes the width twice, also when the
// value does not change; the width ends where it was.
TEST(PanelStyles, SetOnTheLiveWindowChangesTheStyleWordsEveryTime) {
  for (const StyleCase& c : kStyles) {
    ShownForm f;
    PanelProbe* panel = f.AddPanel();
    PanelEvents events;
    events.Attach(panel);
    f.Show();
    Replace guard(sys.SetWindowLongA, &CountWrite);
    for (bool value : {true, true, false}) {
      styleWrites = 0;
      int resizes = events.Count("Resize");
      (panel->*c.set)(value);
      EXPECT_TRUE(Shows(panel->Handle(), c, value));
      EXPECT_EQ(styleWrites, (c.style ? 1 : 0) + (c.exStyle ? 1 : 0)) << c.name;
      EXPECT_EQ(events.Count("Resize") - resizes, 2) << c.name << " " << value;
      EXPECT_EQ(panel->Width(), 64) << c.name;
    }
  }
}

// From OnPreInit the window does not exist yet: asking for it would start a
// second creation inside the first, so the value is only stored.
struct SetsInPreInit {
  const StyleCase* c;
  int calls = 0;
  void PreInit(TObject* Sender) {
    ++calls;
    (static_cast<TOpenGLLumoPanel*>(Sender)->*c->set)(true);
  }
};

TEST(PanelStyles, SetFromOnPreInitOnlyStoresAndCreationAppliesIt) {
  for (const StyleCase& c : kStyles) {
    ShownForm f;
    PanelProbe* panel = f.AddPanel();
    SetsInPreInit handler{&c};
    panel->SetOnPreInit(Bind<&SetsInPreInit::PreInit>(&handler));
    f.Show();
    EXPECT_EQ(handler.calls, 1) << c.name;
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_NE(panel->FRC, nullptr) << c.name;
    EXPECT_TRUE(Shows(panel->Handle(), c, true));
  }
}

}  // namespace
