// This file implements the data-aware edit with a dialog button (see Qvdotdot.h).
#include "Qvdotdot.h"

#include <algorithm>

#include "Forms.h"
#include "Resources.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"
#include "qvThemes.h"

VELBOR_IMPLEMENT_CLASS(TBtnWinControl)
VELBOR_PUBLISHED(TBtnWinControl,
  Prop("DisableThemes", &Self::DisableThemes, &Self::SetDisableThemes).Stored(false))

VELBOR_IMPLEMENT_CLASS(TqvComboDlgButton)
VELBOR_IMPLEMENT_CLASS(TqvComboButtonEffects)
VELBOR_IMPLEMENT_CLASS(TqvDBCustomCombo)

namespace {
bool IsGlyphStored(TObject* Instance) { return static_cast<TqvDBCustomCombo*>(Instance)->IsButtonGlyphStored(); }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvDBComboDlg)
VELBOR_PUBLISHED(TqvDBComboDlg,
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  Prop("OnCustomDlg", &Self::OnCustomDlg),
  Prop("AutoEnableEdit", &Self::AutoEnableEdit).Default(true),
  Prop("ShowButton", &Self::ShowButton, &Self::SetShowButton),
  Prop("Style", &Self::Style, &Self::SetStyle),
  Prop("ButtonStyle", &Self::ButtonStyle, &Self::SetButtonStyle).Default(cbsEllipsis),
  Prop("AutoFillDate", &Self::AutoFillDate).Default(true),
  Prop("ButtonEffects", &Self::ButtonEffects, &Self::SetButtonEffects),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("ButtonWidth", &Self::ButtonWidth, &Self::SetButtonWidth).Default(0),
  Prop("ButtonGlyph", &Self::ButtonGlyph, &Self::SetButtonGlyph).Stored(&IsGlyphStored),
  Prop("EditAlignment", &Self::EditAlignment, &Self::SetEditAlignment).Default(eaLeftAlignEditing),
  Prop("LimitEditRect", &Self::LimitEditRect, &Self::SetLimitEditRect).Default(false),
  Prop("Picture", &Self::GetPicture, &Self::SetPicture),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap),
  Prop("UnboundDataType", &Self::UnboundDataType, &Self::SetUnboundDataType).Default(qvDefault),
  Prop("UsePictureMask", &Self::UsePictureMask, &Self::SetUsePictureMask).Default(true),
  Prop("UnboundAlignment", &Self::UnboundAlignment, &Self::SetUnboundAlignment).Default(taLeftJustify))

namespace {

struct TDotDotClassRegistration {
  TDotDotClassRegistration() { RegisterClass(TqvDBComboDlg::StaticClass()); }
} DotDotClassRegistration;

// A control's bounds in its parent's client coordinates, for a window inside another control.
TRect BoundsIn(TWinControl* Target, TControl* Control) {
  TPoint Origin = Target->ScreenToClient(Control->ClientOrigin());
  return Bounds(Origin.X, Origin.Y, Control->Width(), Control->Height());
}

bool FlatOrTransparent(TqvButtonEffects* Effects) { return Effects->Flat() || Effects->Transparent(); }

}  // namespace

int qvDefaultComboButtonWidth() { return std::max(GetSystemMetrics(SM_CXVSCROLL), 15); }

// --- TBtnWinControl ---------------------------------------------------------------------------------

TBtnWinControl::TBtnWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

TqvDBCustomCombo* TBtnWinControl::Combo() const { return dynamic_cast<TqvDBCustomCombo*>(Owner()); }

bool TBtnWinControl::DisableThemes() const { return Combo() != nullptr && Combo()->DisableThemes; }

void TBtnWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TBtnWinControl::WMEraseBkgnd(TMessage& Message) {
  TqvDBCustomCombo* C = Combo();
  if (C == nullptr) {
    TWinControl::Dispatch(Message);
    return;
  }
  if (C->FRepaintingParent) {
    Message.Result = 1;
    return;
  }
  bool GridCopy = C->Parent() != nullptr && qvIsGridPaintCopy(C);
  if (!GridCopy && !C->IsTransparentFrame()) {
    TWinControl::Dispatch(Message);
    return;
  }
  TWinControl* Behind = C->Parent();
  if (!GridCopy && FlatOrTransparent(C->ButtonEffects()) && C->Button()->State() == bsDown && Behind != nullptr &&
      Behind->HandleAllocated()) {
    // What the flat button shows through is the combo's parent: it paints that area first.
    TRect Area = BoundsIn(Behind, this);
    InvalidateRect(Behind->Handle(), AsRECT(Area), FALSE);
    C->FRepaintingParent = true;
    TScopeGuard Restore([&] { C->FRepaintingParent = false; });
    Behind->Update();
  }
  Message.Result = 1;
}

