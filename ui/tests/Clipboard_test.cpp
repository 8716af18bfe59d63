// Tests of the clipboard: text with accented characters, registered formats put together with the
// text in one opening (as grid exports do), raw blocks, pictures, and the nesting of Open/Close.
#include <gtest/gtest.h>

#include "Clipbrd.h"

namespace {

TEST(Clipboard, TextRoundTripKeepsCodePage1252) {
  const String text = "Zone humide : étang à côté de l'Œuvre – 12 €\r\nligne 2"_a;
  Clipboard()->SetAsText(text);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), text);
  // The system offers the same text as Unicode, converted from 1252.
  String wide = Clipboard()->GetBuffer(CF_UNICODETEXT);
  ASSERT_GE(wide.size(), 4u);
  EXPECT_EQ(std::uint8_t(wide[2 * 14]), 0xE9);  // "é"
  EXPECT_EQ(std::uint8_t(wide[2 * 14 + 1]), 0x00);
  char buffer[8];
  EXPECT_EQ(Clipboard()->GetTextBuf(buffer, sizeof(buffer)), 7);
  EXPECT_STREQ(buffer, "Zone hu");
}

TEST(Clipboard, SeveralFormatsPutInOneOpeningStayTogether) {
  const String html = "Version:0.9\r\n<!--StartFragment-->\r\n<TABLE></TABLE><!--EndFragment-->";
  const String sylk = "ID;PWXL;N;E\r\nC;Y1;X1;K\"Marais\"\r\nE\r\n";
  Clipboard()->Open();
  Clipboard()->Clear();
  Clipboard()->SetAsText(html);
  Clipboard()->SetBuffer(CF_HTML(), html.c_str(), html.size() + 1);
  Clipboard()->SetBuffer(CF_SYLK, sylk.c_str(), sylk.size() + 1);
  Clipboard()->Close();
  EXPECT_EQ(CF_HTML(), RegisterClipboardFormatA("HTML Format"));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_HTML()));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_SYLK));
  EXPECT_EQ(Clipboard()->AsText(), html);
  String gotHtml = Clipboard()->GetBuffer(CF_HTML());
  EXPECT_EQ(gotHtml.substr(0, html.size() + 1), html + '\0');
  String gotSylk = Clipboard()->GetBuffer(CF_SYLK);
  EXPECT_EQ(gotSylk.substr(0, sylk.size()), sylk);

  // A later put outside an opening replaces everything.
  Clipboard()->SetAsText("seul");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_SYLK));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_HTML()));
  EXPECT_EQ(Clipboard()->AsText(), "seul");
}

TEST(Clipboard, RichTextAndClear) {
  const String rtf = "{\\rtf1\\ansi\\ansicpg1252 Marais d'\\'e9t\\'e9}";
  Clipboard()->SetBuffer(CF_RTF(), rtf.c_str(), rtf.size() + 1);
  EXPECT_EQ(CF_RTF(), RegisterClipboardFormatA("Rich Text Format"));
  String got = Clipboard()->GetBuffer(CF_RTF());
  EXPECT_EQ(got.substr(0, rtf.size()), rtf);
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_RTF()));
  EXPECT_EQ(Clipboard()->AsText(), "");
  EXPECT_EQ(Clipboard()->GetBuffer(CF_RTF()), "");
}

TEST(Clipboard, OpenAndCloseNest) {
  Clipboard()->Open();
  Clipboard()->Open();
  Clipboard()->SetAsText("un");
  Clipboard()->Close();
  // Still held: a second format joins the first.
  Clipboard()->SetBuffer(CF_RTF(), "{\\rtf1 un}", 11);
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->AsText(), "un");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_RTF()));
  // An extra Close does nothing.
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->AsText(), "un");
}

TEST(Clipboard, BitmapAndMetafileRoundTrips) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(6, 4);
  source.Canvas()->Brush()->SetColor(clYellow);
  source.Canvas()->FillRect(Rect(0, 0, 6, 4));
  source.Canvas()->SetPixels(2, 1, clRed);
  Clipboard()->Assign(&source);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
  TPicture picture;
  picture.Assign(Clipboard());
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 6);
  EXPECT_EQ(picture.Height(), 4);
  EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(2, 1), clRed);
  EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(5, 3), clYellow);

  TMetafile metafile;
  {
    TMetafileCanvas canvas(&metafile, nullptr);
    canvas.Brush()->SetColor(clBlue);
    canvas.Rectangle(0, 0, 40, 30);
  }
  Clipboard()->Assign(&metafile);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_DIB));
  TPicture back;
  back.Assign(Clipboard());
  auto* got = dynamic_cast<TMetafile*>(back.Graphic());
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got->MMWidth(), metafile.MMWidth());
  EXPECT_EQ(got->MMHeight(), metafile.MMHeight());

  // Text on the clipboard is no picture.
  Clipboard()->SetAsText("pas une image");
  TBitmap none;
  EXPECT_THROW(none.Assign(Clipboard()), EInvalidGraphic);
}

}  // namespace
