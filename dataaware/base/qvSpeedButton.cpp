// This file implements TqvSpeedButton and TqvDisabledTextColors (see qvSpeedButton.h).
#include "qvSpeedButton.h"

#include "ActnList.h"
#include "qvControlUtils.h"
#include "qvPropAccess.h"
#include "qvThemes.h"

// --- TqvDisabledTextColors ----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvDisabledTextColors)
VELBOR_PUBLISHED(TqvDisabledTextColors,
  Prop("ShadeColor", &Self::ShadeColor, &Self::SetShadeColor).Default(clGray).Idents(ColorIdents),
  Prop("HighlightColor", &Self::HighlightColor, &Self::SetHighlightColor).Default(clBtnHighlight).Idents(ColorIdents))

void TqvDisabledTextColors::SetShadeColor(TColor Value) {
  if (FShadeColor == Value) return;
  FShadeColor = Value;
  Changed();
}

void TqvDisabledTextColors::SetHighlightColor(TColor Value) {
  if (FHighlightColor == Value) return;
  FHighlightColor = Value;
  Changed();
}

void TqvDisabledTextColors::Assign(TPersistent* Source) {
  if (auto* Colors = dynamic_cast<TqvDisabledTextColors*>(Source)) {
    FShadeColor = Colors->FShadeColor;
    FHighlightColor = Colors->FHighlightColor;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

TPersistent* TqvDisabledTextColors::GetOwner() { return FOwner; }

void TqvDisabledTextColors::Changed() {
  if (FOwner != nullptr) FOwner->Invalidate();
}

// --- TqvSpeedButton ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvSpeedButton)
VELBOR_PUBLISHED(TqvSpeedButton,
  Prop("Action", static_cast<TComponent* (TqvSpeedButton::*)() const>(&TqvSpeedButton::Action), &Self::SetAction),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("ImageIndex", &Self::GetImageIndex, &Self::SetImageIndex).Default(-1),
  Prop("Margin", &Self::Margin, &Self::SetMargin).Default(-1),
  Prop("NumGlyphs", &Self::NumGlyphs, &Self::SetNumGlyphs).Default(1),
  Prop("ShowText", &Self::ShowText, &Self::SetShowText).Default(false),
  Prop("Spacing", &Self::Spacing, &Self::SetSpacing).Default(4),
  Prop("DisabledTextColors", &Self::DisabledTextColors, &Self::SetDisabledTextColors))

TqvSpeedButton::TqvSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  // No double clicks: a second quick click arrives as a click.
  ControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csReplicatable};
  SetBounds(Left(), Top(), 25, 25);
  FDisabledTextColors = new TqvDisabledTextColors(this);
}

TqvSpeedButton::~TqvSpeedButton() { delete FDisabledTextColors; }

void TqvSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  Invalidate();
}

void TqvSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TqvSpeedButton::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Invalidate();
}

void TqvSpeedButton::SetImageList(TCustomImageList* Value) {
  if (FImageList == Value) return;
  if (FImageList != nullptr) FImageList->RemoveFreeNotification(this);
  FImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Invalidate();
}

void TqvSpeedButton::SetMargin(int Value) {
  if (FMargin == Value) return;
  FMargin = Value;
  Invalidate();
}