void TBtnWinControl::CMMouseLeave(TMessage& Message) {
  TWinControl::Dispatch(Message);
  TqvDBCustomCombo* C = Combo();
  if (C == nullptr) return;
  if (C->ButtonEffects()->Flat() && !C->FocusedState() && C->IsTransparentFrame()) {
    TWinControl* Behind = C->Parent();
    if (ParentIsTransparent(this)) {
      InvalidateFrameBackground(this);
    } else if (Behind != nullptr && Behind->HandleAllocated()) {
      TRect Area = BoundsIn(Behind, this);
      if (C->BorderStyle() == bsSingle) OffsetRect(AsRECT(Area), 2, 2);
      InvalidateRect(Behind->Handle(), AsRECT(Area), TRUE);
    }
  }
  Invalidate();
}

// --- TqvComboDlgButton ------------------------------------------------------------------------------

TqvDBCustomCombo* TqvComboDlgButton::Combo() const {
  auto* Holder = dynamic_cast<TBtnWinControl*>(Parent());
  return Holder != nullptr ? Holder->Combo() : nullptr;
}

void TqvComboDlgButton::Paint() {
  TqvDBCustomCombo* C = Combo();
  if (C == nullptr) {
    TqvComboButton::Paint();
    return;
  }
  if (C->FRepaintingParent) return;
  bool InGrid = C->Parent() != nullptr && qvIsInGrid(C);
  if (ControlState.Contains(csPaintCopy) && InGrid && !ComponentState().Contains(csDesigning)) return;
  NormaliseState();
  C->FButtonHot = MouseInControl();
  bool Themes = qvThemesEnabledFor(this);
  bool GridParent = C->Parent() != nullptr && qvClassInheritsFrom(C->Parent()->ClassType(), "TqvDBGrid");
  bool Hot = C->FButtonHot;
  bool Focused = C->FocusedState();
  TqvButtonEffects* Effects = C->ButtonEffects();
  bool DefaultPaint = true;
  TRect R = ClientRect();
  if ((Glyph()->Empty() || Hot || Focused || GridParent) &&
      (!Effects->Transparent() || C->ButtonStyle() != cbsDownArrow) && !Themes) {
    C->PaintButtonFace(Canvas(), R, DefaultPaint, C->ControlState, FState);
  }
  if (DefaultPaint) {
    EllipsisStyle = C->ButtonStyle() == cbsEllipsis;
    TqvComboButton::Paint();
  }
  if ((Hot || !Effects->Flat() || Focused || GridParent) && !Themes) {
    DrawEdge(Canvas()->Handle(), AsRECT(R), FState == bsDown ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  }
}

void TqvComboDlgButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvComboButton::MouseDown(Button, Shift, X, Y);
}

void TqvComboDlgButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvComboButton::MouseUp(Button, Shift, X, Y);
  if (TqvDBCustomCombo* C = Combo()) C->RefreshButtonArea();
}

// --- TqvComboButtonEffects --------------------------------------------------------------------------

void TqvComboButtonEffects::Changed() {
  if (auto* Combo = dynamic_cast<TqvDBCustomCombo*>(Control())) Combo->UpdateButtonGlyph();
}

// --- TqvDBCustomCombo: settings ---------------------------------------------------------------------

TqvDBCustomCombo::TqvDBCustomCombo(TComponent* AOwner) : TqvDBCustomEdit(AOwner) {
  FButtonHolder = new TBtnWinControl(this);
  FButtonHolder->ControlStyle.Include(csReplicatable);
  FButtonHolder->SetParent(this);
  FButtonHolder->SetBounds(0, 0, std::max(GetSystemMetrics(SM_CXVSCROLL) + 4, 17), 17);
  FButton = new TqvComboDlgButton(this);
  FButton->ControlStyle.Include(csReplicatable);
  FButton->SetParent(FButtonHolder);
  FButton->SetBounds(0, 0, qvDefaultComboButtonWidth(), 17);
  FButton->OnClick = TNotifyEvent(this, &TqvDBCustomCombo::ButtonClick);
  FButton->OnMouseDown = TMouseEvent(this, &TqvDBCustomCombo::EmptyMouseHandler);
  FButton->OnMouseUp = TMouseEvent(this, &TqvDBCustomCombo::EmptyMouseHandler);
  FButtonEffects = new TqvComboButtonEffects(this, FButton);
}

TqvDBCustomCombo::~TqvDBCustomCombo() {
  delete FButtonEffects;
  FButtonEffects = nullptr;
  delete FButton;
  FButton = nullptr;
}

