#include <gtest/gtest.h>

#include "vcl/Graphics.h"

TEST(Font, HandleMadeOnDemandAndAgainAfterAChange) {
  TFont font;
  font.SetName("Arial");
  font.SetHeight(-20);
  HFONT first = font.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font.Handle(), first);
  LOGFONTA lf;
  ASSERT_EQ(GetObjectA(first, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);

  TFontStyles bold;
  font.SetStyle(bold << fsBold << fsItalic);
  ASSERT_EQ(GetObjectA(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
}

TEST(Font, SizeFollowsHeightAtNinetySixPixelsPerInch) {
  TFont font;
  font.SetHeight(-16);
  EXPECT_EQ(font.Size(), 12);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
}

TEST(Font, AssignCopiesEveryAttribute) {
  TFont a, b;
  a.SetName("Courier New");
  a.SetStyle(TFontStyles{fsUnderline, fsStrikeOut});
  a.SetHeight(-30);
  a.SetCharset(ANSI_CHARSET);
  a.SetColor(clRed);
  a.SetPitch(fpFixed);
  b.Assign(&a);
  EXPECT_EQ(b.Name(), "Courier New");
  EXPECT_TRUE(b.Style() == a.Style());
  EXPECT_EQ(b.Height(), -30);
  EXPECT_EQ(b.Charset(), ANSI_CHARSET);
  EXPECT_EQ(b.Color(), clRed);
  EXPECT_EQ(b.Pitch(), fpFixed);
}
