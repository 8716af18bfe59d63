// This file implements the edit frame and button settings and their routines (see qvframe.h).
#include "qvframe.h"

#include <algorithm>
#include <cstdlib>

#include "StdCtrls.h"
#include "qvControlUtils.h"
#include "qvPropAccess.h"

VELBOR_IMPLEMENT_CLASS(TqvEditFrame)
VELBOR_PUBLISHED(TqvEditFrame,
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(false),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("AutoSizeHeightAdjust", &Self::AutoSizeHeightAdjust).Default(0),
  Prop("FocusBorders", &Self::FocusBorders, &Self::SetFocusBorders).Default(qvAllBorders),
  Prop("NonFocusBorders", &Self::NonFocusBorders, &Self::SetNonFocusBorders)
      .Default(TqvEditFrameEnabledSet{efBottomBorder}),
  Prop("FocusStyle", &Self::FocusStyle).Default(efsFrameBox),
  Prop("NonFocusStyle", &Self::NonFocusStyle, &Self::SetNonFocusStyle).Default(efsFrameBox),
  Prop("NonFocusTextOffsetX", &Self::NonFocusTextOffsetX).Default(0),
  Prop("NonFocusTextOffsetY", &Self::NonFocusTextOffsetY).Default(0),
  Prop("NonFocusTransparentFontColor", &Self::NonFocusTransparentFontColor).Default(qvFrameNoColor).Idents(ColorIdents),
  Prop("NonFocusColor", &Self::NonFocusColor).Default(qvFrameNoColor).Idents(ColorIdents),
  Prop("NonFocusFontColor", &Self::NonFocusFontColor).Default(qvFrameNoColor).Idents(ColorIdents),
  Prop("MouseEnterSameAsFocus", &Self::MouseEnterSameAsFocus).Default(false))

VELBOR_IMPLEMENT_CLASS(TqvButtonEffects)
VELBOR_PUBLISHED(TqvButtonEffects,
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("Flat", &Self::Flat, &Self::SetFlat).Default(false))

namespace {

// The controller of the component base makes its frame and button settings by class name.
struct TFrameClassRegistration {
  TFrameClassRegistration() {
    RegisterClass(TqvEditFrame::StaticClass());
    RegisterClass(TqvButtonEffects::StaticClass());
  }
} FrameClassRegistration;

bool IsEdit(TControl* Control) { return dynamic_cast<TCustomEdit*>(Control) != nullptr; }

// A Boolean property of another object, by name; nothing when it has none.
void SetBoolByName(TObject* Object, const char* Name, bool Value) {
  const TPropInfo* Info = GetPropInfo(Object, Name);
  if (Info != nullptr && Info->Kind == tkEnumeration && Info->IsWritable()) SetOrdProp(Object, Info, Value ? 1 : 0);
}

// The control's bounds in its parent's client coordinates, on screen.
TRect ScreenBounds(TControl* Control) {
  TPoint Origin = Control->Parent()->ClientToScreen(TPoint(Control->Left(), Control->Top()));
  return Bounds(Origin.X, Origin.Y, Control->Width(), Control->Height());
}

}  // namespace

// --- TqvEditFrame ---------------------------------------------------------------------------------

TqvEditFrame::TqvEditFrame(TComponent* AOwner) : FControl(dynamic_cast<TWinControl*>(AOwner)) {}

TPersistent* TqvEditFrame::GetOwner() { return FControl; }

void TqvEditFrame::RepaintControl() {
  if (FControl != nullptr && IsEdit(FControl)) FControl->Invalidate();
}

void TqvEditFrame::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (FControl == nullptr || !IsEdit(FControl)) return;
  if (Value) qvSetControlBorderStyle(FControl, false);
  if (FControl->AutoSize()) AdjustHeight();
  FControl->Invalidate();
}

void TqvEditFrame::SetNonFocusBorders(TqvEditFrameEnabledSet Value) {
  FNonFocusBorders = Value;
  if (FControl != nullptr && IsEdit(FControl)) RefreshFrameArea();
}

void TqvEditFrame::SetFocusBorders(TqvEditFrameEnabledSet Value) {
  FFocusBorders = Value;
  RepaintControl();
}

void TqvEditFrame::SetNonFocusStyle(TqvEditFocusStyle Value) {
  if (FNonFocusStyle == Value) return;
  FNonFocusStyle = Value;
  RepaintControl();
}

void TqvEditFrame::SetTransparent(bool Value) {
  if (FTransparent != Value) {
    UseTransparentStyle = Value;
    FTransparent = Value;
    ApplyTransparency();
  }
  // The rich edit takes the style only when its window is made.
  if (FControl != nullptr && FControl->HandleAllocated() && FControl->InheritsFrom("TqvCustomRichEdit"))
    FControl->Perform(CM_RECREATEWND);
}

