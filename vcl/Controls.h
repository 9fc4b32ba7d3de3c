// Controls with real windows: every window message goes through the virtual
// Dispatch; what no class handles reaches the default window procedure.
#pragma once

#include <windows.h>

#include <exception>
#include <vector>

#include "Graphics.h"

// Read and write accessors for a property kept in a plain field F<Name>.
#define LUMO_FIELD_PROPERTY(Type, Name)       \
  Type Name() const { return F##Name; }       \
  void Set##Name(Type Value) { F##Name = Value; }

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

struct TCreateParams {
  const char* Caption;
  DWORD Style;
  DWORD ExStyle;
  int X, Y;
  int Width, Height;
  HWND WndParent;
  void* Param;
  WNDCLASSA WindowClass;
  char WinClassName[64];
};

typedef POINT TPoint;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateMember { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
typedef Set<TShiftStateMember, ssShift, ssDouble> TShiftState;
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TMouseActivate { maDefault, maActivate, maActivateAndEat, maNoActivate, maNoActivateAndEat };
typedef short TCursor;
const TCursor crDefault = 0;
const TCursor crDrag = -12;
typedef short TTabOrder;

// Receives an exception that a window message raised; the application sets it.
extern void (*WindowExceptionHook)(std::exception_ptr);

class TDragObject;
class TPopupMenu;

typedef TEvent<TObject*, TMouseButton, TShiftState, int, int> TMouseEvent;
typedef TEvent<TObject*, TShiftState, int, int> TMouseMoveEvent;
typedef TEvent<TObject*, TShiftState, int, TPoint, bool&> TMouseWheelEvent;
typedef TEvent<TObject*, TShiftState, TPoint, bool&> TMouseWheelUpDownEvent;
typedef TEvent<TObject*, TMouseButton, TShiftState, int, int, int, TMouseActivate&>
    TMouseActivateEvent;
typedef TEvent<TObject*, TObject*, int, int> TDragDropEvent;
typedef TEvent<TObject*, TObject*, int, int, TDragState, bool&> TDragOverEvent;
typedef TEvent<TObject*, TDragObject*&> TStartDragEvent;
typedef TEvent<TObject*, TObject*, int, int> TEndDragEvent;

class TWinControl;

class TControl : public TComponent {
  LUMO_DECLARE_CLASS(TControl, TComponent)
  friend class TWinControl;

 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* Value);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor Value);
  const AnsiString& Caption() const { return FCaption; }
  virtual void SetCaption(const AnsiString& Value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

  LUMO_FIELD_PROPERTY(TCursor, DragCursor)
  LUMO_FIELD_PROPERTY(TDragMode, DragMode)
  LUMO_FIELD_PROPERTY(bool, ParentFont)
  LUMO_FIELD_PROPERTY(bool, ParentShowHint)
  LUMO_FIELD_PROPERTY(TPopupMenu*, PopupMenu)
  LUMO_FIELD_PROPERTY(bool, ShowHint)

  LUMO_FIELD_PROPERTY(TNotifyEvent, OnClick)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnDblClick)
  LUMO_FIELD_PROPERTY(TDragDropEvent, OnDragDrop)
  LUMO_FIELD_PROPERTY(TDragOverEvent, OnDragOver)
  LUMO_FIELD_PROPERTY(TStartDragEvent, OnStartDrag)
  LUMO_FIELD_PROPERTY(TEndDragEvent, OnEndDrag)
  LUMO_FIELD_PROPERTY(TMouseEvent, OnMouseDown)
  LUMO_FIELD_PROPERTY(TMouseMoveEvent, OnMouseMove)
  LUMO_FIELD_PROPERTY(TMouseEvent, OnMouseUp)
  LUMO_FIELD_PROPERTY(TMouseWheelEvent, OnMouseWheel)
  LUMO_FIELD_PROPERTY(TMouseWheelUpDownEvent, OnMouseWheelUp)
  LUMO_FIELD_PROPERTY(TMouseWheelUpDownEvent, OnMouseWheelDown)
  LUMO_FIELD_PROPERTY(TMouseActivateEvent, OnMouseActivate)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnMouseEnter)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnMouseLeave)

  void Dispatch(void* Message) override;

 protected:
  // Dynamic notifications, each firing its event.
  virtual void Resize() {}
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void MouseEnter();
  virtual void MouseLeave();

  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TWinControl* FParent = nullptr;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  AnsiString FCaption;
  TAlign FAlign = alNone;
  TFont* FFont;
  TCursor FDragCursor = crDrag;
  TDragMode FDragMode = dmManual;
  bool FParentFont = true;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  bool FShowHint = false;

  TNotifyEvent FOnClick, FOnDblClick, FOnMouseEnter, FOnMouseLeave;
  TDragDropEvent FOnDragDrop;
  TDragOverEvent FOnDragOver;
  TStartDragEvent FOnStartDrag;
  TEndDragEvent FOnEndDrag;
  TMouseEvent FOnMouseDown, FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  TMouseWheelEvent FOnMouseWheel;
  TMouseWheelUpDownEvent FOnMouseWheelUp, FOnMouseWheelDown;
  TMouseActivateEvent FOnMouseActivate;

 private:
  void WMMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double);
  void WMMouseMove(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMMouseActivate(TMessage& Message);

  bool FClicked = false;
  bool FMouseInControl = false;
};

class TWinControl : public TControl {
  LUMO_DECLARE_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, made on demand (parents first).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // True from the start of the window's creation (CreateParams included)
  // until CreateWindowExA returns.
  bool CreatingWindow() const { return FCreatingWindow; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  void RecreateWnd();

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(Index); }
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);

  LUMO_FIELD_PROPERTY(TTabOrder, TabOrder)
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnEnter)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnExit)

  int ClientWidth();
  int ClientHeight();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetVisible(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetColor(TColor Value) override;
  void SetCaption(const AnsiString& Value) override;
  void Invalidate();
  void Repaint();
  void AlignControls();

  void Dispatch(void* Message) override;
  void DefaultHandler(void* Message) override;

  // The window procedure all our windows share.
  static LRESULT CALLBACK StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  static TWinControl* FindControl(HWND Wnd);

 protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateHandle();
  virtual void DoEnter();
  virtual void DoExit();

  HWND FHandle = nullptr;
  bool FCreatingWindow = false;
  std::vector<TControl*> FControls;
  TTabOrder FTabOrder = -1;
  bool FTabStop = false;
  TNotifyEvent FOnEnter, FOnExit;

 private:
  void WMSize(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void UpdateBoundsFromWindow();
  HBRUSH Brush();

  HBRUSH FBrush = nullptr;
};

class TCustomControl : public TWinControl {
  LUMO_DECLARE_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
  void Dispatch(void* Message) override;

 protected:
  // Draws the control; the device context of the paint is PaintDC().
  virtual void Paint() {}
  HDC PaintDC() const { return FPaintDC; }

 private:
  void WMPaint(TMessage& Message);
  HDC FPaintDC = nullptr;
};

// A placeholder for the pop-up menu a control may name; the menu itself is
// not part of this framework.
class TPopupMenu : public TComponent {
  LUMO_DECLARE_CLASS(TPopupMenu, TComponent)
 public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
};
