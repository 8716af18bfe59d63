// This file implements TCustomLabel and TLabel: a window-less caption drawn with the text API,
// aligned, laid out, wrapped, sized to its text, and focusing its FocusControl on its accelerator.
#include "StdCtrls.h"

VELBOR_IMPLEMENT_CLASS(TCustomLabel)
VELBOR_PUBLISHED(TCustomLabel,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("Layout", &Self::Layout, &Self::SetLayout).Default(tlTop),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap).Default(false),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("ShowAccelChar", &Self::ShowAccelChar, &Self::SetShowAccelChar).Default(true),
  Prop("FocusControl", &Self::FocusControl, &Self::SetFocusControl),
  Prop("AutoSize", static_cast<bool (Self::*)() const>(&Self::AutoSize), &Self::SetAutoSize).Default(true))

VELBOR_IMPLEMENT_CLASS(TLabel)

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = {csOpaque, csReplicatable, csSetCaption, csClickEvents, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  String text = GetLabelText();
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsClear);
  // Reading the handle selects the font: the text API draws with it.
  canvas->TextExtent(" ");
  HDC dc = canvas->Handle();
  RECT r = Rect;
  SetBkMode(dc, TRANSPARENT);
  if (!Enabled()) {
    // The disabled look: the text embossed, highlight below and right, shadow on top.
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), int(text.size()), &r, Flags);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.c_str(), int(text.size()), &r, Flags);
  } else {
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    DrawTextA(dc, text.c_str(), int(text.size()), &r, Flags);
  }
  Rect = r;
}

TRect TCustomLabel::TextBounds(TRect Rect, UINT Flags) const {
  String text = GetLabelText();
  // An empty caption still measures one line, so an auto-sized label keeps its height.
  if (text.empty() || (FShowAccelChar && text == "&")) text.assign(1, ' ');
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  // Measured on a screen context: the label may have no parent window yet.
  TWindowDC dc;
  TSelectedObject font(dc, Font()->Handle());
  RECT r = Rect;
  DrawTextA(dc, text.c_str(), int(text.size()), &r, Flags | DT_CALCRECT);
  return r;
}

void TCustomLabel::Paint() {
  TRect r = ClientRect();
  if (!Transparent()) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(r);
  }
  UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  if (FLayout != tlTop) {
    // Measure first, then move the text down by the free space (all of it, or half).
    TRect measured = TextBounds(r, flags);
    int free = r.Height() - measured.Height();
    r.Top += FLayout == tlBottom ? free : free / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (ComponentState().Contains(csLoading) || !AutoSize()) return;
  TRect r = ClientRect();
  if (!FWordWrap) r.Right = r.Left + 32767;
  r = TextBounds(r, DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0));
  int x = Left();
  // A right-aligned label grows to the left, a centred one on both sides.
  if (FAlignment == taRightJustify) x += Width() - r.Width();
  else if (FAlignment == taCenter) x += (Width() - r.Width()) / 2;
  SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}

void TCustomLabel::CMTextChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message) {
  TWMKey key(Message);
  if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(key.CharCode(), Caption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
  }
}
