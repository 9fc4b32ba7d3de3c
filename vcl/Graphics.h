// Colours and fonts.
#pragma once

#include <windows.h>

#include "Classes.h"

typedef std::int32_t TColor;
// System colours carry the high bit and the COLOR_ index in the low byte.
const TColor clScrollBar = static_cast<TColor>(0x80000000 | COLOR_SCROLLBAR);
const TColor clBtnFace = static_cast<TColor>(0x80000000 | COLOR_BTNFACE);
const TColor clWindow = static_cast<TColor>(0x80000000 | COLOR_WINDOW);
const TColor clWindowText = static_cast<TColor>(0x80000000 | COLOR_WINDOWTEXT);
const TColor clBlack = 0x000000;
const TColor clMaroon = 0x000080;
const TColor clGreen = 0x008000;
const TColor clNavy = 0x800000;
const TColor clRed = 0x0000FF;
const TColor clLime = 0x00FF00;
const TColor clBlue = 0xFF0000;
const TColor clWhite = 0xFFFFFF;

// The RGB value of a colour, system colours resolved.
COLORREF ColorToRGB(TColor Color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
typedef Set<TFontStyle, fsBold, fsStrikeOut> TFontStyles;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
typedef std::uint8_t TFontCharset;

class TFont : public TPersistent {
  LUMO_DECLARE_CLASS(TFont, TPersistent)
 public:
  TFont();
  ~TFont() override;

  void Assign(TPersistent* Source) override;

  const AnsiString& Name() const { return FName; }
  void SetName(const AnsiString& Value);
  const TFontStyles& Style() const { return FStyle; }
  void SetStyle(const TFontStyles& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Size in points, derived from Height at the font's pixels per inch.
  int Size() const;
  void SetSize(int Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  int PixelsPerInch() const { return FPixelsPerInch; }

  // The GDI font, made on demand and made again after a change. The font
  // object owns it.
  HFONT Handle();

  TNotifyEvent OnChange;

 private:
  void Changed();

  AnsiString FName = "MS Sans Serif";
  TFontStyles FStyle;
  int FHeight = -11;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  TFontPitch FPitch = fpDefault;
  int FPixelsPerInch = 96;
  HFONT FHandle = nullptr;
};
