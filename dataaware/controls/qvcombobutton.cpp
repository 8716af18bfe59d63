// This file implements the combo button, its glyph painter and image cache, and its action link
// (see qvcombobutton.h).
#include "qvcombobutton.h"

#include <algorithm>

#include "Colors.h"
#include "qvControlUtils.h"
#include "qvThemes.h"

// Made by the cache only, for one image size.
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TGlyphList)
VELBOR_IMPLEMENT_CLASS(TGlyphCache)
VELBOR_IMPLEMENT_CLASS(TqvComboButtonGlyph)
VELBOR_IMPLEMENT_CLASS(TqvComboButtonActionLink)

namespace {
bool IsNumGlyphsStored(TObject* Instance) { return static_cast<TqvComboButton*>(Instance)->NumGlyphs() != 1; }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvComboButton)
VELBOR_PUBLISHED(TqvComboButton,
  Prop("Action", static_cast<TComponent* (TqvComboButton::*)() const>(&TqvComboButton::Action), &Self::SetAction),
  Prop("AllowAllUp", &Self::AllowAllUp, &Self::SetAllowAllUp).Default(false),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("Down", &Self::Down, &Self::SetDown).Default(false),
  Prop("Flat", &Self::Flat, &Self::SetFlat).Default(false),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("Layout", &Self::Layout, &Self::SetLayout).Default(blGlyphLeft),
  Prop("Margin", &Self::Margin, &Self::SetMargin).Default(-1),
  Prop("NumGlyphs", &Self::NumGlyphs, &Self::SetNumGlyphs).Stored(&IsNumGlyphsStored),
  Prop("Spacing", &Self::Spacing, &Self::SetSpacing).Default(4),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(true))

namespace {

TGlyphCache* GGlyphCache = nullptr;
int GButtonCount = 0;

// Parts and states of the visual styles' combo box and push button.
constexpr int ThemeComboDropDownButton = 1;  // "COMBOBOX", CP_DROPDOWNBUTTON
constexpr int ThemeButtonPush = 1;           // "BUTTON", BP_PUSHBUTTON

// Leaves the colours of a bitmap as they are, except those listed, which become their pair.
void Recolour(TBitmap& Image, std::initializer_list<std::pair<COLORREF, COLORREF>> Pairs) {
  TCanvas* Canvas = Image.Canvas();
  for (int Y = 0; Y < Image.Height(); ++Y) {
    for (int X = 0; X < Image.Width(); ++X) {
      COLORREF Pixel = ColorToRGB(Canvas->Pixels(X, Y));
      for (const auto& [From, To] : Pairs) {
        if (Pixel == From) {
          Canvas->SetPixels(X, Y, TColor(To));
          break;
        }
      }
    }
  }
}

}  // namespace

TGlyphCache* qvComboButtonGlyphCache() { return GGlyphCache; }

// --- TGlyphList ------------------------------------------------------------------------------------

TGlyphList::TGlyphList(int AWidth, int AHeight) : TImageList(nullptr, AWidth, AHeight) {}

int TGlyphList::AllocateIndex() {
  for (std::size_t i = 0; i < FUsed.size(); ++i) {
    if (!FUsed[i]) {
      FUsed[i] = true;
      return int(i);
    }
  }
  // No free slot: an empty image makes one.
  TBitmap Empty;
  Empty.SetPixelFormat(pf24bit);
  Empty.SetSize(Width(), Height());
  TImageList::Add(&Empty, nullptr);
  FUsed.push_back(true);
  return int(FUsed.size()) - 1;
}

int TGlyphList::AddGlyph(TBitmap* Image, TColor MaskColor) {
  int Index = AllocateIndex();
  ReplaceMasked(Index, Image, MaskColor);
  ++FCount;
  return Index;
}

void TGlyphList::DeleteGlyph(int Index) {
  if (Index < 0 || std::size_t(Index) >= FUsed.size() || !FUsed[std::size_t(Index)]) return;
  FUsed[std::size_t(Index)] = false;
  --FCount;
}

// --- TGlyphCache -----------------------------------------------------------------------------------

TGlyphCache::~TGlyphCache() {
  for (TGlyphList* List : FLists) delete List;
}

TGlyphList* TGlyphCache::GetList(int AWidth, int AHeight) {
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it) {
    if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) return *it;
  }
  FLists.push_back(new TGlyphList(AWidth, AHeight));
  return FLists.back();
}

