// This file implements the glyphs of the report engine's windows, drawn in code: toolbar pictures
// of 16 x 16 pixels on the transparent olive, the printer of the print dialog and its collate
// pictures.
#include "ZR_Ctrls.h"

namespace {

constexpr TColor kBlack = clBlack;
constexpr TColor kWhite = clWhite;
constexpr TColor kGrey = clGray;
constexpr TColor kSilver = clSilver;
constexpr TColor kNavy = clNavy;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kDarkYellow = 0x008080;  // not olive: olive is transparent
constexpr TColor kBrown = 0x004080;
constexpr TColor kRed = 0x0000C0;
constexpr TColor kBlue = 0xC00000;
constexpr TColor kGreen = 0x008000;

class TPen16 {
 public:
  explicit TPen16(TCanvas* C) : FC(C) {}
  void Line(int X1, int Y1, int X2, int Y2, TColor Color) {
    FC->Pen()->SetColor(Color);
    FC->MoveTo(X1, Y1);
    FC->LineTo(X2, Y2);
    FC->SetPixels(X2, Y2, Color);
  }
  void Box(int L, int T, int R, int B, TColor Fill, TColor Edge) {
    FC->Brush()->SetColor(Fill);
    FC->FillRect(TRect(L, T, R + 1, B + 1));
    Line(L, T, R, T, Edge);
    Line(R, T, R, B, Edge);
    Line(R, B, L, B, Edge);
    Line(L, B, L, T, Edge);
  }
  void Fill(int L, int T, int R, int B, TColor Color) {
    FC->Brush()->SetColor(Color);
    FC->FillRect(TRect(L, T, R + 1, B + 1));
  }
  void Dot(int X, int Y, TColor Color) { FC->SetPixels(X, Y, Color); }
  void Text(const char* S, int X, int Y, TColor Color, int Height, bool Bold, bool Italic, bool Underline) {
    FC->Font()->SetName("Arial");
    FC->Font()->SetHeight(Height);
    TFontStyles style;
    if (Bold) style.Include(fsBold);
    if (Italic) style.Include(fsItalic);
    if (Underline) style.Include(fsUnderline);
    FC->Font()->SetStyle(style);
    FC->Font()->SetColor(Color);
    FC->Brush()->SetStyle(bsClear);
    FC->TextOut(X, Y, S);
    FC->Brush()->SetStyle(bsSolid);
  }

 private:
  TCanvas* FC;
};

// A sheet of paper with a folded corner and lines of text.
void Sheet(TPen16& P, int L, int T, int R, int B) {
  P.Box(L, T, R, B, kWhite, kBlack);
  for (int y = T + 3; y < B - 1; y += 2) P.Line(L + 2, y, R - 2, y, kSilver);
}

// A magnifying glass over (X, Y).
void Lens(TPen16& P, int X, int Y) {
  P.Box(X, Y, X + 6, Y + 6, kWhite, kBlack);
  P.Dot(X, Y, zrGlyphTransparent);
  P.Dot(X + 6, Y, zrGlyphTransparent);
  P.Dot(X, Y + 6, zrGlyphTransparent);
  P.Dot(X + 6, Y + 6, zrGlyphTransparent);
  P.Dot(X + 2, Y + 2, kSilver);
  P.Line(X + 6, Y + 6, X + 9, Y + 9, kBrown);
  P.Line(X + 7, Y + 6, X + 10, Y + 9, kBrown);
}

}  // namespace

