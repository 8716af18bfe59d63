// This file implements TOxSpeedButton and the utility library's switch over visual styles (see
// OxSpeedButton.h).
#include "OxSpeedButton.h"

#include "ActnList.h"
#include "Menus.h"
#include "OxDrawUtils.h"
#include "ScopeGuard.h"
#include "Timer.h"
#include "VisualStyles.h"

// --- Visual styles --------------------------------------------------------------------------

namespace OxThemes {
namespace {
bool Allowed = true;
}  // namespace

void SetAllowed(bool Value) { Allowed = Value; }

bool Active() { return Allowed && VisualStyles::Active(); }

bool DrawElement(HWND Window, HDC DC, const char* ClassName, int Part, int State, const TRect& Rect, TRect* Content) {
  return Active() && VisualStyles::DrawPart(Window, DC, ClassName, Part, State, Rect, Content);
}
}  // namespace OxThemes

namespace {
// Parts and states of the theme classes.
constexpr int ThemeButtonPushButton = 1;  // "BUTTON"
constexpr int ThemeToolbarButton = 1;     // "TOOLBAR"
constexpr int ThemeNormal = 1, ThemeHot = 2, ThemePressed = 3, ThemeDisabled = 4;

// The control under a screen point, disabled ones included.
TControl* ControlAtScreenPoint(TPoint P) {
  TWinControl* window = FindVCLWindow(P);
  if (!window) return nullptr;
  TControl* inner = window->ControlAtPos(window->ScreenToClient(P), true);
  return inner ? inner : window;
}
}  // namespace

// --- TOxSpeedButton -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxSpeedButton)
VELBOR_PUBLISHED(TOxSpeedButton,
  Prop("Action", static_cast<TComponent* (TOxSpeedButton::*)() const>(&TOxSpeedButton::Action),
       &Self::SetAction),
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taCenter),
  Prop("AllowAllUp", &Self::AllowAllUp, &Self::SetAllowAllUp).Default(false),
  Prop("AllowTimer", &Self::AllowTimer, &Self::SetAllowTimer).Default(false),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("Down", &Self::Down, &Self::SetDown).Default(false),
  Prop("DropDownMenu", &Self::DropDownMenu, &Self::SetDropDownMenu),
  Prop("Flat", &Self::Flat, &Self::SetFlat).Default(false),
  Prop("FlatStandard", &Self::FlatStandard, &Self::SetFlatStandard).Default(false),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("GrayedInactive", &Self::GrayedInactive, &Self::SetGrayedInactive).Default(true),
  Prop("GrayNewStyle", &Self::GrayNewStyle, &Self::SetGrayNewStyle).Default(true),
  Prop("HintColor", &Self::HintColor).Default(clInfoBk).Idents(ColorIdents),
  Prop("HotGlyph", &Self::HotGlyph, &Self::SetHotGlyph),
  Prop("HotTrack", &Self::HotTrack).Default(false),
  Prop("HotTrackFont", &Self::HotTrackFont, &Self::SetHotTrackFont),
  Prop("InitPause", &Self::InitPause).Default(500),
  Prop("Layout", &Self::Layout, &Self::SetLayout).Default(blGlyphTop),
  Prop("Margin", &Self::Margin, &Self::SetMargin).Default(-1),
  Prop("MarkDropDown", &Self::MarkDropDown, &Self::SetMarkDropDown).Default(true),
  Prop("MenuPosition", &Self::MenuPosition).Default(dmpBottom),
  Prop("ModalResult", &Self::ModalResult).Default(0).Idents(ModalResultIdents),
  Prop("NumGlyphs", &Self::NumGlyphs, &Self::SetNumGlyphs).Default(1),
  Prop("ParentShowHint", static_cast<bool (TOxSpeedButton::*)() const>(&TOxSpeedButton::ParentShowHint),
       static_cast<void (TOxSpeedButton::*)(bool)>(&TOxSpeedButton::SetParentShowHint)).Default(false),
  Prop("RepeatInterval", &Self::RepeatInterval).Default(100),
  Prop("Spacing", &Self::Spacing, &Self::SetSpacing).Default(1),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(bsAutoDetect),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap).Default(false),
  Prop("OnParentColorChange", &Self::OnParentColorChange))

