// This file implements the lookup combo (see qvdblook.h): its binding and shown text, the search
// of typed text, the drop-down with the shared thread mouse hook and its placement inside the work
// area, and the acceptance of a chosen or typed value at close-up.
#include "qvdblook.h"

#include <algorithm>

#include "Dialogs.h"
#include "Exceptions.h"
#include "Forms.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "Format.h"
#include "StrUtils.h"
#include "Timer.h"
#include "Table.h"
#include "TextOrder.h"
#include "qvControlUtils.h"
#include "qvDBDataSets.h"
#include "qvDataSetUtils.h"
#include "qvFieldSettings.h"
#include "qvMouseHook.h"
#include "qvRecordSearch.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvDBCustomLookupCombo)

namespace {
bool IsLookupGlyphStored(TObject* Instance) {
  return static_cast<TqvDBCustomLookupCombo*>(Instance)->IsButtonGlyphStored();
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvDBLookupCombo)
VELBOR_PUBLISHED(TqvDBLookupCombo,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("LookupTable", &Self::LookupTable, &Self::SetLookupTable),
  Prop("LookupField", &Self::LookupField, &Self::SetLookupField),
  Prop("Selected", &Self::Selected, &Self::SetSelected),
  Prop("Options", &Self::Options, &Self::SetOptions).Default(TqvDBLookupListOptions{}),
  Prop("Style", &Self::Style, &TqvDBCustomCombo::SetStyle).Default(csDropDown),
  Prop("DropDownCount", &Self::DropDownCount).Default(8),
  Prop("DropDownWidth", &Self::DropDownWidth).Default(0),
  Prop("DropDownAlignment", &Self::DropDownAlignment),
  Prop("AutoDropDown", &Self::AutoDropDown),
  Prop("ShowButton", &Self::ShowButton, &Self::SetShowButton),
  Prop("ButtonStyle", &Self::ButtonStyle, &Self::SetButtonStyle).Default(cbsDownArrow),
  Prop("ButtonGlyph", &Self::ButtonGlyph, &Self::SetButtonGlyph).Stored(&IsLookupGlyphStored),
  Prop("ButtonWidth", &Self::ButtonWidth, &Self::SetButtonWidth).Default(0),
  Prop("ButtonEffects", &Self::ButtonEffects, &Self::SetButtonEffects),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("SearchDelay", &Self::SearchDelay).Default(0),
  Prop("SeqSearchOptions", &Self::SeqSearchOptions).Default(TqvSeqSearchOptions{ssoEnabled}),
  Prop("OrderByDisplay", &Self::OrderByDisplay).Default(true),
  Prop("ShowMatchText", &Self::ShowMatchText).Default(false),
  Prop("AllowClearKey", &Self::AllowClearKey),
  Prop("UseTFields", &Self::UseTFields, &Self::SetUseTFields).Default(true),
  Prop("ControlInfoInDataset", &Self::ControlInfoInDataset).Default(true),
  Prop("Navigator", &Self::Navigator, &Self::SetNavigator).Default(false),
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  Prop("Picture", &Self::GetPicture, &Self::SetPicture),
  // The edit window is made multi-line so that its formatting rectangle holds.
  Prop("PreciseEditRegion", &Self::LimitEditRect, &Self::SetLimitEditRect),
  Prop("OnBeforeDropDown", &Self::OnBeforeDropDown),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnNotInList", &Self::OnNotInList),
  Prop("OnPerformCustomSearch", &Self::OnPerformCustomSearch))

namespace {

struct TLookupComboClassRegistration {
  TLookupComboClassRegistration() { RegisterClass(TqvDBLookupCombo::StaticClass()); }
} LookupComboClassRegistration;

LRESULT CALLBACK LookupComboMouseHookProc(int Code, WPARAM WParam, LPARAM LParam);

// One hook for every lookup combo of the program; each combo whose list is open is one of its
// users, so freeing one combo never takes the hook from another.
TqvThreadMouseHook LookupComboMouseHook(&LookupComboMouseHookProc);

// A press outside both the open list and its combo closes the list, taking the chosen row.
LRESULT CALLBACK LookupComboMouseHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  LRESULT Result = CallNextHookEx(nullptr, Code, WParam, LParam);
  if (Code < 0 || (WParam != WM_LBUTTONDOWN && WParam != WM_NCLBUTTONDOWN)) return Result;
  try {
    auto* Combo = Screen.Exists() ? dynamic_cast<TqvDBCustomLookupCombo*>(Screen->ActiveControl()) : nullptr;
    if (Combo == nullptr || !Combo->ListVisible() || !Combo->HandleAllocated()) return Result;
    POINT Point = reinterpret_cast<MOUSEHOOKSTRUCT*>(LParam)->pt;
    RECT ListRect{}, ComboRect{};
    if (Combo->List()->HandleAllocated()) GetWindowRect(Combo->List()->Handle(), &ListRect);
    GetWindowRect(Combo->Handle(), &ComboRect);
    if (!PtInRect(&ListRect, Point) && !PtInRect(&ComboRect, Point)) PostMessageA(Combo->Handle(), CM_CANCELMODE, 0, 0);
  } catch (...) {
  }
  return Result;
}

// Backspace, Space, Delete, digits, letters, the numeric pad and every code above 145.
bool IsSearchKey(WORD Key) {
  return Key == VK_BACK || Key == VK_SPACE || Key == VK_DELETE || (Key >= 48 && Key <= 111) || Key > 145;
}

bool ContainsNoCase(const String& Text, const String& Part) {
  return AnsiUpperCase(Text).find(AnsiUpperCase(Part)) != String::npos;
}

}  // namespace

int qvLookupComboMouseHookUsers() { return LookupComboMouseHook.UserCount(); }
bool qvLookupComboMouseHookInstalled() { return LookupComboMouseHook.Installed(); }

// --- Construction ------------------------------------------------------------------------------

TqvDBCustomLookupCombo::TqvDBCustomLookupCombo(TComponent* AOwner) : TqvDBCustomCombo(AOwner) {
  SetButtonStyle(cbsDownArrow);
  ControlStyle.Include(csReplicatable);
  FList = new TqvPopupGrid(this);
  FList->SetVisible(false);
  FList->SetHeight(0);
  FList->SetParent(this);
  FList->OnClick = TNotifyEvent(this, &TqvDBCustomLookupCombo::AcceptListValue);
  FSearchTimer = new TTimer(this);
  FSearchTimer->SetEnabled(false);
  FSearchTimer->SetInterval(200);
  FSearchTimer->SetOnTimer(TNotifyEvent(this, &TqvDBCustomLookupCombo::SearchTypedText));
  SetHeight(25);
}

TqvDBCustomLookupCombo::~TqvDBCustomLookupCombo() {
  // This combo stops being a user of the hook; another combo's open list keeps it.
  LookupComboMouseHook.RemoveUser(this);
  if (FListShown && Application.Exists()) Application->SetShowHint(FSavedShowHint);
  // The navigator link is on the list's lookup source: it goes first.
  FNavigatorLink.reset();
  delete FList;
  FList = nullptr;
}

// --- Binding -----------------------------------------------------------------------------------

void TqvDBCustomLookupCombo::SetDataSource(TDataSource* Value) {
  if (Value != nullptr && Value->DataSet() != nullptr && Value->DataSet() == LookupTable())
    throw EInvalidOperation(qvLookupDuplicateSources);
  TqvDBCustomEdit::SetDataSource(Value);
  DataChange();
}

void TqvDBCustomLookupCombo::SetDataField(const String& Value) {
  TqvDBCustomEdit::SetDataField(Value);
  // A lookup field gives its own key fields; a calculated one those of its "LookupLinks" line.
  String Keys;
  for (const String& Name : LinkLookupFields()) Keys += (Keys.empty() ? "" : ";") + Name;
  if (!Keys.empty()) SetLookupField(Keys);
  else DataChange();
}

