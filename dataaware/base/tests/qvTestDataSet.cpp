// This file implements the published properties of the test dataset.
#include "qvTestDataSet.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TSettingsDataSet)
VELBOR_PUBLISHED(TSettingsDataSet,
  Prop("PictureMasks", &Self::PictureMasks),
  Prop("ControlType", &Self::ControlType),
  Prop("LookupFields", &Self::LookupFields),
  Prop("LookupLinks", &Self::LookupLinks),
  Prop("DatabaseName", &Self::DatabaseName),
  Prop("OnFilterOptions", &Self::OnFilterOptions),
  Prop("OnInvalidValue", &Self::OnInvalidValue))