TOxSpeedButton::TOxSpeedButton(TComponent* AOwner) : TOxGraphicControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 25, 25);
  FGlyph = new TOxButtonGlyph();
  FGlyph->OnChange = TNotifyEvent(this, &TOxSpeedButton::GlyphChanged);
  FDrawImage = new TBitmap();
  FHotGlyph = new TBitmap();
  FSavedGlyph = new TBitmap();
  FHotTrackFont = new TFont();
  FSavedFont = new TFont();
  SetParentShowHint(false);
  SetShowHint(true);
}

TOxSpeedButton::~TOxSpeedButton() {
  // The application's hint colour was lent while the mouse was over the button.
  if (FHotActive && Application.Exists()) Application->HintColor = FSavedHintColor;
  delete FRepeatTimer;
  delete FGlyph;
  delete FDrawImage;
  delete FHotGlyph;
  delete FSavedGlyph;
  delete FHotTrackFont;
  delete FSavedFont;
}

void TOxSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TOxSpeedButton::SetAlignment(TAlignment Value) {
  if (FGlyph->Alignment == Value) return;
  FGlyph->Alignment = Value;
  Invalidate();
}

void TOxSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TOxSpeedButton::SetAllowTimer(bool Value) {
  FAllowTimer = Value;
  if (!Value && FRepeatTimer) {
    delete FRepeatTimer;
    FRepeatTimer = nullptr;
  }
}

void TOxSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The down button of a group stays down unless the group allows none.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    if (FState == obsUp) Invalidate();
    FState = obsExclusive;
  } else {
    FState = obsUp;
  }
  Repaint();
  if (Value) UpdateExclusive();
  Invalidate();
}

void TOxSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TOxSpeedButton::SetDropDownMenu(TPopupMenu* Value) {
  if (FDropDownMenu == Value) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
  if (FMarkDropDown) Invalidate();
}

void TOxSpeedButton::SetMarkDropDown(bool Value) {
  if (FMarkDropDown == Value) return;
  FMarkDropDown = Value;
  Invalidate();
}

void TOxSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TOxSpeedButton::SetFlatStandard(bool Value) {
  if (FFlatStandard == Value) return;
  FFlatStandard = Value;
  Invalidate();
}

void TOxSpeedButton::SetGrayedInactive(bool Value) {
  if (FGrayedInactive == Value) return;
  FGrayedInactive = Value;
  Invalidate();
}

void TOxSpeedButton::SetGrayNewStyle(bool Value) {
  if (FGlyph->GrayNewStyle() == Value) return;
  FGlyph->SetGrayNewStyle(Value);
  Invalidate();
}

void TOxSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  Invalidate();
}

void TOxSpeedButton::SetNumGlyphs(TOxNumGlyphs Value) {
  Value = std::clamp(Value, 1, OxButtonStateCount);
  if (FGlyph->NumGlyphs() == Value) return;
  FGlyph->SetNumGlyphs(Value);
  Invalidate();
}

void TOxSpeedButton::SetHotGlyph(TBitmap* Value) { FHotGlyph->Assign(Value); }

void TOxSpeedButton::SetHotTrackFont(TFont* Value) { FHotTrackFont->Assign(Value); }

void TOxSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TOxSpeedButton::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TOxSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TOxSpeedButton::SetStyle(TButtonStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TOxSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  Invalidate();
}

void TOxSpeedButton::SetWordWrap(bool Value) {
  if (FGlyph->WordWrap == Value) return;
  FGlyph->WordWrap = Value;
  Invalidate();
}

void TOxSpeedButton::SetAction(TComponent* Value) {
  TOxGraphicControl::SetAction(Value);
  if (Value) ActionChange(Value, ComponentState().Contains(csLoading));
}