namespace {

// The ";" parts of a line, empty ones kept.
std::vector<String> LineParts(const String& Line) {
  std::vector<String> Parts;
  if (Line.empty()) return Parts;
  for (std::size_t Start = 0;;) {
    std::size_t End = Line.find(';', Start);
    Parts.push_back(Trim(Line.substr(Start, End == String::npos ? String::npos : End - Start)));
    if (End == String::npos) break;
    Start = End + 1;
  }
  return Parts;
}

// The members of the complete pairs of a links line: the first of each (Second false) or the
// second.
std::vector<String> PairMembers(const String& Line, bool Second) {
  std::vector<String> Parts = LineParts(Line), Members;
  for (std::size_t i = 0; i + 1 < Parts.size(); i += 2)
    if (!Parts[i].empty() && !Parts[i + 1].empty()) Members.push_back(Parts[i + (Second ? 1 : 0)]);
  return Members;
}

}  // namespace

std::vector<String> TqvDBCustomLookupCombo::LinkKeyFields() {
  TField* F = Field();
  if (F == nullptr || F->DataSet() == nullptr) return {};
  if (F->Lookup()) return LineParts(F->KeyFields());
  if (!F->Calculated()) return {};
  return PairMembers(qvGetFieldLookupLinks(F->DataSet(), F->FieldName()), false);
}

std::vector<String> TqvDBCustomLookupCombo::LinkLookupFields() {
  TField* F = Field();
  if (F == nullptr || F->DataSet() == nullptr) return {};
  if (F->Lookup()) return LineParts(F->LookupKeyFields());
  if (!F->Calculated()) return {};
  return PairMembers(qvGetFieldLookupLinks(F->DataSet(), F->FieldName()), true);
}

// The bound field follows its key fields (a lookup or calculated field is never written itself).
bool TqvDBCustomLookupCombo::WriteLookupKeyFields() {
  TField* F = Field();
  if (FWritingKeys || F == nullptr || F->DataSet() == nullptr) return false;
  FWritingKeys = true;
  TScopeGuard Done([&] {
    FWritingKeys = false;
    Invalidate();
  });
  TDataSet* Bound = F->DataSet();
  std::vector<String> Names = LinkKeyFields();
  const String* Values[3] = {&FList->LookupValue, &FList->LookupValue2, &FList->LookupValue3};
  bool Changed = Names.empty();
  for (std::size_t i = 0; i < Names.size() && i < 3; ++i)
    if (TField* K = Bound->FindField(Names[i]); K != nullptr && K->AsString() != *Values[i]) Changed = true;
  if (!Changed || ReadOnly() || !Bound->CanModify()) return Changed;
  FInternalUpdate = true;
  TScopeGuard Internal([&] { FInternalUpdate = false; });
  if (Bound->State() != dsEdit && Bound->State() != dsInsert) Bound->Edit();
  if (Bound->State() != dsEdit && Bound->State() != dsInsert) return Changed;
  // A detail lookup table gives only the last key; the master fields hold the others.
  std::size_t First = HasDetailLookupTable() && !Names.empty() ? std::min<std::size_t>(Names.size(), 3) - 1 : 0;
  for (std::size_t i = First; i < Names.size() && i < 3; ++i) {
    TField* K = Bound->FindField(Names[i]);
    if (K == nullptr || K->AsString() == *Values[i]) continue;
    if (Values[i]->empty()) K->Clear();
    else K->SetAsString(*Values[i]);
  }
  return Changed;
}

void TqvDBCustomLookupCombo::SetLookupTable(TDataSet* Value) {
  FList->SetLookupTable(Value);
  DataChange();
}

void TqvDBCustomLookupCombo::SetLookupField(const String& Value) {
  FList->SetLookupField(Value);
  FList->UpdateLookupFields(true);
  DataChange();
}

void TqvDBCustomLookupCombo::SetNavigator(bool Value) {
  FNavigator = Value;
  if (!Value) {
    if (FNavigatorLink != nullptr) FNavigatorLink->OnDataChange = TNotifyEvent();
    return;
  }
  if (FNavigatorLink == nullptr) {
    FNavigatorLink = std::make_unique<TFieldDataLink>();
    FNavigatorLink->Control = this;
  }
  FNavigatorLink->OnDataChange = TNotifyEvent(this, &TqvDBCustomLookupCombo::NavigatorDataChange);
  BindNavigator();
}

void TqvDBCustomLookupCombo::BindNavigator() {
  if (!FNavigator || FNavigatorLink == nullptr || FList == nullptr) return;
  TField* Shown = FList->DisplayField();
  if (Shown == nullptr) return;
  ++FMovingTable;
  TScopeGuard Done([&] { --FMovingTable; });
  if (FNavigatorLink->DataSource() != FList->LookupSource()) FNavigatorLink->SetDataSource(FList->LookupSource());
  if (FNavigatorLink->FieldName() != Shown->FieldName()) FNavigatorLink->SetFieldName(Shown->FieldName());
}

// The table moved by someone else: the combo shows and takes its row.
void TqvDBCustomLookupCombo::NavigatorDataChange(TObject*) {
  if (!FNavigator || FListShown || FMovingTable > 0 || FApplyingOrder || FInternalUpdate) return;
  if (ComponentState().Contains(csLoading)) return;
  TField* Shown = FNavigatorLink->Field();
  if (Shown == nullptr || Shown->DataSet() == nullptr || !Shown->DataSet()->Active()) return;
  FList->TakeCurrentRow();
  FShowingField = true;
  TScopeGuard Showing([&] { FShowingField = false; });
  SetText(Shown->DisplayText());
  if (Focused()) SelectAll();
}

void TqvDBCustomLookupCombo::SetStyle(TqvDBLookupComboStyle Value) { TqvDBCustomCombo::SetStyle(Value); }

void TqvDBCustomLookupCombo::SetUseTFields(bool Value) {
  FUseTFields = Value;
  FList->SetUseTFields(Value);
}

bool TqvDBCustomLookupCombo::ListVisible() const { return FListShown; }

bool TqvDBCustomLookupCombo::BindsLookupField() {
  TField* F = Field();
  return F != nullptr && DataSource() != nullptr && DataSource()->DataSet() != nullptr &&
         (F->Calculated() || F->Lookup());
}

bool TqvDBCustomLookupCombo::AllowsTyping() { return FListShown || Style() == csDropDown || AutoDropDown; }

bool TqvDBCustomLookupCombo::CanEditValue() {
  bool Result = true;
  if (DataSource() != nullptr) {
    if (DataField().empty() || (FDataLink->Editing() && AllowsTyping())) Result = true;
    else if (BindsLookupField())
      Result = DataSource()->State() == dsEdit || DataSource()->State() == dsInsert || DataSource()->AutoEdit;
    else Result = false;
  }
  if (!FListShown && Style() == csDropDownList) Result = Result && AutoDropDown;
  return Result && !ReadOnly();
}

String TqvDBCustomLookupCombo::GetSearchText() { return AllowsTyping() ? Text() : LookupValue(); }

void TqvDBCustomLookupCombo::BeginEdit() {
  FInternalUpdate = true;
  TScopeGuard Done([&] { FInternalUpdate = false; });
  FDataLink->Edit();
}

void TqvDBCustomLookupCombo::SelectAllIfTyping() {
  if (AllowsTyping() && Focused()) SelectAll();
}