void TqvDBCustomCombo::SetStyle(TqvDBLookupComboStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TqvDBCustomCombo::SetButtonStyle(TqvComboButtonStyle Value) {
  if (FButtonStyle == Value) return;
  FButtonStyle = Value;
  UpdateButtonGlyph();
  FButton->Invalidate();
}

void TqvDBCustomCombo::SetButtonWidth(int Value) {
  if (FButtonWidth == Value) return;
  FButtonWidth = Value;
  FButton->SetWidth(Value != 0 ? Value : qvDefaultComboButtonWidth());
  PositionButton();
}

void TqvDBCustomCombo::SetButtonGlyph(TBitmap* Value) {
  FButton->SetGlyph(Value);
  Invalidate();
}

void TqvDBCustomCombo::SetLimitEditRect(bool Value) {
  if (FLimitEditRect == Value) return;
  FLimitEditRect = Value;
  RecreateWnd();
}

void TqvDBCustomCombo::SetShowButton(bool Value) {
  if (FButtonHolder->Visible() == Value) return;
  FButtonHolder->SetVisible(Value);
  if (Owner() == nullptr || !Owner()->ComponentState().Contains(csLoading)) SetEditRect();
  Invalidate();
}

void TqvDBCustomCombo::UpdateButtonGlyph() {
  if (FButtonStyle == cbsCustom) return;
  TBitmap Glyph;
  if (FButtonStyle == cbsDownArrow && FlatOrTransparent(FButtonEffects) && ResourceExists("QVDROPDOWN", RT_BITMAP))
    Glyph.LoadFromResourceName(MainInstance(), "QVDROPDOWN");
  FButton->SetGlyph(&Glyph);
}

// --- TqvDBCustomCombo: layout -----------------------------------------------------------------------

void TqvDBCustomCombo::PositionButton() {
  int M = Frame()->IsFrameActive() ? 2 : 0;
  int W = FButton->Width();
  if (BorderStyle() == bsSingle) FButtonHolder->SetBounds(Width() - W - 4, M, W, ClientHeight() - M);
  else FButtonHolder->SetBounds(Width() - W - M, M, W, ClientHeight() - 2 * M);
  if (BorderStyle() == bsSingle) FButton->SetBounds(0, 0, W, FButtonHolder->Height());
  else FButton->SetBounds(0, -1, W, FButtonHolder->Height() + 1);
  SetEditRect();
}

void TqvDBCustomCombo::SetEditRect() {
  if (!HandleAllocated()) return;
  TRect R(0, 0, GetShowButton() ? FButtonHolder->Left() - 2 : ClientWidth() - 2, ClientHeight() + 1);
  bool Borderless = BorderStyle() == bsNone;
  if (Frame()->IsFrameActive()) Frame()->AdjustEditRect(R);
  else if (Borderless) R.Left = R.Top = Parent() != nullptr && qvIsInInspector(this) ? 1 : 2;
  if (GetWindowLongA(FHandle, GWL_STYLE) & ES_MULTILINE) {
    SendMessageA(FHandle, EM_SETRECTNP, 0, LPARAM(AsRECT(R)));
  } else {
    // A single-line window knows no formatting rectangle: a right margin keeps its text clear of
    // the button all the same.
    int Right = std::max(0, ClientWidth() - R.Right);
    SendMessageA(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(R.Left, Right));
  }
}

void TqvDBCustomCombo::CreateParams(TCreateParams& Params) {
  TqvDBCustomEdit::CreateParams(Params);
  Params.Style &= ~DWORD(ES_WANTRETURN | ES_AUTOVSCROLL);
  Params.Style |= WS_CLIPCHILDREN;
  if (FLimitEditRect) Params.Style |= ES_MULTILINE;
}

void TqvDBCustomCombo::Loaded() {
  TqvDBCustomEdit::Loaded();
  if (Parent() != nullptr || Owner() != nullptr) PositionButton();
}

// --- TqvDBCustomCombo: drop-down protocol -----------------------------------------------------------

void TqvDBCustomCombo::DropDown() {
  if (!OnCustomDlg) return;
  FDialogOpen = true;
  Invalidate();
  TScopeGuard Closed([&] {
    if (!CanEditText() && HandleAllocated()) HideCaret(FHandle);
    Invalidate();
    FDialogOpen = false;
  });
  if (AutoEnableEdit && DataSource() != nullptr && DataSource()->DataSet() != nullptr) StartEditing();
  OnCustomDlg(this);
}

void TqvDBCustomCombo::CloseUp(bool Accept) {
  if (Accept) SetModified(true);
}

void TqvDBCustomCombo::ButtonClick(TObject*) {
  if (IsDroppedDown()) {
    CloseUp(true);
    return;
  }
  if (CanFocus()) SetFocus();
  TCustomForm* Form = GetParentForm(this);
  bool Active = Focused() || (Form != nullptr && Form->FormStyle() == fsMDIChild && Form->ActiveControl() == this);
  if (Active) DropDown();
}

void TqvDBCustomCombo::HandleDropDownKeys(WORD& Key, TShiftState Shift) {
  if (GetKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
  bool Alt = Shift.Contains(ssAlt);
  bool Toggle = false;
  switch (Key) {
    case VK_F4: Toggle = !Alt; break;
    case VK_UP:
    case VK_DOWN: Toggle = Alt; break;
    case VK_RETURN:
    case VK_ESCAPE:
      if (IsDroppedDown() && !Alt) {
        CloseUp(Key == VK_RETURN);
        Key = 0;
      }
      return;
    default: return;
  }
  if (!Toggle) return;
  if (IsDroppedDown()) CloseUp(true);
  else DropDown();
  Key = 0;
}

void TqvDBCustomCombo::ClickToDropDown(TMessage& Message) {
  TWMMouse Mouse(Message);
  if (!(Parent() != nullptr && qvClassInheritsFrom(Parent()->ClassType(), "TqvCustomDBGrid")) && CanFocus() &&
      !Focused())
    SetFocus();
  if (IsDroppedDown()) CloseUp(true);
  else DropDown();
  if (ControlStyle.Contains(csClickEvents)) ControlState.Include(csClicked);
  MouseDown(mbLeft, MouseKeysToShiftState(Mouse.Keys()), Mouse.XPos(), Mouse.YPos());
}

void TqvDBCustomCombo::KeyDown(WORD& Key, TShiftState Shift) {
  HandleDropDownKeys(Key, Shift);
  if (Key == 0) return;
  TqvDBCustomEdit::KeyDown(Key, Shift);
  if (Key != 0 && qvIsEditKey(Key) && !CanEditText()) Key = 0;
}

void TqvDBCustomCombo::KeyPress(char& Key) {
  if (IsMasked() && Key == '\t') {
    Key = 0;
    return;
  }
  TqvDBCustomEdit::KeyPress(Key);
}

// --- TqvDBCustomCombo: messages ---------------------------------------------------------------------

void TqvDBCustomCombo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_SETFONT: WMSetFont(Message); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    default: TqvDBCustomEdit::Dispatch(Message); break;
  }
}

