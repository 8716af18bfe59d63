// This file implements the small shared types of the data-aware library.
#include "Qvtypes.h"

#include "Qvintl.h"

VELBOR_IMPLEMENT_CLASS(TqvFormPosition)
VELBOR_PUBLISHED(TqvFormPosition,
  Prop("Left", &Self::Left),
  Prop("Top", &Self::Top),
  Prop("Width", &Self::Width),
  Prop("Height", &Self::Height))

void TqvFormPosition::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvFormPosition*>(Source)) {
    Left = From->Left;
    Top = From->Top;
    Width = From->Width;
    Height = From->Height;
    return;
  }
  TPersistent::Assign(Source);
}

int qvFilterMemoSize() { return qvIntl->FilterMemoSize; }