// The key values 2 and 3 come from the bound dataset's fields named like the key fields.
void TqvDBCustomLookupCombo::DataChange() {
  if (FInternalUpdate || FList == nullptr) return;
  // Columns may have come after the key fields: the display field is resolved again.
  FList->UpdateLookupFields(false);
  TField* F = Field();
  FShowingField = true;
  TScopeGuard Shown([&] { FShowingField = false; });
  bool Loading = ComponentState().Contains(csLoading);
  if (F == nullptr || Loading) {
    if (!OnPerformCustomSearch && (Loading || DataSource() != nullptr)) SetText(String());
  } else {
    // A detail lookup table that has not yet read the rows of this record is not searched: it
    // tells the combo again once it has (TqvDBLookupList::DataChanged).
    bool Nested = FList->FDataChangeDepth > 0;
    bool Detail = LookupTableIsDetail();
    if (Detail && !Nested && !BindsLookupField() && DetailOutOfStep()) return;
    ++FList->FDataChangeDepth;
    TScopeGuard Unnest([&] { --FList->FDataChangeDepth; });
    TDataSet* Bound = F->DataSet();
    String Value = F->AsString();
    std::vector<String> Names = LinkKeyFields();
    bool Linked = !Names.empty();
    if (Linked) {
      // The bound dataset's key fields (a lookup field's, or a calculated field's links) hold the key.
      auto Key = [&](std::size_t i) {
        TField* K = i < Names.size() ? Bound->FindField(Names[i]) : nullptr;
        return K != nullptr ? K->AsString() : String();
      };
      Value = Key(0);
      FList->LookupValue2 = Key(1);
      FList->LookupValue3 = Key(2);
    } else {
      for (int i = 2; i <= 3; ++i) {
        TField* Key = FList->KeyField(i);
        TField* Own = Key != nullptr ? Bound->FindField(Key->FieldName()) : nullptr;
        (i == 2 ? FList->LookupValue2 : FList->LookupValue3) = Own != nullptr ? Own->AsString() : String();
      }
    }
    TDataSet* Table = LookupTable();
    // The text is aligned as the display field is.
    if (TField* Shown = FList->DisplayField()) SetFieldAlignment(Shown->Alignment());
    if (Detail && !Nested && BindsLookupField()) {
      // The field shows its own value; a detail table may not hold this record's rows yet.
      FList->LookupValue = Value;
      SetText(F->AsString());
    } else if (Table != nullptr && Table->Active() && FList->KeyField(1) != nullptr) {
      FList->SetLookupValue(Value);
      SetText(Linked ? F->AsString() : FList->DisplayValue);
    } else {
      FList->LookupValue = Value;
      SetText(Value);
    }
    FLookupFound = true;
    if (DataSource() != nullptr && DataSource()->State() == dsBrowse) {
      FSavedText = Text();
      FSavedLookupValue = FList->LookupValue;
    }
  }
  if (Focused()) SelectAllIfTyping();
}

void TqvDBCustomLookupCombo::EditingChange() { TCustomEdit::SetReadOnly(!CanEditValue()); }

void TqvDBCustomLookupCombo::SetLookupValue(const String& Value) {
  if (FList->DataLink()->Active() && FDataLink->Active() && DataSource() != nullptr &&
      DataSource()->DataSet() == LookupTable())
    throw EInvalidOperation(qvLookupDuplicateSources);
  if (Value == LookupValue() && !(Text().empty() && !Value.empty()) && !(DisplayIsKey() && Text() != Value)) return;
  FShowingField = true;
  TScopeGuard Shown([&] { FShowingField = false; });
  TDataSet* Table = LookupTable();
  if (Table != nullptr && Table->Active()) {
    FList->SetLookupValue(Value);
    SetText(FList->DisplayValue);
    return;
  }
  FList->LookupValue = Value;
  if (Table != nullptr && OnPerformCustomSearch) {
    bool Found = false;
    DoPerformCustomSearch(LookupField(), Value, true, Found);
    if (Found && FList->DisplayField() != nullptr) FList->DisplayValue = FList->DisplayField()->AsString();
    SetText(FList->DisplayValue);
    return;
  }
  SetText(Value);
}

// The text comes back with its row: the row of the current key is found again.
void TqvDBCustomLookupCombo::SetDisplayValue(const String& Value) {
  TDataSet* Table = LookupTable();
  if (Table == nullptr || !Table->Active() || FList->DisplayField() == nullptr) return;
  if (Value != FList->DisplayValue || !FList->IsChosenRow()) {
    FList->SelectedRow = -1;
    bool Found = FList->LocateKey(FList->LookupValue, FList->LookupValue2, FList->LookupValue3);
    FLookupFound = Found || GetSearchText().empty();
    FTypedText = Text();
    FList->DisplayValue = Value;
    if (DisplayIsKey()) FList->LookupValue = Value;
    else if (Found) FList->LookupValue = FList->KeyField(1)->AsString();
    else {
      FList->DisplayValue.clear();
      FList->LookupValue.clear();
    }
  }
  FShowingField = true;
  TScopeGuard Shown([&] { FShowingField = false; });
  SetText(FList->DisplayValue);
}

void TqvDBCustomLookupCombo::RefreshLookupDisplay() {
  FList->UpdateLookupFields(false);
  String Kept = LookupValue();
  TField* F = Field();
  String Value = F != nullptr ? F->AsString() : Kept;
  FList->LookupValue.clear();
  bool Found = FList->LocateKey(Value, FList->LookupValue2, FList->LookupValue3);
  FShowingField = true;
  TScopeGuard Shown([&] { FShowingField = false; });
  if (Found && FList->DisplayField() != nullptr) {
    FList->DisplayValue = FList->DisplayField()->AsString();
    SetText(FList->DisplayValue);
  } else {
    FList->DisplayValue.clear();
    SetText(String());
  }
  FList->LookupValue = Kept;
}

String TqvDBCustomLookupCombo::GetFieldText() { return DisplayIsKey() ? Text() : LookupValue(); }

// A combo painted in a grid cell shows the display value of the cell's key.
bool TqvDBCustomLookupCombo::MapValueToDisplay(const String& Value, String& Display) {
  TDataSet* Table = LookupTable();
  TField* Key = FList->KeyField(1);
  TField* Shown = FList->DisplayField();
  if (Table == nullptr || !Table->Active() || Key == nullptr || Shown == nullptr) return false;
  if (Shown == Key) {
    Display = Value;
    return true;
  }
  Variant Found = Table->Lookup(Key->FieldName(), Variant(Value), Shown->FieldName());
  Display = VarIsNull(Found) ? String() : VarToStr(Found);
  return true;
}

void TqvDBCustomLookupCombo::UpdateData() {
  TField* F = Field();
  if (F == nullptr) return;
  if (!FRestoring && !Text().empty() && !FListShown) CheckTypedText();
  if (BindsLookupField()) {
    if (!LinkKeyFields().empty()) WriteLookupKeyFields();
    return;
  }
  if (DisplayIsKey()) {
    if (F->AsString() != Text()) F->SetEditText(Text());
    if (LookupValue() != Text() && !FTypedDropDown) FList->LookupValue = Text();
  } else if (F->AsString() != LookupValue()) {
    if (LookupValue().empty()) F->Clear();
    else F->SetAsString(LookupValue());
  }
  if (FList->IsChosenRow() || UsesLookupDialog()) {
    for (int i = 2; i <= 3; ++i) {
      TField* Key = FList->KeyField(i);
      TField* Own = Key != nullptr ? F->DataSet()->FindField(Key->FieldName()) : nullptr;
      if (Own != nullptr && Own != F) Own->Assign(Key);
    }
  }
}

void TqvDBCustomLookupCombo::Loaded() {
  TqvDBCustomCombo::Loaded();
  DataChange();
}

void TqvDBCustomLookupCombo::CreateWnd() {
  TqvDBCustomCombo::CreateWnd();
  DataChange();
}

void TqvDBCustomLookupCombo::Change() {
  if (!FShowingField && FDataLink->Editing()) {
    FDataLink->Modified();
    if (FSetBySelection) SetModified(true);
  }
  TqvCustomMaskEdit::Change();
}

void TqvDBCustomLookupCombo::DoEnter() {
  FList->DisplayValue = Text();
  TqvDBCustomCombo::DoEnter();
  if (FRestoring) return;
  SetModified(false);
  if (!FListShown) {
    FSavedText = Text();
    FSavedLookupValue = LookupValue();
  }
}

// --- Typing and search -------------------------------------------------------------------------

void TqvDBCustomLookupCombo::DoPerformCustomSearch(const String& Field, const String& Value, bool PerformLookup,
                                                   bool& Found) {
  if (OnPerformCustomSearch) OnPerformCustomSearch(this, LookupTable(), Field, Value, PerformLookup, Found);
}