void TOxSpeedButton::ActionChange(TComponent* Action, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Action);
  if (!action) return;
  if (FGroupIndex != 0 && (!CheckDefaults || !FDown)) SetDown(action->Checked());
  TCustomImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
  if (Glyph()->Empty() && images && action->ImageIndex() >= 0 && action->ImageIndex() < images->Count()) {
    TBitmap image;
    image.SetSize(images->Width(), images->Height());
    image.Canvas()->Brush()->SetColor(clFuchsia);
    image.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
    images->Draw(image.Canvas(), 0, 0, action->ImageIndex());
    image.SetTransparentColor(clFuchsia);
    SetGlyph(&image);
  }
}

// Tells the group's other buttons (same parent, same GroupIndex) that this one went down, and
// shares its AllowAllUp with them.
void TOxSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TControl*>(this)), 0};
  Parent()->Broadcast(m);
}

TOxButtonState TOxSpeedButton::PrebuiltState() const {
  if (!Enabled()) return obsDisabled;
  return FFlat ? obsInactive : obsUp;
}

void TOxSpeedButton::Loaded() {
  TOxGraphicControl::Loaded();
  FGlyph->StateImageIndex(PrebuiltState());
}

void TOxSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TOxGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) {
    FDropDownMenu = nullptr;
    if (FMarkDropDown) Invalidate();
  }
}

// --- Painting ---------------------------------------------------------------------------------

void TOxSpeedButton::Paint() {
  if (!Enabled()) {
    FState = obsDisabled;
    FDragging = false;
  } else if (FState == obsDisabled) {
    FState = FDown && FGroupIndex != 0 ? obsExclusive : obsUp;
  }
  bool designing = ComponentState().Contains(csDesigning);
  TOxButtonState paintState = FFlat && !FMouseInControl && !designing ? obsInactive : FState;
  bool mark = FMarkDropDown && FDropDownMenu;
  TRect client = ClientRect();

  if (OxThemes::Active() && Parent()) {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    canvas->Brush()->SetColor(Parent()->Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
    int state = !Enabled()                                                    ? ThemeDisabled
                : paintState == obsDown || paintState == obsExclusive        ? ThemePressed
                : FMouseInControl                                             ? ThemeHot
                                                                              : ThemeNormal;
    TRect r = client;
    if (!FFlat) r = TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    TRect content;
    bool drawn = FFlat ? OxThemes::DrawElement(nullptr, dc, "TOOLBAR", ThemeToolbarButton, state, r, &content)
                       : OxThemes::DrawElement(nullptr, dc, "BUTTON", ThemeButtonPushButton, state, r, &content);
    if (drawn) {
      canvas->SetFont(Font());
      if (state == ThemePressed) {
        content = TRect(content.Left + 1, content.Top, content.Right + 1, content.Bottom);
        if (FFlat) canvas->Font()->SetColor(clHighlightText);
      }
      DrawFace(canvas, content, mark, paintState);
      return;
    }
  }

  // Drawn off-screen first, then copied in one piece: no flicker.
  FDrawImage->SetSize(Width(), Height());
  TCanvas* canvas = FDrawImage->Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetColor(clBtnFace);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(client);
  if (FTransparent) DrawParentImage(this, canvas);
  TRect r = client;
  bool pressed = FState == obsDown || FState == obsExclusive;
  if (paintState != obsInactive || FState == obsExclusive) {
    r = PaintButtonBorder(canvas, r, pressed, FStyle, FFlat);
  } else if (FFlat) {
    r = TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  }
  if (FState == obsExclusive && !FTransparent && (!FFlat || paintState == obsInactive)) {
    // The latched look: the face dithered with the highlight colour.
    TBitmap pattern;
    pattern.SetSize(8, 8);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) pattern.Canvas()->SetPixels(x, y, (x + y) % 2 ? clBtnHighlight : clBtnFace);
    }
    canvas->Brush()->SetBitmap(&pattern);
    canvas->FillRect(TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1));
    canvas->Brush()->SetBitmap(nullptr);
  }
  if (pressed) r = TRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
  DrawFace(canvas, r, mark, FGrayedInactive && FState != obsDisabled ? paintState : FState);
  ::BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

void TOxSpeedButton::DrawFace(TCanvas* Canvas, const TRect& Rect, bool DrawMark, TOxButtonState State) {
  if (FFlatStandard && State == obsInactive) State = obsExclusive;
  FGlyph->PaintAll(Canvas, Rect, OxAlignmentFlags(Alignment()), State, DrawMark, FSpacing, FMargin, FLayout, Caption());
}