void TqvSpeedButton::SetNumGlyphs(int Value) {
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TqvSpeedButton::SetShowText(bool Value) {
  if (FShowText == Value) return;
  FShowText = Value;
  Invalidate();
}

void TqvSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TqvSpeedButton::SetAction(TComponent* Value) {
  TGraphicControl::SetAction(Value);
  if (Value != nullptr) ActionChange();
}

void TqvSpeedButton::ActionChange() {
  auto* Action = dynamic_cast<TCustomAction*>(this->Action());
  if (Action == nullptr || Action->ActionList() == nullptr || FImageList == nullptr) return;
  if (Action->ActionList()->Images() != FImageList) return;
  int Index = Action->ImageIndex();
  if (Index >= 0 && Index < FImageList->Count()) SetImageIndex(Index);
}

void TqvSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

bool TqvSpeedButton::Pressed() const { return ControlState.Contains(csLButtonDown) && FMouseInside; }

int TqvSpeedButton::PaintImageIndex() const {
  // The index stored (a descendant may read it otherwise), moved to the state's image; no glyph
  // stays no glyph, whatever the state.
  int Index = FImageIndex;
  if (Index < 0) return -1;
  if (!Enabled()) {
    if (FNumGlyphs > 1) Index += 1;
  } else if (Pressed()) {
    if (FNumGlyphs > 2) Index += 2;
  } else if (FMouseInside) {
    if (FNumGlyphs > 3) Index += 3;
  }
  return Index;
}

void TqvSpeedButton::PaintFrame(TRect& R, bool ThemedParent, bool& ThemedDrawn, int& PressOffset) {
  HDC DC = Canvas()->Handle();
  bool Press = Pressed();
  bool Designing = ComponentState().Contains(csDesigning);
  PressOffset = FFlat ? 1 : 2;
  if (ThemedParent) {
    bool ParentTransparent = Parent() && qvGetTransparent(Parent());
    if (ParentTransparent) {
      ThemedDrawn = true;
      return;
    }
    // The parent's face under the button, then the theme's button over it.
    Canvas()->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(R);
    int State = !Enabled() ? qvThemeDisabled : Press ? qvThemePressed : FMouseInside ? qvThemeHot : qvThemeNormal;
    ThemedDrawn = FFlat ? qvDrawThemePart(DC, "TOOLBAR", qvThemeToolbarButton, State, R)
                        : qvDrawThemePart(DC, "BUTTON", qvThemeButtonPushButton, State, R);
    if (ThemedDrawn) return;
  }
  if (FFlat) {
    if ((FMouseInside && Enabled()) || Designing) {
      RECT Edge = R;
      DrawEdge(DC, &Edge, Press ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  } else {
    RECT Face = R;
    DrawFrameControl(DC, &Face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (Press ? DFCS_PUSHED : 0));
    R = TRect(Face);
  }
}

void TqvSpeedButton::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  bool ThemedParent = qvThemesEnabledFor(Parent());
  bool ThemedDrawn = false;
  int PressOffset = 0;
  PaintFrame(R, ThemedParent, ThemedDrawn, PressOffset);

  C->Brush()->SetStyle(bsClear);
  if (FMargin != -1) R = TRect(R.Left + FMargin, R.Top + FMargin, R.Right + FMargin, R.Bottom + FMargin);
  if (Pressed()) R = TRect(R.Left + PressOffset, R.Top + PressOffset, R.Right + PressOffset, R.Bottom + PressOffset);

  int Index = PaintImageIndex();
  bool Glyph = FImageList != nullptr && Index != -1;
  TRect G = R;
  if (FMargin == -1 && FImageList != nullptr) {
    int W = FImageList->Width(), H = FImageList->Height();
    G = Bounds(R.Left + (R.Width() - W) / 2, R.Top + (R.Height() - H) / 2, W, H);
  }
  G = TRect(G.Left + (G.Width() % 2 != 0 ? 1 : 0), G.Top + 1, G.Right + (G.Width() % 2 != 0 ? 1 : 0), G.Bottom + 1);

  String Text = Caption();
  bool ShowCaption = FShowText && !Text.empty();
  TRect T = R;
  // The button's font, selected for the measure and the drawing of the caption.
  HDC DC = C->Handle();
  TSelectedObject CaptionFont(DC, ShowCaption ? Font()->Handle() : nullptr);
  if (ShowCaption) {
    SIZE Extent{};
    GetTextExtentPoint32A(DC, Text.c_str(), int(Text.size()), &Extent);
    int Shift = Extent.cy / 2 + FSpacing / 2;
    G = TRect(G.Left, G.Top - Shift, G.Right, G.Bottom - Shift);
    if (FMargin == -1)
      T = Bounds(R.Left + (R.Width() - Extent.cx) / 2, R.Top + (R.Height() - Extent.cy) / 2, Extent.cx, Extent.cy);
    if (Glyph) T = TRect(T.Left, T.Top + Shift, T.Right, T.Bottom + Shift);
  }

  if (Glyph && Index < FImageList->Count()) FImageList->Draw(C, G.Left, G.Top, Index, true);

  if (!ShowCaption) return;
  SetBkMode(DC, TRANSPARENT);
  const UINT Format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (Enabled()) {
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(T), Format);
    return;
  }
  // Embossed: the highlight one pixel right and down, the shade on top.
  TRect Shifted(T.Left + 1, T.Top + 1, T.Right + 1, T.Bottom + 1);
  SetTextColor(DC, ColorToRGB(FDisabledTextColors->HighlightColor()));
  DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(Shifted), Format);
  SetTextColor(DC, ColorToRGB(FDisabledTextColors->ShadeColor()));
  DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(T), Format);
}

void TqvSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  Repaint();
}

void TqvSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  Repaint();
}

void TqvSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}

void TqvSpeedButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FMouseInside = true;
  Repaint();
}

void TqvSpeedButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FMouseInside = false;
  Repaint();
}
