#include <gtest/gtest.h>

#include "PanelProbe.h"

TEST(Request, FromTheDefaults) {
  PanelProbe p(nullptr);
  PIXELFORMATDESCRIPTOR expected = {};
  expected.nSize = 40;
  expected.nVersion = 1;
  expected.dwFlags = 0x25;
  expected.iPixelType = PFD_TYPE_RGBA;
  expected.cColorBits = 32;
  expected.cAlphaBits = 1;
  expected.cAccumBits = 8;
  expected.cDepthBits = 32;
  PIXELFORMATDESCRIPTOR request = p.PixelFormatRequest();
  static_assert(sizeof request == 40);
  EXPECT_EQ(std::memcmp(&request, &expected, sizeof request), 0);
}

TEST(Request, EachMemberSetsItsOwnBitOnly) {
  struct Case {
    TPFDFlags member;
    DWORD bit;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    for (TPFDFlags base : {f_PFD_DOUBLEBUFFER, f_PFD_SUPPORT_GDI}) {
      PanelProbe p(nullptr);
      p.SetPFDFlags({base});
      DWORD without = p.PixelFormatRequest().dwFlags;
      p.SetPFDFlags({base, c.member});
      EXPECT_EQ(p.PixelFormatRequest().dwFlags, without | c.bit) << "member " << c.member;
    }
  }
}

TEST(Request, GdiDecidesDoubleBufferingAndDoubleBufferMemberHasNoBitOfItsOwn) {
  PanelProbe p(nullptr);
  p.SetPFDFlags({f_PFD_SUPPORT_GDI});
  EXPECT_EQ(p.PixelFormatRequest().dwFlags, static_cast<DWORD>(PFD_SUPPORT_GDI));
  p.SetPFDFlags({f_PFD_DOUBLEBUFFER});
  EXPECT_EQ(p.PixelFormatRequest().dwFlags, static_cast<DWORD>(PFD_DOUBLEBUFFER));
}

TEST(Request, PixelTypeAndDepthsAreCopiedUnchanged) {
  PanelProbe p(nullptr);
  p.SetPixelType(f_PFD_TYPE_COLORINDEX);
  p.SetcColorBits(0);
  p.SetcDepthBits(16);
  p.SetcAccBits(64);
  PIXELFORMATDESCRIPTOR r = p.PixelFormatRequest();
  EXPECT_EQ(r.iPixelType, PFD_TYPE_COLORINDEX);
  EXPECT_EQ(r.cColorBits, 0);
  EXPECT_EQ(r.cDepthBits, 16);
  EXPECT_EQ(r.cAccumBits, 64);
  EXPECT_EQ(r.cAlphaBits, 1);
}
