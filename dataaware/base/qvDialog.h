// This file implements TqvCustomDialog, the base of the library's dialog components (locate,
// filter, record view, lookup and search dialogs): the navigator opens any of them through its
// two operations.
#pragma once

#include "Component.h"

class TDataSet;

class TqvCustomDialog : public TComponent {
  VELBOR_DECLARE_CLASS(TqvCustomDialog, TComponent)
 public:
  explicit TqvCustomDialog(TComponent* AOwner) : TComponent(AOwner) {}

  // Shows the dialog modally; true when the user confirmed.
  virtual bool Execute() = 0;
  // The dataset the dialog works on.
  virtual TDataSet* GetPrimaryDataSet() = 0;
};
