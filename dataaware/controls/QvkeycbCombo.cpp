// This file implements the index combo TqvKeyCombo and its data link (see Qvkeycb.h).
#include <vector>

#include "DataSet.h"
#include "Dialogs.h"
#include "Field.h"
#include "Qvintl.h"
#include "Qvkeycb.h"
#include "ScopeGuard.h"
#include "Table.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvKeyDataLink)
VELBOR_IMPLEMENT_CLASS(TqvKeyCombo)
VELBOR_PUBLISHED(TqvKeyCombo,
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  // The setter is virtual: the combo box's runs.
  Prop("Style", &Self::Style, &TqvDBCustomCombo::SetStyle),
  Prop("DropDownCount", &Self::DropDownCount).Default(8),
  Prop("ItemHeight", &Self::ItemHeight).Default(0),
  Prop("Sorted", &Self::Sorted, &Self::SetSorted).Default(false),
  Prop("ShowAllIndexes", &Self::ShowAllIndexes, &Self::SetShowAllIndexes),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("PrimaryKeyName", &Self::PrimaryKeyName),
  Prop("ButtonEffects", &Self::ButtonEffects, &Self::SetButtonEffects),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("ButtonWidth", &Self::ButtonWidth, &Self::SetButtonWidth).Default(0),
  Prop("ButtonGlyph", &Self::ButtonGlyph, &Self::SetButtonGlyph),
  Prop("ButtonStyle", &Self::ButtonStyle, &Self::SetButtonStyle).Default(cbsDownArrow),
  Prop("OnDrawItem", &Self::OnDrawItem),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnMeasureItem", &Self::OnMeasureItem),
  Prop("OnCloseUp", &Self::OnCloseUp))

namespace {

struct TKeyComboClassRegistration {
  TKeyComboClassRegistration() { RegisterClass(TqvKeyCombo::StaticClass()); }
} KeyComboClassRegistration;

const char* const DescSuffix = " - Desc";

String FirstField(const String& Fields) { return Fields.substr(0, Fields.find(';')); }

String FieldCaption(TField* Field) { return qvReplaceChar(Field->DisplayLabel(), '~', ' '); }

String IndexFieldNamesOf(TDataSet* DataSet) {
  return IsPublishedProp(DataSet, "IndexFieldNames") ? GetStrProp(DataSet, "IndexFieldNames") : String();
}

// A detail dataset keeps the order its master link needs: a published MasterSource, or an engine
// table's master data source.
bool IsDetail(TDataSet* DataSet) {
  if (IsPublishedProp(DataSet, "MasterSource") && GetObjectProp(DataSet, "MasterSource") != nullptr) return true;
  auto* Table = dynamic_cast<TTable*>(DataSet);
  return Table != nullptr && Table->GetDataSource() != nullptr;
}

// The entry an index definition gives: its first field's label, " - Desc" after it for a
// descending index; empty when the first field is not a field of the dataset or has no label.
String IndexCaption(TDataSet* DataSet, const TIndexDef& Def) {
  TField* Field = DataSet->FindField(FirstField(Def.Fields));
  if (Field == nullptr) return String();
  String Text = FieldCaption(Field);
  if (Text.empty()) return Text;
  return Def.Descending ? Text + DescSuffix : Text;
}

void Warn(const String& Text) { MessageDlg(Text, mtWarning, {mbOK}, 0); }

}  // namespace

// --- TqvKeyDataLink ---------------------------------------------------------------------------------

void TqvKeyDataLink::ActiveChanged() {
  if (FCombo != nullptr) FCombo->ActiveChanged(Active());
}

void TqvKeyDataLink::DataSetChanged() {
  if (FCombo != nullptr) FCombo->DataSetChanged();
}

// --- TqvKeyCombo ------------------------------------------------------------------------------------

TqvKeyCombo::TqvKeyCombo(TComponent* AOwner) : TqvDBCustomComboBox(AOwner), FDataLink(new TqvKeyDataLink(this)) {
  SetStyle(csDropDownList);
}

TqvKeyCombo::~TqvKeyCombo() {
  FDataLink->SetDataSource(nullptr);
  delete FDataLink;
  FDataLink = nullptr;
}

TDataSet* TqvKeyCombo::LinkedDataSet() const { return DataSource() != nullptr ? DataSource()->DataSet() : nullptr; }

bool TqvKeyCombo::UsesFieldSort(TDataSet* DataSet) {
  if (DataSet == nullptr || dynamic_cast<TTable*>(DataSet) != nullptr) return false;
  if (DataSet->InheritsFrom("TClientDataSet")) return true;
  return qvGetCursorLocation(DataSet) == 1 && (DataSet->InheritsFrom("TADOTable") || DataSet->InheritsFrom("TADODataSet"));
}

void TqvKeyCombo::SetDataSource(TDataSource* Value) {
  TDataSet* DataSet = Value != nullptr ? Value->DataSet() : nullptr;
  // Engine tables are the datasets with index definitions here.
  bool Sortable = DataSet == nullptr || dynamic_cast<TTable*>(DataSet) != nullptr || UsesFieldSort(DataSet);
  if (!Sortable) {
    Warn("DataSource must point to a dataset containing index information.");
    return;
  }
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
  ActiveChanged(FDataLink->Active());
}