void TGlyphCache::ReturnList(TGlyphList* List) {
  if (List == nullptr || List->UsedCount() != 0) return;
  auto it = std::find(FLists.begin(), FLists.end(), List);
  if (it != FLists.end()) FLists.erase(it);
  delete List;
}

// --- TqvComboButtonGlyph ---------------------------------------------------------------------------

TqvComboButtonGlyph::TqvComboButtonGlyph(TqvComboButton* AOwner) : FOwner(AOwner), FOriginal(new TBitmap) {
  FOriginal->OnChange = TNotifyEvent(this, &TqvComboButtonGlyph::GlyphChanged);
}

TqvComboButtonGlyph::~TqvComboButtonGlyph() {
  ReleaseImages();
  delete FOriginal;
  if (GGlyphCache != nullptr && GGlyphCache->Empty()) {
    delete GGlyphCache;
    GGlyphCache = nullptr;
  }
}

void TqvComboButtonGlyph::ReleaseImages() {
  for (int& Index : FIndexes) {
    if (Index >= 0 && FGlyphList != nullptr) FGlyphList->DeleteGlyph(Index);
    Index = -1;
  }
  if (FGlyphList != nullptr && GGlyphCache != nullptr) GGlyphCache->ReturnList(FGlyphList);
  FGlyphList = nullptr;
}

void TqvComboButtonGlyph::SetGlyph(TBitmap* Value) {
  ReleaseImages();
  FOriginal->Assign(Value);
  if (Value != nullptr && !FOriginal->Empty() && FOriginal->Height() > 0) {
    FTransparentColor = FOriginal->TransparentColor();
    if (FOriginal->Width() % FOriginal->Height() == 0) {
      int Glyphs = FOriginal->Width() / FOriginal->Height();
      SetNumGlyphs(Glyphs > 4 ? 1 : Glyphs);
    }
  }
}

void TqvComboButtonGlyph::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  ReleaseImages();
  FNumGlyphs = Value;
  GlyphChanged(FOriginal);
}

void TqvComboButtonGlyph::GlyphChanged(TObject* Sender) {
  if (Sender == FOriginal && !FOriginal->Empty()) {
    FTransparentColor = FOriginal->TransparentColor();
    // The images of the old bitmap are stale.
    for (int& Index : FIndexes) {
      if (Index >= 0 && FGlyphList != nullptr) FGlyphList->DeleteGlyph(Index);
      Index = -1;
    }
  }
  if (OnChange) OnChange(this);
}

void TqvComboButtonGlyph::BuildDisabledImage(TBitmap& Image, int Width, int Height, int Cell) {
  COLORREF Face = ColorToRGB(clBtnFace);
  COLORREF Highlight = ColorToRGB(clBtnHighlight);
  COLORREF Shadow = ColorToRGB(clBtnShadow);
  COLORREF Key = ColorToRGB(FTransparentColor);
  TCanvas* Source = FOriginal->Canvas();
  TCanvas* Target = Image.Canvas();
  if (FNumGlyphs > 1) {
    // The strip has its own disabled cell: its white, grey and transparent colour are recoloured.
    BitBlt(Target->Handle(), 0, 0, Width, Height, Source->Handle(), Cell * Width, 0, SRCCOPY);
    Recolour(Image, {{RGB(255, 255, 255), Highlight}, {RGB(128, 128, 128), Shadow}, {Key, Face}});
    return;
  }
  // One glyph: its shape (neither transparent nor white) embossed on the face, in the highlight
  // colour one pixel right and down, then in the shadow colour at its place.
  Target->Brush()->SetColor(clBtnFace);
  Target->FillRect(Rect(0, 0, Width, Height));
  std::vector<bool> Shape(std::size_t(Width * Height));
  for (int Y = 0; Y < Height; ++Y) {
    for (int X = 0; X < Width; ++X) {
      COLORREF Pixel = ColorToRGB(Source->Pixels(X, Y));
      Shape[std::size_t(Y * Width + X)] = Pixel != Key && Pixel != RGB(255, 255, 255);
    }
  }
  for (int Y = 0; Y < Height; ++Y) {
    for (int X = 0; X < Width; ++X) {
      if (Shape[std::size_t(Y * Width + X)] && X + 1 < Width && Y + 1 < Height)
        Target->SetPixels(X + 1, Y + 1, TColor(Highlight));
    }
  }
  for (int Y = 0; Y < Height; ++Y) {
    for (int X = 0; X < Width; ++X) {
      if (Shape[std::size_t(Y * Width + X)]) Target->SetPixels(X, Y, TColor(Shadow));
    }
  }
}