bool TqvDBCustomLookupCombo::FindLookupValue(const String& Value, const String& FieldName, bool PerformLookup,
                                             bool CaseSensitive, int MatchKind) {
  if (FInCustomSearch) return false;
  TDataSet* Table = LookupTable();
  if (Table == nullptr) return false;
  TField* F = FieldName.find(';') == String::npos ? Table->FindField(FieldName) : nullptr;
  String Wanted = Value;
  bool Result;
  if (F != nullptr && Table->Active() && F->AsString() == Wanted) {
    FList->Invalidate();
    Result = true;
  } else {
    if (F != nullptr && F->DataType() == ftString && F->Size() > 0 && int(Wanted.size()) > F->Size())
      Wanted.resize(std::size_t(F->Size()));
    if (OnPerformCustomSearch) {
      if (Wanted.empty() || (F != nullptr && !qvIsValidSearchText(F, Wanted))) {
        FList->Invalidate();
        return false;
      }
      FInternalUpdate = true;
      FInCustomSearch = true;
      TScopeGuard Done([&] {
        FInternalUpdate = false;
        FInCustomSearch = false;
      });
      Result = false;
      DoPerformCustomSearch(FieldName, Wanted, PerformLookup, Result);
    } else {
      // A name that is no single field of the table is never searched by value.
      if (Wanted.empty() || F == nullptr || !qvIsValidSearchText(F, Wanted)) {
        FList->Invalidate();
        return false;
      }
      TqvLocateMatchType Match = MatchKind == 0 ? mtExactMatch : mtPartialMatchStart;
      // Calculated and lookup fields are searched without case.
      Result = qvLocateFieldValue(Table, Wanted, FieldName, Match, CaseSensitive && !qvIsCalcOrLookupField(F));
    }
  }
  if (Result && F != nullptr && !ContainsNoCase(F->AsString(), Wanted)) Result = false;
  return Result;
}

void TqvDBCustomLookupCombo::SearchTypedText(TObject*) {
  FSearchTimer->SetEnabled(false);
  // The search moves the table itself: the navigator link does not answer it.
  ++FMovingTable;
  TScopeGuard Moved([&] { --FMovingTable; });
  String Typed = Text();
  TDataSet* Table = LookupTable();
  if (Typed == FLastSearchText || Table == nullptr) return;
  if (!Table->Active() && !OnPerformCustomSearch) return;
  bool DropAfter = !FListShown && !Typed.empty() && AutoDropDown;
  // A list about to show the rows, or a text about to be completed: the rows in display order.
  if (!FListShown && !Typed.empty() && (AutoDropDown || (ShowMatchText && Style() == csDropDown)))
    ApplyLookupOrder(true);
  bool CaseSensitive = SeqSearchOptions.Contains(ssoCaseSensitive);
  bool Found;
  if (!UsesFieldSearch()) {
    Found = SearchIndex(Typed);
  } else {
    TField* Shown = FList->DisplayField();
    if ((!SeqSearchOptions.Contains(ssoEnabled) && !OnPerformCustomSearch) || Shown == nullptr) {
      if (DropAfter && FTypedDropDown) DropDown();
      return;
    }
    if (FListShown || FTypedDropDown || (CanEditValue() && ShowMatchText)) {
      Found = FindLookupValue(GetSearchText(), Shown->FieldName(), false, CaseSensitive, 1);
      if (!Found && DisplayIsKey()) {
        FList->LookupValue.clear();
        FLookupFound = false;
        FLastSearchText = Typed;
        if (DropAfter && FTypedDropDown) DropDown();
        return;
      }
    } else {
      Found = FindLookupValue(GetSearchText(), Shown->FieldName(), false, CaseSensitive, 0);
    }
    FTypedText = Typed;
    FList->DisplayValue = Shown->AsString();
    if (Found && Typed.size() > FList->DisplayValue.size()) Found = false;
    FLookupFound = Found;
  }
  FList->LookupValue = FList->KeyField(1) != nullptr ? FList->KeyField(1)->AsString() : String();
  FList->LookupValue2 = FList->KeyField(2) != nullptr ? FList->KeyField(2)->AsString() : String();
  FList->LookupValue3 = FList->KeyField(3) != nullptr ? FList->KeyField(3)->AsString() : String();
  if (!FListShown) FList->SelectedRow = -1;
  else FList->Invalidate();
  if (ShowMatchText && Found && FLastSearchText != "~~~~") {
    int Caret = SelStart();
    String Head = Caret == 0 ? Typed : Typed.substr(0, std::size_t(Caret));
    SetText(FList->DisplayValue);
    SetModified(true);
    SetSelStart(int(Head.size()));
    SetSelLength(int(Text().size() - Head.size()));
  }
  FLastSearchText = Text();
  if (DropAfter && FTypedDropDown) {
    DropDown();
    FTypedDropDown = false;
  }
}

// --- Searches through an engine table's index -----------------------------------------------------

namespace {

std::vector<String> SplitNames(const String& List) {
  std::vector<String> Names;
  for (std::size_t Start = 0; Start <= List.size();) {
    std::size_t End = List.find(';', Start);
    String Name = Trim(List.substr(Start, End == String::npos ? String::npos : End - Start));
    if (!Name.empty()) Names.push_back(Name);
    if (End == String::npos) break;
    Start = End + 1;
  }
  return Names;
}

// Where a field is among the active index's fields; -1 when it is none of them.
int IndexPosition(TTable* Table, const String& FieldName) {
  std::vector<String> Fields = SplitNames(Table->IndexFields());
  for (std::size_t i = 0; i < Fields.size(); ++i)
    if (SameText(Fields[i], FieldName)) return int(i);
  return -1;
}

int MasterFieldCount(TTable* Table) { return int(SplitNames(Table->MasterFields()).size()); }

// Case counts only in text.
bool IsTextField(TField* Field) {
  TFieldType Type = Field->DataType();
  return Type == ftString || Type == ftFixedChar || Type == ftWideString || Type == ftMemo;
}

}  // namespace

bool TqvDBCustomLookupCombo::LookupTableIsDetail() {
  TDataSet* Table = LookupTable();
  return Table != nullptr && Table->DataSource() != nullptr;
}

// The detail's field that follows the first master field: the first of IndexFieldNames (or of an
// engine table's active index) when MasterFields names the master fields, else the field named as
// the first parameter that takes a master field's value. An empty detail cannot tell: it counts
// as in step, and is searched.
bool TqvDBCustomLookupCombo::DetailOutOfStep() {
  auto* Table = dynamic_cast<TCustomADODataSet*>(LookupTable());
  TDataSet* Master = DataSource() != nullptr ? DataSource()->DataSet() : nullptr;
  if (Table == nullptr || Master == nullptr || !Table->Active() || Table->DataSource() != DataSource()) return false;
  if (Field() == nullptr || Field()->IsNull() || Table->IsEmpty()) return false;
  String MasterName, DetailName;
  if (!Table->MasterFields().empty()) {
    std::vector<String> Masters = SplitNames(Table->MasterFields()), Details = SplitNames(Table->IndexFieldNames());
    if (Masters.empty()) return false;
    MasterName = Masters.front();
    if (!Details.empty()) DetailName = Details.front();
    else if (auto* Engine = dynamic_cast<TTable*>(Table); Engine != nullptr && Engine->IndexFieldCount() > 0)
      DetailName = Engine->IndexField(0)->FieldName();
    else DetailName = MasterName;
  } else {
    for (int i = 0; i < Table->Parameters()->Count() && MasterName.empty(); ++i) {
      String Name = Table->Parameters()->Items(i)->Name();
      if (Master->FindField(Name) != nullptr) MasterName = DetailName = Name;
    }
  }
  TField* MasterField = MasterName.empty() ? nullptr : Master->FindField(MasterName);
  TField* DetailField = DetailName.empty() ? nullptr : Table->FindField(DetailName);
  if (MasterField == nullptr || DetailField == nullptr) return false;
  return !AnsiSameText(MasterField->AsString(), DetailField->AsString());
}