void TqvEditFrame::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvEditFrame*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  SetEnabled(Other->Enabled());
  SetTransparent(Other->Transparent());
  // A disabled frame keeps its own settings: they only count once it is enabled.
  if (!FEnabled) return;
  EraseParentBackground = Other->EraseParentBackground;
  MouseEnterSameAsFocus = Other->MouseEnterSameAsFocus;
  AutoSizeHeightAdjust = Other->AutoSizeHeightAdjust;
  SetFocusBorders(Other->FocusBorders());
  SetNonFocusBorders(Other->NonFocusBorders());
  FocusStyle = Other->FocusStyle;
  SetNonFocusStyle(Other->NonFocusStyle());
  NonFocusTextOffsetX = Other->NonFocusTextOffsetX;
  NonFocusTextOffsetY = Other->NonFocusTextOffsetY;
  NonFocusTransparentFontColor = Other->NonFocusTransparentFontColor;
  NonFocusColor = Other->NonFocusColor;
  NonFocusFontColor = Other->NonFocusFontColor;
}

bool TqvEditFrame::IsFrameActive() const {
  return FEnabled && FControl != nullptr && !(FControl->Parent() != nullptr && qvIsInGrid(FControl));
}

void TqvEditFrame::AdjustEditRect(TRect& R) const {
  if (IsThinStyle(FocusStyle)) {
    R.Left = 2;
    R.Top = 2;
    if (FFocusBorders.Contains(efRightBorder) && FocusStyle == efsFrameBox) --R.Right;
    return;
  }
  R.Top = 3;
  if (!FFocusBorders.Contains(efLeftBorder)) R.Left = 1;
  else if (FocusStyle == efsFrameSunken || FocusStyle == efsFrameBump) R.Left = 3;
  else R.Left = 2;
  R.Right -= 2;
}

void TqvEditFrame::GetTextOffsets(int& X, int& Y, bool Focused) {
  TqvEditFrameEnabledSet Borders = Focused ? FFocusBorders : FNonFocusBorders;
  TqvEditFocusStyle Style = Focused ? FocusStyle : FNonFocusStyle;
  X = !Borders.Contains(efLeftBorder) ? 1 : IsThinStyle(Style) ? 2 : 3;
  Y = Borders.Contains(efTopBorder) && !IsThinStyle(Style) ? 3 : 2;
  X += NonFocusTextOffsetX;
  Y += NonFocusTextOffsetY;
}

int TqvEditFrame::AutoHeight() const {
  if (FControl == nullptr) return 0;
  int H = FControl->Font()->TextMetrics().tmHeight;
  // Controls are always of the new style here: the system font's height does not count.
  int Extra = qvHasBorder(FControl) ? GetSystemMetrics(SM_CYBORDER) * 8 : 6;
  if (FEnabled) Extra += AutoSizeHeightAdjust;
  return H + Extra;
}

void TqvEditFrame::AdjustHeight() {
  if (FControl != nullptr) FControl->SetHeight(AutoHeight());
}

void TqvEditFrame::RefreshFrameArea() {
  if (FControl == nullptr) return;
  if (FEnabled && FTransparent && FControl->Parent() != nullptr && FControl->Parent()->HandleAllocated()) {
    TRect R = FControl->BoundsRect();
    InvalidateRect(FControl->Parent()->Handle(), AsRECT(R), FALSE);
  } else {
    FControl->Invalidate();
  }
}

void TqvEditFrame::ApplyTransparency() {
  if (!FTransparent || !IsFrameActive() || qvIsDesigning(FControl) || !FControl->HandleAllocated()) return;
  TWinControl* Parent = FControl->Parent();
  if (Parent == nullptr || !Parent->HandleAllocated()) return;
  if (GetWindowLongA(Parent->Handle(), GWL_STYLE) & WS_CLIPCHILDREN) FControl->Perform(CM_RECREATEWND);
}

void TqvEditFrame::RefreshTransparentBackground(bool WholeClient, bool Flag, bool Erase) {
  if (FControl == nullptr || FControl->Parent() == nullptr || !FControl->HandleAllocated()) return;
  TWinControl* Parent = FControl->Parent();
  TRect R = FControl->BoundsRect();
  TRect F;
  if (!WholeClient) {
    RECT Format{};
    SendMessageA(FControl->Handle(), EM_GETRECT, 0, LPARAM(&Format));
    F = Format;
    bool LeftBorder = FNonFocusBorders.Contains(efLeftBorder);
    if (!Flag) {
      R = TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
      if (!LeftBorder) R.Left -= 2;
      R.Bottom += 2;
    } else if (!qvHasBorder(FControl)) {
      R = TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
      if (!LeftBorder) R.Left -= 2;
      bool HasButton = TqvButtonEffects::FromControl(FControl) != nullptr;
      R.Right = HasButton && std::abs(R.Right - F.Right) > 8 ? R.Left + F.Right + 3 : R.Left + F.Right + 1;
    }
  }
  if (ParentIsTransparent(FControl)) {
    InvalidateFrameBackground(FControl);
    return;
  }
  if (Parent->HandleAllocated()) {
    TControl* Under = Parent->ControlAtPos(TPoint(FControl->Left(), FControl->Top()), true, false);
    if (Under != nullptr && dynamic_cast<TWinControl*>(Under) == nullptr) {
      InvalidateRect(Parent->Handle(), AsRECT(R), Erase && EraseParentBackground);
      return;
    }
  }
  // Nothing of the parent's own lies behind: its colour is painted straight into the control.
  TWindowDC DC(FControl->Handle());
  TOwnedBrush Brush(CreateSolidBrush(ColorToRGB(Parent->Color())));
  TRect Fill;
  if (WholeClient) {
    Fill = FControl->ClientRect();
  } else {
    Fill = TRect(F.Left - 1, F.Top - 1, F.Right + 1, F.Bottom + 1);
    if (!FNonFocusBorders.Contains(efLeftBorder)) Fill.Left = std::max(Fill.Left - 1, 0);
    if (FControl->ClientHeight() - F.Bottom >= 4) Fill.Bottom += 2;
  }
  FillRect(DC, AsRECT(Fill), Brush);
}

