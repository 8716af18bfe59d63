// This file implements TCustomGroupBox and TGroupBox: a container that paints an etched frame
// with its caption over the top edge; its accelerator focuses its first child.
#include "StdCtrls.h"

VELBOR_IMPLEMENT_CLASS(TCustomGroupBox)
VELBOR_IMPLEMENT_CLASS(TGroupBox)

namespace {
int CaptionHeight(TFont* Font) { return Font->TextMetrics().tmHeight; }
}  // namespace

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  // The children sit below the caption and inside the two-pixel frame.
  Rect.Top += CaptionHeight(Font());
  Rect.Left += 2;
  Rect.Top += 2;
  Rect.Right -= 2;
  Rect.Bottom -= 2;
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  TRect client = ClientRect();
  canvas->FillRect(client);
  int h = canvas->TextExtent("0").cy;
  RECT frame = Rect(0, h / 2 - 1, Width(), Height());
  DrawEdge(canvas->Handle(), &frame, EDGE_ETCHED, BF_RECT);
  String text = Caption();
  if (text.empty()) return;
  RECT r = Rect(8, 0, 0, h);
  HDC dc = canvas->Handle();
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  // The caption cuts the frame: its background covers the line.
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void TCustomGroupBox::CMDialogChar(TMessage& Message) {
  TWMKey key(Message);
  if (IsAccel(key.CharCode(), Caption()) && CanFocus()) {
    SelectNext(nullptr, true, true);
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  Invalidate();
  Realign();
}
