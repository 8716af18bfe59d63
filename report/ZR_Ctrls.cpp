// This file implements the report engine's speed button with its inactive and disabled images, the
// toolbar button and separator, and the remembered placement of a window.
#include "ZR_Ctrls.h"

#include "Forms.h"
#include "Registry.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TzrSpeedButton)
VELBOR_PUBLISHED(TzrSpeedButton,
  Prop("GrayedInactive", &Self::GrayedInactive, &Self::SetGrayedInactive).Default(true))
VELBOR_IMPLEMENT_CLASS(TzrTBButton)
VELBOR_IMPLEMENT_CLASS(TzrTBSeparator)
VELBOR_PUBLISHED(TzrTBSeparator, Prop("DrawBevel", &Self::DrawBevel, &Self::SetDrawBevel).Default(true))

namespace {

COLORREF Rgb(TColor C) { return COLORREF(ColorToRGB(C)); }

}  // namespace

TzrSpeedButton::TzrSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) { SetBounds(0, 0, 22, 22); }

TzrSpeedButton::~TzrSpeedButton() = default;

void TzrSpeedButton::SetGrayedInactive(bool Value) {
  if (FGrayedInactive == Value) return;
  FGrayedInactive = Value;
  Invalidate();
}

void TzrSpeedButton::SetGlyph(TBitmap* Value) {
  TSpeedButton::SetGlyph(Value);
  int w = Value != nullptr ? Value->Width() : 0;
  int h = Value != nullptr ? Value->Height() : 0;
  if (h > 0 && w % h == 0 && w / h < 5)
    SetNumGlyphs(w / h);
  else
    SetNumGlyphs(1);
}

bool TzrSpeedButton::ShowsInactive() const {
  return FGrayedInactive && Enabled() && Flat() && !MouseInControl() && !ComponentState().Contains(csDesigning);
}

void TzrSpeedButton::MakeStateImage(TImageKind Kind, TBitmap* Image) {
  TBitmap* glyph = Glyph();
  int n = NumGlyphs() < 1 ? 1 : NumGlyphs();
  int w = glyph->Width() / n;
  int h = glyph->Height();
  Image->SetSize(w, h);
  HDC target = Image->Canvas()->Handle();
  HDC source = glyph->Canvas()->Handle();
  COLORREF transparent = GetPixel(source, 0, h - 1);
  COLORREF olive = Rgb(zrGlyphTransparent);
  COLORREF face = Rgb(clBtnFace);
  Image->Canvas()->Brush()->SetColor(zrGlyphTransparent);
  Image->Canvas()->FillRect(TRect(0, 0, w, h));
  int first = Kind == ikDisabled && n >= 2 ? w : 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      COLORREF c = GetPixel(source, first + x, y);
      if (c == transparent) continue;
      switch (Kind) {
        case ikUp: SetPixel(target, x, y, c); break;
        case ikInactive: {
          if (c == face) {
            SetPixel(target, x, y, c);
            break;
          }
          int grey = (77 * GetRValue(c) + 150 * GetGValue(c) + 29 * GetBValue(c)) / 256;
          SetPixel(target, x, y, RGB(grey, grey, grey));
          break;
        }
        case ikDisabled:
          if (n >= 2) {
            // The strip's own disabled image: white to highlight, grey to shadow.
            COLORREF d = c == RGB(255, 255, 255) ? Rgb(clBtnHighlight) : c == RGB(128, 128, 128) ? Rgb(clBtnShadow) : c;
            SetPixel(target, x, y, d);
          } else {
            if (x + 1 < w && y + 1 < h && GetPixel(target, x + 1, y + 1) == olive)
              SetPixel(target, x + 1, y + 1, Rgb(clBtnHighlight));
            SetPixel(target, x, y, Rgb(clBtnShadow));
          }
          break;
      }
    }
}