void TqvDBCustomCombo::WMPaint(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  FButton->Invalidate();
  if (!(Parent() != nullptr && qvIsInInspector(this)) && FButtonHolder->HandleAllocated()) FButtonHolder->Update();
}

void TqvDBCustomCombo::WMSize(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  PositionButton();
}

void TqvDBCustomCombo::WMSetFocus(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  Invalidate();
}

void TqvDBCustomCombo::WMSetFont(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  SetEditRect();
}

void TqvDBCustomCombo::WMLButtonDown(TMessage& Message) {
  if (AllowsTyping()) TqvDBCustomEdit::Dispatch(Message);
  else ClickToDropDown(Message);
}

void TqvDBCustomCombo::WMLButtonUp(TMessage& Message) {
  if (!AllowsTyping() && MouseCapture()) SetMouseCapture(false);
  TqvDBCustomEdit::Dispatch(Message);
}

void TqvDBCustomCombo::CMEnabledChanged(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  FButton->SetEnabled(Enabled());
}

void TqvDBCustomCombo::CMEnter(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  if (FButtonEffects->Flat()) {
    PositionButton();
    FButton->Invalidate();
  }
}

void TqvDBCustomCombo::CMExit(TMessage& Message) {
  TqvDBCustomEdit::Dispatch(Message);
  if (FButtonEffects->Flat()) FButton->Invalidate();
}

void TqvDBCustomCombo::PaintButtonFace(TCanvas* Canvas, const TRect& R, bool& DefaultPaint,
                                       TControlState ControlState, TButtonState ButtonState) {
  if (FButtonStyle == cbsCustom) return;
  DefaultPaint = false;
  if (FButtonStyle == cbsDownArrow) {
    qvDrawComboArrow(Canvas, R, ButtonState, ControlState, Enabled());
  } else {
    bool Flat = FButton->Flat() && !FButton->MouseInControl() && !FocusedState();
    qvDrawEllipsisButton(Canvas, R, ButtonState, ControlState, FButtonEffects->Transparent(), Flat);
  }
}

void TqvDBCustomCombo::RefreshButtonArea() {
  if (FlatOrTransparent(FButtonEffects) && Parent() != nullptr && Parent()->HandleAllocated() &&
      FButtonHolder->HandleAllocated()) {
    TRect Area = BoundsIn(Parent(), FButtonHolder);
    InvalidateRect(Parent()->Handle(), AsRECT(Area), FALSE);
    if (!ParentIsTransparent(this)) Parent()->Update();
  }
  FButton->Invalidate();
}
