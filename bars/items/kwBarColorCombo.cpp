// This file implements the colour and font-name combos and the colour combo's control.
#include "kwBarColorCombo.h"

#include <algorithm>
#include <memory>

#include "CommonDialogs.h"
#include "Printers.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "kwBarControl.h"
#include "kwBarDrawing.h"
#include "kwBarItems.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {

const TResStringRec ColorNames[TkwBarColorCombo::StandardColorCount] = {
    {KW_IDS_COLOR_BLACK}, {KW_IDS_COLOR_MAROON},  {KW_IDS_COLOR_GREEN}, {KW_IDS_COLOR_OLIVE},
    {KW_IDS_COLOR_NAVY},  {KW_IDS_COLOR_PURPLE},  {KW_IDS_COLOR_TEAL},  {KW_IDS_COLOR_GRAY},
    {KW_IDS_COLOR_SILVER}, {KW_IDS_COLOR_RED},    {KW_IDS_COLOR_LIME},  {KW_IDS_COLOR_YELLOW},
    {KW_IDS_COLOR_BLUE},  {KW_IDS_COLOR_FUCHSIA}, {KW_IDS_COLOR_AQUA},  {KW_IDS_COLOR_WHITE}};

const TColor StandardColors[TkwBarColorCombo::StandardColorCount] = {
    clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
    clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};

// The width of the swatch at the left of a colour line.
constexpr int SwatchWidth = 30;

// Fills a rectangle with a colour through a brush of its own.
void FillWithColor(HDC DC, const TRect& Rect, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  FillRect(DC, AsRECT(Rect), brush);
  DeleteObject(brush);
}

void FrameWithBrush(HDC DC, const TRect& Rect, HBRUSH Brush) { FrameRect(DC, AsRECT(Rect), Brush); }

// Marks the font entries that are TrueType: the object is compared, never used.
TObject TrueTypeMarker;

TBitmap* LoadGlyph(std::unique_ptr<TBitmap>& Glyph, const char* Name) {
  if (!Glyph) {
    Glyph = std::make_unique<TBitmap>();
    Glyph->LoadFromResourceName(MainInstance(), Name);
  }
  return Glyph.get();
}

std::unique_ptr<TBitmap> TrueTypeGlyph, OtherGlyph;

// Adds each face of the enumeration once, marked when it is TrueType.
int CALLBACK AddFontFamily(const LOGFONTA* Font, const TEXTMETRICA*, DWORD FontType, LPARAM Data) {
  try {
    auto* list = reinterpret_cast<TStrings*>(Data);
    char face[LF_FACESIZE + 1] = {};
    std::copy_n(Font->lfFaceName, LF_FACESIZE, face);
    String name(face);
    // Vertical faces ("@...") are the same families written top to bottom.
    if (name.empty() || name[0] == '@') return 1;
    if (list->IndexOf(name) < 0)
      list->AddObject(name, (FontType & TRUETYPE_FONTTYPE) ? &TrueTypeMarker : nullptr);
  } catch (...) {
  }
  return 1;
}

}  // namespace

TBitmap* TrueTypeFontGlyph() { return LoadGlyph(TrueTypeGlyph, "KWBARTRUETYPEFONT"); }
TBitmap* OtherFontGlyph() { return LoadGlyph(OtherGlyph, "KWBARNONTRUETYPEFONT"); }

void FreeFontGlyphs() {
  TrueTypeGlyph.reset();
  OtherGlyph.reset();
}

// --- TkwBarColorCombo --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarColorCombo)
VELBOR_PUBLISHED(TkwBarColorCombo,
  Prop("AutoColor", &Self::AutoColor, &Self::SetAutoColor).Default(clWindowText).Idents(ColorIdents),
  Prop("AutoColorText", &Self::AutoColorText, &Self::SetAutoColorText).Stored(&Self::IsAutoColorTextStored),
  Prop("Color", &Self::Color, &Self::SetColor).Default(clBlack).Idents(ColorIdents),
  Prop("CustomColorText", &Self::CustomColorText, &Self::SetCustomColorText)
      .Stored(&Self::IsCustomColorTextStored),
  Prop("DropDownCount", static_cast<int (Self::*)() const>(&Self::DropDownCount), &Self::SetDropDownCount)
      .Stored(&Self::IsDropDownCountStored),
  Prop("ShowAutoColor", &Self::ShowAutoColor, &Self::SetShowAutoColor).Default(false),
  Prop("ShowCustomColorButton", &Self::ShowCustomColorButton, &Self::SetShowCustomColorButton).Default(false),
  Prop("ShowEditor", &Self::ShowEditor, &Self::SetShowEditor).Default(false))

