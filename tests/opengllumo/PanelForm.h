// Panels with real windows on a shown form, for tests that drive the
// rendering context themselves: a ManualPanel's window creation leaves the
// context to the test, and its destruction tears the context down.
#pragma once

#include <vector>

#include "PanelProbe.h"
#include "support/HandleLedger.h"
#include "support/Pump.h"
#include "vcl/Forms.h"

struct ManualPanel : PanelProbe {
  using PanelProbe::PanelProbe;

  void Dispatch(void* Message) override {
    switch (static_cast<TMessage*>(Message)->Msg) {
      case WM_CREATE:
        TCustomPanel::Dispatch(Message);
        break;
      case WM_DESTROY:
        DestroyRenderingContext();
        TCustomPanel::Dispatch(Message);
        break;
      default:
        PanelProbe::Dispatch(Message);
    }
  }
};

class PanelForm {
 public:
  PanelForm() : form_(nullptr) {
    form_.SetClientSize(200, 200);
    form_.Show();
  }
  // The windows go while the panels are still whole.
  ~PanelForm() { form_.DestroyHandle(); }

  // A new panel of 64 by 64 whose window exists and has no context yet.
  ManualPanel* Add(int Left = 0) {
    auto* panel = new ManualPanel(&form_);
    panel->SetBounds(Left, 0, 64, 64);
    panel->SetParent(&form_);
    panel->Handle();
    PumpMessages();
    return panel;
  }

  TForm& Form() { return form_; }

 private:
  TForm form_;
};

// One panel with its window, a ledger of what it obtains and a log of its
// reports. Replacements made before it are seen by the ledger.
struct WatchedPanel {
  WatchedPanel() : p(form.Add()) { p->SetOnError(Bind<&ErrorLog::OnError>(&log)); }
  // What is still held once the panel's window is gone.
  std::string Unbalanced() {
    p->DestroyHandle();
    return ledger.Unbalanced();
  }

  HandleLedger ledger;
  ErrorLog log;
  PanelForm form;
  ManualPanel* p;
};

// What one window life showed: a creation on a new panel, then its window's
// destruction.
struct WindowLife {
  bool created;
  AnsiString lastError;
  std::vector<AnsiString> reports;  // LastError at each OnError of the creation
  bool dcHeld, contextHeld, paletteHeld;  // after the creation
  std::string unbalanced;                 // after the destruction
};

inline WindowLife LiveOnce(void (*Prepare)(ManualPanel*) = nullptr) {
  WatchedPanel w;
  if (Prepare) Prepare(w.p);
  WindowLife life;
  life.created = w.p->CreateRenderingContext();
  life.lastError = w.p->LastError();
  life.reports = w.log.seen;
  life.dcHeld = w.p->FDC != nullptr;
  life.contextHeld = w.p->FRC != nullptr;
  life.paletteHeld = w.p->FPalette != nullptr;
  life.unbalanced = w.Unbalanced();
  return life;
}
