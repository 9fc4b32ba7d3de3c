#include "Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace {

std::unordered_map<HWND, TWinControl*>& WindowMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being created; its first message binds it.
thread_local TWinControl* CreationControl = nullptr;

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s << ssShift;
  if (keys & MK_CONTROL) s << ssCtrl;
  if (keys & MK_LBUTTON) s << ssLeft;
  if (keys & MK_RBUTTON) s << ssRight;
  if (keys & MK_MBUTTON) s << ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s << ssAlt;
  return s;
}

void PrintException(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    std::fprintf(stderr, "exception in a window message: %s\n", x.what());
  } catch (...) {
    std::fprintf(stderr, "unknown exception in a window message\n");
  }
}

}  // namespace

void (*WindowExceptionHook)(std::exception_ptr) = &PrintException;

// ---------------------------------------------------------------- TControl

LUMO_IMPLEMENT_COMPONENT(TControl, TComponent)

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont) {}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
  delete FFont;
}

void TControl::SetParent(TWinControl* Value) {
  if (FParent == Value) return;
  if (Value == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (Value) Value->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
}

void TControl::SetVisible(bool Value) { FVisible = Value; }
void TControl::SetEnabled(bool Value) { FEnabled = Value; }
void TControl::SetColor(TColor Value) { FColor = Value; }
void TControl::SetCaption(const AnsiString& Value) { FCaption = Value; }

void TControl::SetAlign(TAlign Value) {
  FAlign = Value;
  if (FParent && FParent->HandleAllocated()) FParent->AlignControls();
}

void TControl::Click() {
  if (FOnClick.Assigned()) FOnClick(this);
}

void TControl::DblClick() {
  if (FOnDblClick.Assigned()) FOnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FOnMouseDown.Assigned()) FOnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (FOnMouseMove.Assigned()) FOnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FOnMouseUp.Assigned()) FOnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (FOnMouseWheel.Assigned()) FOnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  TMouseWheelUpDownEvent& next = WheelDelta < 0 ? FOnMouseWheelDown : FOnMouseWheelUp;
  if (next.Assigned()) next(this, Shift, MousePos, handled);
  return handled;
}

void TControl::MouseEnter() {
  if (FOnMouseEnter.Assigned()) FOnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (FOnMouseLeave.Assigned()) FOnMouseLeave(this);
}

void TControl::Dispatch(void* Message) {
  TMessage& m = *static_cast<TMessage*>(Message);
  switch (m.Msg) {
    case WM_LBUTTONDOWN: WMMouseButton(m, mbLeft, true, false); break;
    case WM_RBUTTONDOWN: WMMouseButton(m, mbRight, true, false); break;
    case WM_MBUTTONDOWN: WMMouseButton(m, mbMiddle, true, false); break;
    case WM_LBUTTONDBLCLK: WMMouseButton(m, mbLeft, true, true); break;
    case WM_RBUTTONDBLCLK: WMMouseButton(m, mbRight, true, true); break;
    case WM_MBUTTONDBLCLK: WMMouseButton(m, mbMiddle, true, true); break;
    case WM_LBUTTONUP: WMMouseButton(m, mbLeft, false, false); break;
    case WM_RBUTTONUP: WMMouseButton(m, mbRight, false, false); break;
    case WM_MBUTTONUP: WMMouseButton(m, mbMiddle, false, false); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_MOUSELEAVE: WMMouseLeave(m); break;
    case WM_MOUSEWHEEL: WMMouseWheel(m); break;
    case WM_MOUSEACTIVATE: WMMouseActivate(m); break;
  }
  inherited::Dispatch(Message);
}

void TControl::WMMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double) {
  TShiftState shift = KeysToShiftState(Message.WParam);
  int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
  if (Double) {
    shift << ssDouble;
    DblClick();
  }
  if (Down) {
    if (Button == mbLeft) FClicked = !Double;
    MouseDown(Button, shift, x, y);
    return;
  }
  MouseUp(Button, shift, x, y);
  if (Button != mbLeft || !FClicked) return;
  FClicked = false;
  if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
}

