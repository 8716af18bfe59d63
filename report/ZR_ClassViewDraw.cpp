// This file implements the steps every view is drawn in: its geometry under zoom and back, the
// background and the frame (four independent sides, dashed styles at any width, the double line),
// the clip region, and the band alignment applied when a view is prepared for drawing.
#include <cmath>

#include "ZR_ClassBand.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassPage.h"
#include "ZR_ClassView.h"

namespace {

bool OnSameLine(TzrView* Self, TzrView* Other) {
  TzrBand* band = zrEngine.CurBand;
  if (band == nullptr) return Other->Top == Self->Top;
  int reduced = Other->Parent == band ? Self->Top : Self->Top - band->Top;
  if (Other->Top == reduced) return true;
  return (band->Flags & 1) != 0 && Other->Top == Self->Top;
}

// The nearest neighbour on the same line with the given alignment, to the left (greatest Left
// below Self's) or to the right (smallest Left above it).
TzrView* FindNeighbour(TzrView* Self, TzrPage* Page, int Align, bool ToTheLeft) {
  TzrView* best = nullptr;
  for (int i = 0; i < Page->ObjectCount(); ++i) {
    TzrView* v = Page->Objects(i);
    if (v == Self || v->ObjectKind == zrKindBand || v->BandAlign != Align || !OnSameLine(Self, v)) continue;
    if (ToTheLeft ? v->Left < Self->Left && (best == nullptr || v->Left > best->Left)
                  : v->Left > Self->Left && (best == nullptr || v->Left < best->Left))
      best = v;
  }
  return best;
}

}  // namespace

TzrView* FindLeftNeighbour(TzrView* Self, TzrPage* Page) { return FindNeighbour(Self, Page, baLeft, true); }
TzrView* FindRightNeighbour(TzrView* Self, TzrPage* Page) { return FindNeighbour(Self, Page, baRight, false); }

void TzrView::PrepareDrawing(TCanvas* ACanvas) {
  Canvas = ACanvas;
  zrEngine.CurView = this;
  if (zrEngine.Running && zrEngine.CurPage != nullptr && BandAlign != baNone) ApplyBandAlignment();
}

// Without an editing front end the alignments that work on its page (bottom, top, and width
// against a band under the object) apply only while a band prints; see WriteToPreparedPage.
void TzrView::ApplyBandAlignment() {
  TzrPage* page = zrEngine.CurPage;
  int l = page->LeftOffset();
  int r = page->RightOffset();
  int d = r - l;
  switch (BandAlign) {
    case baLeft: {
      TzrView* n = FindLeftNeighbour(this, page);
      Left = n != nullptr ? n->Left + n->Width : l;
      break;
    }
    case baRight: {
      TzrView* n = FindRightNeighbour(this, page);
      Left = n != nullptr ? n->Left - Width - 1 : r - Width;
      break;
    }
    case baCenter:
      Left = l + (d - Width) / 2;
      break;
    case baWidth:
      if (zrEngine.CurBand == nullptr) {
        Left = l;
        Width = d - 1;
      }
      break;
    case baRest: {
      TzrView* left = FindLeftNeighbour(this, page);
      TzrView* right = FindRightNeighbour(this, page);
      Left = left != nullptr ? left->Left + left->Width : l;
      Width = right != nullptr ? right->Left - Left : r - Left;
      break;
    }
    default:
      break;
  }
}

void TzrView::ComputeDrawRect() {
  Saved = TzrSavedBounds{Left, Top, Width, Height, GapX, GapY, FrameWidth};
  if (!zrEngine.Running) {
    ZoomX = ZoomY = 1.0;
    ShiftX = ShiftY = 0;
  }
  Left = zrRound(Left * ZoomX) + ShiftX;
  Top = zrRound(Top * ZoomY) + ShiftY;
  Width = zrRound(ZoomX * Width);
  Height = zrRound(ZoomY * Height);
  double w = Saved.FrameWidth;
  FrameWidth = ZoomX * w;
  int hx = zrRound(ZoomX * w / 2);
  int hy = zrRound(ZoomY * w / 2);
  int ex = zrRound((ZoomX * w - 1) / 2);
  int ey = zrRound((ZoomY * w - 1) / 2);
  GapX = zrRound(ZoomX * GapX) + hx;
  GapY = zrRound(ZoomY * GapY) + hy / 2;
  int right = zrRound((Saved.Left + Saved.Width) * ZoomX + ShiftX);
  int bottom = zrRound((Saved.Top + Saved.Height) * ZoomY + ShiftY);
  if (FrameTyp & zrFrameRight) right -= hx;
  if (FrameTyp & zrFrameBottom) bottom -= hy;
  int left = Left + ((FrameTyp & zrFrameLeft) ? ex : 0);
  int top = Top + ((FrameTyp & zrFrameTop) ? ey : 0);
  PaintRect = TRect(left, top, right + 1, bottom + 1);
}

void TzrView::RestoreCoordinates() {
  Left = Saved.Left;
  Top = Saved.Top;
  Width = Saved.Width;
  Height = Saved.Height;
  GapX = Saved.GapX;
  GapY = Saved.GapY;
  FrameWidth = Saved.FrameWidth;
}