// --- Mouse ------------------------------------------------------------------------------------

bool TOxSpeedButton::InsideButton(int X, int Y) const {
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

TPoint TOxSpeedButton::MenuOrigin() const {
  if (!FDropDownMenu) return TPoint(0, 0);
  TPopupAlignment alignment = FDropDownMenu->Alignment;
  if (MenuPosition == dmpBottom) {
    int x = alignment == paLeft ? -1 : alignment == paRight ? Width() + 1 : Width() / 2;
    return TPoint(x, Height());
  }
  switch (alignment) {
    case paLeft: return TPoint(Width(), -1);
    case paRight: return TPoint(-1, -1);
    case paCenter: return TPoint(Width() / 2, Height());
  }
  return TPoint(0, 0);
}

bool TOxSpeedButton::DropDown(bool Manual) {
  if (ComponentState().Contains(csDesigning)) return false;
  if (!FDropDownMenu || !(Manual || FDropDownMenu->AutoPopup)) return false;
  SendCancelMode(this);
  FDropDownMenu->SetPopupComponent(this);
  TPoint p = ClientToScreen(MenuOrigin());
  FDropDownMenu->Popup(p.X, p.Y);
  return true;
}

void TOxSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || FMenuTracking) return;
  FMouseInControl = true;
  if (!FDown) FState = obsDown;
  FDragging = true;
  Repaint();
  FMenuTracking = true;
  {
    TScopeGuard restore([&] { FMenuTracking = false; });
    if (DropDown(false)) FinishPress(X, Y);
    // The press that closed the menu over this button must not open it again.
    if (Parent() && Parent()->HandleAllocated()) {
      MSG msg;
      HWND wnd = Parent()->Handle();
      if (PeekMessageA(&msg, wnd, 0, 0, PM_NOREMOVE) &&
          (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK) &&
          InsideButton(short(LOWORD(msg.lParam)) - Left(), short(HIWORD(msg.lParam)) - Top())) {
        DiscardMessage(wnd, msg.message);
      }
    }
  }
  if (FAllowTimer) {
    if (!FRepeatTimer) {
      FRepeatTimer = new TTimer(this);
      FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TOxSpeedButton::RepeatTimerExpired));
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(InitPause);
    FRepeatTimer->SetEnabled(true);
  }
}

void TOxSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TOxGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  TOxButtonState wanted = FDown ? obsExclusive : obsUp;
  if (InsideButton(X, Y)) wanted = FDown ? obsExclusive : obsDown;
  if (wanted != FState) {
    FState = wanted;
    Repaint();
  }
}

void TOxSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) FinishPress(X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TOxSpeedButton::FinishPress(int X, int Y) {
  if (!FDragging) return;
  FDragging = false;
  bool inside = InsideButton(X, Y);
  if (FGroupIndex == 0) {
    FState = obsUp;
    FMouseInControl = false;
    if (inside) Repaint();
    else Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else {
    if (FDown) FState = obsExclusive;
    Repaint();
  }
  if (inside && !FMenuTracking) Click();
  UpdateTracking();
}

void TOxSpeedButton::RepeatTimerExpired(TObject*) {
  FRepeatTimer->SetInterval(RepeatInterval);
  if (FState == obsDown && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

void TOxSpeedButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  TOxGraphicControl::Click();
}

void TOxSpeedButton::UpdateTracking() {
  bool was = FMouseInControl;
  POINT p{};
  ::GetCursorPos(&p);
  FMouseInControl = Enabled() && ControlAtScreenPoint(TPoint(p.x, p.y)) == this && ActiveWindowInThread();
  if (FMouseInControl == was) return;
  if (FMouseInControl) {
    if (FFlat) Repaint();
    NotifyMouseEnter();
  } else {
    if (FFlat) Invalidate();
    NotifyMouseLeave();
  }
}

void TOxSpeedButton::NotifyMouseEnter() {
  if (FEnterNotified) return;
  FEnterNotified = true;
  if (OnMouseEnter) OnMouseEnter(this);
}

void TOxSpeedButton::NotifyMouseLeave() {
  if (!FEnterNotified) return;
  FEnterNotified = false;
  if (OnMouseLeave) OnMouseLeave(this);
}

// --- Messages ---------------------------------------------------------------------------------

void TOxSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
    default: TOxGraphicControl::Dispatch(Message); break;
  }
}

void TOxSpeedButton::WMRButtonDown(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  UpdateTracking();
}

void TOxSpeedButton::WMRButtonUp(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  UpdateTracking();
}

void TOxSpeedButton::WMLButtonDblClk(TMessage& Message) {
  if (FMenuTracking) return;
  TOxGraphicControl::Dispatch(Message);
  if (FDown) DblClick();
}

void TOxSpeedButton::CMEnabledChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  FGlyph->StateImageIndex(PrebuiltState());
  UpdateTracking();
  Repaint();
}