TColor TkwBarColorCombo::StandardColor(int Index) {
  return Index >= 0 && Index < StandardColorCount ? StandardColors[Index] : clNone;
}

TkwBarColorCombo::TkwBarColorCombo(TComponent* AOwner) : TkwBarCustomCombo(AOwner) {
  SetShowEditor(false);
  FAutoColorText = GetLocalizedResourceString(&kwSAutomaticColor);
  FCustomColorText = GetLocalizedResourceString(&kwSCustomColor);
  for (const TResStringRec& name : ColorNames) Items()->Add(GetLocalizedResourceString(&name));
  TkwBarCustomCombo::SetDropDownCount(DefaultDropDownCount());
  Glyph()->LoadFromResourceName(MainInstance(), "KWBARCOLORCOMBO");
  FSelfChange = true;
  TScopeGuard reset([&] { FSelfChange = false; });
  SetItemIndex(0);
}

bool TkwBarColorCombo::IsAutoColorTextStored() const {
  return FAutoColorText != GetLocalizedResourceString(&kwSAutomaticColor);
}

bool TkwBarColorCombo::IsCustomColorTextStored() const {
  return FCustomColorText != GetLocalizedResourceString(&kwSCustomColor);
}

bool TkwBarColorCombo::IsDropDownCountStored() const { return DropDownCount() != DefaultDropDownCount(); }

void TkwBarColorCombo::SetDropDownCount(int Value) { TkwBarCustomCombo::SetDropDownCount(Value); }

TColor TkwBarColorCombo::ColorOfEntry(int Index) const {
  if (Index < 0 || Index >= EntryCount()) return FColor;
  if (FShowAutoColor) {
    if (Index == 0) return FAutoColor;
    --Index;
  }
  return StandardColors[Index];
}

int TkwBarColorCombo::EntryOfColor(TColor Value) const {
  if (FShowAutoColor && Value == FAutoColor) return 0;
  TColor rgb = TColor(ColorToRGB(Value));
  for (int i = 0; i < StandardColorCount; ++i)
    if (StandardColors[i] == rgb) return i + (FShowAutoColor ? 1 : 0);
  return -1;
}

void TkwBarColorCombo::SelectColorEntry() {
  FSelfChange = true;
  TScopeGuard reset([&] { FSelfChange = false; });
  int entry = EntryOfColor(FColor);
  if (entry != ItemIndex()) {
    SetItemIndex(entry);
  } else {
    // The same entry for another colour (two custom colours): the swatch changes all the same.
    RepaintLinks();
    Change();
  }
}

void TkwBarColorCombo::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  SelectColorEntry();
}

void TkwBarColorCombo::SetAutoColor(TColor Value) {
  if (Value == FAutoColor) return;
  FAutoColor = Value;
  if (!FShowAutoColor) return;
  FSelfChange = true;
  TScopeGuard reset([&] { FSelfChange = false; });
  int entry = EntryOfColor(FColor);
  if (entry != ItemIndex()) SetItemIndex(entry);
  RepaintLinks();
}

void TkwBarColorCombo::SetAutoColorText(const String& Value) {
  if (Value == FAutoColorText) return;
  FAutoColorText = Value;
  if (FShowAutoColor) Items()->Put(0, Value);
}

void TkwBarColorCombo::SetCustomColorText(const String& Value) {
  if (Value == FCustomColorText) return;
  FCustomColorText = Value;
  RepaintLinks();
}

void TkwBarColorCombo::SetShowAutoColor(bool Value) {
  if (Value == FShowAutoColor) return;
  bool countAtDefault = DropDownCount() == DefaultDropDownCount();
  FSelfChange = true;
  TScopeGuard reset([&] { FSelfChange = false; });
  FShowAutoColor = Value;
  if (Value)
    Items()->Insert(0, FAutoColorText);
  else
    Items()->Delete(0);
  if (countAtDefault) TkwBarCustomCombo::SetDropDownCount(DefaultDropDownCount());
  int entry = EntryOfColor(FColor);
  if (entry != ItemIndex()) SetItemIndex(entry);
  RepaintLinks();
}

void TkwBarColorCombo::SetShowCustomColorButton(bool Value) {
  if (Value == FShowCustomColorButton) return;
  FShowCustomColorButton = Value;
  RepaintLinks();
}

