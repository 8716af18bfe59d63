// This file implements the small shared types of the data-aware library: TqvFormPosition, the
// saved position of an editor window, and qvFilterMemoSize.
#pragma once

#include "Persistent.h"
#include "TypInfo.h"

class TqvFormPosition : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvFormPosition, TPersistent)
 public:
  TqvFormPosition() = default;
  void Assign(TPersistent* Source) override;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// The bytes of a memo read for filtering: FilterMemoSize of the global strings component.
int qvFilterMemoSize();
