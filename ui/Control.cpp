// This file implements TControl: bounds and constraints, font, colour and hint inheritance from
// the parent, visibility and enabling, the popup-menu reference, and the dynamic methods that fire
// the mouse events.
#include <algorithm>

#include "Controls.h"
#include "Format.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

const TIntIdents CursorIdents = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & 0x20000000) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

TShiftState MouseKeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

// --- TSizeConstraints -----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TSizeConstraints)
VELBOR_PUBLISHED(TSizeConstraints,
  Prop("MaxHeight", &Self::MaxHeight, &Self::SetMaxHeight).Default(0),
  Prop("MaxWidth", &Self::MaxWidth, &Self::SetMaxWidth).Default(0),
  Prop("MinHeight", &Self::MinHeight, &Self::SetMinHeight).Default(0),
  Prop("MinWidth", &Self::MinWidth, &Self::SetMinWidth).Default(0))

void TSizeConstraints::SetMaxHeight(int Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = std::max(Value, 0);
  if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMinHeight = FMaxHeight;
  Change();
}
void TSizeConstraints::SetMaxWidth(int Value) {
  if (Value == FMaxWidth) return;
  FMaxWidth = std::max(Value, 0);
  if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMinWidth = FMaxWidth;
  Change();
}
void TSizeConstraints::SetMinHeight(int Value) {
  if (Value == FMinHeight) return;
  FMinHeight = std::max(Value, 0);
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  Change();
}
void TSizeConstraints::SetMinWidth(int Value) {
  if (Value == FMinWidth) return;
  FMinWidth = std::max(Value, 0);
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  Change();
}
void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
    FMaxHeight = s->FMaxHeight;
    FMaxWidth = s->FMaxWidth;
    FMinHeight = s->FMinHeight;
    FMinWidth = s->FMinWidth;
    Change();
    return;
  }
  TPersistent::Assign(Source);
}
TPersistent* TSizeConstraints::GetOwner() { return FControl; }
void TSizeConstraints::Change() {
  if (OnChange) OnChange(this);
}

// --- TControl -------------------------------------------------------------------------------