void TkwBarColorCombo::Change() {
  if (!FSelfChange) FColor = ColorOfEntry(ItemIndex());
  TkwBarCustomCombo::Change();
}

void TkwBarColorCombo::CustomButtonClick(TColor StartColor) {
  FFromCustomButton = true;
  FCustomStartColor = StartColor;
  TScopeGuard reset([&] { FFromCustomButton = false; });
  Click();
}

void TkwBarColorCombo::DoClick() {
  if (OnClick || ReadOnly()) {
    TkwBarCustomCombo::DoClick();
    return;
  }
  TColorDialog* dialog = BarItemsColorDialog();
  dialog->Color = FFromCustomButton ? FCustomStartColor : FColor;
  if (dialog->Execute()) SetColor(dialog->Color);
}

void TkwBarColorCombo::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    TkwBarCustomCombo::DrawItem(Index, Rect, State);
    return;
  }
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->Handle();
  String text = Index == -1 ? FCustomColorText : RowText(Index);
  // A custom system colour past the last one the system knows has no colour to show.
  bool swatch = !(Index == -1 && FColor < 0 && FColor > (clSystemColor | 24));
  TRect textRect = Rect;
  if (swatch) textRect.Left = std::min(Rect.Right, Rect.Left + SwatchWidth);
  canvas->FillRect(textRect);
  int y = textRect.Top + (textRect.Height() - canvas->TextHeight(text)) / 2;
  canvas->TextRect(textRect, textRect.Left + 1, y, text);
  if (swatch) {
    TRect r(Rect.Left, Rect.Top, std::min(Rect.Right, Rect.Left + SwatchWidth), Rect.Bottom);
    FrameWithBrush(dc, r, canvas->Brush()->Handle());
    InflateBy(r, -1, -1);
    FrameWithBrush(dc, r, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateBy(r, -1, -1);
    FillWithColor(dc, r, ColorOfEntry(Index));
  }
  if (State.Contains(odFocused)) DrawFocusRect(dc, AsRECT(Rect));
}

void TkwBarColorCombo::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) {
    TkwBarCustomCombo::MeasureItem(Index, Height);
    return;
  }
  Height = GetCanvas()->TextHeight("0") + 4;
}

void TkwBarColorCombo::GetItemWidth(int Index, int& Width) {
  TkwBarCustomCombo::GetItemWidth(Index, Width);
  Width += SwatchWidth;
}

// --- TkwBarColorComboControl -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarColorComboControl)

bool TkwBarColorComboControl::IsSelected() const { return TkwBarComboControl::IsSelected() || FCustomButtonPressed; }

void TkwBarColorComboControl::Draw(const TRect& Rect, int Kind) {
  TkwBarColorCombo* combo = ColorCombo();
  TCustomkwBarControl* window = Window();
  FCustomButtonRect = TRect();
  int buttonWidth = CustomButtonWidth(Rect.Height());
  if (!combo || !window || !combo->ShowCustomColorButton() || buttonWidth >= Rect.Width() / 2) {
    TkwBarComboControl::Draw(Rect, Kind);
    return;
  }
  TRect comboRect = Rect;
  comboRect.Right -= buttonWidth;
  TkwBarComboControl::Draw(comboRect, Kind);
  TRect button(comboRect.Right, Rect.Top, Rect.Right, Rect.Bottom);
  TRect inner;
  window->Painter()->DrawEllipsisButton(this, window->Canvas()->Handle(), button, inner, FCustomButtonPressed,
                                        IsSelected());
  FCustomButtonRect = inner;
}

void TkwBarColorComboControl::EditWndProc(TMessage& Message) {
  bool press = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
  if (press && !FCustomButtonRect.IsEmpty() && FEditWindow && Window() && Window()->HandleAllocated()) {
    TRect r = FCustomButtonRect;
    MapWindowPoints(Window()->Handle(), FEditWindow, reinterpret_cast<POINT*>(&r), 2);
    if (r.Contains(TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))))) {
      ClickCustomButton();
      return;
    }
  }
  if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN && GetKeyState(VK_CONTROL) < 0 && ColorCombo() &&
      ColorCombo()->ShowCustomColorButton()) {
    RemovePendingChars();
    ClickCustomButton();
    return;
  }
  TkwBarComboControl::EditWndProc(Message);
}

