// This file implements TDBText: a label showing a field's DisplayText.
#include "DBCtrls.h"

VELBOR_IMPLEMENT_CLASS(TDBText)
VELBOR_PUBLISHED(TDBText,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource))

TDBText::TDBText(TComponent* AOwner) : inherited(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetAutoSize(false);
}

String TDBText::GetLabelText() const {
  // Painted as a copy (a panel grid), the field holds the record of the panel being drawn.
  TField* field = FDataLink->Field();
  if (field != nullptr) return field->DisplayText();
  return ComponentState().Contains(csDesigning) ? Name() : String();
}

void TDBText::DataChange() {
  // The caption follows the field so that AutoSize and readers of Caption see the value.
  SetCaption(GetLabelText());
}