void TzrSpeedButton::Paint() {
  bool inactive = ShowsInactive();
  bool embossed = !Enabled() && NumGlyphs() < 2;
  if ((!inactive && !embossed) || Glyph()->Empty()) {
    TSpeedButton::Paint();
    return;
  }
  // The face as the class library's button draws it, with the image of the state.
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  HDC dc = canvas->Handle();
  canvas->Brush()->SetColor(clBtnFace);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  bool pressed = State() == bsDown || State() == bsExclusive;
  RECT face = r;
  if (Flat()) {
    if (pressed) DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&face, -1, -1);
  } else {
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
  }
  TRect content = face;
  if (pressed) content = TRect(content.Left + 1, content.Top + 1, content.Right + 1, content.Bottom + 1);
  canvas->SetFont(Font());
  canvas->TextExtent(" ");
  TBitmap image;
  MakeStateImage(inactive ? ikInactive : ikDisabled, &image);
  DrawButtonFace(canvas, content, &image, 1, embossed ? bsDisabled : bsUp, Caption(), Layout(), Margin(), Spacing(),
                 Enabled());
}

void TzrSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: TSpeedButton::Dispatch(Message); break;
  }
}

void TzrSpeedButton::CMDialogChar(TMessage& Message) {
  // The accelerator of the caption clicks an enabled, visible button.
  if (Enabled() && Visible() && IsAccel(static_cast<WORD>(Message.WParam), Caption())) {
    Click();
    Message.Result = 1;
    return;
  }
  TSpeedButton::Dispatch(Message);
}

TzrTBButton::TzrTBButton(TComponent* AOwner) : TzrSpeedButton(AOwner) {
  SetAlign(alLeft);
  SetFlat(true);
}

TzrTBSeparator::TzrTBSeparator(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 8, 8);
}

void TzrTBSeparator::SetDrawBevel(bool Value) {
  if (FDrawBevel == Value) return;
  FDrawBevel = Value;
  Invalidate();
}

void TzrTBSeparator::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(r);
  if (!FDrawBevel) return;
  bool horizontal = Align() == alTop || Align() == alBottom;
  if (horizontal) {
    int y = r.Height() / 2 - 1;
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(r.Left, y);
    c->LineTo(r.Right, y);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(r.Left, y + 1);
    c->LineTo(r.Right, y + 1);
  } else {
    int x = r.Width() / 2 - 1;
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(x, r.Top);
    c->LineTo(x, r.Bottom);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(x + 1, r.Top);
    c->LineTo(x + 1, r.Bottom);
  }
}

TAlign ToolbarChildAlign(TControl* Panel) {
  TControl* container = Panel != nullptr ? Panel->Parent() : nullptr;
  if (container != nullptr && (container->Align() == alLeft || container->Align() == alRight)) return alTop;
  return alLeft;
}

// ---- Placement

namespace {
const char kPlacementKey[] = "Software\\Tarvelo";
String PlacementSection(TCustomForm* Form) { return "Form\\" + Form->ClassName(); }
}  // namespace

void SaveFormPosition(TCustomForm* Form) {
  TRegIniFile ini(kPlacementKey);
  String section = PlacementSection(Form);
  ini.WriteInteger(section, "XPosition", Form->Left());
  ini.WriteInteger(section, "YPosition", Form->Top());
  ini.WriteInteger(section, "Width", Form->Width());
  ini.WriteInteger(section, "Height", Form->Height());
  ini.WriteBool(section, "Maximized", Form->WindowState() == wsMaximized);
}

void RestoreFormPosition(TCustomForm* Form) {
  TRegIniFile ini(kPlacementKey);
  String section = PlacementSection(Form);
  // A window never placed keeps what its description gives.
  TStringList names;
  ini.ReadSection(section, &names);
  if (names.Count() == 0) return;
  if (!ini.ReadBool(section, "Maximized", true)) Form->SetWindowState(wsNormal);
  int width = ini.ReadInteger(section, "Width", Form->Width());
  int height = ini.ReadInteger(section, "Height", Form->Height());
  int top = ini.ReadInteger(section, "YPosition", Form->Top());
  int left = ini.ReadInteger(section, "XPosition", Form->Left());
  Form->SetBounds(left, top, width, height);
}