namespace {
bool IsFontStored(TObject* Instance) { return !static_cast<TControl*>(Instance)->ParentFont(); }
bool IsColorStored(TObject* Instance) { return !static_cast<TControl*>(Instance)->ParentColor(); }
bool IsShowHintStored(TObject* Instance) { return !static_cast<TControl*>(Instance)->ParentShowHint(); }
bool IsCaptionStored(TObject* Instance) {
  return static_cast<TControl*>(Instance)->ControlStyle.Contains(csSetCaption) || !static_cast<TControl*>(Instance)->Caption().empty();
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TControl)
VELBOR_PUBLISHED(TControl,
  Prop("Left", &Self::Left, &Self::SetLeft),
  Prop("Top", &Self::Top, &Self::SetTop),
  Prop("Width", &Self::Width, &Self::SetWidth),
  Prop("Height", &Self::Height, &Self::SetHeight),
  Prop("Align", &Self::Align, &Self::SetAlign).Default(alNone),
  Prop("Anchors", &Self::Anchors, &Self::SetAnchors).Default(TAnchors{akLeft, akTop}),
  Prop("Constraints", &Self::Constraints, &Self::SetConstraints),
  Prop("AutoSize", &Self::AutoSize, &Self::SetAutoSize).Default(false),
  Prop("Caption", &Self::Caption, &Self::SetCaption).Stored(&IsCaptionStored),
  Prop("Text", &Self::Text, &Self::SetText).Stored(false),
  Prop("Color", &Self::Color, &Self::SetColor).Idents(ColorIdents).Stored(&IsColorStored),
  Prop("ParentColor", &Self::ParentColor, &Self::SetParentColor).Default(true),
  Prop("Font", &Self::Font, &Self::SetFont).Stored(&IsFontStored),
  Prop("ParentFont", &Self::ParentFont, &Self::SetParentFont).Default(true),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("Hint", &Self::Hint),
  Prop("ShowHint", &Self::ShowHint, &Self::SetShowHint).Stored(&IsShowHintStored),
  Prop("ParentShowHint", &Self::ParentShowHint, &Self::SetParentShowHint).Default(true),
  Prop("PopupMenu", &Self::PopupMenu, &Self::SetPopupMenu),
  Prop("Action", &Self::Action, &Self::SetAction),
  Prop("Cursor", &Self::Cursor, &Self::SetCursor).Idents(CursorIdents).Default(crDefault),
  Prop("HelpContext", &Self::HelpContext).Default(0),
  Prop("OnClick", &Self::OnClick),
  Prop("OnDblClick", &Self::OnDblClick),
  Prop("OnResize", &Self::OnResize),
  Prop("OnMouseDown", &Self::OnMouseDown),
  Prop("OnMouseUp", &Self::OnMouseUp),
  Prop("OnMouseMove", &Self::OnMouseMove),
  Prop("OnMouseWheel", &Self::OnMouseWheel),
  Prop("OnMouseWheelDown", &Self::OnMouseWheelDown),
  Prop("OnMouseWheelUp", &Self::OnMouseWheelUp),
  Prop("OnMouseEnter", &Self::OnMouseEnter),
  Prop("OnMouseLeave", &Self::OnMouseLeave))

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
  FFont = new TFont();
  FFont->OwnerObject = this;
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  FConstraints = new TSizeConstraints(this);
  FConstraints->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
  Destroying();
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  SetParent(nullptr);
  delete FActionLink;
  delete FConstraints;
  delete FFont;
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EInvalidOperation("Un contrôle ne peut pas être son propre parent"_a);
  if (FParent) FParent->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) throw EInvalidOperation(Format("Le contrôle '%s' n'a pas de fenêtre parente"_a, {Name()}));
  TPoint p = FParent->ClientOrigin();
  return TPoint(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientToScreen(TPoint P) const {
  TPoint o = ClientOrigin();
  return TPoint(P.X + o.X, P.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint P) const {
  TPoint o = ClientOrigin();
  return TPoint(P.X - o.X, P.Y - o.Y);
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  TAlign old = FAlign;
  FAlign = Value;
  FAnchors = AnchorAlign[Value];
  // Leaving a vertical alignment for a horizontal one (or for none) gives back a usable size.
  if (!ComponentState().Contains(csLoading) && old != alNone && old != alCustom && Value != alNone) {
    if ((old == alTop || old == alBottom) != (Value == alTop || Value == alBottom)) {
      SetBounds(FLeft, FTop, FHeight, FWidth);
    }
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) { return false; }

void TControl::AdjustSize() {
  if (ComponentState().Contains(csLoading) || !FAutoSize) return;
  int w = FWidth, h = FHeight;
  if (CanAutoSize(w, h)) SetBounds(FLeft, FTop, w, h);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetText(const String& Value) {
  if (GetText() == Value) return;
  SetTextImpl(Value);
  Perform(CM_TEXTCHANGED);
}

String TControl::GetText() const { return FText; }
void TControl::SetTextImpl(const String& Value) { FText = Value; }

void TControl::SetShowHint(bool Value) {
  if (FShowHint == Value && !FParentShowHint) return;
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TComponent* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

TRect TControl::ConstrainedBounds(int ALeft, int ATop, int AWidth, int AHeight) const {
  if (FConstraints->MinWidth() > 0 && AWidth < FConstraints->MinWidth()) AWidth = FConstraints->MinWidth();
  if (FConstraints->MaxWidth() > 0 && AWidth > FConstraints->MaxWidth()) AWidth = FConstraints->MaxWidth();
  if (FConstraints->MinHeight() > 0 && AHeight < FConstraints->MinHeight()) AHeight = FConstraints->MinHeight();
  if (FConstraints->MaxHeight() > 0 && AHeight > FConstraints->MaxHeight()) AHeight = FConstraints->MaxHeight();
  return Bounds(ALeft, ATop, AWidth, AHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TRect r = ConstrainedBounds(ALeft, ATop, AWidth, AHeight);
  if (r == BoundsRect()) return;
  Invalidate();
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
}

void TControl::SetClientSize(int AWidth, int AHeight) {
  TRect c = ClientRect();
  SetBounds(FLeft, FTop, FWidth - c.Right + AWidth, FHeight - c.Bottom + AHeight);
}

void TControl::UpdateAnchorRules() {
  if (ComponentState().Contains(csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop} || !FParent) {
    FOriginalParentSize = TPoint(0, 0);
    return;
  }
  if (FAnchors.Contains(akRight)) FAnchorRules.Left = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  else FAnchorRules.Left = FLeft + FWidth / 2;
  if (FAnchors.Contains(akBottom)) FAnchorRules.Top = FAnchors.Contains(akTop) ? FHeight : FTop;
  else FAnchorRules.Top = FTop + FHeight / 2;
  TRect client = FParent->ClientRect();
  FOriginalParentSize = TPoint(client.Right, client.Bottom);
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::Changed() { Perform(CM_CHANGED, 0, LPARAM(this)); }

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
  if (FAutoSize) AdjustSize();
}

void TControl::ReadState(TReader* Reader) {
  ControlState.Include(csReadingState);
  {
    TScopeGuard restore([&] { ControlState.Exclude(csReadingState); });
    TComponent::ReadState(Reader);
  }
  // What the description left to the parent takes the parent's values now.
  if (FParent) {
    if (FParentFont) Perform(CM_PARENTFONTCHANGED);
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
    if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED);
  }
}

TControlActionHooks ControlActionHooks;

void TControl::SetAction(TComponent* Value) {
  if (FAction == Value) return;
  delete FActionLink;
  FActionLink = nullptr;
  if (FAction) FAction->RemoveFreeNotification(this);
  FAction = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  if (ControlActionHooks.MakeLink) FActionLink = ControlActionHooks.MakeLink(this, Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (AComponent == FAction) {
    // The action's own destructor has already let go of the link.
    delete FActionLink;
    FActionLink = nullptr;
    FAction = nullptr;
  }
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::ConstraintsChanged(TObject*) {
  TRect r = ConstrainedBounds(FLeft, FTop, FWidth, FHeight);
  if (r != BoundsRect()) SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  RECT r = BoundsRect();
  InvalidateRect(FParent->Handle(), &r, !ControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  // A window-less control paints on its parent's window: erase there, then paint it at once.
  Invalidate();
  FParent->Update();
}

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost) list.push_back(this);
  else list.insert(list.begin(), this);
  Invalidate();
}

void TControl::SetZOrderPosition(int Position) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  Position = std::clamp(Position, 0, int(list.size()) - 1);
  if (int(it - list.begin()) == Position) return;
  list.erase(it);
  list.insert(list.begin() + Position, this);
  if (auto* win = dynamic_cast<TWinControl*>(this); win && win->FHandle) {
    SetWindowPos(win->FHandle, FParent->PrecedingWindow(win), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

// --- Dynamic methods ------------------------------------------------------------------------

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (!handled) {
    if (WheelDelta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    else if (WheelDelta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  }
  return handled;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}