void TqvKeyCombo::SetShowAllIndexes(bool Value) {
  FShowAllIndexes = Value;
  if (DataSource() != nullptr) RefreshItems();
}

void TqvKeyCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TqvDBCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) FDataLink->SetDataSource(nullptr);
}

void TqvKeyCombo::ActiveChanged(bool Active) {
  if (Active) RefreshItems();
}

void TqvKeyCombo::DataSetChanged() {
  if (FChangeInProgress || !HandleAllocated() || DataSource() == nullptr || DataSource()->State() != dsBrowse) return;
  RefreshSelection();
}

void TqvKeyCombo::RefreshSelection() {
  FSelectionOnly = true;
  TScopeGuard Restore([&] { FSelectionOnly = false; });
  RefreshItems();
}

void TqvKeyCombo::SelectItem(int Index) {
  if (Index == GetItemIndex() && (Index < 0 || Text() == Items()->Strings(Index))) return;
  FSelecting = true;
  TScopeGuard Restore([&] { FSelecting = false; });
  SetItemIndex(Index);
}

void TqvKeyCombo::RefreshItems(TObject* Grid) {
  TDataSet* DataSet = LinkedDataSet();
  if (DataSet == nullptr) return;
  if (dynamic_cast<TTable*>(DataSet) != nullptr) {
    if (qvTableHasQuery(DataSet)) {
      Warn("TqvKeyCombo: DataSet cannot be a TqvTable using a Query.");
      return;
    }
    RefreshIndexItems(DataSet, Grid);
  } else if (UsesFieldSort(DataSet)) {
    RefreshFieldSortItems(DataSet);
  }
}

void TqvKeyCombo::RefreshFieldSortItems(TDataSet* DataSet) {
  if (!FSelectionOnly) {
    Items()->Clear();
    TFields* Fields = DataSet->Fields();
    for (int i = 0; i < Fields->Count(); ++i) {
      TField* Field = Fields->Fields(i);
      if (!qvIsSearchableFieldType(Field->DataType()) || qvIsCalcOrLookupField(Field)) continue;
      if (Field->Visible() || FShowAllIndexes) Items()->Add(FieldCaption(Field));
    }
  }
  String Current = FirstField(IndexFieldNamesOf(DataSet));
  TField* Field = Current.empty() ? nullptr : DataSet->FindField(Current);
  // The entry was listed with blanks for "~": it is looked for the same way.
  String Wanted = Field != nullptr ? FieldCaption(Field) : Current;
  SelectItem(Wanted.empty() ? -1 : qvIndexOfText(Items(), Wanted));
}

bool TqvKeyCombo::ItemsOutOfDate(TDataSet* DataSet) {
  if (FShowAllIndexes) return false;
  for (int i = 0; i < Items()->Count(); ++i) {
    String Entry = Items()->Strings(i);
    std::size_t Suffix = Entry.size() >= 7 ? Entry.size() - 7 : String::npos;
    if (Suffix != String::npos && Entry.compare(Suffix, 7, DescSuffix) == 0) Entry.resize(Suffix);
    if (qvFieldNameFromDisplayLabel(DataSet, Entry).empty()) return true;
  }
  return false;
}

void TqvKeyCombo::RefreshIndexItems(TDataSet* DataSet, TObject* Grid) {
  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (IsDetail(DataSet)) return;
  if (!FSelectionOnly || ItemsOutOfDate(DataSet)) {
    FSelectionOnly = false;
    Items()->Clear();
    Table->UpdateIndexDefs();
    if (FShowAllIndexes)
      for (const TIndexDef& Def : Table->IndexDefs()) Items()->Add(Def.Primary || Def.Name.empty() ? GetPrimaryKeyCaption() : Def.Name);
  }
  const String& IndexName = Table->IndexName();
  if (FShowAllIndexes) {
    String Current = IndexName;
    for (const TIndexDef& Def : Table->IndexDefs())
      if (Def.Primary && (IndexName.empty() || qvSameText(IndexName, Def.Name))) Current = GetPrimaryKeyCaption();
    if (Current.empty()) Current = GetPrimaryKeyCaption();
    SelectItem(qvIndexOfText(Items(), Current));
    return;
  }
  TStrings* Selected = nullptr;
  if (Grid != nullptr && IsPublishedProp(Grid, "Selected")) Selected = dynamic_cast<TStrings*>(GetObjectProp(Grid, "Selected"));
  String FieldNames = IndexFieldNamesOf(DataSet);
  String Current;
  bool CurrentDescending = false;
  for (const TIndexDef& Def : Table->IndexDefs()) {
    String First = FirstField(Def.Fields);
    if (!qvDataSetHasField(DataSet, First)) continue;
    int Line = 0;
    bool Visible = Grid != nullptr ? Selected != nullptr && qvFindSelectedField(Selected, First, Line)
                                   : DataSet->FindField(First)->Visible();
    if (!Visible) continue;
    String Text = FieldCaption(DataSet->FindField(First));
    if (Text.empty()) continue;
    // The primary index is the current one while no index is named.
    bool IsCurrent = !FieldNames.empty() ? qvSameText(FieldNames, Def.Fields)
                                         : qvSameText(Def.Name, IndexName) || (Def.Primary && IndexName.empty());
    if (IsCurrent) {
      Current = Text;
      CurrentDescending = Def.Descending;
    }
    String Entry = Def.Descending ? Text + DescSuffix : Text;
    if (qvIndexOfText(Items(), Entry) < 0 && !FSelectionOnly) Items()->Add(Entry);
  }
  String Wanted = CurrentDescending ? Current + DescSuffix : Current;
  int Index = -1;
  if (!Current.empty())
    for (int i = 0; i < Items()->Count(); ++i)
      if (qvSameText(Items()->Strings(i), Wanted)) Index = i;
  // Set only when it differs, the text included: keys in the open list may have changed it alone.
  SelectItem(Index);
}