void DrawGlyph(TzrGlyph Kind, TBitmap* Bitmap) {
  int w = Kind == zgPrinter ? 18 : Kind == zgTrueType ? 15 : 16;
  int h = Kind == zgTrueType ? 12 : Kind == zgSpinUp || Kind == zgSpinDown ? 5 : 16;
  Bitmap->SetSize(w, h);
  TCanvas* c = Bitmap->Canvas();
  c->Brush()->SetColor(zrGlyphTransparent);
  c->FillRect(TRect(0, 0, w, h));
  TPen16 p(c);
  switch (Kind) {
    case zgZoom:
      Sheet(p, 1, 1, 10, 13);
      Lens(p, 6, 5);
      break;
    case zgOpen:
      p.Box(1, 4, 12, 13, kYellow, kBlack);
      p.Box(1, 2, 6, 4, kYellow, kBlack);
      p.Line(3, 7, 15, 7, kBlack);
      p.Line(15, 7, 12, 13, kBlack);
      p.Fill(4, 8, 13, 12, kDarkYellow);
      p.Line(10, 1, 13, 1, kBlack);
      p.Line(13, 1, 13, 4, kBlack);
      p.Line(12, 3, 14, 3, kBlack);
      break;
    case zgSave:
      p.Box(1, 1, 14, 14, kNavy, kBlack);
      p.Fill(4, 2, 11, 6, kWhite);
      p.Fill(4, 9, 11, 13, kSilver);
      p.Fill(5, 10, 6, 12, kNavy);
      break;
    case zgPrint:
    case zgPrinter: {
      int o = Kind == zgPrinter ? 1 : 0;
      p.Box(3 + o, 1, 12 + o, 6, kWhite, kBlack);
      p.Box(1 + o, 6, 14 + o, 11, kSilver, kBlack);
      p.Box(3 + o, 10, 12 + o, 14, kWhite, kBlack);
      p.Dot(12 + o, 8, kGreen);
      p.Line(5 + o, 12, 10 + o, 12, kGrey);
      break;
    }
    case zgPageSetup:
      Sheet(p, 2, 1, 12, 14);
      p.Line(4, 3, 10, 3, kBlue);
      p.Line(4, 12, 10, 12, kBlue);
      p.Line(4, 3, 4, 12, kBlue);
      p.Line(10, 3, 10, 12, kBlue);
      break;
    case zgFind:
      Sheet(p, 1, 1, 9, 11);
      Lens(p, 5, 5);
      break;
    case zgHelp:
      p.Text("?", 4, 0, kNavy, -15, true, false, false);
      break;
    case zgExit:
      p.Box(2, 1, 10, 14, kBrown, kBlack);
      p.Fill(3, 2, 9, 13, 0x0060A0);
      p.Dot(8, 8, kYellow);
      p.Line(11, 7, 15, 7, kRed);
      p.Line(13, 5, 15, 7, kRed);
      p.Line(13, 9, 15, 7, kRed);
      break;
    case zgPageUp:
      for (int i = 0; i < 4; ++i) p.Line(7 - i, 5 + i, 8 + i, 5 + i, kBlack);
      for (int i = 0; i < 4; ++i) p.Line(7 - i, 9 + i, 8 + i, 9 + i, kBlack);
      break;
    case zgPageDown:
      for (int i = 0; i < 4; ++i) p.Line(4 + i, 3 + i, 11 - i, 3 + i, kBlack);
      for (int i = 0; i < 4; ++i) p.Line(4 + i, 8 + i, 11 - i, 8 + i, kBlack);
      break;
    case zgSpinUp:
      for (int i = 0; i < 3; ++i) p.Line(7 - i, 1 + i, 8 + i, 1 + i, kBlack);
      break;
    case zgSpinDown:
      for (int i = 0; i < 3; ++i) p.Line(5 + i, 1 + i, 10 - i, 1 + i, kBlack);
      break;
    case zgBold: p.Text("G", 3, 0, kBlack, -14, true, false, false); break;
    case zgItalic: p.Text("I", 5, 0, kBlack, -14, true, true, false); break;
    case zgUnderline: p.Text("S", 4, -1, kBlack, -14, true, false, true); break;
    case zgUndo:
      p.Line(3, 6, 10, 6, kNavy);
      p.Line(3, 6, 6, 3, kNavy);
      p.Line(3, 6, 6, 9, kNavy);
      p.Line(10, 6, 13, 9, kNavy);
      p.Line(13, 9, 10, 12, kNavy);
      break;
    case zgFont: p.Text("A", 2, 0, kNavy, -15, true, false, false); break;
    case zgExpression: p.Text("[ ]", 1, 0, kNavy, -13, true, false, false); break;
    case zgLeft:
    case zgCenter:
    case zgRight:
      for (int i = 0; i < 5; ++i) {
        int len = i % 2 == 0 ? 12 : 8;
        int x = Kind == zgLeft ? 2 : Kind == zgRight ? 14 - len : 8 - len / 2;
        p.Line(x, 3 + 2 * i, x + len - 1, 3 + 2 * i, kBlack);
      }
      break;
    case zgBullets:
      for (int i = 0; i < 3; ++i) {
        p.Fill(2, 3 + 4 * i, 3, 4 + 4 * i, kBlack);
        p.Line(6, 3 + 4 * i, 13, 3 + 4 * i, kBlack);
      }
      break;
    case zgOk:
      p.Line(2, 8, 6, 12, kGreen);
      p.Line(2, 9, 6, 13, kGreen);
      p.Line(6, 12, 13, 3, kGreen);
      p.Line(6, 13, 13, 4, kGreen);
      break;
    case zgCancel:
      p.Line(3, 3, 12, 12, kRed);
      p.Line(4, 3, 13, 12, kRed);
      p.Line(12, 3, 3, 12, kRed);
      p.Line(13, 3, 4, 12, kRed);
      break;
    case zgTrueType:
      p.Text("T", 0, -2, kGrey, -12, true, false, false);
      p.Text("T", 5, 0, kBlack, -12, true, false, false);
      break;
  }
}

void DrawCollatePicture(bool Collated, TBitmap* Bitmap) {
  Bitmap->SetSize(Collated ? 74 : 92, Collated ? 53 : 40);
  TCanvas* c = Bitmap->Canvas();
  c->Brush()->SetColor(clSilver);
  c->FillRect(TRect(0, 0, Bitmap->Width(), Bitmap->Height()));
  TPen16 p(c);
  auto sheet = [&](int X, int Y, const char* Number) {
    p.Box(X, Y, X + 17, Y + 23, kWhite, kBlack);
    p.Line(X + 18, Y + 1, X + 18, Y + 24, kGrey);
    p.Line(X + 1, Y + 24, X + 18, Y + 24, kGrey);
    p.Text(Number, X + 5, Y + 5, kBlack, -11, false, false, false);
  };
  if (Collated) {
    // Two copies, each its pages in order, stacked.
    const char* numbers[] = {"1", "2", "3"};
    for (int set = 0; set < 2; ++set)
      for (int i = 0; i < 3; ++i) sheet(set * 38 + i * 6, 22 - i * 11, numbers[2 - i]);
  } else {
    // Each page twice in turn.
    const char* numbers[] = {"1", "2", "3"};
    for (int i = 0; i < 3; ++i)
      for (int k = 0; k < 2; ++k) sheet(i * 31 + k * 6, 12 - k * 10, numbers[i]);
  }
}