bool TqvDBCustomLookupCombo::HasDetailLookupTable() {
  auto* Table = dynamic_cast<TqvTable*>(LookupTable());
  return Table != nullptr && Table->GetDataSource() != nullptr;
}

bool TqvDBCustomLookupCombo::UsesFieldSearch() {
  auto* Table = dynamic_cast<TqvTable*>(LookupTable());
  if (Table == nullptr || !Table->Active() || OnPerformCustomSearch || qvTableHasQuery(Table)) return true;
  return Table->IndexDefs().empty() || Table->IndexFieldCount() == 0;
}

int TqvDBCustomLookupCombo::IndexPositionOfSearchField() {
  auto* Table = dynamic_cast<TqvTable*>(LookupTable());
  if (Table == nullptr || !qvTableHasIndex(Table)) return -1;
  if (FSearchField.empty()) return 0;
  return IndexPosition(Table, FSearchField);
}

bool TqvDBCustomLookupCombo::FindByIndexValue(const String& Value, const String& FieldName, int Partial) {
  auto* Table = dynamic_cast<TTable*>(LookupTable());
  if (Table == nullptr || !Table->Active()) return false;
  TField* F = Table->FindField(FieldName);
  bool CaseSensitive = SeqSearchOptions.Contains(ssoCaseSensitive);
  if (Partial == 0 && F != nullptr && !Table->IsEmpty()) {
    String Current = F->AsString();
    if (CaseSensitive ? Current == Value : AnsiSameText(Current, Value) && Current.size() == Value.size()) return true;
  }
  // A detail table's index begins with the master fields: the field after them is searched by
  // key, any other field by value.
  int Position = IndexPosition(Table, FieldName);
  if (HasDetailLookupTable() && Position != MasterFieldCount(Table)) Position = -1;
  if (Position < 0 || F == nullptr) return FindLookupValue(Value, FieldName, false, CaseSensitive, Partial);
  bool Found = qvFindNearestInIndex(Table, Value, Position);
  if (CaseSensitive && IsTextField(F)) return MatchCaseInIndex(Table, Value, Position, Partial != 0);
  if (Found && Partial == 0) Found = AnsiSameText(F->AsString(), Value) && F->AsString().size() == Value.size();
  return Found;
}

// The index orders text without regard to case, and accents only after the letters, so the rows
// that hold Value in its own case come at or after the row an index search stops on, among the
// rows whose letters are those of Value: they are read until one holds it. Not found, the table
// goes back to the row it started on.
bool TqvDBCustomLookupCombo::MatchCaseInIndex(TTable* Table, const String& Value, int Position, bool Partial) {
  if (Table->IsEmpty() || Position >= Table->IndexFieldCount()) return false;
  TField* F = Table->IndexField(Position);
  auto Holds = [&] {
    String Text = F->AsString();
    return Partial ? Text.compare(0, Value.size(), Value) == 0 && Text.size() >= Value.size() : Text == Value;
  };
  return qvReadOnThroughSameLetters(Table, Position, Value, Partial, Holds);
}

bool TqvDBCustomLookupCombo::SearchIndex(const String& Typed) {
  auto* Table = static_cast<TTable*>(LookupTable());
  ApplyLookupOrder(true);
  // The table may have been re-read: its fields are those the list found again.
  TField* Shown = FList->DisplayField();
  bool Prefix = FListShown || FTypedDropDown;
  bool CaseSensitive = SeqSearchOptions.Contains(ssoCaseSensitive);
  int Position = IndexPositionOfSearchField();
  bool Found = false;
  if (Typed.empty() || Shown == nullptr) {
    Found = false;
  } else if (Position == 0 && !SameText(Table->IndexField(0)->FieldName(), Shown->FieldName())) {
    if (SeqSearchOptions.Contains(ssoEnabled)) Found = FindByIndexValue(Typed, Shown->FieldName(), Prefix ? 1 : 0);
  } else if (Position < 0) {
    Found = FindByIndexValue(Typed, FSearchField, Prefix ? 1 : 0);
  } else if (Prefix) {
    Found = qvFindNearestInIndex(Table, Typed, Position);
    if (CaseSensitive && IsTextField(Table->IndexField(Position)))
      Found = MatchCaseInIndex(Table, Typed, Position, true);
  } else {
    // The index fields before the searched one keep the current row's values.
    std::vector<Variant> Keys;
    for (int i = 0; i < Position; ++i) Keys.push_back(Variant(Table->IndexField(i)->AsString()));
    Keys.push_back(Variant(Typed));
    Found = Table->FindKey(Keys);
    if (Found && CaseSensitive && IsTextField(Table->IndexField(Position)))
      Found = MatchCaseInIndex(Table, Typed, Position, false);
  }
  FTypedText = Typed;
  FList->DisplayValue = Shown != nullptr ? Shown->AsString() : String();
  if (Found && Typed.size() > FList->DisplayValue.size()) Found = false;
  FLookupFound = Found;
  return Found;
}

void TqvDBCustomLookupCombo::AddDefaultColumn() {
  TDataSet* Table = LookupTable();
  if (Table == nullptr || Selected()->Count() > 0) return;
  TField* Column = FList->DisplayField();
  if (!BindsLookupField()) Column = Table->FindField(Trim(LookupField().substr(0, LookupField().find(';'))));
  if (Column != nullptr)
    Selected()->Add(Column->FieldName() + "\t" + IntToStr(Column->DisplayWidth()) + "\t" + Column->DisplayLabel());
}

// The table is re-read in its new order: the row it stood on is found again by its key.
void TqvDBCustomLookupCombo::ApplyLookupOrder(bool ByDisplay) {
  auto* Table = dynamic_cast<TTable*>(LookupTable());
  if (Table == nullptr || !Table->Active() || qvTableHasQuery(Table) || LookupField().empty()) return;
  if (ByDisplay && !OrderByDisplay) return;
  ++FMovingTable;
  TScopeGuard Moved([&] { --FMovingTable; });
  auto* Engine = dynamic_cast<TqvTable*>(Table);
  bool Detail = HasDetailLookupTable();
  if (ByDisplay) AddDefaultColumn();
  String Fields = LookupField();
  if (ByDisplay) {
    if (Selected()->Count() == 0) return;
    String Line = Selected()->Strings(0);
    Fields = Line.substr(0, Line.find('\t'));
  }
  String Searched = ByDisplay ? Fields : (SplitNames(Fields).empty() ? String() : SplitNames(Fields).back());
  TField* SearchedField = Table->FindField(Searched);
  String Value = SearchedField != nullptr ? SearchedField->AsString() : String();
  String Names;
  std::vector<Variant> Keys;
  for (int i = 1; i <= 3; ++i)
    if (TField* Key = FList->KeyField(i)) {
      Names += (Names.empty() ? "" : ";") + Key->FieldName();
      Keys.push_back(Variant(Key->AsString()));
    }
  String Before = Table->IndexName();
  {
    FApplyingOrder = true;
    TScopeGuard Done([&] { FApplyingOrder = false; });
    if (Engine != nullptr) Engine->SelectIndexForFields(Fields);
    else qvSetIndexForFields(Table, Fields);
  }
  if (Detail) {
    FSearchField = Searched;
    if (!Value.empty()) FindByIndexValue(Value, FSearchField, 0);
    return;
  }
  if (SameText(Before, Table->IndexName()) || Keys.empty() || Table->IsEmpty()) return;
  Variant Wanted = Keys.size() == 1   ? Keys[0]
                   : Keys.size() == 2 ? VarArrayOf({Keys[0], Keys[1]})
                                      : VarArrayOf({Keys[0], Keys[1], Keys[2]});
  Table->Locate(Names, Wanted, TLocateOptions{});
}

