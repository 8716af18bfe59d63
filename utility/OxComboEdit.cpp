// This file implements TOxEditButton, TOxCustomComboEdit and TOxComboEdit (see OxComboEdit.h).
// The system's bitmaps (OBM_COMBO) are named only with OEMRESOURCE defined first.
#define OEMRESOURCE
#include "OxComboEdit.h"

#include <algorithm>
#include <optional>

#include "Menus.h"
#include "Variant.h"

namespace {
constexpr int DefaultButtonWidth = 21;
constexpr int DefaultButtonHeight = 17;
// Parts and states of the visual styles' "COMBOBOX" class.
constexpr int ThemeComboDropDown = 1;
constexpr int ThemeNormal = 1, ThemeHot = 2, ThemePressed = 3, ThemeDisabled = 4;

// The window-less control that sent a cancel-mode notification (its LParam).
TControl* CancelModeSender(const TMessage& Message) { return reinterpret_cast<TControl*>(Message.LParam); }
}  // namespace

// --- TOxEditButton --------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxEditButton)

TOxEditButton::TOxEditButton(TComponent* AOwner) : TOxSpeedButton(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetParentShowHint(true);
}

TOxCustomComboEdit* TOxEditButton::Edit() const { return dynamic_cast<TOxCustomComboEdit*>(Owner()); }

void TOxEditButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (TOxCustomComboEdit* edit = Edit()) {
      NoAction = edit->FPopup && edit->FPopupVisible;
      if (edit->FPopupVisible) {
        edit->ClosePopup(edit->FPopup, Standard);
      } else if (edit->TabStop() && edit->CanFocus() && !edit->Focused()) {
        edit->SetFocus();
      }
    }
  }
  TOxSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TOxEditButton::Click() {
  // The press closed the popup: that was the whole of it.
  if (NoAction) {
    NoAction = false;
    return;
  }
  TOxSpeedButton::Click();
}

void TOxEditButton::Paint() {
  if (OxThemes::Active()) {
    if (DrawThemedDropDown) {
      int state = !Enabled() ? ThemeDisabled : FState == obsDown ? ThemePressed : FMouseInControl ? ThemeHot : ThemeNormal;
      if (OxThemes::DrawElement(nullptr, Canvas()->Handle(), "COMBOBOX", ThemeComboDropDown, state, ClientRect(), nullptr)) {
        return;
      }
    }
    TOxSpeedButton::Paint();
    return;
  }
  TOxSpeedButton::Paint();
  if (FState == obsDown) return;
  // The seam between the text and the button.
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(clBtnFace);
  canvas->MoveTo(0, 0);
  canvas->LineTo(0, Height() - 1);
  canvas->Pen()->SetColor(clBtnHighlight);
  canvas->MoveTo(1, 1);
  canvas->LineTo(1, Height() - 2);
}

// --- TOxCustomComboEdit ---------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxCustomComboEdit)
VELBOR_PUBLISHED(TOxCustomComboEdit,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("ButtonFlat", &Self::ButtonFlat, &Self::SetButtonFlat).Default(false),
  Prop("ButtonHint", &Self::ButtonHint, &Self::SetButtonHint),
  Prop("ButtonWidth", &Self::ButtonWidth, &Self::SetButtonWidth).Stored(&Self::IsButtonWidthStored),
  Prop("ClickKey", &Self::ClickKey, &Self::SetClickKey).Default(TShortCut(scAlt | VK_DOWN)),
  Prop("ClipboardCommands", &Self::ClipboardCommands, &Self::SetClipboardCommands)
      .Default(TClipboardCommands{caCopy, caCut, caPaste, caUndo}),
  Prop("Ctl3D", &Self::Ctl3D, &Self::SetCtl3D).Default(true),
  Prop("DirectInput", &Self::DirectInput, &Self::SetDirectInput).Default(true),
  Prop("DisabledColor", &Self::DisabledColor, &Self::SetDisabledColor).Default(clWindow).Idents(ColorIdents),
  Prop("DisabledTextColor", &Self::DisabledTextColor, &Self::SetDisabledTextColor)
      .Default(clGrayText).Idents(ColorIdents),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph).Stored(&Self::IsGlyphStored),
  Prop("GlyphKind", &Self::GlyphKind, &Self::SetGlyphKind).Default(gkCustom),
  Prop("NumGlyphs", &Self::NumGlyphs, &Self::SetNumGlyphs).Default(1),
  Prop("PopupAlign", &Self::PopupAlign).Default(epaRight),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("OnButtonClick", &Self::OnButtonClick))

