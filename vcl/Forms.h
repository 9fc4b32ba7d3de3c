// Top-level forms and the application with its message loop.
#pragma once

#include "Controls.h"

class TForm : public TWinControl {
  LUMO_DECLARE_CLASS(TForm, TWinControl)
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  void Show();
  void Hide() { SetVisible(false); }
  // Hides the form; closing the main form ends the application.
  void Close();
  void SetClientSize(int AWidth, int AHeight);

  // Kept for form files written by a form designer.
  LUMO_FIELD_PROPERTY(bool, OldCreateOrder)
  LUMO_FIELD_PROPERTY(int, PixelsPerInch)
  LUMO_FIELD_PROPERTY(int, TextHeight)

  void Dispatch(void* Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  void WMClose(TMessage& Message);
  void WMQueryNewPalette(TMessage& Message);
  void WMPaletteChanged(TMessage& Message);

  bool FOldCreateOrder = false;
  int FPixelsPerInch = 96;
  int FTextHeight = 13;
};

typedef TEvent<TObject*, bool&> TIdleEvent;

class TApplication : public TComponent {
  LUMO_DECLARE_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize() {}
  // Creates a form owned by the application; the first becomes the main form.
  template <typename T>
  void CreateForm(T*& Reference) {
    Reference = new T(this);
    if (!FMainForm) FMainForm = Reference;
  }
  TForm* MainForm() const { return FMainForm; }
  void SetMainForm(TForm* Value) { FMainForm = Value; }

  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Handles one message, or the idle time when none waits.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // The last exception a window message raised, as text; empty if none.
  const AnsiString& LastException() const { return FLastException; }
  void ClearLastException() { FLastException.clear(); }
  void HandleException(std::exception_ptr Exception);

  TIdleEvent OnIdle;

 private:
  bool ProcessMessage();
  void Idle();

  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  void (*FPreviousExceptionHook)(std::exception_ptr) = nullptr;
  AnsiString FLastException;
};

extern TApplication* Application;
