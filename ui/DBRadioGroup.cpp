// This file implements TDBRadioGroup: a radio group whose checked button is the field's value.
#include "DBCtrls.h"

#include "ScopeGuard.h"
#include "Strings.h"

VELBOR_IMPLEMENT_CLASS(TDBRadioGroup)
VELBOR_PUBLISHED(TDBRadioGroup,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("Values", &Self::Values, &Self::SetValues))

TDBRadioGroup::TDBRadioGroup(TComponent* AOwner) : inherited(AOwner) {
  ControlStyle.Include(csReplicatable);
  FValues = new TStringList;
}

TDBRadioGroup::~TDBRadioGroup() {
  delete FValues;
}

String TDBRadioGroup::ButtonValue(int Index) const {
  if (Index < 0) return String();
  if (Index < FValues->Count() && !FValues->Strings(Index).empty()) return FValues->Strings(Index);
  if (Index < Items()->Count()) return Items()->Strings(Index);
  return String();
}

void TDBRadioGroup::SetValue(const String& Value) {
  if (FValue == Value) return;
  FInSetValue = true;
  {
    TScopeGuard restore([&] { FInSetValue = false; });
    int index = -1;
    for (int i = 0; i < Items()->Count(); ++i) {
      if (ButtonValue(i) == Value) {
        index = i;
        break;
      }
    }
    SetItemIndex(index);
  }
  FValue = Value;
  Change();
}

bool TDBRadioGroup::CanModify() { return FDataLink->Edit(); }

void TDBRadioGroup::Click() {
  if (FInSetValue) return;
  TCustomRadioGroup::Click();
  String chosen = ButtonValue(ItemIndex());
  if (chosen == FValue) return;
  FValue = chosen;
  FDataLink->Modified();
  Change();
}

void TDBRadioGroup::Change() {
  if (OnChange) OnChange(this);
}

void TDBRadioGroup::DataChange() {
  TField* field = FDataLink->Field();
  SetValue(field != nullptr ? field->Text() : String());
}

void TDBRadioGroup::UpdateData() { FDataLink->Field()->SetText(FValue); }

// The checked button takes the focus back: the group itself takes none.
void TDBRadioGroup::StayAfterRefusal() {
  if (ItemIndex() >= 0 && Buttons(ItemIndex())->CanFocus()) Buttons(ItemIndex())->SetFocus();
}

