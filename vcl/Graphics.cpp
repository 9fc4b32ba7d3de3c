#include "Graphics.h"

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

LUMO_IMPLEMENT_CLASS(TFont, TPersistent)

TFont::TFont() = default;

TFont::~TFont() {
  if (FHandle) DeleteObject(FHandle);
}

void TFont::Assign(TPersistent* Source) {
  TFont* source = dynamic_cast<TFont*>(Source);
  if (!source) {
    inherited::Assign(Source);
    return;
  }
  FName = source->FName;
  FStyle = source->FStyle;
  FHeight = source->FHeight;
  FCharset = source->FCharset;
  FColor = source->FColor;
  FPitch = source->FPitch;
  FPixelsPerInch = source->FPixelsPerInch;
  Changed();
}

void TFont::SetName(const AnsiString& Value) {
  FName = Value;
  Changed();
}

void TFont::SetStyle(const TFontStyles& Value) {
  FStyle = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  FHeight = Value;
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetCharset(TFontCharset Value) {
  FCharset = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  FPitch = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (FHandle) return FHandle;
  LOGFONTA lf = {};
  lf.lfHeight = FHeight;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH
                                                                               : DEFAULT_PITCH;
  lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
  FHandle = CreateFontIndirectA(&lf);
  return FHandle;
}

void TFont::Changed() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  if (OnChange.Assigned()) OnChange(this);
}
