#include "ExtCtrls.h"

LUMO_IMPLEMENT_COMPONENT(TCustomPanel, TCustomControl)

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FWidth = 185;
  FHeight = 41;
  FColor = clBtnFace;
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::Paint() {
  if (FCaption.empty()) return;
  RECT r;
  GetClientRect(FHandle, &r);
  UINT align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT
                                                                                     : DT_CENTER;
  HGDIOBJ old = SelectObject(PaintDC(), FFont->Handle());
  SetBkMode(PaintDC(), TRANSPARENT);
  SetTextColor(PaintDC(), ColorToRGB(FFont->Color()));
  DrawTextA(PaintDC(), FCaption.c_str(), -1, &r, align | DT_VCENTER | DT_SINGLELINE);
  SelectObject(PaintDC(), old);
}
