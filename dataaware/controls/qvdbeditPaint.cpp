// This file implements the data-aware edit's window: its creation parameters, the formatting
// rectangle kept clear of borders, frame and button, the painting of its own text while it is not
// being edited (field alignment, frame, colours), the mouse entering and leaving, and the message
// dispatch (see qvdbedit.h).
#include "qvdbedit.h"

#include <optional>

#include "Colors.h"
#include "qvControlUtils.h"
#include "qvThemes.h"

// --- Window -----------------------------------------------------------------------------------------

void TqvCustomMaskEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style &= ~DWORD(ES_WANTRETURN | ES_AUTOVSCROLL);
  // The formatting rectangle needs a multi-line window.
  if (BorderStyle() == bsNone || FWordWrap) Params.Style |= ES_MULTILINE;
  if (FWordWrap) {
    Params.Style &= ~DWORD(ES_AUTOHSCROLL);
    Params.Style |= ES_AUTOVSCROLL;
  }
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (FShowVertScrollBar) Params.Style |= WS_VSCROLL;
  if (FFrame->Enabled()) {
    Params.Style &= ~DWORD(WS_BORDER);
    Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  }
}

void TqvDBCustomEdit::CreateParams(TCreateParams& Params) {
  TqvCustomMaskEdit::CreateParams(Params);
  // One line of text only: no wrapping, and a password edit stays single-line.
  TWindowDC Screen;
  TSelectedObject Font(Screen, this->Font()->Handle());
  TRect Room = Rect(0, 0, Width() - GetButtonWidth(), Height());
  if (qvRectHoldsOneLine(Screen, Room, DT_SINGLELINE)) {
    if (WordWrap()) Params.Style |= ES_AUTOHSCROLL;
    if ((BorderStyle() == bsNone || Frame()->Enabled()) && PasswordChar() != 0) Params.Style &= ~DWORD(ES_MULTILINE);
  }
  if (FEditAlignment == eaRightAlignEditing) Params.ExStyle |= WS_EX_RIGHT;
  if (Frame()->Transparent() && Frame()->UseTransparentStyle) Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TqvDBCustomEdit::CreateWnd() {
  inherited::CreateWnd();
  // An unbound edit that is not read-only takes typing, pasting and deleting from the start (a
  // form description's edit learns it when loaded; one made in code, here).
  if (DataSource() == nullptr && !ReadOnly()) TCustomEdit::SetReadOnly(false);
  if (BorderStyle() == bsNone && AutoSize() && Parent() != nullptr && !qvIsInGrid(this)) Frame()->AdjustHeight();
  SetEditRect();
  if (IsTransparentFrame() && Parent() != nullptr) qvRemoveClipChildren(Parent());
}

bool TqvDBCustomEdit::CanAutoSize(int& NewWidth, int& NewHeight) {
  if (Parent() != nullptr && qvIsInGrid(this)) return inherited::CanAutoSize(NewWidth, NewHeight);
  NewHeight = Frame()->AutoHeight();
  return true;
}

void TqvDBCustomEdit::SetEditRect() {
  if (!HandleAllocated()) return;
  TRect R(0, 0, ClientWidth() - 1, ClientHeight() + 1);
  bool Borderless = BorderStyle() == bsNone;
  if (Borderless && Parent() != nullptr && qvIsInInspector(this)) {
    R.Left = R.Top = 1;
  } else if (Borderless && Parent() != nullptr && qvIsInGrid(this)) {
    R.Left = 2;
    R.Top = ParentGrid("TqvDBGrid") != nullptr && GridDrawsRowLines() ? 1 : 2;
  } else if (Frame()->Enabled()) {
    Frame()->AdjustEditRect(R);
  } else if (Borderless) {
    R.Left = R.Top = 1;
  }
  SendMessageA(FHandle, EM_SETRECTNP, 0, LPARAM(AsRECT(R)));
}

// --- Painting ---------------------------------------------------------------------------------------

bool TqvDBCustomEdit::PaintsItself() {
  if (qvIsPaintCopy(ControlState) || !CanEditText() || IsInFocusedGrid()) return true;
  return !FFocusedState && (GetEffectiveAlignment() != taLeftJustify || Frame()->IsFrameActive());
}

void TqvDBCustomEdit::PaintFrame(TCanvas* Canvas) { PaintEditFrame(this, Frame(), Canvas, FFocusedState); }

void TqvDBCustomEdit::DrawTextInRect(TCanvas* Canvas, const TRect& R, const String& Text, int X, int Y) {
  Canvas->TextRect(R, X, Y, Text);
}

void TqvDBCustomEdit::WMPaint(TMessage& Message) {
  if (PaintsItself()) {
    PaintSelf(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  TqvCustomMaskEdit::Dispatch(Message);
  if (Frame()->IsFrameActive() && HandleAllocated()) {
    if (FCanvas == nullptr) {
      FCanvas = new TControlCanvas;
      FCanvas->SetControl(this);
    }
    TWindowDC DC(FHandle);
    TCanvasDCScope Scope(FCanvas, DC);
    PaintFrame(FCanvas);
  }
}

// The unfocused text with the field's alignment and the frame's colours, or the highlighted choice
// of an edit that cannot be typed into.
void TqvDBCustomEdit::PaintSelf(HDC GivenDC) {
  if (!HandleAllocated()) return;
  if (FCanvas == nullptr) {
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
  }
  std::optional<TPaintDC> Paint;  // the window's own painting, without a context given
  HDC DC = GivenDC != nullptr ? GivenDC : Paint.emplace(FHandle).Get();
  TCanvasDCScope Scope(FCanvas, DC);
  TCanvas* C = FCanvas;

  bool PaintCopy = qvIsPaintCopy(ControlState);
  bool InGrid = Parent() != nullptr && qvIsInGrid(this);
  bool GridCopy = InGrid && PaintCopy;
  bool FrameActive = Frame()->IsFrameActive();
  bool Unfocused = !FFocusedState;
  bool TransparentUnfocused = IsTransparentFrame() && Unfocused;

  C->Font()->Assign(Font());
  if (!Enabled() && Color() != clGrayText) C->Font()->SetColor(clGrayText);
  else if (GridCopy) C->Font()->SetColor(TColor(GetTextColor(DC)));
  else if (InGrid) C->Font()->SetColor(Parent()->Font()->Color());

  TRect Client = ClientRect();
  TRect R = Client;
  bool Bordered = BorderStyle() != bsNone;
  if (Bordered && ParentGrid("TqvDBGrid") != nullptr && !PaintCopy) {
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(R);
  }
  R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  if (qvThemesEnabledFor(this)) R = TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  bool Fill = !TransparentUnfocused && !GridCopy;
  if (Fill) {
    if (Frame()->Enabled() && Unfocused && Frame()->NonFocusColor != qvFrameNoColor) {
      C->Brush()->SetColor(Frame()->NonFocusColor);
      C->FillRect(Client);
    } else {
      C->FillRect(R);
    }
  }

  TField* F = Field();
  String Shown;
  if (PaintCopy && F != nullptr) {
    if (!MapValueToDisplay(F->AsString(), Shown)) Shown = IsMemoField() ? F->AsString() : F->DisplayText();
  } else {
    Shown = IsMemoField() && F != nullptr ? F->AsString() : EditText();
  }
  if (PasswordChar() != 0) Shown.assign(Shown.size(), PasswordChar());

  bool Highlight = !PaintCopy && ((!CanEditText() && Focused() && !IsDroppedDown()) || IsInFocusedGrid());
  if (Highlight) {
    C->Brush()->SetColor(clHighlight);
    C->Font()->SetColor(clHighlightText);
  }

  int Margin;
  if (Parent() != nullptr && qvIsInInspector(this)) Margin = 1;
  else if (InGrid) Margin = ParentGrid("TqvDBGrid") != nullptr && GridDrawsRowLines() ? 2 : 1;
  else Margin = 1;
  int X = Margin + 1;
  int Y = Margin;
  if (InGrid) X = 2;
  else if (FrameActive) Frame()->GetTextOffsets(X, Y, FFocusedState);
  TRect TextRect = GetEditTextRect();
  TAlignment Alignment = GetEffectiveAlignment();
  int TextWidth = C->TextWidth(Shown);
  if (Alignment == taRightJustify) {
    int Right;
    if (GridCopy) Right = Client.Right;
    else if (GetShowButton()) Right = GetTextRight() - (IsTransparentFrame() ? 1 : 0);
    else Right = TextRect.Right;
    X = Right - TextWidth - Margin - 1;
    if (FrameActive) X -= Frame()->NonFocusTextOffsetX;
  } else if (Alignment == taCenter) {
    X = (TextRect.Left + TextRect.Right - TextWidth) / 2;
  }

  if (FrameActive && Unfocused) {
    TColor Ink = TransparentUnfocused ? Frame()->NonFocusTransparentFontColor : Frame()->NonFocusFontColor;
    if (Ink != qvFrameNoColor && !Highlight) C->Font()->SetColor(Ink);
  }

  TRect TextArea = GetShowButton() && !GridCopy ? TRect(R.Left, R.Top, std::min(R.Right, TextRect.Right), R.Bottom) : R;
  if (FrameActive && FFocusedState) {
    int Shrink = TqvEditFrame::IsThinStyle(Frame()->FocusStyle) ? 1 : 2;
    TextArea = TRect(TextArea.Left + Shrink, TextArea.Top + Shrink, TextArea.Right - Shrink, TextArea.Bottom - Shrink);
  }
  if (IsOwnerDrawn()) {
    DrawTextInRect(C, TextArea, Shown, X, Y);
  } else {
    int Flags = WordWrap() ? qvCellWordWrap : 0;
    if (GridCopy || TransparentUnfocused || !Highlight) Flags |= qvCellNoFill;
    qvDrawCellText(C, TextArea, X - TextArea.Left, Y - TextArea.Top, Shown, taLeftJustify, Flags);
  }
  if (FrameActive) PaintFrame(C);
  if (Highlight) {
    C->Brush()->SetColor(clHighlight);
    C->Font()->SetColor(clHighlightText);
    C->DrawFocusRect(TextArea);
  }
}

void TqvDBCustomEdit::WMEraseBkgnd(TMessage& Message) {
  if ((Parent() != nullptr && qvIsInspectorPaintCopy(this)) || (IsTransparentFrame() && !FFocusedState)) {
    Message.Result = 1;
    return;
  }
  TqvCustomMaskEdit::Dispatch(Message);
}

// --- Other window messages --------------------------------------------------------------------------

void TqvDBCustomEdit::WMSetFocus(TMessage& Message) {
  TqvCustomMaskEdit::Dispatch(Message);
  if (!CanEditText() && HandleAllocated()) HideCaret(FHandle);
}

void TqvDBCustomEdit::WMSetFont(TMessage& Message) {
  TqvCustomMaskEdit::Dispatch(Message);
  if (Frame()->Enabled() && HandleAllocated()) SendMessageA(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void TqvDBCustomEdit::WMSize(TMessage& Message) {
  TqvCustomMaskEdit::Dispatch(Message);
  SetEditRect();
}

void TqvDBCustomEdit::WMVScroll(TMessage& Message) {
  if ((ParentGrid("TqvCustomDBGrid") != nullptr || (IsTransparentFrame() && !FFocusedState)) && CanFocus()) SetFocus();
  TqvCustomMaskEdit::Dispatch(Message);
}

void TqvDBCustomEdit::CMFontChanged(TMessage& Message) {
  TqvCustomMaskEdit::Dispatch(Message);
  TComponent* Owner = this->Owner();
  if (Owner == nullptr || !Owner->ComponentState().Contains(csLoading)) SetEditRect();
}

void TqvDBCustomEdit::CMTextChanged(TMessage& Message) {
  if (IsTransparentFrame() && !FFocusedState) Frame()->RefreshTransparentBackground(false, true, false);
  TqvCustomMaskEdit::Dispatch(Message);
}

// --- Mouse ------------------------------------------------------------------------------------------

void TqvDBCustomEdit::DoMouseEnter() {
  try {
    if (OnMouseEnter) OnMouseEnter(this);
  } catch (...) {
    return;
  }
  if (Frame()->IsFrameActive() && Frame()->MouseEnterSameAsFocus && !FFocusedState && HandleAllocated()) {
    if (FCanvas == nullptr) {
      FCanvas = new TControlCanvas;
      FCanvas->SetControl(this);
    }
    TWindowDC DC(FHandle);
    TCanvasDCScope Scope(FCanvas, DC);
    PaintEditFrame(this, Frame(), FCanvas, true);
  }
}

void TqvDBCustomEdit::DoMouseLeave() {
  try {
    if (OnMouseLeave) OnMouseLeave(this);
  } catch (...) {
    return;
  }
  if (Frame()->IsFrameActive() && Frame()->MouseEnterSameAsFocus && !FFocusedState) {
    Invalidate();
    if (Frame()->Transparent()) {
      Frame()->UseTransparentStyle = true;
      RecreateWnd();
    }
  }
}

void TqvDBCustomEdit::CMMouseEnter(TMessage& Message) {
  // A child's enter only passes on to the parent.
  if (Message.LParam == 0) DoMouseEnter();
  if (Parent() != nullptr) Parent()->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : LPARAM(this));
}

void TqvDBCustomEdit::CMMouseLeave(TMessage& Message) {
  if (Message.LParam == 0) {
    POINT Cursor;
    GetCursorPos(&Cursor);
    TPoint P = ScreenToClient(TPoint(Cursor.x, Cursor.y));
    // Still over the client area (over the button, say): not left yet.
    if (ClientRect().Contains(P)) return;
    DoMouseLeave();
  }
  if (Parent() != nullptr) Parent()->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : LPARAM(this));
}

// --- Dispatch ---------------------------------------------------------------------------------------

void TqvDBCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_SETFONT: WMSetFont(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_CUT: WMCut(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case WM_UNDO: WMUndo(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}