void TqvDBCustomLookupCombo::TakeSelectedRow() {
  if (FSearchTimer->Enabled()) {
    FSearchTimer->SetEnabled(false);
    SearchTypedText();
    return;
  }
  // The highlighted row's values are taken; whether they count as found is not decided here: a
  // row stays highlighted after a typed text that no row begins with, which is no choice.
  if (FListShown && FList->IsChosenRow()) FList->TakeCurrentRow();
}

void TqvDBCustomLookupCombo::KeyDown(WORD& Key, TShiftState Shift) {
  if (GetKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
  bool Alt = Shift.Contains(ssAlt);
  if ((Key == VK_BACK || Key == VK_DELETE) && Style() == csDropDownList && !AllowClearKey && !FListShown) {
    Key = 0;
    return;
  }
  if (IsSearchKey(Key) && AutoDropDown && !FListShown) FTypedDropDown = true;
  bool ListKey = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN || Key == VK_F4;
  if (ListKey) {
    if (FListShown) {
      BeginEdit();
      if ((DataSource() == nullptr || FDataLink->Editing() || BindsLookupField()) && !ReadOnly() && Key != VK_F4) {
        WORD ListKey = Key;
        FList->KeyDown(ListKey, TShiftState{});
      } else if (Key == VK_F4 || Alt) {
        CloseUp(true);
      }
      Key = 0;
      return;
    }
    if ((Alt && Key != VK_F4) || (Key == VK_F4 && !Alt)) {
      DropDown();
      Key = 0;
      return;
    }
  }
  if (Key == VK_ESCAPE && FListShown) {
    // The key press closes the list and restores the text.
    if (ShowMatchText) FLastSearchText.clear();
    return;
  }
  WORD Typed = Key;
  TqvDBCustomEdit::KeyDown(Key, Shift);
  if (Typed == VK_BACK || Typed == VK_INSERT || Typed == VK_DELETE) {
    if (AllowsTyping()) BeginEdit();
    if (!CanEditValue()) Key = 0;
  } else if (!AllowsTyping() && !BindsLookupField() &&
             (Typed == VK_END || Typed == VK_HOME || Typed == VK_LEFT || Typed == VK_RIGHT)) {
    Key = 0;
  }
  if (ShowMatchText) {
    if (Typed == VK_BACK || Typed == VK_DELETE) {
      if (FListShown) FLastSearchText = "~~~~";
    } else {
      FLastSearchText.clear();
    }
  }
}

void TqvDBCustomLookupCombo::KeyPress(char& Key) {
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code == VK_ESCAPE) {
    bool WasOpen = FListShown;
    if (WasOpen) CloseUp(false);
    FShowingField = true;
    TScopeGuard Shown([&] { FShowingField = false; });
    if (Field() != nullptr) {
      FList->DisplayValue = FSavedText;
      FList->LookupValue = FSavedLookupValue;
      SetText(FSavedText);
      SetModified(false);
      FInternalUpdate = true;
      TScopeGuard Done([&] { FInternalUpdate = false; });
      FDataLink->Reset();
    } else {
      SetDisplayValue(FSavedText);
      FList->LookupValue = FSavedLookupValue;
      SetText(FSavedText);
    }
    SelectAllIfTyping();
    Key = 0;
    return;
  }
  if (Code == VK_RETURN) {
    if (FListShown) {
      TakeSelectedRow();
      if (FLookupFound) AcceptListValue(FList);
      CloseUp(true);
      SelectAllIfTyping();
    }
    Key = 0;
    return;
  }
  if (Code == VK_TAB) {
    Key = 0;
    return;
  }
  if (AutoDropDown && (Code == VK_BACK || Code == 24) && Style() == csDropDownList && !AllowClearKey && !FListShown) {
    Key = 0;
    return;
  }
  bool Typing = Code == VK_BACK || Code == 22 || Code == 24 || Code >= 32;
  if (Typing) {
    if (AllowsTyping()) BeginEdit();
    if (!CanEditValue()) {
      Key = 0;
      return;
    }
  }
  // The text the key leaves, to know whether a search is needed.
  String After = Text();
  {
    int Start = SelStart(), Length = SelLength();
    if (Code == VK_BACK) {
      if (Length > 0) After.erase(std::size_t(Start), std::size_t(Length));
      else if (Start > 0) After.erase(std::size_t(Start - 1), 1);
    } else if (Code >= 32) {
      After = After.substr(0, std::size_t(Start)) + char(Code) + After.substr(std::size_t(Start + Length));
    }
  }
  bool Searches = (Code >= 32 || (Code == VK_BACK && Options().Contains(loSearchOnBackspace))) &&
                  (After != FLastSearchText || FLastSearchText.size() == 1) &&
                  (FListShown || (ShowMatchText && CanEditValue()));
  if (Searches && !FSearchTimer->Enabled()) {
    // Later keys of a burst do not restart the timer: the search runs one interval after the first.
    FSearchTimer->SetInterval(unsigned(SearchDelay > 0 ? SearchDelay : 200));
    FSearchTimer->SetEnabled(true);
  }
  TqvCustomMaskEdit::KeyPress(Key);
  if (Key != 0 && Typing) MarkModified(true);
}

void TqvDBCustomLookupCombo::KeyUp(WORD& Key, TShiftState Shift) {
  bool Deleting = Key == VK_BACK || Key == VK_DELETE;
  bool MayClear = DataSource() == nullptr || DataField().empty() || DataSource()->State() == dsEdit ||
                  DataSource()->State() == dsInsert || DataSource()->AutoEdit;
  if (Deleting && AllowClearKey && MayClear && (Text().empty() || Style() == csDropDownList)) {
    FShowingField = true;
    TScopeGuard Shown([&] { FShowingField = false; });
    if (Field() != nullptr) {
      BeginEdit();
      MarkModified(true);
    }
    SetText(String());
    FList->ClearValues();
    FLastSearchText.clear();
    if (FListShown) FList->Invalidate();
    Key = 0;
    return;
  }
  TqvDBCustomEdit::KeyUp(Key, Shift);
  if ((FLastSearchText != Text() || FLastSearchText.size() == 1) && IsSearchKey(Key)) {
    bool ShowDeleting = ShowMatchText && Deleting;
    if (Deleting && Style() == csDropDownList && !AllowClearKey && !FListShown) {
      Key = 0;
      return;
    }
    bool Immediate = (!FListShown && !AutoDropDown && ShowMatchText && Style() == csDropDown && !Text().empty() &&
                      !ShowDeleting) ||
                     (!FListShown && AutoDropDown && !Text().empty());
    if (Immediate) {
      FTypedDropDown = true;
      TScopeGuard Done([&] { FTypedDropDown = false; });
      SearchTypedText();
    }
  }
  FTypedDropDown = false;
  if (IsSearchKey(Key) && !FListShown && FDataLink->Editing()) FDataLink->Modified();
}

// The wheel moves the open list's choice; with the list closed it is the edit's.
void TqvDBCustomLookupCombo::WMMouseWheel(TMessage& Message) {
  if (!FListShown) {
    TqvDBCustomCombo::Dispatch(Message);
    return;
  }
  if (LookupTable() != nullptr && LookupTable()->Active()) {
    BeginEdit();
    WORD Key = short(HIWORD(Message.WParam)) < 0 ? VK_DOWN : VK_UP;
    FList->KeyDown(Key, TShiftState{});
  }
  Message.Result = 1;
}

// --- Drop-down ---------------------------------------------------------------------------------

