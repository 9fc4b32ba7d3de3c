#include "Forms.h"

#include <cstdio>

LUMO_IMPLEMENT_COMPONENT(TForm, TWinControl)

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  FLeft = 100;
  FTop = 100;
  FWidth = 400;
  FHeight = 300;
  FVisible = false;
  FColor = clBtnFace;
}

TForm::~TForm() { DestroyHandle(); }

void TForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  Params.WndParent = nullptr;
}

void TForm::Show() {
  FVisible = true;
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(FHandle);
}

void TForm::Close() {
  Hide();
  if (Application && Application->MainForm() == this) Application->Terminate();
}

void TForm::SetClientSize(int AWidth, int AHeight) {
  RECT r = {0, 0, AWidth, AHeight};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
}

void TForm::Dispatch(void* Message) {
  TMessage& m = *static_cast<TMessage*>(Message);
  switch (m.Msg) {
    case WM_CLOSE: WMClose(m); return;
    case WM_QUERYNEWPALETTE: WMQueryNewPalette(m); return;
    case WM_PALETTECHANGED: WMPaletteChanged(m); break;
  }
  inherited::Dispatch(Message);
}

void TForm::WMClose(TMessage&) { Close(); }

namespace {

// The system sends the palette messages to top-level windows only; a child
// whose pixel format needs a palette must hear them too.
LRESULT SendToChildWindows(HWND Parent, const TMessage& Message) {
  struct Send {
    const TMessage* message;
    LRESULT anyResult;
    static BOOL CALLBACK Each(HWND Child, LPARAM Data) {
      Send& s = *reinterpret_cast<Send*>(Data);
      if (SendMessageA(Child, s.message->Msg, s.message->WParam, s.message->LParam))
        s.anyResult = TRUE;
      return TRUE;
    }
  } send = {&Message, FALSE};
  EnumChildWindows(Parent, &Send::Each, reinterpret_cast<LPARAM>(&send));
  return send.anyResult;
}

}  // namespace

// TRUE when any child realized a palette of its own.
void TForm::WMQueryNewPalette(TMessage& Message) {
  Message.Result = SendToChildWindows(FHandle, Message);
}

void TForm::WMPaletteChanged(TMessage& Message) { SendToChildWindows(FHandle, Message); }

LUMO_IMPLEMENT_COMPONENT(TApplication, TComponent)

TApplication* Application = nullptr;

namespace {
void ToApplication(std::exception_ptr e) {
  if (Application) Application->HandleException(e);
}
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  if (!Application) Application = this;
  FPreviousExceptionHook = WindowExceptionHook;
  WindowExceptionHook = &ToApplication;
}

TApplication::~TApplication() {
  DestroyComponents();
  WindowExceptionHook = FPreviousExceptionHook;
  if (Application == this) Application = nullptr;
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(std::exception_ptr Exception) {
  try {
    std::rethrow_exception(Exception);
  } catch (const std::exception& e) {
    FLastException = e.what();
  } catch (...) {
    FLastException = "unknown exception";
  }
  std::fprintf(stderr, "%s: %s\n", ClassName().c_str(), FLastException.c_str());
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle.Assigned()) OnIdle(this, done);
  if (done) WaitMessage();
}