void TqvKeyCombo::Change() {
  if (FSelecting) return;  // the combo follows the dataset: nothing to apply
  // The keys move through the open list: the order is applied when the list closes with it.
  if (ListVisible()) {
    FChoicePending = true;
    return;
  }
  FChoicePending = false;
  TDataSet* DataSet = LinkedDataSet();
  if (DataSet == nullptr || !DataSet->Active()) return;
  if (dynamic_cast<TTable*>(DataSet) != nullptr) {
    if (qvTableHasQuery(DataSet)) {
      Warn("TqvKeyCombo: DataSet cannot be a TqvTable using a Query.");
      return;
    }
  } else if (UsesFieldSort(DataSet)) {
    if (!Text().empty()) {
      FChangeInProgress = true;
      TScopeGuard Done([&] { FChangeInProgress = false; });
      SetStrProp(DataSet, "IndexFieldNames", qvFieldNameFromDisplayLabel(DataSet, Text()));
    }
    TqvDBCustomComboBox::Change();
    return;
  } else {
    Warn("TqvKeyCombo: Virtual DataSet does not have index information available.");
    return;
  }
  ApplyChosenIndex(DataSet);
  TqvDBCustomComboBox::Change();
}

void TqvKeyCombo::ApplyChosenIndex(TDataSet* DataSet) {
  auto* Table = static_cast<TTable*>(DataSet);
  String Chosen = Text();
  if (FShowAllIndexes) {
    // The primary index's entry reads the table in primary-key order.
    String Name = Chosen;
    if (qvSameText(Chosen, GetPrimaryKeyCaption())) {
      Name.clear();
      for (const TIndexDef& Def : Table->IndexDefs())
        if (Def.Primary) Name = Def.Name;
    }
    if (!qvSameText(Name, Table->IndexName())) qvSwitchTableIndex(Table, Name);
    return;
  }
  Table->UpdateIndexDefs();
  std::vector<TIndexDef> Defs = Table->IndexDefs();
  // Indexes that share the entry: a case-insensitive one first, then one of that field alone,
  // then the first.
  const TIndexDef* Found = nullptr;
  for (int Pass = 0; Pass < 3 && Found == nullptr; ++Pass) {
    for (const TIndexDef& Def : Defs) {
      bool Candidate = Pass == 0 ? Def.CaseInsensitive : Pass == 1 ? Def.Fields == FirstField(Def.Fields) : true;
      if (Candidate && IndexCaption(DataSet, Def) == Chosen) {
        Found = &Def;
        break;
      }
    }
  }
  if (Found == nullptr) return;
  if (!qvSameText(Found->Name, Table->IndexName())) qvSwitchTableIndex(Table, Found->Name);
  SelectItem(qvIndexOfText(Items(), Chosen));
}

// The combo has no entry text of its own to restore: an edit's Escape would put back the text of
// its entry, and that text would be taken as a choice and switch the order. Escape only closes the
// list; the entry shown is the dataset's order, which has not changed.
void TqvKeyCombo::KeyPress(char& Key) {
  if (static_cast<unsigned char>(Key) != VK_ESCAPE) {
    TqvDBCustomComboBox::KeyPress(Key);
    return;
  }
  Key = 0;
  if (ListVisible()) CloseUp(false);
  SetModified(false);
  RefreshSelection();
  if (CanEditText()) SelectAll();
}

void TqvKeyCombo::DropDown() {
  ShowMatchText = true;
  TqvDBCustomComboBox::DropDown();
}

void TqvKeyCombo::CloseUp(bool Accept) {
  bool WasOpen = ListVisible();
  TqvDBCustomComboBox::CloseUp(Accept);
  ShowMatchText = false;
  if (WasOpen && Accept && FChoicePending) Change();
  // Cancelled: the entry the keys moved to gives way to the dataset's order.
  if (WasOpen && !Accept) {
    FChoicePending = false;
    RefreshSelection();
  }
  // The list showed the caret for typing; a choice-only combo hides it again.
  if (WasOpen && Style() == csDropDownList && HandleAllocated()) HideCaret(Handle());
  if (WasOpen && OnCloseUp) OnCloseUp(this, Accept);
}
