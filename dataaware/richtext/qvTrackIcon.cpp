// This file implements TqvTrackIcon, the draggable marker bitmap.
#include "qvTrackIcon.h"

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TqvTrackIcon)
VELBOR_PUBLISHED(TqvTrackIcon,
  Prop("BitmapName", &Self::BitmapName, &Self::SetBitmapName),
  Prop("MinValue", &Self::MinValue).Default(0),
  Prop("MaxValue", &Self::MaxValue).Default(0),
  Prop("OnEndDrag", &Self::OnEndDrag))

TqvTrackIcon::TqvTrackIcon(TComponent* AOwner) : TGraphicControl(AOwner), FBitmap(new TBitmap) {
  SetBounds(0, 0, 11, 11);
}

TqvTrackIcon::~TqvTrackIcon() { delete FBitmap; }

void TqvTrackIcon::SetBitmapName(const String& Value) {
  if (FBitmapName == Value) return;
  FBitmapName = Value;
  if (!Value.empty()) {
    FBitmap->LoadFromResourceName(GetModuleHandleA(nullptr), Value);
    SetBounds(Left(), Top(), FBitmap->Width(), FBitmap->Height());
  }
  Invalidate();
}

// The bitmap at its own size; the colour of its bottom-left pixel lets the background through.
void TqvTrackIcon::Paint() {
  if (FBitmap->Empty()) return;
  TCanvas* C = Canvas();
  C->Lock();
  TScopeGuard Unlock([&] { C->Unlock(); });
  C->Brush()->SetStyle(bsClear);
  TColor Transparent = FBitmap->Canvas()->Pixels(0, FBitmap->Height() - 1);
  C->BrushCopy(TRect(0, 0, FBitmap->Width(), FBitmap->Height()), FBitmap,
               TRect(0, 0, FBitmap->Width(), FBitmap->Height()), Transparent);
}

void TqvTrackIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FTracking = true;
  FGrabX = X;
  FStartLeft = Left();
}

int TqvTrackIcon::Clamp(int Value) const {
  if (MinValue != 0 && Value < MinValue) return MinValue;
  if (MaxValue != 0 && Value > MaxValue) return MaxValue;
  return Value;
}

void TqvTrackIcon::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FTracking) return;
  if (!Shift.Contains(ssLeft)) {
    // The release went elsewhere (the capture was taken away): the drag is over where it is.
    FTracking = false;
    return;
  }
  int NewLeft = Clamp(Left() + X - FGrabX);
  if (NewLeft != Left()) SetLeft(NewLeft);
}

void TqvTrackIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FTracking) return;
  FTracking = false;
  // Back where it started, the icon has not moved.
  if (Left() != FStartLeft && OnEndDrag) OnEndDrag(this);
}
