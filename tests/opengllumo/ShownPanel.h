// A real form with a panel on it, and a recorder for the panel's events.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PanelProbe.h"
#include "support/Pump.h"
#include "vcl/Forms.h"

// Records the panel's events in order, and what each paint saw.
struct PanelEvents {
  std::vector<std::string> order;
  int resizesBeforeInit = 0;
  bool contextCurrentInInit = false;
  // Set before a paint: OnPaint clears to it and reads the back buffer back.
  float red = 0, green = 0, blue = 0;
  std::vector<COLORREF> pixels;
  std::vector<HGLRC> contextsInPaint;
  TOpenGLLumoPanel* panel = nullptr;

  void PreInit(TObject*) { order.push_back("PreInit"); }
  void Init(TObject*) {
    order.push_back("Init");
    contextCurrentInInit = wglGetCurrentContext() != nullptr;
  }
  void Resize(TObject*) {
    if (std::find(order.begin(), order.end(), "Init") == order.end()) ++resizesBeforeInit;
    order.push_back("Resize");
  }
  void Paint(TObject*) {
    order.push_back("Paint");
    contextsInPaint.push_back(wglGetCurrentContext());
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glReadBuffer(GL_BACK);
    unsigned char rgba[4] = {};
    glReadPixels(2, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    pixels.push_back(RGB(rgba[0], rgba[1], rgba[2]));
  }
  int Count(const std::string& name) const {
    return static_cast<int>(std::count(order.begin(), order.end(), name));
  }

  // Binds every recorder to the panel's events.
  void Attach(TOpenGLLumoPanel* p) {
    panel = p;
    p->SetOnPreInit(Bind<&PanelEvents::PreInit>(this));
    p->SetOnInit(Bind<&PanelEvents::Init>(this));
    p->SetOnResize(Bind<&PanelEvents::Resize>(this));
    p->SetOnPaint(Bind<&PanelEvents::Paint>(this));
  }
};

// A form holding panels; the panels are placed but shown only by Show.
struct ShownForm {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);

  PanelProbe* AddPanel(int left = 0) {
    auto* panel = new PanelProbe(form.get());
    panel->SetBounds(left, 0, 64, 48);
    return panel;
  }
  void Show() {
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* p = dynamic_cast<TControl*>(form->Components(i))) p->SetParent(form.get());
    form->Show();
    PumpMessages();
  }
  // Paints one panel now, whatever the system has queued.
  static void PaintNow(TWinControl* panel) {
    panel->Repaint();
    PumpMessages();
  }
};

// One panel with its events recorded, on a form not yet shown.
struct ShownPanelTest : ::testing::Test {
  ShownForm f;
  PanelProbe* panel = f.AddPanel();
  PanelEvents events;
  ErrorLog errors;
  void SetUp() override {
    events.Attach(panel);
    panel->SetOnError(Bind<&ErrorLog::OnError>(&errors));
  }
};
