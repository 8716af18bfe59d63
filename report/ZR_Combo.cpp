// This file implements the report engine's combo boxes and the recently used fonts of the font
// combo.
#include "ZR_Combo.h"

#include <algorithm>

#include "Printers.h"
#include "Registry.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_Ctrls.h"

VELBOR_IMPLEMENT_CLASS(TzrCustomComboBox)
VELBOR_PUBLISHED(TzrCustomComboBox, Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))
VELBOR_IMPLEMENT_CLASS(TzrComboBox)
VELBOR_IMPLEMENT_CLASS(TzrFontComboBox)
VELBOR_PUBLISHED(TzrFontComboBox,
  Prop("ShowMRU", &Self::ShowMRU).Default(true),
  Prop("MRURegKey", &Self::MRURegKey, &Self::SetMRURegKey),
  Prop("OnFontClick", &Self::OnFontClick))

namespace {

int TextHeightOf(TFont* Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

struct TFontNames {
  std::vector<std::pair<String, int>> Items;
};

int CALLBACK AddFontFamily(const LOGFONTA* Font, const TEXTMETRICA*, DWORD Type, LPARAM Data) {
  try {
    auto* names = reinterpret_cast<TFontNames*>(Data);
    String name = Font->lfFaceName;
    // Vertical variants of Asian fonts are not faces of their own.
    if (name.empty() || name[0] == '@') return 1;
    for (const auto& n : names->Items)
      if (n.first == name) return 1;
    names->Items.emplace_back(name, int(Type));
  } catch (...) {
    return 0;
  }
  return 1;
}

void Enumerate(HDC DC, TFontNames& Names) {
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(DC, &lf, &AddFontFamily, reinterpret_cast<LPARAM>(&Names), 0);
}

}  // namespace

TzrCustomComboBox::TzrCustomComboBox(TComponent* AOwner) : TComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  SetItemHeight(TextHeightOf(Font()));
  SetWidth(100);
}

void TzrCustomComboBox::SetReadOnly(bool Value) {
  FReadOnly = Value;
  RecreateWnd();
}

void TzrCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TComboBox::Dispatch(Message); break;
  }
}

void TzrCustomComboBox::CMFontChanged(TMessage& Message) {
  TComboBox::Dispatch(Message);
  SetItemHeight(TextHeightOf(Font()));
}

TzrFontComboBox::TzrFontComboBox(TComponent* AOwner) : TzrCustomComboBox(AOwner), FTrueTypeMark(new TBitmap()) {
  DrawGlyph(zgTrueType, FTrueTypeMark);
  SetDropDownCount(12);
  SetWidth(150);
  FEditOffset = 16;
  SetReadOnly(true);
  OnDrawItem = TDrawItemEvent(this, &TzrFontComboBox::DrawFontItem);
  SetItemHeight(std::max(TextHeightOf(Font()), FTrueTypeMark->Height() + 1));
}

TzrFontComboBox::~TzrFontComboBox() { delete FTrueTypeMark; }

void TzrFontComboBox::CreateWnd() {
  TzrCustomComboBox::CreateWnd();
  if (Items()->Count() == 0 && !ComponentState().Contains(csDesigning)) Populate();
}

int TzrFontComboBox::FontType(int Index) const {
  if (Index < 0 || Index >= Items()->Count()) return 0;
  return int(reinterpret_cast<std::intptr_t>(Items()->Objects(Index)));
}

void TzrFontComboBox::Populate() {
  FUpdating = true;
  String current = Text();
  TFontNames names;
  {
    HDC dc = GetDC(nullptr);
    Enumerate(dc, names);
    ReleaseDC(nullptr, dc);
  }
  try {
    TPrinter* printer = Printer();
    if (printer->Printers()->Count() > 0) Enumerate(printer->Handle(), names);
  } catch (const Exception&) {
    // A printer that cannot be asked adds no font.
  }
  std::sort(names.Items.begin(), names.Items.end(),
            [](const auto& A, const auto& B) { return AnsiCompareText(A.first, B.first) < 0; });
  TStrings* items = Items();
  items->BeginUpdate();
  items->Clear();
  for (const auto& n : names.Items)
    items->AddObject(n.first, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(n.second)));
  FMRUCount = 0;
  if (ShowMRU) {
    TRegistry registry;
    registry.OpenKey(FMRURegKey, true);
    for (int n = 4; n >= 0; --n) {
      String font = registry.ReadString("Font" + IntToStr(n));
      int listed = -1;
      for (int i = FMRUCount; i < items->Count() && !font.empty(); ++i)
        if (items->Strings(i) == font) {
          listed = i;
          break;
        }
      if (listed < 0) {
        registry.WriteString("Font" + IntToStr(n), String());
        registry.WriteInteger("FontType" + IntToStr(n), 0);
        continue;
      }
      items->InsertObject(0, font, items->Objects(listed));
      ++FMRUCount;
    }
  }
  items->EndUpdate();
  int index = current.empty() ? -1 : items->IndexOf(current);
  SetItemIndex(index >= 0 ? index : (items->Count() > 0 ? 0 : -1));
  FUpdating = false;
}