VELBOR_IMPLEMENT_CLASS(TOxComboEdit)

TOxCustomComboEdit::TOxCustomComboEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  ControlStyle.Include(csCaptureMouse);
  // The height follows the font here, not through the edit's auto-size.
  SetAutoSize(false);
  FClickKey = ShortCut(VK_DOWN, {ssAlt});
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
  FButtonHolder = new TWinControl(this);
  FButtonHolder->ControlStyle.Include(csReplicatable);
  FButtonHolder->SetBounds(0, 0, DefaultButtonWidth, DefaultButtonHeight);
  FButtonHolder->SetParent(this);
  FButton = new TOxEditButton(this);
  FButton->SetBounds(0, 0, DefaultButtonWidth, DefaultButtonHeight);
  FButton->SetParent(FButtonHolder);
  FButton->OnClick = TNotifyEvent(this, &TOxCustomComboEdit::HandleButtonClick);
  SetHeight(21);
}

TOxCustomComboEdit::~TOxCustomComboEdit() {
  FButton->OnClick = TNotifyEvent();
  delete FCanvas;
}

// --- Properties -----------------------------------------------------------------------------

void TOxCustomComboEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

bool TOxCustomComboEdit::ButtonFlat() const { return FButton->Flat(); }

void TOxCustomComboEdit::SetButtonFlat(bool Value) {
  FButton->SetFlat(Value);
  if (OxThemes::Active() && FGlyphKind == gkDropDown) RecreateGlyph();
}

String TOxCustomComboEdit::ButtonHint() const { return FButton->Hint; }

void TOxCustomComboEdit::SetButtonHint(const String& Value) { FButton->Hint = Value; }

int TOxCustomComboEdit::ButtonWidth() const { return FButtonHolder->Width(); }

void TOxCustomComboEdit::SetButtonWidth(int Value) {
  if (ButtonWidth() == Value) return;
  FButtonHolder->SetVisible(Value > 1);
  if (ControlState.Contains(csCreating)) {
    FButtonHolder->SetWidth(Value);
    FButton->SetWidth(Value);
    FButton->ControlStyle.Exclude(csFixedWidth);
  } else if (Value < (Parent() ? ClientWidth() : Width())) {
    FButton->ControlStyle.Exclude(csFixedWidth);
    FButtonHolder->SetWidth(Value);
    FButton->SetWidth(Value);
    if (HandleAllocated()) RecreateWnd();
    PlaceButton();
  }
  RecreateGlyph();
}

bool TOxCustomComboEdit::IsButtonWidthStored() const {
  int natural = DefaultButtonWidth;
  if (FGlyphKind == gkDefault && !FButton->Glyph()->Empty()) {
    natural = std::max(FButton->Glyph()->Width() / FButton->NumGlyphs() + 6, DefaultButtonWidth);
  } else if (FGlyphKind == gkDropDown) {
    natural = GetSystemMetrics(SM_CXVSCROLL);
  }
  return ButtonWidth() != natural;
}

void TOxCustomComboEdit::SetClipboardCommands(TClipboardCommands Value) {
  if (FClipboardCommands == Value) return;
  FClipboardCommands = Value;
  SetReadOnly((Value - TClipboardCommands{caCopy}).Empty());
}

void TOxCustomComboEdit::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  RecreateWnd();
  PlaceButton();
}

void TOxCustomComboEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  TCustomMaskEdit::SetReadOnly(Value || !FDirectInput);
}

