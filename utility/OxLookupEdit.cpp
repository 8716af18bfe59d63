// This file implements the lookup edit and its drop-down list (see OxLookupEdit.h).
#include "OxLookupEdit.h"

#include <algorithm>

#include "DataSet.h"
#include "Field.h"
#include "OxRealSizeIcons.h"
#include "Variant.h"

VELBOR_IMPLEMENT_CLASS(TOxPopupDataWindow)

VELBOR_IMPLEMENT_CLASS(TOxLookupEdit)
VELBOR_PUBLISHED(TOxLookupEdit,
  Prop("LookupSource", &Self::LookupSource, &Self::SetLookupSource),
  Prop("LookupField", &Self::LookupField, &Self::SetLookupField),
  Prop("LookupDisplay", &Self::LookupDisplay, &Self::SetLookupDisplay),
  Prop("LookupDisplayIndex", &Self::LookupDisplayIndex, &Self::SetLookupDisplayIndex).Default(0),
  Prop("ListStyle", &Self::ListStyle, &Self::SetListStyle).Default(lsFixed),
  Prop("FieldsDelimiter", &Self::FieldsDelimiter, &Self::SetFieldsDelimiter).Default(','),
  Prop("OnGetImage", &Self::OnGetImage, &Self::SetOnGetImage),
  Prop("DropDownCount", &Self::DropDownCount, &Self::SetDropDownCount).Default(8),
  Prop("DropDownWidth", &Self::DropDownWidth).Default(0),
  Prop("PopupOnlyLocate", &Self::PopupOnlyLocate).Default(true),
  Prop("GlyphKind", &TOxCustomComboEdit::GlyphKind, &TOxCustomComboEdit::SetGlyphKind).Default(gkDropDown),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnDropDown", &Self::OnDropDown))

void RegisterOxLookupEdit() {
  RegisterClass(TOxLookupEdit::StaticClass());
  // Its row pictures may be icons: the icon clipboard format comes with it.
  RegisterOxRealSizeIcons();
}

namespace {
constexpr int MaxDropDownRows = 50;

// Sets a flag for the life of a scope, whatever leaves it.
class TFlagScope {
 public:
  explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
};
}  // namespace

// --- TOxPopupDataWindow ---------------------------------------------------------------------------

TOxPopupDataWindow::TOxPopupDataWindow(TComponent* AOwner)
    : TOxPopupDataList(AOwner), FEditor(dynamic_cast<TOxLookupEdit*>(AOwner)) {}

void TOxPopupDataWindow::ResolveDisplayText(const String& Text) {
  bool changed = Text != FDisplayValue;
  FDisplayValue = Text;
  ShowDisplayRow();
  if (changed) Change();
}

void TOxPopupDataWindow::ShowDisplayRow() {
  if (!FLockPosition) {
    if (!FListActive) {
      FValue = FEmptyValue;
    } else if (!LocateDisplay()) {
      LookupDataSet()->First();
      FValue = FEmptyValue;
    }
  }
  Recount();
}

TGraphic* TOxPopupDataWindow::FetchRowImage(bool, bool IsEmpty, int& TextMargin) {
  TextMargin = 0;
  TGraphic* graphic = nullptr;
  if (OnGetImage) OnGetImage(FEditor, IsEmpty, graphic, TextMargin);
  return graphic;
}

void TOxPopupDataWindow::Click() {
  TOxPopupDataList::Click();
  if (FEditor == nullptr) return;
  if (!ValueIsEmpty() && !FEditor->FChanging && !FEditor->ReadOnly()) FEditor->TakeRowText(FDisplayValue);
  RepaintEditorText();
}

void TOxPopupDataWindow::KeyPress(char& Key) {
  TOxPopupDataList::KeyPress(Key);
  RepaintEditorText();
}

void TOxPopupDataWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxPopupDataList::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && CloseUp) CloseUp(this, ClientRect().Contains(TPoint(X, Y)));
}

void TOxPopupDataWindow::RepaintEditorText() {
  if (FEditor == nullptr || !FEditor->HandleAllocated()) return;
  RECT r{0, 0, FEditor->ClientWidth() - FEditor->ButtonWidth() - 2, FEditor->ClientHeight() + 1};
  InvalidateRect(FEditor->Handle(), &r, FALSE);
  UpdateWindow(FEditor->Handle());
}

// --- TOxLookupEdit --------------------------------------------------------------------------------

TOxLookupEdit::TOxLookupEdit(TComponent* AOwner) : TOxCustomComboEdit(AOwner) {
  // Counted as being created: the button takes the drop-down arrow's width directly.
  ControlState.Include(csCreating);
  FPopupWindow = new TOxPopupDataWindow(this);
  FPopupWindow->SetParent(this);
  FPopupWindow->CloseUp = TCloseUpCallback(static_cast<TOxCustomComboEdit*>(this), &TOxCustomComboEdit::ClosePopup);
  FPopup = FPopupWindow;
  SetGlyphKind(gkDropDown);
  ControlState.Exclude(csCreating);
}

TOxLookupEdit::~TOxLookupEdit() {
  Destroying();
  FPopupWindow->CloseUp = TCloseUpCallback();
  FPopupWindow->OnGetImage = TGetImageEvent();
  // The edit's window may still lose the focus while it goes: the popup is no longer there.
  FPopup = nullptr;
  FPopupVisible = false;
  delete FPopupWindow;
  FPopupWindow = nullptr;
}

// --- Properties -----------------------------------------------------------------------------------