int TqvComboButtonGlyph::CreateButtonGlyph(TButtonState State) {
  // Down with fewer than three glyphs uses the up image.
  if (State == bsDown && FNumGlyphs < 3) State = bsUp;
  int& Cached = FIndexes[State];
  if (Cached != -1) return Cached;
  if (FOriginal->Empty() || FOriginal->Height() <= 0) return -1;
  int Width = FOriginal->Width() / FNumGlyphs;
  int Height = FOriginal->Height();
  if (Width <= 0) return -1;
  if (GGlyphCache == nullptr) GGlyphCache = new TGlyphCache;
  if (FGlyphList == nullptr) FGlyphList = GGlyphCache->GetList(Width, Height);
  int Cell = int(State) < FNumGlyphs ? int(State) : 0;
  TBitmap Image;
  Image.SetPixelFormat(pf24bit);
  Image.SetSize(Width, Height);
  if (State == bsDisabled) {
    BuildDisabledImage(Image, Width, Height, Cell);
    Cached = FGlyphList->AddGlyph(&Image, TColor(ColorToRGB(Image.Canvas()->Pixels(0, Height - 1))));
  } else {
    BitBlt(Image.Canvas()->Handle(), 0, 0, Width, Height, FOriginal->Canvas()->Handle(), Cell * Width, 0, SRCCOPY);
    Cached = FGlyphList->AddGlyph(&Image, FTransparentColor);
  }
  FOriginal->Dormant();
  return Cached;
}

TRect TqvComboButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, TPoint Offset, const String& Caption,
                                TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Transparent,
                                bool Themed) {
  int ClientWidth = Client.Width();
  int ClientHeight = Client.Height();
  TPoint GlyphSize;
  if (!FOriginal->Empty()) GlyphSize = TPoint(FOriginal->Width() / FNumGlyphs, FOriginal->Height());
  TPoint TextSize;
  if (!Caption.empty()) {
    RECT Measure{0, 0, ClientWidth, 0};
    TSelectedObject Font(Canvas->Handle(), Canvas->Font()->Handle());
    DrawTextA(Canvas->Handle(), Caption.c_str(), int(Caption.size()), &Measure, DT_CALCRECT | DT_SINGLELINE);
    TextSize = TPoint(Measure.right - Measure.left, Measure.bottom - Measure.top);
  }
  bool Horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  TPoint GlyphPos;
  TPoint TextPos;
  if (Horizontal) {
    GlyphPos.Y = (ClientHeight - GlyphSize.Y + 1) / 2;
    TextPos.Y = (ClientHeight - TextSize.Y + 1) / 2;
  } else {
    GlyphPos.X = (ClientWidth - GlyphSize.X + 1) / 2;
    TextPos.X = (ClientWidth - TextSize.X + 1) / 2;
  }
  if (TextSize.X == 0 || GlyphSize.X == 0) Spacing = 0;
  int Room = Horizontal ? ClientWidth : ClientHeight;
  int GlyphAlong = Horizontal ? GlyphSize.X : GlyphSize.Y;
  int TextAlong = Horizontal ? TextSize.X : TextSize.Y;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (Room - GlyphAlong - TextAlong) / 3;
      Spacing = Margin;
    } else {
      Margin = (Room - GlyphAlong - Spacing - TextAlong + 1) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (Room - Margin - GlyphAlong - TextAlong) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.X = Margin;
      TextPos.X = Margin + GlyphSize.X + Spacing;
      break;
    case blGlyphRight:
      GlyphPos.X = ClientWidth - Margin - GlyphSize.X;
      TextPos.X = GlyphPos.X - Spacing - TextSize.X;
      break;
    case blGlyphTop:
      GlyphPos.Y = Margin;
      TextPos.Y = Margin + GlyphSize.Y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.Y = ClientHeight - Margin - GlyphSize.Y;
      TextPos.Y = GlyphPos.Y - Spacing - TextSize.Y;
      break;
  }
  GlyphPos = TPoint(GlyphPos.X + Client.Left + Offset.X, GlyphPos.Y + Client.Top + Offset.Y);
  TPoint TextOffset = Themed ? TPoint() : Offset;
  TRect TextBounds = Bounds(TextPos.X + Client.Left + TextOffset.X, TextPos.Y + Client.Top + TextOffset.Y,
                            TextSize.X, TextSize.Y);

  int Index = CreateButtonGlyph(State);
  if (Index >= 0 && FGlyphList != nullptr) {
    bool Clear = Transparent || State == bsExclusive;
    FGlyphList->Draw(Canvas, GlyphPos.X, GlyphPos.Y, Index, Clear ? dsTransparent : dsNormal, itImage, true);
  }
  if (!Caption.empty()) {
    HDC DC = Canvas->Handle();
    TSelectedObject Font(DC, Canvas->Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    UINT Format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (State == bsDisabled) {
      TRect Shifted = TextBounds;
      OffsetRect(AsRECT(Shifted), 1, 1);
      SetTextColor(DC, ColorToRGB(clBtnHighlight));
      DrawTextA(DC, Caption.c_str(), int(Caption.size()), AsRECT(Shifted), Format);
      SetTextColor(DC, ColorToRGB(clBtnShadow));
    } else {
      SetTextColor(DC, ColorToRGB(Canvas->Font()->Color()));
    }
    TRect Drawn = TextBounds;
    DrawTextA(DC, Caption.c_str(), int(Caption.size()), AsRECT(Drawn), Format);
  }
  return TextBounds;
}

