// This file implements TSpeedButton: a window-less button that paints its glyph and caption,
// can be flat, and with a GroupIndex stays down, releasing the other buttons of its group.
#include "Buttons.h"

VELBOR_IMPLEMENT_CLASS(TSpeedButton)
VELBOR_PUBLISHED(TSpeedButton,
  Prop("AllowAllUp", &Self::AllowAllUp, &Self::SetAllowAllUp).Default(false),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("Down", &Self::Down, &Self::SetDown).Default(false),
  Prop("Flat", &Self::Flat, &Self::SetFlat).Default(false),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("Layout", &Self::Layout, &Self::SetLayout).Default(blGlyphLeft),
  Prop("Margin", &Self::Margin, &Self::SetMargin).Default(-1),
  Prop("NumGlyphs", &Self::NumGlyphs, &Self::SetNumGlyphs).Default(1),
  Prop("Spacing", &Self::Spacing, &Self::SetSpacing).Default(4))

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  // The click is decided on release (inside the button), not by the base's click events.
  ControlStyle = {csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 23, 22);
  FGlyph = new TBitmap();
  FGlyph->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
}

TSpeedButton::~TSpeedButton() { delete FGlyph; }

void TSpeedButton::GlyphChanged(TObject*) {
  if (!FGlyph->Empty() && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
    int n = FGlyph->Width() / FGlyph->Height();
    if (n >= 1 && n <= 4) FNumGlyphs = n;
  }
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The down button of a group stays down unless the group allows none.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

// Tells the group's other buttons (same parent, same GroupIndex) that this one went down, and
// shares its AllowAllUp with them.
void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this), 0};
  Parent()->Broadcast(m);
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  HDC dc = canvas->Handle();
  canvas->Brush()->SetColor(clBtnFace);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  if (!Enabled()) FState = bsDisabled;
  else if (FState == bsDisabled) FState = FDown ? bsExclusive : bsUp;
  bool pressed = FState == bsDown || FState == bsExclusive;
  RECT face = r;
  if (FFlat) {
    // A flat button shows its edge only when pressed or under the mouse.
    if (pressed) DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
    else if (FMouseInControl && Enabled()) DrawEdge(dc, &face, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&face, -1, -1);
  } else {
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
  }
  TRect content = face;
  if (pressed) content = Rect(content.Left + 1, content.Top + 1, content.Right + 1, content.Bottom + 1);
  canvas->SetFont(Font());
  canvas->TextExtent(" ");  // selects the font into the context
  DrawButtonFace(canvas, content, FGlyph, FNumGlyphs, FState, Caption(), FLayout, FMargin, FSpacing, Enabled());
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  // While the button is held, it shows pressed only with the mouse over it.
  TButtonState wanted = FDown ? bsExclusive : bsUp;
  if (ClientRect().Contains(TPoint(X, Y))) wanted = FDown ? bsExclusive : bsDown;
  if (wanted != FState) {
    FState = wanted;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  bool inside = ClientRect().Contains(TPoint(X, Y));
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (inside) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
  auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
  if (int(Message.WParam) != FGroupIndex || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FMouseInControl = true;
  if (FFlat) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FMouseInControl = false;
  if (FFlat) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
  FState = Enabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled;
  TGraphicControl::Dispatch(Message);
}