void TzrView::DrawBackground() {
  if (zrEngine.FirstPassRunning || Canvas == nullptr) return;
  TBrush* brush = Canvas->Brush();
  SetBkMode(Canvas->Handle(), OPAQUE);
  brush->SetColor(FillColor == zrNoColor ? clWhite : FillColor);
  brush->SetStyle(bsSolid);
  if (zrEngine.Running) {
    if (FillColor == zrNoColor) return;
    Canvas->FillRect(TRect(Left, Top, zrRound((Saved.Left + Saved.Width) * ZoomX + ShiftX),
                           zrRound((Saved.Top + Saved.Height) * ZoomY + ShiftY)));
  } else {
    Canvas->FillRect(PaintRect);
  }
}

namespace {

void DrawRelativeLine(TCanvas* Canvas, int X, int Y, int DX, int DY) {
  Canvas->MoveTo(X, Y);
  Canvas->LineTo(X + DX, Y + DY);
}

}  // namespace

void TzrView::DrawFrameLine(int X1, int Y1, int X2, int Y2, bool Vertical) {
  TPen* pen = Canvas->Pen();
  auto line = [&](int Offset) {
    if (Vertical) {
      Canvas->MoveTo(X1 + Offset, Y1);
      Canvas->LineTo(X2 + Offset, Y2);
    } else {
      Canvas->MoveTo(X1, Y1 + Offset);
      Canvas->LineTo(X2, Y2 + Offset);
    }
  };
  if (FrameStyle == zrFrameDouble) {
    int d = zrRound(FrameWidth);
    pen->SetColor(FrameColor);
    line(-d);
    line(d);
    pen->SetColor(FillColor == zrNoColor ? clWhite : FillColor);
    line(0);
    pen->SetColor(FrameColor);
  } else if (FrameStyle != 0) {
    // Dashes stay dashes at any width: a wide dashed side is several one-pixel lines.
    int w = pen->Width();
    Canvas->Brush()->SetColor(FillColor == zrNoColor ? clWhite : FillColor);
    pen->SetWidth(1);
    for (int k = -(w / 2); k <= w - 1 - w / 2; ++k) line(k);
    pen->SetWidth(w);
  } else {
    line(0);
  }
}

void TzrView::DrawFrame() {
  if (zrEngine.FirstPassRunning || Canvas == nullptr) return;
  if (zrEngine.Running && (FrameTyp & zrFrameAll) == 0) return;
  TPen* pen = Canvas->Pen();
  Canvas->Brush()->SetStyle(bsSolid);
  pen->SetStyle(psSolid);
  if (!zrEngine.Running && Width > 0 && Height > 0) {
    pen->SetColor(clBlack);
    pen->SetWidth(1);
    DrawRelativeLine(Canvas, Left, Top + 3, 0, -3);
    DrawRelativeLine(Canvas, Left, Top, 4, 0);
    DrawRelativeLine(Canvas, Left, Top + Height - 3, 0, 3);
    DrawRelativeLine(Canvas, Left, Top + Height, 4, 0);
    DrawRelativeLine(Canvas, Left + Width - 3, Top, 3, 0);
    DrawRelativeLine(Canvas, Left + Width, Top, 0, 4);
    DrawRelativeLine(Canvas, Left + Width - 3, Top + Height, 3, 0);
    DrawRelativeLine(Canvas, Left + Width, Top + Height, 0, -4);
  }
  pen->SetColor(FrameColor);
  pen->SetWidth(std::max(1, zrRound(FrameWidth)));
  if (FrameStyle != zrFrameDouble) pen->SetStyle(static_cast<TPenStyle>(FrameStyle <= 4 ? FrameStyle : 0));
  int xr = zrRound((Saved.Left + Saved.Width) * ZoomX + ShiftX);
  int yb = zrRound((Saved.Top + Saved.Height) * ZoomY + ShiftY);
  if (FrameTyp & zrFrameRight) DrawFrameLine(xr, Top, xr, yb, true);
  if (FrameTyp & zrFrameLeft) DrawFrameLine(Left, Top, Left, yb, true);
  if (FrameTyp & zrFrameBottom) DrawFrameLine(Left, yb, xr, yb, false);
  if (FrameTyp & zrFrameTop) DrawFrameLine(Left, Top, xr, Top, false);
  pen->SetStyle(psSolid);
}

HRGN TzrView::GetClipRegion(bool Grown) {
  double w = FrameWidth;
  int o = FrameStyle == zrFrameDouble ? zrRound(1.5 * w) : zrRound(w / 2);
  int i = FrameStyle == zrFrameDouble ? zrRound(w + (w - 1) / 2) : zrRound((w - 1) / 2);
  TRect r(Left - ((FrameTyp & zrFrameLeft) ? o : 0), Top - ((FrameTyp & zrFrameTop) ? o : 0),
          Left + Width + 1 + ((FrameTyp & zrFrameRight) ? i : 0), Top + Height + 1 + ((FrameTyp & zrFrameBottom) ? i : 0));
  if (Grown) r = TRect(r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10);
  return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}