int TqvDBCustomLookupCombo::CalcColumnsWidth(int Skip) {
  int Result = GetSystemMetrics(SM_CXVSCROLL) + 1;
  TDataSet* Table = LookupTable();
  if (Table == nullptr) return Result;
  TWindowDC DC(nullptr);
  TSelectedObject Font(DC, FList->Font()->Handle());
  SIZE Zero{};
  GetTextExtentPoint32A(DC, "0", 1, &Zero);
  int Count = FUseTFields ? FList->GetFieldCount() : Selected()->Count();
  for (int i = 0; i < Count - Skip; ++i) {
    TField* F = nullptr;
    int Chars = 0;
    String Title;
    if (FUseTFields) {
      F = FList->GetFields(i);
      Chars = F != nullptr ? F->DisplayWidth() : 0;
      Title = F != nullptr ? F->DisplayLabel() : String();
    } else {
      TqvLineParts Line(Selected()->Strings(i), '\t');
      F = Table->FindField(Line.Part(0));
      if (!TryStrToInt(Trim(Line.Part(1)), Chars)) Chars = 0;
      Title = Line.Part(2);
    }
    int Width = Zero.cx * Chars + FList->GridLineWidth();
    if (Options().Contains(loTitles)) {
      TSelectedObject TitleFont(DC, FList->TitleFont()->Handle());
      SIZE Size{};
      GetTextExtentPoint32A(DC, Title.c_str(), int(Title.size()), &Size);
      Width = std::max(Width, int(Size.cx) + 4);
    }
    Result += Width;
  }
  return Result;
}

// Below the combo when the list fits there, else above it, else below; never outside the work
// area, wherever the task bar is.
void TqvDBCustomLookupCombo::PositionDropDown() {
  if (Width() <= 20 || !HandleAllocated()) return;
  TRect Work;
  qvGetWorkArea(Work);
  if (Work.IsEmpty()) Work = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  RECT Own{};
  GetWindowRect(FHandle, &Own);
  int ListHeight = FList->Height();
  int Wanted = DropDownWidth;
  if (Wanted == 0)
    Wanted = CalcColumnsWidth(0) + FList->GetFieldCount() * FList->GridLineWidth() + FButtonHolder->Width();
  int ListWidth, X;
  if (DropDownAlignment == taLeftJustify) {
    ListWidth = std::max(Width() - 4, std::min(Work.Right - Own.left - 2, Wanted));
    X = Own.left;
  } else {
    ListWidth = std::max(Width() - 4, std::min(Own.right - Work.Left - 2, Wanted));
    X = Own.right - ListWidth;
  }
  X = std::max(int(Work.Left), std::min(X, int(Work.Right) - ListWidth));
  // Columns that do not fit beside the last one: the list scrolls sideways, and grows by the
  // scroll bar so that it still shows its rows.
  int Columns = FList->GetFieldCount();
  bool Sideways = FDropDownRows > 0 &&
                  CalcColumnsWidth(1) + Columns * FList->GridLineWidth() + FButtonHolder->Width() + 1 >= ListWidth;
  if (Sideways != FList->ShowHorzScrollBar()) FList->SetShowHorzScrollBar(Sideways);
  if (Sideways) {
    bool Lines = Options().Contains(loRowLines);
    ListHeight = GetSystemMetrics(SM_CYHSCROLL) +
                 (FList->DefaultRowHeight() + (Lines ? 1 : 0)) * (FList->TitleRows() * FList->TitleLines() + FDropDownRows) +
                 (Lines ? -2 : 0) + 5;
  }
  int Y = Own.bottom;
  if (Y + ListHeight > Work.Bottom) {
    Y = Own.top - ListHeight;
    if (Y < Work.Top) Y = Own.bottom;
  }
  TCustomForm* Form = GetParentForm(this);
  HWND After = Form != nullptr && Form->FormStyle() == fsStayOnTop ? HWND_TOPMOST : HWND_TOP;
  FList->SetBounds(X, Y, ListWidth, ListHeight);
  SetWindowPos(FList->Handle(), After, X, Y, ListWidth, ListHeight, SWP_NOACTIVATE);
}

void TqvDBCustomLookupCombo::DropDown() {
  if (FDroppingDown) return;
  FDroppingDown = true;
  TScopeGuard Done([&] { FDroppingDown = false; });
  bool Typed = FTypedDropDown;
  if (DisplayIsKey() && !Typed) FDataLink->UpdateRecord();
  if (OnPerformCustomSearch) {
    FDataLink->UpdateRecord();
    FSavedText = Text();
    FSavedLookupValue = LookupValue();
  }
  if (OnBeforeDropDown) OnBeforeDropDown(this);
  TDataSet* Table = LookupTable();
  if (Table == nullptr) {
    MessageDlg(qvLookupNoTable, mtWarning, TMsgDlgButtons{mbOK}, 0);
    return;
  }
  FList->SetColor(FGridOptions->Color);
  FList->SetTitleLines(FGridOptions->TitleLines);
  FList->SetTitleAlignment(FGridOptions->TitleAlignment);
  if (FListShown || Width() <= 20) return;
  FList->UpdateLookupFields(false);
  FList->SelectedRow = -1;
  AddDefaultColumn();
  if (!Typed && Table->Active()) {
    ++FMovingTable;
    TScopeGuard Moved([&] { --FMovingTable; });
    FList->LocateKey(LookupValue(), FList->LookupValue2, FList->LookupValue3);
    // An engine table shows its rows in the order of the first column, on the same row.
    bool Found = FList->ListFound();
    ApplyLookupOrder(true);
    if (!Found && !Table->Bof()) Table->First();
  }
  if (FUseTFields && Table->Active()) qvApplySelectedToFields(Table, Selected());
  // The window first: the row height comes from the font it measures.
  FList->HandleNeeded();
  FList->RebuildLayout();
  if (OnDropDown) OnDropDown(this);

  FDropDownRows = std::max(1, DropDownCount);
  int Titles = FList->TitleRows();
  int RowHeight = FList->DefaultRowHeight() + (Options().Contains(loRowLines) ? 1 : 0);
  auto HeightFor = [&](int Rows) { return (Titles * FList->TitleLines() + Rows) * RowHeight + Titles * 3 + 2; };
  int Records = Table->Active() ? Table->RecordCount() : 0;
  bool Short = !Options().Contains(loFixedDropDownHeight) && Records >= 0 && Records < FDropDownRows;
  if (Short) FDropDownRows = std::max(1, Records);
  FList->SetShowVertScrollBar(!Short);
  FList->SetHeight(HeightFor(FDropDownRows));
  FSavedShowHint = Application->ShowHint();
  Application->SetShowHint(false);
  FList->HandleNeeded();
  PositionDropDown();
  FList->UpdateRowCount();
  if (LookupField().empty()) FList->DisplayValue = Text();
  FList->SetVisible(true);
  FListShown = true;
  FList->UpdateRowCount();
  FList->UpdateVertScrollBar();
  FLastSearchText = FList->DisplayValue;
  if (HandleAllocated() && GetFocus() != FHandle && CanFocus()) SetFocus();
  TCustomEdit::SetReadOnly(!CanEditValue());
  if (!Typed) SelectAllIfTyping();
  if (HandleAllocated()) ShowCaret(FHandle);
  Invalidate();
  LookupComboMouseHook.AddUser(this);
}

void TqvDBCustomLookupCombo::HideList() {
  if (FList != nullptr && FList->Visible()) FList->SetVisible(false);
  FListShown = false;
}

// Every close-up ends here: the list hidden, the hook left, the hints back.
void TqvDBCustomLookupCombo::EndCloseUp() {
  HideList();
  FClosingUp = false;
  FRestoring = false;
  LookupComboMouseHook.RemoveUser(this);
  if (Application.Exists()) Application->SetShowHint(FSavedShowHint);
  Invalidate();
}

void TqvDBCustomLookupCombo::RestoreSavedText() {
  SetDisplayValue(FSavedText);
  FList->LookupValue = FSavedLookupValue;
  FShowingField = true;
  TScopeGuard Shown([&] { FShowingField = false; });
  SetText(FSavedText);
  if (Focused()) SelectAll();
}