void TOxCustomComboEdit::SetDirectInput(bool Value) {
  FDirectInput = Value;
  TCustomMaskEdit::SetReadOnly(!Value || FReadOnly);
}

void TOxCustomComboEdit::SetDisabledColor(TColor Value) {
  if (FDisabledColor == Value) return;
  FDisabledColor = Value;
  if (!Enabled()) Invalidate();
}

void TOxCustomComboEdit::SetDisabledTextColor(TColor Value) {
  if (FDisabledTextColor == Value) return;
  FDisabledTextColor = Value;
  if (!Enabled()) Invalidate();
}

TBitmap* TOxCustomComboEdit::Glyph() const { return FButton->Glyph(); }

void TOxCustomComboEdit::SetGlyph(TBitmap* Value) {
  FButton->SetGlyph(Value);
  FGlyphKind = gkCustom;
}

TOxNumGlyphs TOxCustomComboEdit::NumGlyphs() const { return FButton->NumGlyphs(); }

void TOxCustomComboEdit::SetNumGlyphs(TOxNumGlyphs Value) {
  if (FGlyphKind == gkDropDown || FGlyphKind == gkEllipsis) Value = 1;
  else if (FGlyphKind == gkDefault) Value = FDefNumGlyphs;
  FButton->SetNumGlyphs(Value);
}

void TOxCustomComboEdit::SetGlyphKind(TGlyphKind Value) {
  if (FGlyphKind == Value) return;
  FGlyphKind = Value;
  if (Value == gkCustom && ComponentState().Contains(csReading)) {
    TBitmap empty;
    FButton->SetGlyph(&empty);
  }
  RecreateGlyph();
  if (Value == gkDefault && !FButton->Glyph()->Empty()) {
    SetButtonWidth(std::max(FButton->Glyph()->Width() / FButton->NumGlyphs() + 6, ButtonWidth()));
  } else if (Value == gkDropDown) {
    SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
    FButton->ControlStyle.Include(csFixedWidth);
  }
}

TBitmap* TOxCustomComboEdit::DefaultGlyphBitmap(bool& DestroyAfter) {
  DestroyAfter = false;
  return nullptr;
}

void TOxCustomComboEdit::RecreateGlyph() {
  if (OxThemes::Active()) FButton->DrawThemedDropDown = FGlyphKind == gkDropDown && !ButtonFlat();
  switch (FGlyphKind) {
    case gkDefault: {
      bool destroy = false;
      TBitmap* glyph = DefaultGlyphBitmap(destroy);
      if (glyph) {
        FButton->SetGlyph(glyph);
        if (destroy) delete glyph;
      }
      FButton->SetNumGlyphs(FDefNumGlyphs);
      break;
    }
    case gkDropDown:
      if (ButtonFlat() || !OxThemes::Active()) {
        TBitmap arrow;
        arrow.SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_COMBO)));
        FButton->SetGlyph(&arrow);
        FButton->SetNumGlyphs(1);
      }
      break;
    case gkEllipsis: {
      // Three 2x2 dots, centred, their gaps shrinking with the room.
      int width = std::max(1, ButtonWidth() - 6);
      TBitmap dots;
      dots.SetPixelFormat(pf1bit);
      dots.SetSize(width, 4);
      HDC dc = dots.Canvas()->Handle();
      ::PatBlt(dc, 0, 0, width, 4, WHITENESS);
      int gap = std::clamp((width - 6) / 2, 1, 3);
      int first = (width - 6 - 2 * gap) / 2;
      for (int x : {first, first + gap + 2, first + 2 * gap + 4}) ::PatBlt(dc, x, 1, 2, 2, BLACKNESS);
      FButton->SetGlyph(&dots);
      FButton->SetNumGlyphs(1);
      break;
    }
    case gkCustom:
      break;
  }
}

// --- Geometry -------------------------------------------------------------------------------

int TOxCustomComboEdit::FontTextHeight() {
  return Font()->TextMetrics().tmHeight;
}

