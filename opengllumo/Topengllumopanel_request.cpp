// The pixel-format request, built afresh from the properties for the panel's
// window and for the multisample probe alike.
#include "Topengllumopanel.h"

namespace {

struct FlagBit {
  TPFDFlags Member;
  DWORD Bit;
};

// SUPPORT_GDI and DOUBLEBUFFER are not here: the absence of the first is
// what asks for double buffering.
const FlagBit kFlagBits[] = {
    {f_PFD_DRAW_TO_WINDOW, PFD_DRAW_TO_WINDOW},
    {f_PFD_DRAW_TO_BITMAP, PFD_DRAW_TO_BITMAP},
    {f_PFD_SUPPORT_OPENGL, PFD_SUPPORT_OPENGL},
    {f_PFD_GENERIC_ACCELERATED, PFD_GENERIC_ACCELERATED},
    {f_PFD_GENERIC_FORMAT, PFD_GENERIC_FORMAT},
    {f_PFD_NEED_PALETTE, PFD_NEED_PALETTE},
    {f_PFD_NEED_SYSTEM_PALETTE, PFD_NEED_SYSTEM_PALETTE},
    {f_PFD_STEREO, PFD_STEREO},
    {f_PFD_SWAP_LAYER_BUFFERS, PFD_SWAP_LAYER_BUFFERS},
};

DWORD RequestFlags(const TPFDFlagSet& flags) {
  DWORD bits = flags.Contains(f_PFD_SUPPORT_GDI) ? PFD_SUPPORT_GDI : PFD_DOUBLEBUFFER;
  for (const FlagBit& f : kFlagBits)
    if (flags.Contains(f.Member)) bits |= f.Bit;
  return bits;
}

}  // namespace

PIXELFORMATDESCRIPTOR TOpenGLLumoPanel::PixelFormatRequest() const {
  PIXELFORMATDESCRIPTOR request = {};
  request.nSize = sizeof request;
  request.nVersion = 1;
  request.cAlphaBits = 1;
  request.dwFlags = RequestFlags(FPFDFlags);
  request.iPixelType = FPFDPixelType;
  request.cColorBits = FcColorBits;
  request.cAccumBits = FcAccBits;
  request.cDepthBits = FcDepthBits;
  return request;
}
