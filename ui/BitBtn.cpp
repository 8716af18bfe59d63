// This file implements the glyph-and-caption layout of the bitmap buttons, the glyphs of the
// standard kinds (drawn in code), and TBitBtn, an owner-drawn native push button.
#include "Buttons.h"

VELBOR_IMPLEMENT_CLASS(TBitBtn)
VELBOR_PUBLISHED(TBitBtn,
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("Kind", &Self::Kind, &Self::SetKind).Default(bkCustom),
  Prop("Layout", &Self::Layout, &Self::SetLayout).Default(blGlyphLeft),
  Prop("Margin", &Self::Margin, &Self::SetMargin).Default(-1),
  Prop("Spacing", &Self::Spacing, &Self::SetSpacing).Default(4),
  Prop("NumGlyphs", &Self::NumGlyphs, &Self::SetNumGlyphs).Default(1))

void CalcButtonLayout(const TRect& Client, TPoint GlyphSize, TPoint TextSize, TButtonLayout Layout, int Margin,
                      int Spacing, TPoint& GlyphPos, TRect& TextBounds) {
  TPoint client(Client.Width(), Client.Height());
  TPoint text;
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  // Across the layout's axis both are centred.
  if (horizontal) {
    text.Y = (client.Y - TextSize.Y + 1) / 2;
    GlyphPos.Y = (client.Y - GlyphSize.Y + 1) / 2;
  } else {
    text.X = (client.X - TextSize.X + 1) / 2;
    GlyphPos.X = (client.X - GlyphSize.X + 1) / 2;
  }
  if (TextSize.X == 0 || GlyphSize.X == 0) Spacing = 0;
  int clientAxis = horizontal ? client.X : client.Y;
  int glyphAxis = horizontal ? GlyphSize.X : GlyphSize.Y;
  int textAxis = horizontal ? TextSize.X : TextSize.Y;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (clientAxis - (glyphAxis + textAxis)) / 3;
      Spacing = Margin;
    } else {
      Margin = (clientAxis - (glyphAxis + Spacing + textAxis) + 1) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (clientAxis - (Margin + glyphAxis) - textAxis) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.X = Margin;
      text.X = GlyphPos.X + GlyphSize.X + Spacing;
      break;
    case blGlyphRight:
      GlyphPos.X = client.X - Margin - GlyphSize.X;
      text.X = GlyphPos.X - Spacing - TextSize.X;
      break;
    case blGlyphTop:
      GlyphPos.Y = Margin;
      text.Y = GlyphPos.Y + GlyphSize.Y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.Y = client.Y - Margin - GlyphSize.Y;
      text.Y = GlyphPos.Y - Spacing - TextSize.Y;
      break;
  }
  GlyphPos = TPoint(GlyphPos.X + Client.Left, GlyphPos.Y + Client.Top);
  TextBounds = Bounds(text.X + Client.Left, text.Y + Client.Top, TextSize.X, TextSize.Y);
}

String BitBtnKindCaption(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK: return "OK";
    case bkCancel: return "Annuler";
    case bkHelp: return "&Aide";
    case bkYes: return "&Oui";
    case bkNo: return "&Non";
    case bkClose: return "&Fermer";
    case bkAbort: return "Abandonner";
    case bkRetry: return "&Réessayer"_a;
    case bkIgnore: return "&Ignorer";
    case bkAll: return "&Tous";
    case bkCustom: break;
  }
  return String();
}

TModalResult BitBtnKindModalResult(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    default: return mrNone;
  }
}

namespace {
// The glyphs' transparent colour (their bottom-left pixel).
constexpr TColor GlyphBack = clOlive;

void DrawKindShape(TCanvas* C, TBitBtnKind Kind, int X, TColor Color) {
  C->Pen()->SetColor(Color);
  C->Pen()->SetWidth(2);
  C->Brush()->SetColor(Color);
  auto line = [&](int x1, int y1, int x2, int y2) {
    C->MoveTo(X + x1, y1);
    C->LineTo(X + x2, y2);
  };
  switch (Kind) {
    case bkOK:
    case bkYes:
      line(3, 9, 7, 13);
      line(7, 13, 15, 4);
      break;
    case bkAll:
      line(1, 9, 4, 12);
      line(4, 12, 10, 5);
      line(7, 9, 10, 12);
      line(10, 12, 16, 5);
      break;
    case bkCancel:
      line(4, 4, 14, 14);
      line(14, 4, 4, 14);
      break;
    case bkNo:
      C->Brush()->SetStyle(bsClear);
      C->Ellipse(X + 3, 3, X + 15, 15);
      line(5, 13, 13, 5);
      C->Brush()->SetStyle(bsSolid);
      break;
    case bkAbort:
      C->Ellipse(X + 4, 4, X + 14, 14);
      break;
    case bkHelp:
      line(6, 5, 8, 3);
      line(8, 3, 11, 3);
      line(11, 3, 12, 6);
      line(12, 6, 9, 9);
      line(9, 9, 9, 11);
      line(9, 14, 9, 15);
      break;
    case bkClose:
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(X + 4, 2, X + 14, 16);
      C->Brush()->SetStyle(bsSolid);
      line(11, 9, 12, 9);
      break;
    case bkRetry:
      C->Brush()->SetStyle(bsClear);
      C->Arc(X + 3, 3, X + 15, 15, X + 15, 9, X + 9, 3);
      C->Brush()->SetStyle(bsSolid);
      line(9, 3, 12, 1);
      line(9, 3, 12, 6);
      break;
    case bkIgnore:
      line(3, 9, 14, 9);
      line(14, 9, 10, 5);
      line(14, 9, 10, 13);
      break;
    case bkCustom:
      break;
  }
}

TColor KindColor(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK:
    case bkYes:
    case bkAll:
    case bkRetry: return clGreen;
    case bkCancel:
    case bkNo:
    case bkAbort: return clRed;
    case bkClose: return clTeal;
    default: return clNavy;
  }
}
}  // namespace