void TControl::WMMouseMove(TMessage& Message) {
  if (!FMouseInControl) {
    FMouseInControl = true;
    if (auto* win = dynamic_cast<TWinControl*>(this)) {
      TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, win->Handle(), 0};
      TrackMouseEvent(&t);
    }
    MouseEnter();
  }
  MouseMove(KeysToShiftState(Message.WParam), GET_X_LPARAM(Message.LParam),
            GET_Y_LPARAM(Message.LParam));
}

void TControl::WMMouseLeave(TMessage&) {
  FMouseInControl = false;
  MouseLeave();
}

void TControl::WMMouseWheel(TMessage& Message) {
  TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
  TPoint pos = {GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), pos)) Message.Result = 1;
}

void TControl::WMMouseActivate(TMessage& Message) {
  if (!FOnMouseActivate.Assigned()) return;
  TMouseActivate activate = maDefault;
  POINT pt;
  GetCursorPos(&pt);
  FOnMouseActivate(this, mbLeft, KeysToShiftState(0), pt.x, pt.y,
                   LOWORD(Message.LParam), activate);
  if (activate != maDefault) Message.Result = activate;
}

// ---------------------------------------------------------------- TWinControl

LUMO_IMPLEMENT_COMPONENT(TWinControl, TControl)

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  // Children outlive this part of the object; they must not call back into it.
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
  if (FBrush) DeleteObject(FBrush);
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  CreateWnd();
  for (TControl* c : FControls) {
    auto* win = dynamic_cast<TWinControl*>(c);
    if (win && win->Visible() && !win->HandleAllocated()) win->CreateHandle();
  }
}

void TWinControl::CreateParams(TCreateParams& Params) {
  std::memset(&Params, 0, sizeof Params);
  Params.Caption = FCaption.c_str();
  Params.Style = WS_CHILD;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (FParent) Params.WndParent = FParent->Handle();
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &StdWndProc;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Params.WindowClass.hInstance = GetModuleHandleA(nullptr);
  lstrcpynA(Params.WinClassName, ClassName().c_str(), sizeof Params.WinClassName);
}

void TWinControl::CreateWnd() {
  struct Creating {
    bool& flag;
    explicit Creating(bool& f) : flag(f) { flag = true; }
    ~Creating() { flag = false; }
  } creating(FCreatingWindow);
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD))
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  WNDCLASSA existing;
  params.WindowClass.lpszClassName = params.WinClassName;
  params.WindowClass.lpfnWndProc = &StdWndProc;
  if (!GetClassInfoA(params.WindowClass.hInstance, params.WinClassName, &existing) &&
      !RegisterClassA(&params.WindowClass))
    throw EOutOfResources("Cannot register window class " + AnsiString(params.WinClassName));
  if (FVisible) params.Style |= WS_VISIBLE;
  CreationControl = this;
  HWND wnd = CreateWindowExA(params.ExStyle, params.WinClassName, params.Caption, params.Style,
                             params.X, params.Y, params.Width, params.Height, params.WndParent,
                             nullptr, params.WindowClass.hInstance, params.Param);
  CreationControl = nullptr;
  if (!wnd) throw EOutOfResources("Error creating window of " + ClassName());
  UpdateBoundsFromWindow();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  DestroyWindow(FHandle);  // WM_NCDESTROY clears FHandle
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  CreateHandle();
}

void TWinControl::InsertControl(TControl* Control) {
  FControls.push_back(Control);
  Control->FParent = this;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (win && FHandle && win->Visible()) win->CreateHandle();
}

void TWinControl::RemoveControl(TControl* Control) {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return;
  if (auto* win = dynamic_cast<TWinControl*>(Control)) win->DestroyHandle();
  FControls.erase(it);
  Control->FParent = nullptr;
}

int TWinControl::ClientWidth() {
  RECT r;
  GetClientRect(Handle(), &r);
  return r.right - r.left;
}

int TWinControl::ClientHeight() {
  RECT r;
  GetClientRect(Handle(), &r);
  return r.bottom - r.top;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!FHandle) {
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  // WM_SIZE brings the new bounds back into the fields.
  SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateBoundsFromWindow();
}

