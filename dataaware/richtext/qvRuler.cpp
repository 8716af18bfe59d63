// This file implements TqvRulerPanel, the ruler of the rich-text editor window.
#include "qvRuler.h"

#include <algorithm>
#include <cmath>

#include "FloatFormat.h"
#include "StrUtils.h"

#include "Colors.h"
#include "Printers.h"

#include "qvTrackIcon.h"
#include "qvriched.h"

VELBOR_IMPLEMENT_CLASS(TqvRulerPanel)

namespace {

constexpr double kCentimetreFactor = 2.537;
// Markers keep at least this many pixels between the right one and the other two.
constexpr int kMarkerGap = 48;

int Half(const TqvTrackIcon* Marker) { return Marker->Width() / 2; }

}  // namespace

void TqvRulerPanel::UpdateRulerRect() { FRulerRect = TRect(6, 4, Width() - 6, Height() - 4); }

void TqvRulerPanel::SetMarkers(TqvTrackIcon* Left, TqvTrackIcon* Right, TqvTrackIcon* FirstLine) {
  FLeftMarker = Left;
  FRightMarker = Right;
  FFirstLineMarker = FirstLine;
  for (TqvTrackIcon* Marker : {Left, Right, FirstLine}) {
    if (Marker) Marker->FreeNotification(this);
  }
}

void TqvRulerPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLeftMarker) FLeftMarker = nullptr;
  if (AComponent == FRightMarker) FRightMarker = nullptr;
  if (AComponent == FFirstLineMarker) FFirstLineMarker = nullptr;
}

double TqvRulerPanel::PixelsPerUnit() const {
  double Ppi = FRichEdit ? FRichEdit->ScreenPixelsPerInch() : 96;
  return FRichEdit && FRichEdit->MeasurementUnits == muCentimeters ? Ppi / kCentimetreFactor : Ppi;
}

int TqvRulerPanel::TicksPerUnit() const {
  return FRichEdit && FRichEdit->MeasurementUnits == muCentimeters ? 4 : 8;
}

int TqvRulerPanel::ToTwips(int Pixels) const {
  return Pixels * 1440 / (FRichEdit ? FRichEdit->ScreenPixelsPerInch() : 96);
}

int TqvRulerPanel::ToPixels(int Twips) const {
  return Twips * (FRichEdit ? FRichEdit->ScreenPixelsPerInch() : 96) / 1440;
}

void TqvRulerPanel::Paint() {
  TPanel::Paint();
  if (FRichEdit == nullptr) return;
  TCanvas* C = Canvas();
  const TRect& R = FRulerRect;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clWhite);
  C->FillRect(R);
  // A sunken edge round the strip.
  auto Line = [&](TColor Colour, int X1, int Y1, int X2, int Y2) {
    C->Pen()->SetColor(Colour);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  Line(clBtnShadow, R.Left - 1, R.Bottom, R.Left - 1, R.Top - 1);
  Line(clBtnShadow, R.Left - 1, R.Top - 1, R.Right + 1, R.Top - 1);
  Line(clBlack, R.Left, R.Bottom - 1, R.Left, R.Top);
  Line(clBlack, R.Left, R.Top, R.Right, R.Top);
  Line(clBtnFace, R.Left - 1, R.Bottom, R.Right, R.Bottom);
  Line(clBtnFace, R.Right, R.Bottom, R.Right, R.Top - 1);
  Line(clBtnHighlight, R.Left - 2, R.Bottom + 1, R.Right + 1, R.Bottom + 1);
  Line(clBtnHighlight, R.Right + 1, R.Bottom + 1, R.Right + 1, R.Top - 2);

  double P = PixelsPerUnit();
  int Ticks = TicksPerUnit();
  double Extent;
  if (FRichEdit->UsesPrinterWidth()) {
    HDC DC = Printer()->Handle();
    POINT Size{};
    Escape(DC, GETPHYSPAGESIZE, 0, nullptr, &Size);
    double PageTwips = double(Size.x) * 1440 / GetDeviceCaps(DC, LOGPIXELSX);
    double Margins =
        FRichEdit->MeasureToTwips(FloatToStr(FRichEdit->PrintMargins()->Left + FRichEdit->PrintMargins()->Right));
    Extent = (PageTwips - Margins) / 1440;
    if (FRichEdit->MeasurementUnits == muCentimeters) Extent *= kCentimetreFactor;
  } else {
    Extent = (FRichEdit->Width() - 12) / P;
  }
  C->Brush()->SetStyle(bsClear);
  C->Font()->Assign(Font());
  C->Pen()->SetColor(clBlack);
  for (int i = 0; i <= int(Extent) + 1 && i < Extent; ++i) {
    if (i > 0) {
      String Number = IntToStr(i);
      C->TextOut(int(i * P + R.Left - C->TextWidth(Number) / 2.0), R.Top + 3, Number);
    }
    for (int j = 1; j < Ticks && i + double(j) / Ticks < Extent; ++j) {
      int X = int((i + double(j) / Ticks) * P) + R.Left;
      bool Middle = j == Ticks / 2;
      C->MoveTo(X, R.Top + (Middle ? 7 : 8));
      C->LineTo(X, R.Bottom - (Middle ? 5 : 7));
    }
  }
}