void DrawKindGlyph(TBitBtnKind Kind, TBitmap* Glyph) {
  Glyph->SetSize(0, 0);
  if (Kind == bkCustom) return;
  Glyph->SetPixelFormat(pf24bit);
  Glyph->SetSize(36, 18);
  TCanvas* c = Glyph->Canvas();
  c->Brush()->SetColor(GlyphBack);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(Rect(0, 0, 36, 18));
  DrawKindShape(c, Kind, 0, KindColor(Kind));
  // The disabled image: the same shape embossed in grey.
  DrawKindShape(c, Kind, 19, clWhite);
  DrawKindShape(c, Kind, 18, clGray);
}

void DrawButtonFace(TCanvas* Canvas, const TRect& Client, TBitmap* Glyph, int NumGlyphs, TButtonState State,
                    const String& Caption, TButtonLayout Layout, int Margin, int Spacing, bool Enabled) {
  HDC dc = Canvas->Handle();
  TPoint glyphSize;
  bool hasGlyph = Glyph && !Glyph->Empty();
  if (NumGlyphs < 1) NumGlyphs = 1;
  if (hasGlyph) glyphSize = TPoint(Glyph->Width() / NumGlyphs, Glyph->Height());
  TPoint textSize;
  RECT measure{0, 0, Client.Width(), 0};
  if (!Caption.empty()) {
    DrawTextA(dc, Caption.c_str(), int(Caption.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
    textSize = TPoint(measure.right - measure.left, measure.bottom - measure.top);
  }
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(Client, glyphSize, textSize, Layout, Margin, Spacing, glyphPos, textBounds);
  if (hasGlyph) {
    int index = 0;
    if (State == bsDisabled && NumGlyphs > 1) index = 1;
    else if (State == bsDown && NumGlyphs > 2) index = 2;
    else if (State == bsExclusive && NumGlyphs > 3) index = 3;
    HDC source = Glyph->Canvas()->Handle();
    COLORREF transparent = GetPixel(source, 0, Glyph->Height() - 1);
    GdiTransparentBlt(dc, glyphPos.X, glyphPos.Y, glyphSize.X, glyphSize.Y, source, index * glyphSize.X, 0,
                      glyphSize.X, glyphSize.Y, transparent);
  }
  if (Caption.empty()) return;
  RECT r = textBounds;
  SetBkMode(dc, TRANSPARENT);
  UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (!Enabled) {
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, Caption.c_str(), int(Caption.size()), &r, flags);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, Caption.c_str(), int(Caption.size()), &r, flags);
}

// --- TBitBtn ----------------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {
  // A quick second click is a click, not a double click.
  ControlStyle.Exclude(csDoubleClicks);
  FGlyph = new TBitmap();
  FGlyph->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
  FKindGlyph = new TBitmap();
}

TBitBtn::~TBitBtn() {
  delete FGlyph;
  delete FKindGlyph;
}

void TBitBtn::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

void TBitBtn::GlyphChanged(TObject*) {
  // A glyph of several images side by side says how many by its width.
  if (!FGlyph->Empty() && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
    int n = FGlyph->Width() / FGlyph->Height();
    if (n >= 1 && n <= 4) FNumGlyphs = n;
  }
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (Value != bkCustom) {
    SetCaption(BitBtnKindCaption(Value));
    ModalResult = BitBtnKindModalResult(Value);
    SetDefault(Value == bkOK || Value == bkYes);
    Cancel = Value == bkCancel || Value == bkNo;
  }
  DrawKindGlyph(Value, FKindGlyph);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TBitBtn::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

TBitmap* TBitBtn::PaintGlyph() const { return FGlyph->Empty() ? FKindGlyph : FGlyph; }

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style &= ~DWORD(BS_DEFPUSHBUTTON);
  Params.Style |= BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool ADefault) {
  // Owner drawn: the default frame is ours to paint.
  if (FActive != ADefault) Invalidate();
  FActive = ADefault;
}

void TBitBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    default: TButton::Dispatch(Message); break;
  }
}

void TBitBtn::CNDrawItem(TMessage& Message) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  // The system's context gets its own font back once the canvas has let go of it.
  TSelectedObject font(item->hDC, Font()->Handle());
  TCanvas canvas;
  canvas.SetHandle(item->hDC);
  canvas.SetFont(Font());
  canvas.Font()->Handle();
  RECT r = item->rcItem;
  bool down = (item->itemState & ODS_SELECTED) != 0;
  bool focused = (item->itemState & ODS_FOCUS) != 0;
  if (FActive || focused) {
    FrameRect(item->hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(item->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0));
  TRect face = r;
  if (down) face = Rect(face.Left + 1, face.Top + 1, face.Right + 1, face.Bottom + 1);
  TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
  int glyphs = FGlyph->Empty() ? 2 : FNumGlyphs;
  DrawButtonFace(&canvas, face, PaintGlyph(), glyphs, state, Caption(), FLayout, FMargin, FSpacing, Enabled());
  if (focused) {
    RECT f = r;
    InflateRect(&f, -2, -2);
    DrawFocusRect(item->hDC, &f);
  }
  canvas.SetHandle(nullptr);
  Message.Result = 1;
}
