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

// What one window life showed: a creation on a new panel, then its window's
// destruction.
struct WindowLife {
  bool created;
  AnsiString lastError;
  std::vector<AnsiString> reports;  // LastError at each OnError of the creation
  bool dcHeld, contextHeld, paletteHeld;  // after the creation
  std::string unbalanced;                 // after the destruction
};

// Replacements made before the call are seen by the ledger it keeps.
inline WindowLife LiveOnce(void (*Prepare)(ManualPanel*) = nullptr) {
  HandleLedger ledger;
  ErrorLog log;
  PanelForm form;
  ManualPanel* p = form.Add();
  p->SetOnError(Bind<&ErrorLog::OnError>(&log));
  if (Prepare) Prepare(p);
  WindowLife life;
  life.created = p->CreateRenderingContext();
  life.lastError = p->LastError();
  life.reports = log.seen;
  life.dcHeld = p->FDC != nullptr;
  life.contextHeld = p->FRC != nullptr;
  life.paletteHeld = p->FPalette != nullptr;
  p->DestroyHandle();
  life.unbalanced = ledger.Unbalanced();
  return life;
}