void TqvRulerPanel::SetPrinterWidth(TqvCustomRichEdit* RichEdit) {
  HDC DC = Printer()->Handle();
  POINT Size{};
  Escape(DC, GETPHYSPAGESIZE, 0, nullptr, &Size);
  double PageInches = double(Size.x) / GetDeviceCaps(DC, LOGPIXELSX);
  double MarginInches =
      RichEdit->MeasureToTwips(FloatToStr(RichEdit->PrintMargins()->Left + RichEdit->PrintMargins()->Right)) / 1440.0;
  SetWidth(int(RichEdit->ScreenPixelsPerInch() * (PageInches - MarginInches)) + 12);
  UpdateRulerRect();
  for (TqvTrackIcon* Marker : {FLeftMarker, FRightMarker, FFirstLineMarker}) {
    if (Marker) Marker->MaxValue = FRulerRect.Right - Half(Marker);
  }
}

void TqvRulerPanel::FollowParagraph() {
  if (FRichEdit == nullptr || !FLeftMarker || !FRightMarker || !FFirstLineMarker) return;
  int Offset = 0, Right = 0, Start = 0;
  FRichEdit->GetParaIndents(Offset, Right, Start);
  FLeftMarker->SetLeft(FRulerRect.Left + ToPixels(Offset) + ToPixels(Start) - Half(FLeftMarker));
  FRightMarker->SetLeft(Width() - ToPixels(Right) - FRightMarker->Width());
  FFirstLineMarker->SetLeft(FRulerRect.Left + ToPixels(Start) - Half(FFirstLineMarker));
}

void TqvRulerPanel::MarkerDragged(TObject* Marker) {
  if (FRichEdit == nullptr || !FLeftMarker || !FRightMarker || !FFirstLineMarker) return;
  double P = PixelsPerUnit();
  int Step = 1000 / TicksPerUnit();
  // Each marker's centre at the tick at or below it.
  auto Snapped = [&](TqvTrackIcon* M) {
    double Units = (M->Left() + Half(M)) / P;
    long long Thousandths = static_cast<long long>(Units * 1000);
    Thousandths -= Thousandths % Step;
    int X = int(P * (double(Thousandths) / 1000) + 1);
    return M->MaxValue != 0 ? std::min(X, M->MaxValue) : X;
  };
  int L = Snapped(FLeftMarker);
  int R = Snapped(FRightMarker);
  int F = Snapped(FFirstLineMarker);
  if (Marker == FLeftMarker) {
    FLeftMarker->SetLeft(std::min(L, R - kMarkerGap));
  } else if (Marker == FRightMarker) {
    int Others = std::max(L, F);
    FRightMarker->SetLeft(Others > R - kMarkerGap ? Others + kMarkerGap : R);
  } else if (Marker == FFirstLineMarker) {
    FFirstLineMarker->SetLeft(std::min(F, R - kMarkerGap));
  } else {
    return;
  }
  if (Marker == FRightMarker) {
    int X;
    if (FRichEdit->UsesPrinterWidth())
      X = FRightMarker->MaxValue + (FRightMarker->Width() & ~1) - FRichEdit->GutterWidth() - FRightMarker->Left() - 4;
    else
      X = FRichEdit->Width() + Half(FRightMarker) - FRichEdit->GutterWidth() - FRightMarker->Left() - 4;
    FRichEdit->SetParaFormat(8, qpaLeft, false, 0, ToTwips(X), 0, 0, nullptr, 0, 0, 0, 0);
  } else {
    int A = ToTwips(FLeftMarker->Left() - FLeftMarker->MinValue);
    int B = ToTwips(FFirstLineMarker->Left() - FFirstLineMarker->MinValue);
    A = A + std::min(-B, A);
    FRichEdit->SetParaFormat(20, qpaLeft, false, A, 0, B, 0, nullptr, 0, 0, 0, 0);
  }
}