// A typed text checked with no list open (leaving the combo, writing the record). An empty text
// is no value to look for: it never reaches OnNotInList.
void TqvDBCustomLookupCombo::CheckTypedText() {
  if (FList->DisplayField() == nullptr || FRestoring || Text() == FSavedText) return;
  if (Text().empty()) {
    // An emptied text clears the value where the clear key may; elsewhere the value comes back.
    if (AllowClearKey) FList->ClearValues();
    else RestoreSavedText();
    FSavedText = Text();
    return;
  }
  if (OnNotInList && (BindsLookupField() || !FList->DisplayField()->Calculated())) {
    FLastSearchText.clear();
    SearchTypedText();
    if (!FLookupFound) {
      bool Accept = true;
      {
        FRestoring = true;
        TScopeGuard Done([&] { FRestoring = false; });
        OnNotInList(this, LookupTable(), Text(), Accept);
      }
      if (!Accept) RestoreSavedText();
    }
    FSavedText = Text();
  } else if (Style() == csDropDown && !DisplayIsKey() && !FLookupFound) {
    RestoreSavedText();
  }
}

void TqvDBCustomLookupCombo::AcceptListValue(TObject*) {
  FLookupFound = true;
  if (DataSource() != nullptr && !FDataLink->Editing() && !Modified() && !FListShown) return;
  FDataLink->Edit();
  if (DataSource() != nullptr && !FDataLink->Editing() && !BindsLookupField()) return;
  if (BindsLookupField() && ReadOnly()) return;
  if (FDataLink->Editing()) FDataLink->Modified();
  FSetBySelection = true;
  TScopeGuard Done([&] { FSetBySelection = false; });
  SetText(FList->DisplayValue);
  SelectAllIfTyping();
  if (HandleAllocated() && Focused()) ShowCaret(FHandle);
  FLastSearchText = Text();
}

void TqvDBCustomLookupCombo::CloseUp(bool Accept) {
  if (!FListShown) {
    CheckTypedText();
    return;
  }
  if (FClosingUp) return;
  FClosingUp = true;
  TScopeGuard Failed([&] { EndCloseUp(); });
  bool WasFound = FLookupFound;
  bool Accepted = false;
  TField* F = Field();
  TDataSet* Bound = F != nullptr ? F->DataSet() : nullptr;
  TDataSet* Table = LookupTable();
  if (Accept && !WasFound && !(!FDataLink->Editing() && !BindsLookupField() && Bound != nullptr)) {
    HideList();
    FLookupFound = true;
    if ((Style() == csDropDown && DisplayIsKey()) || OnNotInList) {
      Accepted = true;
      if (OnNotInList && !Text().empty()) {
        {
          FRestoring = true;
          TScopeGuard Done([&] { FRestoring = false; });
          OnNotInList(this, Table, Text(), Accepted);
        }
        qvCancelMouseDown();
      }
      if (!Accepted) {
        // Refused: the text and key of the entry come back; nothing is written.
        SetDisplayValue(FSavedText);
        FShowingField = true;
        TScopeGuard Shown([&] { FShowingField = false; });
        if (Text() != FSavedText) SetText(FSavedText);
        FList->LookupValue = FSavedLookupValue;
        return;
      }
      FSavedText = Text();
      if (DisplayIsKey()) {
        FList->LookupValue = Text();
        FList->DisplayValue = Text();
        if (F != nullptr && F->AsString() != Text()) {
          FInternalUpdate = true;
          TScopeGuard Done([&] { FInternalUpdate = false; });
          F->SetAsString(Text());
        }
      } else if (!BindsLookupField() && Table != nullptr && Table->Active() && FList->KeyField(1) != nullptr) {
        FList->LookupValue = FList->KeyField(1)->AsString();
        if (Bound == nullptr) SetText(FTypedText);
      }
    } else if (Style() == csDropDown && !DisplayIsKey() && Text() != FSavedText) {
      SetDisplayValue(FSavedText);
      FList->LookupValue = FSavedLookupValue;
      SetText(FSavedText);
    }
  }
  bool Changed = Accept;
  if (!Accept) {
    Changed = false;
  } else if (FDataLink->Editing() || BindsLookupField() || Bound == nullptr) {
    if (Bound == nullptr) {
      if (WasFound) {
        SetText(DisplayIsKey() ? LookupValue() : FList->DisplayValue);
        AcceptListValue(FList);
      } else if ((!Accepted && Style() == csDropDownList) || !DisplayIsKey()) {
        if (!Accepted) {
          if (AllowClearKey) {
            SetText(String());
            FList->ClearValues();
          } else {
            if (Style() == csDropDownList) SetText(FSavedText);
            SetDisplayValue(FSavedText);
            FList->LookupValue = FSavedLookupValue;
          }
        }
      }
    } else if (BindsLookupField()) {
      HideList();
      FDataLink->Modified();
      Changed = !LinkKeyFields().empty() && WriteLookupKeyFields();
      FShowingField = true;
      TScopeGuard Shown([&] { FShowingField = false; });
      SetText(F->AsString());
      SelectAll();
    } else {
      Changed = false;
      if (FList->IsChosenRow()) {
        for (int i = 2; i <= 3; ++i) {
          TField* Key = FList->KeyField(i);
          TField* Own = Key != nullptr ? Bound->FindField(Key->FieldName()) : nullptr;
          if (Own == nullptr || Own == F) continue;
          if (Own->AsString() != Key->AsString()) {
            Changed = true;
            Own->SetAsString(Key->AsString());
          }
        }
      }
      if (F->AsString() != LookupValue()) Changed = true;
      if (Changed) {
        if (Style() == csDropDownList && !WasFound && !DisplayIsKey()) SetText(FList->DisplayValue);
        try {
          FInternalUpdate = true;
          TScopeGuard Done([&] { FInternalUpdate = false; });
          if (LookupValue().empty()) F->Clear();
          else F->SetAsString(LookupValue());
        } catch (...) {
          if (!Focused()) {
            FList->DisplayValue = FSavedText;
            FList->LookupValue = FSavedLookupValue;
            SetText(FSavedText);
          }
          Invalidate();
          throw;
        }
      } else if (Style() == csDropDownList && !WasFound) {
        FList->DisplayValue = FSavedText;
        if (OnNotInList && !Accepted) FList->LookupValue = FSavedLookupValue;
        SetText(FSavedText);
      }
    }
  } else {
    Changed = false;
  }
  HideList();
  if (!AllowsTyping() && HandleAllocated()) HideCaret(FHandle);
  if (Changed) {
    FSavedText = Text();
    FSavedLookupValue = LookupValue();
  }
  SetModified(Changed);
  if (OnCloseUp) OnCloseUp(this, Table, Bound, Changed);
  Failed.Dismiss();
  EndCloseUp();
}

// --- Messages ----------------------------------------------------------------------------------

void TqvDBCustomLookupCombo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case CM_CANCELMODE: CMCancelMode(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    default: TqvDBCustomCombo::Dispatch(Message); break;
  }
}

void TqvDBCustomLookupCombo::WMKillFocus(TMessage& Message) {
  TqvDBCustomCombo::Dispatch(Message);
  if (!FListShown) return;
  if (Modified() && !AllowClearKey && Text().empty()) TakeSelectedRow();
  CloseUp(true);
}

void TqvDBCustomLookupCombo::CMCancelMode(TMessage& Message) {
  auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
  if (Sender == this || (Sender != nullptr && (Sender == FButtonHolder || Sender == FButton || Sender == FList)))
    return;
  if (Modified() && !FLookupFound) BeginEdit();
  if (!FListShown) return;
  TakeSelectedRow();
  if (FLookupFound) AcceptListValue(FList);
  CloseUp(true);
}

void TqvDBCustomLookupCombo::CNKeyDown(TMessage& Message) {
  WORD Key = WORD(Message.WParam);
  if (!ComponentState().Contains(csDesigning)) {
    if (Key == VK_ESCAPE && (FListShown || Modified()) && ParentGrid("TqvCustomDBGrid") == nullptr) {
      // Not a dialog key: the combo's own handling restores the text.
      Message.Result = 0;
      return;
    }
    if (Key == VK_TAB && FListShown) {
      TakeSelectedRow();
      if (FLookupFound) AcceptListValue(FList);
      CloseUp(true);
      SelectAllIfTyping();
    }
    if ((Key == VK_TAB || Key == VK_RETURN) && FListShown) {
      Message.Result = 0;
      return;
    }
  }
  TqvDBCustomCombo::Dispatch(Message);
}