TqvEditFrame* TqvEditFrame::FromControl(TObject* Control) {
  if (Control == nullptr) return nullptr;
  for (const char* Name : {"Frame", "EditFrame"}) {
    const TPropInfo* Info = GetPropInfo(Control, Name);
    if (Info != nullptr && Info->Kind == tkClass) return dynamic_cast<TqvEditFrame*>(GetObjectProp(Control, Info));
  }
  return nullptr;
}

// --- TqvButtonEffects -----------------------------------------------------------------------------

TqvButtonEffects::TqvButtonEffects(TComponent* AControl, TControl* AButton) : FControl(AControl), FButton(AButton) {}

void TqvButtonEffects::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (FButton == nullptr) return;
  SetBoolByName(FButton, "Transparent", FFlat || Value);
  SetBoolByName(FButton, "Flat", FFlat || FTransparent);
  Changed();
  FButton->Invalidate();
}

void TqvButtonEffects::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  if (FButton == nullptr) return;
  SetBoolByName(FButton, "Flat", Value || FTransparent);
  Changed();
  FButton->Invalidate();
}

void TqvButtonEffects::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvButtonEffects*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  SetFlat(Other->Flat());
  SetTransparent(Other->Transparent());
}

TqvButtonEffects* TqvButtonEffects::FromControl(TObject* Control) {
  if (Control == nullptr) return nullptr;
  const TPropInfo* Info = GetPropInfo(Control, "ButtonEffects");
  if (Info == nullptr || Info->Kind != tkClass) return nullptr;
  return dynamic_cast<TqvButtonEffects*>(GetObjectProp(Control, Info));
}

// --- Routines -------------------------------------------------------------------------------------

bool ParentIsTransparent(TControl* Control) {
  TWinControl* Parent = Control != nullptr ? Control->Parent() : nullptr;
  return Parent != nullptr && Parent->HandleAllocated() &&
         (GetWindowLongA(Parent->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

void PaintEditFrame(TWinControl* Edit, TqvEditFrame* Frame, TCanvas* Canvas, bool Focused) {
  TRect R = Edit->ClientRect();
  TqvEditFrameEnabledSet Borders = Focused ? Frame->FocusBorders() : Frame->NonFocusBorders();
  TqvEditFocusStyle Style = Focused ? Frame->FocusStyle : Frame->NonFocusStyle();
  if (!Borders.Contains(efRightBorder) && Frame->Transparent()) R.Right -= 2;
  UINT Flags = Borders.Bits();
  UINT Edge = EDGE_SUNKEN;
  switch (Style) {
    case efsFrameBox: Flags |= BF_MONO; break;
    case efsFrameSunken: break;
    case efsFrameRaised: Edge = EDGE_RAISED; break;
    case efsFrameEtched: Edge = EDGE_ETCHED; break;
    case efsFrameBump: Edge = EDGE_BUMP; break;
    case efsFrameSingle:
      Edge = BDR_SUNKENOUTER;
      Flags |= BF_MONO;
      break;
  }
  DrawEdge(Canvas->Handle(), AsRECT(R), Edge, Flags);
}

void InvalidateTransparentParents(TControl* Control, bool Erase) {
  if (Control == nullptr || Control->Parent() == nullptr) return;
  TRect Screen = ScreenBounds(Control);
  for (TWinControl* Ancestor = Control->Parent(); Ancestor != nullptr; Ancestor = Ancestor->Parent()) {
    if (!Ancestor->HandleAllocated()) break;
    TPoint TopLeft = Ancestor->ScreenToClient(Screen.TopLeft());
    TRect R = Bounds(TopLeft.X, TopLeft.Y, Screen.Width(), Screen.Height());
    InvalidateRect(Ancestor->Handle(), AsRECT(R), Erase);
    if ((GetWindowLongA(Ancestor->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) == 0) break;
  }
}

void InvalidateFrameBackground(TControl* Control) {
  TqvEditFrame* Frame = TqvEditFrame::FromControl(Control);
  InvalidateTransparentParents(Control, Frame != nullptr && Frame->EraseParentBackground);
}