TDataSource* TOxLookupEdit::LookupSource() const { return FPopupWindow->LookupSource(); }
void TOxLookupEdit::SetLookupSource(TDataSource* Value) { FPopupWindow->SetLookupSource(Value); }
String TOxLookupEdit::LookupField() const { return FPopupWindow->LookupField(); }
void TOxLookupEdit::SetLookupField(const String& Value) { FPopupWindow->SetLookupField(Value); }
String TOxLookupEdit::LookupDisplay() const { return FPopupWindow->LookupDisplay(); }
void TOxLookupEdit::SetLookupDisplay(const String& Value) { FPopupWindow->SetLookupDisplay(Value); }
int TOxLookupEdit::LookupDisplayIndex() const { return FPopupWindow->LookupDisplayIndex(); }
void TOxLookupEdit::SetLookupDisplayIndex(int Value) { FPopupWindow->SetLookupDisplayIndex(Value); }
TLookupListStyle TOxLookupEdit::ListStyle() const { return FPopupWindow->ListStyle(); }
void TOxLookupEdit::SetListStyle(TLookupListStyle Value) { FPopupWindow->SetListStyle(Value); }
char TOxLookupEdit::FieldsDelimiter() const { return FPopupWindow->FieldsDelimiter(); }
void TOxLookupEdit::SetFieldsDelimiter(char Value) { FPopupWindow->SetFieldsDelimiter(Value); }
TGetImageEvent TOxLookupEdit::OnGetImage() const { return FPopupWindow->OnGetImage; }
void TOxLookupEdit::SetOnGetImage(TGetImageEvent Value) { FPopupWindow->OnGetImage = Value; }

void TOxLookupEdit::SetDropDownCount(int Value) { FDropDownCount = std::clamp(Value, 1, MaxDropDownRows); }

// --- Operations -----------------------------------------------------------------------------------

String TOxLookupEdit::GetLookupValue() {
  FPopupWindow->ResolveDisplayText(Text());
  return FPopupWindow->ValueIsEmpty() ? String() : FPopupWindow->Value();
}

void TOxLookupEdit::TakeRowText(const String& RowText) {
  {
    TFlagScope changing(FChanging);
    SetText(RowText);
  }
  if (AutoSelect && Focused()) SelectAll();
}

// --- Popup protocol -------------------------------------------------------------------------------

void TOxLookupEdit::OpenPopup(bool) {
  if (GetReadOnly() || FPopupVisible) return;
  if (OnDropDown) OnDropDown(this);
  if (FPopupVisible) return;
  TOxPopupDataWindow* popup = FPopupWindow;
  popup->SetColor(Color());
  popup->Font()->Assign(Font());
  popup->SetReadOnly(GetReadOnly());
  popup->SetRowCount(FDropDownCount);
  int width = DropDownWidth > 0 ? DropDownWidth : DropDownWidth < 0 ? std::max(Width(), popup->NaturalListWidth()) : Width();
  popup->SetWidth(width);
  // The edit stays open to typing while its list shows.
  TOxCustomComboEdit::OpenPopup(false);
}

bool TOxLookupEdit::ConfirmPopupValue(Variant&) {
  if (OnCloseUp) OnCloseUp(this);
  return true;
}

void TOxLookupEdit::PutPopupValue(const Variant& Value) {
  if (VarIsNull(Value) || VarIsClear(Value)) FPopupWindow->PutKeyText(FPopupWindow->EmptyValue());
  else FPopupWindow->ResolveDisplayText(VarToStr(Value));
}

Variant TOxLookupEdit::TakePopupValue() {
  if (!FPopupWindow->ValueIsEmpty()) return Variant(FPopupWindow->DisplayValue());
  return Variant(Text());
}

void TOxLookupEdit::CompleteTypedText() {
  if (FChanging || FIgnoreChange || GetReadOnly()) {
    FIgnoreChange = false;
    return;
  }
  TFlagScope changing(FChanging);
  String typed = Text();
  String prefix = typed;
  if (FPopupWindow->LocatePrefix(prefix)) {
    String found = FPopupWindow->DisplayValue();
    SetText(found);
    SetSelStart(int(typed.size()));
    SetSelLength(int(found.size()) - int(typed.size()));
  } else {
    FPopupWindow->PutKeyText(FPopupWindow->EmptyValue());
  }
}

void TOxLookupEdit::Change() {
  if (PopupOnlyLocate || FPopupVisible) {
    // Completes while the list shows, tells OnChange while it does not.
    TOxCustomComboEdit::Change();
  } else {
    CompleteTypedText();
    PopupTextChanged();
  }
}

// --- Keys -----------------------------------------------------------------------------------------

void TOxLookupEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (FPopupVisible && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN)) {
    FPopupWindow->KeyDown(Key, Shift);
    Key = 0;
  }
  TOxCustomComboEdit::KeyDown(Key, Shift);
  // Deleting text (a selection too) must not bring the completion straight back; a character typed
  // over the completed tail goes on completing.
  FIgnoreChange = Key == VK_BACK || Key == VK_DELETE || (Shift.Contains(ssCtrl) && SelLength() > 0);
  if (!FPopupVisible && !GetReadOnly() && (Key == VK_UP || Key == VK_DOWN) && Shift.Empty()) {
    // Steps through the rows with the list closed, each row's text written into the edit.
    FPopupWindow->KeyDown(Key, Shift);
    if (!FPopupWindow->ValueIsEmpty()) Key = 0;
  }
}

void TOxLookupEdit::KeyPress(char& Key) {
  TOxCustomComboEdit::KeyPress(Key);
  if (Key == '\b') FIgnoreChange = true;
  else if (static_cast<unsigned char>(Key) >= 32) FIgnoreChange = false;
}