void TzrFontComboBox::ChooseFont(int Index) {
  TStrings* items = Items();
  if (Index <= 0 || Index >= items->Count() || !ShowMRU) {
    if (Index >= 0 && Index < items->Count()) SetItemIndex(Index);
    return;
  }
  String font = items->Strings(Index);
  TObject* type = items->Objects(Index);
  int already = -1;
  for (int i = 0; i < FMRUCount; ++i)
    if (items->Strings(i) == font) already = i;
  if (already >= 0) {
    items->Delete(already);
    items->InsertObject(0, font, type);
  } else {
    items->InsertObject(0, font, type);
    if (FMRUCount == 5)
      items->Delete(5);
    else
      ++FMRUCount;
  }
  SetItemIndex(0);
  WriteSlots();
}

void TzrFontComboBox::WriteSlots() {
  TRegistry registry;
  if (!registry.OpenKey(FMRURegKey, true)) return;
  for (int n = 0; n < 5; ++n) {
    bool used = n < FMRUCount;
    registry.WriteString("Font" + IntToStr(n), used ? Items()->Strings(n) : String());
    registry.WriteInteger("FontType" + IntToStr(n), used ? FontType(n) : 0);
  }
}

void TzrFontComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    default: TzrCustomComboBox::Dispatch(Message); break;
  }
}

void TzrFontComboBox::CNCommand(TMessage& Message) {
  TzrCustomComboBox::Dispatch(Message);
  if (HIWORD(Message.WParam) == CBN_CLOSEUP && !FUpdating) {
    int index = ItemIndex();
    if (index > 0) ChooseFont(index);
  }
  if (HIWORD(Message.WParam) == CBN_SELCHANGE && !FUpdating && !ComponentState().Contains(csReading) && OnFontClick)
    OnFontClick(this);
}

void TzrFontComboBox::DrawFontItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  bool selected = State.Contains(odSelected);
  c->Brush()->SetColor(selected ? clHighlight : clWindow);
  c->FillRect(Rect);
  if (Index < 0 || Index >= Items()->Count()) return;
  int x = Rect.Left + 15;
  if (FontType(Index) & zrTrueTypeFont) {
    int top = Rect.Top + (Rect.Height() - FTrueTypeMark->Height()) / 2;
    GdiTransparentBlt(c->Handle(), Rect.Left + 1, top, FTrueTypeMark->Width(), FTrueTypeMark->Height(),
                      FTrueTypeMark->Canvas()->Handle(), 0, 0, FTrueTypeMark->Width(), FTrueTypeMark->Height(),
                      COLORREF(zrGlyphTransparent));
    x = Rect.Left + 1 + FTrueTypeMark->Width();
  }
  RECT text{x + 2, Rect.Top, Rect.Right, Rect.Bottom};
  c->Font()->Assign(Font());
  c->Font()->SetColor(selected ? clHighlightText : clWindowText);
  c->Brush()->SetStyle(bsClear);
  String name = Items()->Strings(Index);
  DrawTextA(c->Handle(), name.c_str(), int(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  c->Brush()->SetStyle(bsSolid);
  // A line under the recently used fonts.
  if (FMRUCount > 0 && Index == FMRUCount - 1) {
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(Rect.Left, Rect.Bottom - 1);
    c->LineTo(Rect.Right, Rect.Bottom - 1);
  }
}

void RegisterReportCombos() {
  for (TClass c : {TzrCustomComboBox::StaticClass(), TzrComboBox::StaticClass(), TzrFontComboBox::StaticClass()})
    RegisterClass(c);
}