// --- TqvComboButtonActionLink ----------------------------------------------------------------------

TqvComboButtonActionLink::TqvComboButtonActionLink(TControl* AClient) : TControlActionLink(AClient) {}

TqvComboButton* TqvComboButtonActionLink::Button() const { return dynamic_cast<TqvComboButton*>(Client()); }

bool TqvComboButtonActionLink::IsCheckedLinked() {
  TCustomAction* Action = CustomAction();
  TqvComboButton* B = Button();
  return TControlActionLink::IsCheckedLinked() && Action != nullptr && B != nullptr && B->GroupIndex() != 0 &&
         B->AllowAllUp() && B->Down() == Action->Checked();
}

bool TqvComboButtonActionLink::IsGroupIndexLinked() {
  TCustomAction* Action = CustomAction();
  TqvComboButton* B = Button();
  return Action != nullptr && B != nullptr && B->GroupIndex() == Action->GroupIndex();
}

void TqvComboButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) Button()->SetDown(Value);
}

void TqvComboButtonActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) Button()->SetGroupIndex(Value);
}

// --- TqvComboButton --------------------------------------------------------------------------------

TqvComboButton::TqvComboButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FGlyph = new TqvComboButtonGlyph(this);
  FGlyph->OnChange = TNotifyEvent(this, &TqvComboButton::GlyphChanged);
  SetBounds(0, 0, 22, 23);
  // The click is decided on release inside the button, not by the base's click events.
  ControlStyle = {csCaptureMouse, csDoubleClicks};
  SetParentFont(true);
  SetParentColor(false);
  SetColor(clBtnFace);
  ++GButtonCount;
}

TqvComboButton::~TqvComboButton() {
  delete FComboLink;
  --GButtonCount;
  delete FGlyph;
}

int TqvComboButton::ButtonCount() { return GButtonCount; }

void TqvComboButton::GlyphChanged(TObject*) { Invalidate(); }

void TqvComboButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TqvComboButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TqvComboButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Repaint();
  }
  if (Value) UpdateExclusive();
}

void TqvComboButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TqvComboButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TqvComboButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  Invalidate();
}

void TqvComboButton::SetMargin(int Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TqvComboButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TqvComboButton::SetNumGlyphs(int Value) {
  // Values above four are kept as four.
  FGlyph->SetNumGlyphs(std::clamp(Value, 1, 4));
  Invalidate();
}

void TqvComboButton::SetAction(TComponent* Value) {
  TGraphicControl::SetAction(Value);
  delete FComboLink;
  FComboLink = nullptr;
  if (auto* Action = dynamic_cast<TBasicAction*>(Value)) {
    FComboLink = new TqvComboButtonActionLink(this);
    FComboLink->SetAction(Action);
    ActionChange(Action, ComponentState().Contains(csLoading));
  }
}

void TqvComboButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (Action == nullptr) return;
  if (CheckDefaults || FGroupIndex == 0) SetGroupIndex(Action->GroupIndex());
  TCustomActionList* List = Action->ActionList();
  TCustomImageList* Images = List != nullptr ? List->Images() : nullptr;
  if (Glyph()->Empty() && Images != nullptr && Action->ImageIndex() >= 0 && Action->ImageIndex() < Images->Count()) {
    TBitmap Image;
    Image.SetPixelFormat(pf24bit);
    Image.SetSize(Images->Width(), Images->Height());
    Image.Canvas()->Brush()->SetColor(clFuchsia);
    Image.Canvas()->FillRect(Rect(0, 0, Images->Width(), Images->Height()));
    Images->Draw(Image.Canvas(), 0, 0, Action->ImageIndex());
    SetGlyph(&Image);
  }
}

void TqvComboButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FComboLink != nullptr && AComponent == FComboLink->Action()) {
    delete FComboLink;
    FComboLink = nullptr;
  }
}

void TqvComboButton::Loaded() {
  TGraphicControl::Loaded();
  FGlyph->CreateButtonGlyph(Enabled() ? bsUp : bsDisabled);
}

void TqvComboButton::Click() { TGraphicControl::Click(); }

void TqvComboButton::DblClick() {
  if (FDown) TGraphicControl::DblClick();
}

void TqvComboButton::NormaliseState() {
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
}

bool TqvComboButton::InsideForRelease(int X, int Y) const {
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TqvComboButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TqvComboButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FDragging) {
    TButtonState NewState = FDown ? bsExclusive : bsUp;
    if (InsideForRelease(X, Y)) NewState = FDown ? bsExclusive : bsDown;
    if (NewState != FState) {
      FState = NewState;
      Invalidate();
    }
  } else if (!FMouseInControl) {
    UpdateTracking();
  }
}

void TqvComboButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  bool Inside = InsideForRelease(X, Y);
  if (FGroupIndex == 0) {
    FState = bsUp;
    FMouseInControl = false;
    if (Inside) Invalidate();
  } else if (Inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else {
    if (FDown) FState = bsExclusive;
    Repaint();
  }
  if (Inside) Click();
  UpdateTracking();
}

void TqvComboButton::UpdateTracking() {
  if (!FFlat || !Enabled()) return;
  POINT Cursor;
  GetCursorPos(&Cursor);
  TPoint P = ScreenToClient(TPoint(Cursor.x, Cursor.y));
  bool Over = Rect(0, 0, Width(), Height()).Contains(P) && Parent() != nullptr &&
              Parent()->ControlAtPos(TPoint(Left() + P.X, Top() + P.Y), false) == this;
  if (Over != FMouseInControl) Perform(Over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TqvComboButton::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage Message{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this), 0};
  Parent()->Broadcast(Message);
}

void TqvComboButton::Paint() {
  NormaliseState();
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  TRect R = Rect(0, 0, Width(), Height());
  TPoint Offset;
  bool Themed = false;
  if (qvThemesEnabledFor(this)) PaintThemed(C, R, Offset, Themed);
  if (Themed) return;
  PaintClassic(C, R, Offset);
  FGlyph->Draw(C, R, Offset, Caption(), FLayout, FMargin, FSpacing, FState, FTransparent, false);
}

