// The colour-index palette: built when the pixel format needs one, realized
// when the system palette changes hands.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

namespace {

// Above this the entry count no longer fits the palette's 16-bit count.
const unsigned kMaxPaletteColorBits = 15;

struct BlockFree {
  void operator()(void* Block) const { sys.Free(Block); }
};

// A component's field of the pixel value, spread evenly over 0 to 255; a
// colour without bits stays 0.
BYTE Spread(unsigned Value, unsigned Bits, unsigned Shift) {
  if (Bits == 0 || Shift >= 32) return 0;
  std::uint64_t mask = (std::uint64_t(1) << std::min(Bits, 32u)) - 1;
  return static_cast<BYTE>(((Value >> Shift) & mask) * 255 / mask);
}

}  // namespace

bool TOpenGLLumoPanel::ConstructPalette(const PIXELFORMATDESCRIPTOR& Description) {
  if (Description.cColorBits > kMaxPaletteColorBits) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "ConstructPalette: %u colour bits need more entries than a palette holds",
                  unsigned(Description.cColorBits));
    ReportFixedError(text);
    return false;
  }
  const WORD count = static_cast<WORD>(1u << Description.cColorBits);
  // The header carries one entry of its own: one more than is used.
  const std::size_t size = 4 * std::size_t(count) + 8;
  std::unique_ptr<LOGPALETTE, BlockFree> block(static_cast<LOGPALETTE*>(sys.Malloc(size)));
  if (!block) {
    ReportFixedError("ConstructPalette: Malloc failure");
    return false;
  }
  std::memset(block.get(), 0, size);
  block->palVersion = 0x300;
  block->palNumEntries = count;
  for (unsigned i = 0; i < count; ++i) {
    PALETTEENTRY& entry = block->palPalEntry[i];
    entry.peRed = Spread(i, Description.cRedBits, Description.cRedShift);
    entry.peGreen = Spread(i, Description.cGreenBits, Description.cGreenShift);
    entry.peBlue = Spread(i, Description.cBlueBits, Description.cBlueShift);
  }

  FPalette = sys.CreatePalette(block.get());
  if (!FPalette) {
    ReportSystemError("CreatePalette:");
    return false;
  }
  sys.SelectPalette(FDC, FPalette, FALSE);
  sys.RealizePalette(FDC);
  return true;
}

void TOpenGLLumoPanel::WMQueryNewPalette(TMessage& Message) {
  HPALETTE previous = sys.SelectPalette(FDC, FPalette, FALSE);
  UINT remapped = sys.RealizePalette(FDC);
  if (remapped == GDI_ERROR) {
    ReportSystemError("RealizePalette:");
    return;
  }
  if (!MakeCurrent()) {
    Message.Result = 0;
    return;
  }
  sys.wglMakeCurrent(nullptr, nullptr);
  sys.SelectPalette(FDC, previous, TRUE);
  if (remapped != 0) sys.InvalidateRect(FHandle, nullptr, TRUE);
  Message.Result = remapped;
}

void TOpenGLLumoPanel::WMPaletteChanged(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle) return;
  TMessage own = Message;
  WMQueryNewPalette(own);
}