void TOxSpeedButton::CMVisibleChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  if (Visible()) UpdateTracking();
}

void TOxSpeedButton::CMMouseEnter(TMessage& Message) {
  if (!ComponentState().Contains(csDesigning)) {
    if (!FHotActive) {
      FSavedHintColor = Application->HintColor;
      Application->HintColor = HintColor;
      if (!FHotGlyph->Empty()) {
        FSavedGlyph->Assign(Glyph());
        SetGlyph(FHotGlyph);
        FGlyphSwapped = true;
      }
      if (HotTrack) {
        FSavedFont->Assign(Font());
        FSavedParentFont = ParentFont();
        Font()->Assign(FHotTrackFont);
        FFontSwapped = true;
      }
      FHotActive = true;
    }
    if ((FFlat && !FMouseInControl && Enabled() && !GetCapture()) || OxThemes::Active()) {
      FMouseInControl = true;
      if (Enabled()) Repaint();
    }
    NotifyMouseEnter();
  }
  // The parent hears of it too, as the platform's handler tells it.
  if (Parent()) Parent()->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : LPARAM(static_cast<TControl*>(this)));
}

void TOxSpeedButton::CMMouseLeave(TMessage& Message) {
  if (FHotActive) {
    Application->HintColor = FSavedHintColor;
    if (FGlyphSwapped) {
      // The glyph it had, an empty one included: a button without a glyph of its own drops the
      // hot one. The saved copy is emptied, so that a later leave cannot bring it back.
      SetGlyph(FSavedGlyph);
      FSavedGlyph->FreeImage();
      FGlyphSwapped = false;
    }
    if (FFontSwapped) {
      Font()->Assign(FSavedFont);
      if (FSavedParentFont) SetParentFont(true);
      FFontSwapped = false;
    }
    FHotActive = false;
  }
  if ((FFlat && FMouseInControl && Enabled() && !FDragging) || OxThemes::Active()) {
    FMouseInControl = false;
    if (Enabled()) Repaint();
  }
  NotifyMouseLeave();
  if (Parent()) Parent()->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : LPARAM(static_cast<TControl*>(this)));
}

void TOxSpeedButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(WORD(Message.WParam), Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
    Click();
    Message.Result = 1;
    return;
  }
  TOxGraphicControl::Dispatch(Message);
}

void TOxSpeedButton::CMFontChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  Invalidate();
}

void TOxSpeedButton::CMTextChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  Invalidate();
}

void TOxSpeedButton::CMSysColorChange(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  // The images were built on the old face colour.
  FGlyph->ReleaseImages();
  Invalidate();
}

void TOxSpeedButton::CMParentColorChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  if (OnParentColorChange) OnParentColorChange(this);
}

void TOxSpeedButton::CMButtonPressed(TMessage& Message) {
  if (int(Message.WParam) != FGroupIndex || !Parent() || !Parent()->HandleAllocated()) return;
  auto* sender = dynamic_cast<TOxSpeedButton*>(reinterpret_cast<TControl*>(Message.LParam));
  if (!sender || sender == this) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = obsUp;
    Repaint();
  }
  FAllowAllUp = sender->AllowAllUp();
}