void TkwBarColorComboControl::ClickCustomButton() {
  TkwBarColorCombo* combo = ColorCombo();
  TCustomkwBarControl* window = Window();
  if (!combo || !window) return;
  TColor start = combo->ColorOfEntry(combo->GetCurrentItemIndex());
  if (Link()) Link()->GetOriginalLink()->MarkUsed(true);
  FCustomButtonPressed = true;
  Repaint();
  // The dialog is modal: the editor and the menus close before it opens (closing a menu may free
  // this control).
  if (IsLiveBarControl(window)) window->HideAll();
  combo->CustomButtonClick(start);
  if (IsLiveBarControl(window) && window->HasItemControl(this)) {
    FCustomButtonPressed = false;
    Repaint();
  }
}

// --- TkwBarFontNameCombo -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarFontNameCombo)
VELBOR_PUBLISHED(TkwBarFontNameCombo,
  Prop("ShowEditor", &Self::ShowEditor, &Self::SetShowEditor).Default(false),
  Prop("DropDownCount", &Self::DropDownCount, &Self::SetDropDownCount).Default(12),
  Prop("Width", &Self::Width, &Self::SetWidth).Default(160))

TkwBarFontNameCombo::TkwBarFontNameCombo(TComponent* AOwner) : TkwBarCustomCombo(AOwner) {
  SetShowEditor(false);
  SetDropDownCount(12);
  SetSorted(true);
  SetWidth(160);
  Glyph()->LoadFromResourceName(MainInstance(), "KWBARFONTNAMECOMBO");
  FillFontNames();
}

void TkwBarFontNameCombo::FillFontNames() {
  HDC dc = nullptr;
  bool screen = false;
  try {
    if (Printer()->Printers()->Count() > 0) dc = Printer()->Handle();
  } catch (...) {
    dc = nullptr;
  }
  if (!dc) {
    dc = GetDC(nullptr);
    screen = true;
  }
  LOGFONTA font{};
  font.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc, &font, AddFontFamily, reinterpret_cast<LPARAM>(Items()), 0);
  if (screen) ReleaseDC(nullptr, dc);
}

bool TkwBarFontNameCombo::IsTrueType(int Index) const {
  return Index >= 0 && Index < Items()->Count() && Items()->Objects(Index) == &TrueTypeMarker;
}

void TkwBarFontNameCombo::SetText(const String& Value) {
  if (!HasItemControls() || Value.empty()) {
    TkwBarCustomCombo::SetText(Value);
    return;
  }
  int index = Items()->IndexOf(Value);
  if (index < 0) return;
  TkwBarCustomCombo::SetText(Items()->Strings(index));
}

void TkwBarFontNameCombo::DoClick() {
  if (OnClick || ReadOnly()) {
    TkwBarCustomCombo::DoClick();
    return;
  }
  TFontDialog* dialog = BarItemsFontDialog();
  dialog->Font()->SetName(Text());
  if (dialog->Execute()) SetText(dialog->Font()->Name());
}

void TkwBarFontNameCombo::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem || Index == -1) {
    TkwBarCustomCombo::DrawItem(Index, Rect, State);
    return;
  }
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->Handle();
  TBitmap* glyph = IsTrueType(Index) ? TrueTypeFontGlyph() : OtherFontGlyph();
  canvas->FillRect(Rect);
  TRect glyphRect(Rect.Left, Rect.Top, Rect.Left, Rect.Top);
  if (glyph && !glyph->Empty()) {
    int top = Rect.Top + (Rect.Height() - glyph->Height()) / 2;
    glyphRect = TRect(Rect.Left, top, Rect.Left + glyph->Width(), top + glyph->Height());
    TkwGlyphDrawing how;
    how.BackgroundBrush = canvas->Brush()->Handle();
    if (TkwBarManager* manager = BarManager()) how.BackgroundColor = manager->ImageListBkColor();
    DrawItemGlyph(dc, glyphRect, glyphRect, how, -1, nullptr, glyph);
  }
  String text = RowText(Index);
  TRect textRect(glyphRect.Right + 2, Rect.Top, Rect.Right, Rect.Bottom);
  canvas->TextRect(textRect, textRect.Left, Rect.Top + (Rect.Height() - canvas->TextHeight(text)) / 2, text);
  if (State.Contains(odFocused)) DrawFocusRect(dc, AsRECT(glyphRect));
}

void TkwBarFontNameCombo::GetItemWidth(int Index, int& Width) {
  TkwBarCustomCombo::GetItemWidth(Index, Width);
  TBitmap* glyph = IsTrueType(Index) ? TrueTypeFontGlyph() : OtherFontGlyph();
  Width += (glyph ? glyph->Width() : 0) + 1;
}