void TWinControl::SetVisible(bool Value) {
  inherited::SetVisible(Value);
  if (FHandle) ShowWindow(FHandle, Value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value) {
  inherited::SetEnabled(Value);
  if (FHandle) EnableWindow(FHandle, Value);
}

void TWinControl::SetColor(TColor Value) {
  inherited::SetColor(Value);
  if (FBrush) DeleteObject(FBrush);
  FBrush = nullptr;
  Invalidate();
}

void TWinControl::SetCaption(const AnsiString& Value) {
  inherited::SetCaption(Value);
  if (FHandle) SetWindowTextA(FHandle, Value.c_str());
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Repaint() {
  if (!FHandle) return;
  InvalidateRect(FHandle, nullptr, TRUE);
  UpdateWindow(FHandle);
}

void TWinControl::DoEnter() {
  if (FOnEnter.Assigned()) FOnEnter(this);
}

void TWinControl::DoExit() {
  if (FOnExit.Assigned()) FOnExit(this);
}

void TWinControl::AlignControls() {
  if (!FHandle) return;
  RECT r;
  GetClientRect(FHandle, &r);
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : FControls) {
      if (c->Align() != pass || !c->Visible()) continue;
      int w = c->Width(), h = c->Height();
      switch (pass) {
        case alTop: c->SetBounds(r.left, r.top, r.right - r.left, h); r.top += h; break;
        case alBottom: r.bottom -= h; c->SetBounds(r.left, r.bottom, r.right - r.left, h); break;
        case alLeft: c->SetBounds(r.left, r.top, w, r.bottom - r.top); r.left += w; break;
        case alRight: r.right -= w; c->SetBounds(r.right, r.top, w, r.bottom - r.top); break;
        default: c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); break;
      }
    }
  }
}

void TWinControl::Dispatch(void* Message) {
  TMessage& m = *static_cast<TMessage*>(Message);
  switch (m.Msg) {
    case WM_SIZE: WMSize(m); break;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_SETFOCUS: DoEnter(); break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_NCDESTROY: WMNCDestroy(m); return;
  }
  inherited::Dispatch(Message);
}

void TWinControl::DefaultHandler(void* Message) {
  TMessage& m = *static_cast<TMessage*>(Message);
  if (!FHandle) return;
  m.Result = DefWindowProcA(FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WMSize(TMessage&) {
  UpdateBoundsFromWindow();
  Resize();
  AlignControls();
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  RECT r;
  GetClientRect(FHandle, &r);
  FillRect(reinterpret_cast<HDC>(Message.WParam), &r, Brush());
  Message.Result = 1;
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(&Message);
  WindowMap().erase(FHandle);
  FHandle = nullptr;
}

HBRUSH TWinControl::Brush() {
  if (!FBrush) FBrush = CreateSolidBrush(ColorToRGB(FColor));
  return FBrush;
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  HWND parent = GetParent(FHandle);
  if (parent && (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

TWinControl* TWinControl::FindControl(HWND Wnd) {
  auto it = WindowMap().find(Wnd);
  return it == WindowMap().end() ? nullptr : it->second;
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = FindControl(Wnd);
  if (!control && CreationControl) {
    control = CreationControl;
    CreationControl = nullptr;
    control->FHandle = Wnd;
    WindowMap()[Wnd] = control;
  }
  if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage m = {Msg, WParam, LParam, 0};
  // NOTE: an exception must not unwind through the system's frames, which
  // carry no unwind information; it goes to the application instead.
  try {
    control->Dispatch(&m);
  } catch (...) {
    WindowExceptionHook(std::current_exception());
  }
  return m.Result;
}

// ---------------------------------------------------------------- TCustomControl

LUMO_IMPLEMENT_COMPONENT(TCustomControl, TWinControl)

void TCustomControl::Dispatch(void* Message) {
  TMessage& m = *static_cast<TMessage*>(Message);
  if (m.Msg == WM_PAINT) {
    WMPaint(m);
    return;
  }
  inherited::Dispatch(Message);
}

void TCustomControl::WMPaint(TMessage&) {
  PAINTSTRUCT ps;
  FPaintDC = BeginPaint(FHandle, &ps);
  try {
    Paint();
  } catch (...) {
    EndPaint(FHandle, &ps);
    FPaintDC = nullptr;
    throw;
  }
  EndPaint(FHandle, &ps);
  FPaintDC = nullptr;
}

LUMO_IMPLEMENT_COMPONENT(TPopupMenu, TComponent)