int TOxCustomComboEdit::MinHeight() {
  int height = FontTextHeight();
  if (BorderStyle() == bsSingle) height += GetSystemMetrics(SM_CYBORDER) * 4 + 1;
  return height;
}

void TOxCustomComboEdit::PlaceTextArea() {
  if (!HandleAllocated()) return;
  SetHeight(FontTextHeight() + GetSystemMetrics(SM_CYBORDER) * (FCtl3D ? 8 : 6));
  int left = !FCtl3D && BorderStyle() == bsSingle && OxThemes::Active() ? 3 : 0;
  RECT r{left, 0, ClientWidth() - FButtonHolder->Width(), ClientHeight() + 1};
  SendMessageA(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
}

void TOxCustomComboEdit::PlaceButton() {
  int w = ButtonWidth();
  bool single = BorderStyle() == bsSingle;
  TRect r;
  if (FCtl3D && single) r = Bounds(Width() - w - 4, 0, w, Height() - 4);
  else if (OxThemes::Active()) r = Bounds(Width() - w - 1, 1, w, Height() - 2);
  else if (!single) r = Bounds(Width() - w, 0, w, Height());
  else r = Bounds(Width() - w - 2, 2, w, Height() - 4);
  FButtonHolder->SetBoundsRect(r);
  FButton->SetBounds(0, 0, w, r.Height());
  PlaceTextArea();
}

void TOxCustomComboEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  // Multi-line: the formatting rectangle keeps the text clear of the button.
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  Params.Style &= ~DWORD(ES_LEFT | ES_RIGHT | ES_CENTER);
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter) Params.Style |= ES_CENTER;
  if (!FCtl3D && BorderStyle() == bsSingle) {
    Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
    Params.Style |= WS_BORDER;
  }
}

void TOxCustomComboEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  PlaceButton();
}

// --- Popup protocol -------------------------------------------------------------------------

void TOxCustomComboEdit::OpenPopup(bool DisableEdit) {
  if (!FPopup || GetReadOnly() || FPopupVisible) return;
  TPoint origin = Parent() ? Parent()->ClientToScreen(TPoint(Left(), Top())) : TPoint(Left(), Top());
  int popupWidth = FPopup->Width(), popupHeight = FPopup->Height();
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int y = origin.Y + Height();
  if (y + popupHeight > screenHeight) y = origin.Y - popupHeight;
  int x;
  if (PopupAlign == epaRight) {
    x = origin.X + Width() - popupWidth;
    if (x < 0) x = origin.X;
  } else {
    x = origin.X;
    if (x + popupWidth > screenWidth) x = origin.X + Width() - popupWidth;
  }
  x = std::max(0, std::min(x, screenWidth - popupWidth));
  String text = Text();
  PutPopupValue(text.empty() ? Variant::Null() : Variant(text));
  if (CanFocus()) SetFocus();
  ShowPopupAt(TPoint(x, y));
  FPopupVisible = true;
  if (DisableEdit) {
    TCustomMaskEdit::SetReadOnly(true);
    if (HandleAllocated()) HideCaret(FHandle);
  }
}

void TOxCustomComboEdit::ClosePopup(TObject*, bool Accept) {
  if (!FPopup || !FPopupVisible) return;
  // Whatever happens below, the popup counts as hidden afterwards.
  struct THiddenAtEnd {
    bool& Visible;
    ~THiddenAtEnd() { Visible = false; }
  } hidden{FPopupVisible};
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  Variant value = TakePopupValue();
  HidePopupWindow();
  try {
    // The focus comes back from the popup; where the user took it (another control, another
    // program) it stays.
    HWND focus = GetFocus();
    bool inPopup = focus && FPopup->HandleAllocated() && (focus == FPopup->Handle() || IsChild(FPopup->Handle(), focus));
    if (inPopup && CanFocus()) SetFocus();
    if (Focused() && HandleAllocated()) ShowCaret(FHandle);
  } catch (const std::exception&) {
    // The focus could not come back (the form is closing): the popup still closes.
  }
  SetDirectInput(FDirectInput);
  Invalidate();
  if (Accept && ConfirmPopupValue(value) && EditCanModify()) {
    ApplyPopupValue(value);
    if (Focused()) SelectAll();
  }
}

