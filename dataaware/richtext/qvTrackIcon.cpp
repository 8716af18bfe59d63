// This file implements TqvTrackIcon, the draggable marker bitmap.
#include "qvTrackIcon.h"

#include "ScopeGuard.h"

#include "Forms.h"

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
  if (Shift.Contains(ssLeft)) Track(X, Y);
}

int TqvTrackIcon::Clamp(int Value) const {
  if (MinValue != 0 && Value < MinValue) return MinValue;
  if (MaxValue != 0 && Value > MaxValue) return MaxValue;
  return Value;
}

// A loop of its own while the button is down: the icon follows the pointer (the moves are not
// handed on), and everything else is handled as usual.
void TqvTrackIcon::Track(int X0, int Y0) {
  TCustomForm* Form = GetParentForm(this);
  if (Form == nullptr) return;
  HWND Window = Form->Handle();
  SetCapture(Window);
  TScopeGuard Release([&] {
    if (GetCapture() == Window) ReleaseCapture();
  });
  bool Moved = false;
  int StartLeft = Left();
  while (GetCapture() == Window) {
    MSG Msg{};
    if (GetMessageA(&Msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(int(Msg.wParam));
      break;
    }
    POINT Cursor{};
    GetCursorPos(&Cursor);
    TPoint At = ScreenToClient(TPoint(Cursor.x, Cursor.y));
    if (Msg.message == WM_MOUSEMOVE) {
      if (!Moved && At.X == X0 && At.Y == Y0) continue;
      Moved = true;
      SetLeft(Clamp(At.X + Left() - X0));
      continue;
    }
    if (Msg.message == WM_LBUTTONUP) {
      // Back where it started, the icon has not moved.
      if (Left() != StartLeft && OnEndDrag) OnEndDrag(this);
      ReleaseCapture();
    }
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}