void TqvComboButton::PaintThemed(TCanvas* Canvas, TRect R, TPoint& Offset, bool& Themed) {
  HDC DC = Canvas->Handle();
  bool Pressed = FState == bsDown || FState == bsExclusive;
  if (EllipsisStyle) {
    if (Parent() != nullptr) {
      Canvas->Brush()->SetColor(Parent()->Color());
      Canvas->FillRect(R);
    }
    int State = Pressed ? qvThemePressed : FMouseInControl ? qvThemeHot : qvThemeNormal;
    if (!Enabled()) State = qvThemeDisabled;
    if (!qvDrawThemePart(DC, "BUTTON", ThemeButtonPush, State, R)) return;
    int Side = std::max(1, ClientWidth() / 8);
    int Y = R.Top + (R.Bottom - R.Top) / 2 - 1;
    int X = R.Left + (R.Right - R.Left) / 2 - 1;
    TOwnedBrush Black(CreateSolidBrush(RGB(0, 0, 0)));
    for (int Dot : {X - 2 * Side, X, X + 2 * Side}) {
      RECT Square{Dot, Y, Dot + Side, Y + Side};
      FillRect(DC, &Square, Black);
    }
    Themed = true;
    return;
  }
  int State = !Enabled() ? qvThemeDisabled : Pressed ? qvThemePressed : FMouseInControl ? qvThemeHot : qvThemeNormal;
  // The edit holding the button is its parent's parent: in a grid the element only grows down.
  TControl* Edit = Parent() != nullptr ? Parent()->Parent() : nullptr;
  TRect Element = R;
  if (Edit == nullptr || Edit->Parent() == nullptr || qvClassInheritsFrom(Edit->Parent()->ClassType(), "TCustomGrid")) {
    Element.Bottom += 1;
  } else {
    Element = TRect(R.Left + 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
  }
  if (!qvDrawThemePart(DC, "COMBOBOX", ThemeComboDropDownButton, State, Element)) return;
  FGlyph->Draw(Canvas, Element, Offset, Caption(), FLayout, FMargin, FSpacing, FState, true, true);
  Themed = true;
}

void TqvComboButton::PaintClassic(TCanvas* Canvas, TRect& R, TPoint& Offset) {
  HDC DC = Canvas->Handle();
  bool Pushed = FState == bsDown || FState == bsExclusive;
  if (!FFlat) {
    UINT Flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (Pushed) Flags |= DFCS_PUSHED;
    DrawFrameControl(DC, AsRECT(R), DFC_BUTTON, Flags);
  } else {
    bool Edged = Pushed || (FMouseInControl && FState != bsDisabled) || ComponentState().Contains(csDesigning);
    if (Edged) {
      UINT Flags = BF_RECT | (FTransparent ? 0 : BF_MIDDLE);
      TRect Edge = R;
      DrawEdge(DC, AsRECT(Edge), Pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, Flags);
    } else if (!FTransparent) {
      Canvas->Brush()->SetColor(Color());
      Canvas->FillRect(R);
    }
    R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  Offset = Pushed ? TPoint(1, 1) : TPoint(0, 0);
  if (FState == bsExclusive && !(FFlat && FMouseInControl)) {
    // The dithered face of a button held down in its group.
    TBitmap Pattern;
    Pattern.SetPixelFormat(pf24bit);
    Pattern.SetSize(8, 8);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) Pattern.Canvas()->SetPixels(X, Y, (X + Y) % 2 ? clBtnFace : clBtnHighlight);
    TOwnedBrush Dither(CreatePatternBrush(Pattern.Handle()));
    FillRect(DC, AsRECT(R), Dither);
  }
}

void TqvComboButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}

void TqvComboButton::CMButtonPressed(TMessage& Message) {
  auto* Sender = reinterpret_cast<TqvComboButton*>(Message.LParam);
  if (int(Message.WParam) != FGroupIndex || Sender == this || Sender == nullptr) return;
  if (Sender->Down() && FDown) {
    FDown = false;
    FState = bsUp;
    if (auto* Action = dynamic_cast<TCustomAction*>(this->Action())) Action->SetChecked(false);
    Invalidate();
  }
  FAllowAllUp = Sender->AllowAllUp();
}

void TqvComboButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(WORD(Message.WParam), Caption()) && Enabled() && Visible() && Parent() != nullptr &&
      Parent()->Showing()) {
    Click();
    Message.Result = 1;
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TqvComboButton::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  FGlyph->CreateButtonGlyph(Enabled() ? bsUp : bsDisabled);
  UpdateTracking();
  Repaint();
}

void TqvComboButton::CMFontChanged(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  Invalidate();
}

void TqvComboButton::CMTextChanged(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  Invalidate();
}

void TqvComboButton::CMSysColorChange(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  // The images hold the system colours of their day.
  FGlyph->ReleaseImages();
  FGlyph->CreateButtonGlyph(FState);
  Invalidate();
}

void TqvComboButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  if (ComponentState().Contains(csDesigning)) return;
  bool Themes = qvThemesEnabledFor(this);
  if ((FFlat && !FMouseInControl && Enabled() && GetCapture() == nullptr) || Themes) {
    FMouseInControl = true;
    Invalidate();
  }
}

void TqvComboButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  if (ComponentState().Contains(csDesigning)) return;
  bool Themes = qvThemesEnabledFor(this);
  if ((FFlat && FMouseInControl && Enabled() && !FDragging) || Themes) {
    FMouseInControl = false;
    Invalidate();
  }
}