void TOxCustomComboEdit::ShowPopupAt(TPoint ScreenPoint) {
  if (!FPopup) return;
  FPopup->SetBounds(ScreenPoint.X, ScreenPoint.Y, FPopup->Width(), FPopup->Height());
  FPopup->SetVisible(true);
  if (FPopup->HandleAllocated()) {
    SetWindowPos(FPopup->Handle(), HWND_TOP, ScreenPoint.X, ScreenPoint.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void TOxCustomComboEdit::HidePopupWindow() {
  if (!FPopup) return;
  if (FPopup->HandleAllocated()) {
    SetWindowPos(FPopup->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
  FPopup->SetVisible(false);
}

void TOxCustomComboEdit::PopupTextChanged() { TCustomMaskEdit::Change(); }

bool TOxCustomComboEdit::ConfirmPopupValue(Variant&) { return true; }

void TOxCustomComboEdit::ApplyPopupValue(const Variant& Value) {
  String text = VarToStr(Value);
  if (Text() == text) return;
  SetText(text);
  SetModified(true);
  FPopupVisible = FPopup && FPopup->Visible();
  PopupTextChanged();
}

void TOxCustomComboEdit::PutPopupValue(const Variant&) {}

Variant TOxCustomComboEdit::TakePopupValue() { return Variant(String()); }

void TOxCustomComboEdit::PressButton() {
  if (OnButtonClick) OnButtonClick(this);
  if (!FPopup) return;
  if (FPopupVisible) ClosePopup(FPopup, true);
  else OpenPopup(true);
}

void TOxCustomComboEdit::HandleButtonClick(TObject*) {
  if (!GetReadOnly()) PressButton();
}

void TOxCustomComboEdit::Change() {
  if (FPopupVisible) CompleteTypedText();
  else PopupTextChanged();
}

// --- Keys -----------------------------------------------------------------------------------

void TOxCustomComboEdit::KeyDown(WORD& Key, TShiftState Shift) {
  // Ctrl+Tab and Ctrl+Enter belong to the form (page changes, default actions).
  if ((Key == VK_TAB || Key == VK_RETURN) && Shift.Contains(ssCtrl)) {
    if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_KEYDOWN, Key, 0);
    Key = 0;
    return;
  }
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (Key != 0 && ShortCut(Key, Shift) == FClickKey) {
    if (ButtonWidth() > 0) HandleButtonClick(this);
    Key = 0;
  }
}

void TOxCustomComboEdit::KeyPress(char& Key) {
  bool enter = Key == '\r';
  if (enter || Key == '\x1b' || (Key == '\n' && FPopupVisible)) {
    if (FPopupVisible) {
      ClosePopup(FPopup, Key != '\x1b');
      Key = 0;
      return;
    }
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, WPARAM(static_cast<unsigned char>(Key)), 0);
    if (enter) {
      // The multi-line window would break the line.
      TCustomMaskEdit::KeyPress(Key);
      Key = 0;
      return;
    }
  }
  if (Key == '\t' || Key == '\n') Key = 0;
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

// --- Messages -------------------------------------------------------------------------------

void TOxCustomComboEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_COPY:
    case WM_CUT:
    case WM_PASTE:
    case WM_UNDO: WMClipboardCommand(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_CANCELMODE: CMCancelMode(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    default: TCustomMaskEdit::Dispatch(Message); break;
  }
}

void TOxCustomComboEdit::WMSize(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  if (ComponentState().Contains(csLoading)) return;
  int minHeight = MinHeight();
  // Raising the height comes back here.
  if (Height() < minHeight) SetHeight(minHeight);
  PlaceButton();
}

void TOxCustomComboEdit::WMPaint(TMessage& Message) {
  if (Enabled() || !PaintDisabled(reinterpret_cast<HDC>(Message.WParam))) TCustomMaskEdit::Dispatch(Message);
}

// The disabled edit draws its own text: the native one would gray it on the window colour.
bool TOxCustomComboEdit::PaintDisabled(HDC DC) {
  if (!HandleAllocated()) return false;
  std::optional<TPaintDC> paint;  // the window's own painting, without a context given
  HDC dc = DC ? DC : paint.emplace(FHandle).Get();
  {
    TCanvasDCScope scope(FCanvas, dc);
    TCanvas* canvas = FCanvas;
    canvas->SetFont(Font());
    TRect client = ClientRect();
    canvas->Brush()->SetColor(FDisabledColor);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
    RECT format{};
    SendMessageA(FHandle, EM_GETRECT, 0, LPARAM(&format));
    int buttonWidth = std::max(0, int(client.Width() - format.right - 2));
    TRect r = client;
    if (!FCtl3D && BorderStyle() == bsSingle) {
      canvas->Brush()->SetColor(clWindowFrame);
      canvas->FrameRect(r);
      r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    int margin = BorderStyle() == bsNone ? 0 : FCtl3D ? 1 : 2;
    String text = EditText();
    int textWidth = canvas->TextWidth(text);
    int left = margin;
    if (!FPopupVisible && FAlignment != taLeftJustify) {
      int width = textWidth + (buttonWidth > 0 ? 1 : 0);
      if (FAlignment == taRightJustify) left = client.Width() - buttonWidth - width - margin - 1;
      else left = (client.Width() - buttonWidth - width) / 2;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(FDisabledTextColor);
    canvas->TextRect(r, left, margin, text);
  }
  return true;
}

void TOxCustomComboEdit::WMSetFocus(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  FFocused = true;
  if (HandleAllocated()) {
    CreateCaret(FHandle, nullptr, Font()->Style().Contains(fsBold) ? 2 : 1, FontTextHeight());
    ShowCaret(FHandle);
  }
}

void TOxCustomComboEdit::WMKillFocus(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  FFocused = false;
  ClosePopup(FPopup, false);
}

void TOxCustomComboEdit::WMLButtonDown(TMessage& Message) {
  if (FPopup) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
    if (FPopupVisible) ClosePopup(FPopup, false);
  }
  TCustomMaskEdit::Dispatch(Message);
}

void TOxCustomComboEdit::WMClipboardCommand(TMessage& Message) {
  bool allowed;
  switch (Message.Msg) {
    case WM_COPY: allowed = FClipboardCommands.Contains(caCopy); break;
    case WM_UNDO: allowed = FClipboardCommands.Contains(caUndo); break;
    default: allowed = FDirectInput && !GetReadOnly(); break;  // cut and paste
  }
  if (allowed) TCustomMaskEdit::Dispatch(Message);
}

void TOxCustomComboEdit::CMEnter(TMessage& Message) {
  // The multi-line window is not selected by the edit's own entry.
  if (AutoSelect && FDirectInput && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  TCustomMaskEdit::Dispatch(Message);
}

void TOxCustomComboEdit::CMCancelMode(TMessage& Message) {
  TControl* sender = CancelModeSender(Message);
  if (sender != this && sender != FPopup && sender != FButton && !(FPopup && sender && FPopup->ContainsControl(sender))) {
    ClosePopup(FPopup, false);
  }
  TCustomMaskEdit::Dispatch(Message);
}

void TOxCustomComboEdit::CMFontChanged(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  if (HandleAllocated()) PlaceTextArea();
}

void TOxCustomComboEdit::CMEnabledChanged(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  Invalidate();
}

void TOxCustomComboEdit::CNCtlColor(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  bool gray = !Enabled() && ColorToRGB(Color()) != ColorToRGB(clGrayText);
  ::SetTextColor(dc, ColorToRGB(gray ? clGrayText : Font()->Color()));
}
